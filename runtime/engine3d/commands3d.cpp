#include "engine3d/commands3d.h"

int32_t gTextureSelection[3] = {-1, -1, 0};

static int32_t TruncInt(double v) {
  if (!(v == v)) return 0;
  if (v >= 2147483647.0) return 2147483647;
  if (v <= -2147483648.0) return -2147483647 - 1;
  return int32_t(v);
}

void SetTextureFlagCmd(double value) { gTextureSelection[2] = TruncInt(value); }
