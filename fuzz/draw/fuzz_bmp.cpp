// libFuzzer target: the bitmap reader on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "frame/image_bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  RgbaImage image = {0, 0, nullptr, 0};
  // The first byte picks the colour key so keyed paths are reached too.
  const uint32_t key = size > 0 && (data[0] & 1) ? 0x8000FF : kNoColourKey;
  if (DecodeBmpImage(&image, data, size, key)) {
    if (image.width <= 0 || image.height <= 0 ||
        int64_t(image.width) * image.height * 4 > image.capacity)
      std::abort();
    // Touch the last pixel so a short buffer shows up.
    volatile uint8_t last = image.pixels[size_t(image.width) * image.height * 4 - 1];
    (void)last;
  }
  delete[] image.pixels;
  return 0;
}
