#include "frame/normal_map.h"

#include <cmath>
#include <cstddef>
#include <cstring>

void ConvertToNormalMap(RgbaImage* image) {
  if (!image || !image->pixels || image->width <= 0 || image->height <= 0) return;
  const int w = image->width, h = image->height;
  const uint8_t* src = image->pixels;
  auto height = [&](int x, int y) {
    x = (x % w + w) % w;
    y = (y % h + h) % h;
    return float(src[(size_t(y) * w + x) * 4 + 2]) / 255.0f;
  };
  const size_t bytes = size_t(w) * h * 4;
  uint8_t* out = new uint8_t[bytes];
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      float dx = (height(x - 1, y - 1) + 2 * height(x - 1, y) + height(x - 1, y + 1)) -
                 (height(x + 1, y - 1) + 2 * height(x + 1, y) + height(x + 1, y + 1));
      float dy = (height(x - 1, y + 1) + 2 * height(x, y + 1) + height(x + 1, y + 1)) -
                 (height(x - 1, y - 1) + 2 * height(x, y - 1) + height(x + 1, y - 1));
      float n = 1.0f / std::sqrt(dx * dx + dy * dy + 1.0f);
      uint8_t* d = out + (size_t(y) * w + x) * 4;
      d[0] = uint8_t((dx * n + 1.0f) * 0.5f * 255.0f);
      d[1] = uint8_t((dy * n + 1.0f) * 0.5f * 255.0f);
      d[2] = uint8_t((n + 1.0f) * 0.5f * 255.0f);
      d[3] = src[(size_t(y) * w + x) * 4 + 3];
    }
  }
  std::memcpy(image->pixels, out, bytes);
  delete[] out;
}
