#include "models/unit_normals.h"

#include <cmath>

int NearestUnitNormal(float x, float y, float z) {
  float d2 = x * x + y * y + z * z;
  float n[3] = {x, y, z};
  if (d2 > 1e-07f) {
    float len = std::sqrt(d2);
    for (float& c : n) c /= len;
  }
  int best = 0;
  float bestValue = 10000.0f;
  for (int i = 0; i < kUnitNormalCount; ++i) {
    const float* t = UnitNormalTable[i];
    float value = std::fabs(n[0] * (n[0] - t[0]) + n[1] * (n[1] - t[1]) + n[2] * (n[2] - t[2]));
    if (value <= bestValue) {
      best = i;
      bestValue = value;
      if (value == 0.0f) break;
    }
  }
  return best;
}
