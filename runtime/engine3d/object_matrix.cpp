#include "engine3d/object_matrix.h"

#include <cmath>
#include <cstring>

#include "engine3d/lumenar3d.h"

namespace {

// out := out × m (column-major 4×4).
void MultiplyRight(float out[16], const float m[16]) {
  float r[16];
  for (int c = 0; c < 4; ++c)
    for (int row = 0; row < 4; ++row) {
      float s = 0;
      for (int k = 0; k < 4; ++k) s += out[k * 4 + row] * m[c * 4 + k];
      r[c * 4 + row] = s;
    }
  std::memcpy(out, r, sizeof r);
}

void Identity(float m[16]) {
  std::memset(m, 0, 16 * sizeof(float));
  m[0] = m[5] = m[10] = m[15] = 1;
}

}  // namespace

void CurrentObjectMatrix(const Lumenar3D* e, float out[16]) {
  Identity(out);
  if (!e) return;
  int32_t level = e->transformIndex;
  if (level < 0) level = 0;
  if (level > 15) level = 15;
  const TransformRecord& R = e->transforms[level];
  std::memcpy(out, R.matrix, sizeof R.matrix);
  if (R.valid == 1) return;
  uint32_t matrices = R.matrixCount > 16 ? 16 : R.matrixCount;
  for (uint32_t i = 0; i < matrices; ++i) MultiplyRight(out, R.matrices[i]);
  const float* t = R.translation;
  if (t[0] != 0 || t[1] != 0 || t[2] != 0) {
    float m[16];
    Identity(m);
    m[12] = t[0];
    m[13] = t[1];
    m[14] = t[2];
    MultiplyRight(out, m);
  }
  uint32_t rotations = R.rotationCount > 16 ? 16 : R.rotationCount;
  for (uint32_t i = rotations; i-- > 0;) {
    const TransformRotation& rot = R.rotations[i];
    double x = rot.axisX, y = rot.axisY, z = rot.axisZ;
    double len = std::sqrt(x * x + y * y + z * z);
    if (len <= 0.0001) continue;
    x /= len;
    y /= len;
    z /= len;
    double a = double(float(rot.angle * 0.017453292f));
    double c = std::cos(a), s = std::sin(a), k = 1 - c;
    float m[16] = {float(x * x * k + c),     float(y * x * k + z * s), float(x * z * k - y * s), 0,
                   float(x * y * k - z * s), float(y * y * k + c),     float(y * z * k + x * s), 0,
                   float(x * z * k + y * s), float(y * z * k - x * s), float(z * z * k + c),     0,
                   0,                        0,                        0,                        1};
    MultiplyRight(out, m);
  }
  const float* sc = R.scale;
  if (sc[0] != 1 || sc[1] != 1 || sc[2] != 1) {
    float m[16];
    Identity(m);
    m[0] = sc[0];
    m[5] = sc[1];
    m[10] = sc[2];
    MultiplyRight(out, m);
  }
}
