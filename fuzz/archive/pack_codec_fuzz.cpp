// Decodes arbitrary blocks in both codec modes and checks that packing any
// input and unpacking it again gives the input back.
#include "core/pack_codec.h"

#include <cstdlib>
#include <initializer_list>
#include <cstring>

namespace {

PackCodec* gCodec = nullptr;

void RoundTrip(uint32_t mode, const uint8_t* data, size_t size) {
  PackCodec& c = *gCodec;
  c.mode = mode;
  uint32_t n = PackCodecCompress(c, data, uint32_t(size));
  if (n == 0) std::abort();
  uint8_t* packed = static_cast<uint8_t*>(std::malloc(n));
  std::memcpy(packed, c.output, n);
  if (!PackCodecDecompressChecked(c, packed, n) || c.outputLength != size ||
      (size && std::memcmp(c.output, data, size) != 0))
    std::abort();
  std::free(packed);
  PackCodecReset(c);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!gCodec) {
    gCodec = new PackCodec;
    PackCodecInit(*gCodec, 1);
  }
  PackCodec& c = *gCodec;
  for (uint32_t mode : {1u, 0u}) {
    c.mode = mode;
    PackCodecDecompress(c, data, uint32_t(size));
    PackCodecReset(c);
  }
  RoundTrip(1, data, size);
  RoundTrip(0, data, size);
  return 0;
}
