#include "frame/image_bmp.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "platform/system.h"

namespace {

constexpr size_t kMaxImageFileBytes = size_t(1) << 30;
constexpr int64_t kMaxImageBytes = int64_t(1) << 30;
constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;

uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

void PutU16(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
void PutU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

}  // namespace

uint8_t SizeRgbaImage(RgbaImage* image, int width, int height) {
  if (width <= 0 || height <= 0) return 0;
  int64_t bytes = int64_t(width) * height * 4;
  if (bytes > kMaxImageBytes) return 0;
  if (!image->pixels || image->capacity < bytes) {
    uint8_t* fresh = new (std::nothrow) uint8_t[size_t(bytes)];
    if (!fresh) return 0;
    delete[] image->pixels;
    image->pixels = fresh;
    image->capacity = int32_t(bytes);
  }
  image->width = width;
  image->height = height;
  std::memset(image->pixels, 0, size_t(bytes));
  return 1;
}

bool ReadWholeFile(const char* fileName, size_t maxBytes, std::vector<uint8_t>* out) {
  out->clear();
  if (!fileName || !*fileName) return false;
  std::string path = platform::NativePath(fileName);
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  bool ok = std::fseek(f, 0, SEEK_END) == 0;
  long size = ok ? std::ftell(f) : -1;
  ok = ok && size >= 0 && size_t(size) <= maxBytes && std::fseek(f, 0, SEEK_SET) == 0;
  if (ok) {
    out->resize(size_t(size));
    ok = size == 0 || std::fread(out->data(), 1, size_t(size), f) == size_t(size);
  }
  std::fclose(f);
  if (!ok) out->clear();
  return ok;
}

// The info header and its later, longer versions (with colour masks, 52 and
// 56 bytes; with colour space, 108; with an ICC profile, 124), which today's
// editors write: all begin with the same 40 bytes.
static bool IsInfoHeaderSize(uint32_t headerSize) {
  return headerSize == kInfoHeaderSize || headerSize == 52 || headerSize == 56 ||
         headerSize == 108 || headerSize == 124;
}

uint8_t DecodeBmpImage(RgbaImage* image, const uint8_t* data, size_t size, uint32_t colourKey) {
  if (!image || !data || size < kFileHeaderSize + 4) return 0;
  if (data[0] != 'B' || data[1] != 'M') return 0;
  const uint32_t dataOffset = U32(data + 10);
  const uint32_t headerSize = U32(data + 14);

  int64_t width, height;
  uint32_t bits, compression = 0, coloursUsed = 0;
  uint32_t paletteEntrySize;
  if (headerSize == kCoreHeaderSize) {
    if (size < kFileHeaderSize + kCoreHeaderSize) return 0;
    width = U16(data + 18);
    height = U16(data + 20);
    bits = U16(data + 24);
    paletteEntrySize = 3;
  } else if (IsInfoHeaderSize(headerSize)) {
    if (size < kFileHeaderSize + headerSize) return 0;
    width = int32_t(U32(data + 18));
    height = int32_t(U32(data + 22));
    bits = U16(data + 28);
    compression = U32(data + 30);
    coloursUsed = U32(data + 46);
    paletteEntrySize = 4;
  } else {
    return 0;
  }
  if (bits != 8 && bits != 24 && bits != 32) return 0;
  // Run-length packed pixels cannot be read as plain rows; bit fields are
  // accepted for 32-bit pictures, read in the usual blue, green, red order.
  if (compression != 0 && !(compression == 3 && bits == 32)) return 0;

  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width <= 0 || height <= 0) return 0;

  const uint64_t headerEnd = kFileHeaderSize + headerSize;
  if (dataOffset < headerEnd || dataOffset > size) return 0;

  // Palette: the entries between the header and the pixel data, at most 256.
  uint8_t palette[256][4] = {};
  uint32_t paletteCount = 0;
  if (bits == 8) {
    uint32_t wanted = 256;
    if (headerSize != kCoreHeaderSize && coloursUsed > 0 && coloursUsed < 256) wanted = coloursUsed;
    uint64_t fit = (dataOffset - headerEnd) / paletteEntrySize;
    paletteCount = uint32_t(fit < wanted ? fit : wanted);
    for (uint32_t i = 0; i < paletteCount; ++i) {
      const uint8_t* e = data + headerEnd + uint64_t(i) * paletteEntrySize;
      palette[i][0] = e[0];
      palette[i][1] = e[1];
      palette[i][2] = e[2];
    }
    if (paletteCount == 0) return 0;
  }

  const uint64_t bytesPerPixel = bits / 8;
  const uint64_t stride = (uint64_t(width) * bytesPerPixel + 3) & ~uint64_t(3);
  if (stride * uint64_t(height) > size - dataOffset) return 0;
  if (uint64_t(width) * uint64_t(height) * 4 > uint64_t(kMaxImageBytes)) return 0;

  if (!SizeRgbaImage(image, int(width), int(height))) return 0;
  const uint8_t* rows = data + dataOffset;
  for (int64_t y = 0; y < height; ++y) {
    const int64_t fileRow = topDown ? y : height - 1 - y;
    const uint8_t* src = rows + uint64_t(fileRow) * stride;
    uint8_t* dst = image->pixels + uint64_t(y) * uint64_t(width) * 4;
    for (int64_t x = 0; x < width; ++x, dst += 4) {
      uint8_t r, g, b;
      if (bits == 8) {
        uint8_t index = src[x];
        if (index < paletteCount) {
          b = palette[index][0];
          g = palette[index][1];
          r = palette[index][2];
        } else {
          r = g = b = 0;  // index past the palette: black
        }
      } else {
        const uint8_t* p = src + uint64_t(x) * bytesPerPixel;
        b = p[0];
        g = p[1];
        r = p[2];
      }
      uint32_t colour = uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16);
      if (colour == colourKey) continue;  // stays (0, 0, 0, 0)
      dst[0] = r;
      dst[1] = g;
      dst[2] = b;
      dst[3] = 255;
    }
  }
  return 1;
}

uint8_t LoadBmpImage(RgbaImage* image, const char* fileName, uint32_t colourKey) {
  std::vector<uint8_t> file;
  if (!ReadWholeFile(fileName, kMaxImageFileBytes, &file)) return 0;
  return DecodeBmpImage(image, file.data(), file.size(), colourKey);
}

uint8_t SaveBmpFile(const char* fileName, const uint8_t* pixels, int width, int height,
                    int bufferWidth, uint32_t screenKey) {
  if (!fileName || !*fileName || !pixels || width <= 0 || height <= 0 || bufferWidth < width)
    return 0;
  const uint64_t stride = (uint64_t(width) * 3 + 3) & ~uint64_t(3);
  const uint64_t fileSize = stride * uint64_t(height) + 54;
  if (fileSize > 0xFFFFFFFFu) return 0;

  std::string path = platform::NativePath(fileName);
  std::remove(path.c_str());
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;

  uint8_t header[54] = {};
  header[0] = 'B';
  header[1] = 'M';
  PutU32(header + 2, uint32_t(fileSize));
  PutU32(header + 10, 54);
  PutU32(header + 14, 40);
  PutU32(header + 18, uint32_t(width));
  PutU32(header + 22, uint32_t(height));
  PutU16(header + 26, 1);
  PutU16(header + 28, 24);
  PutU32(header + 38, 10000);
  PutU32(header + 42, 10000);
  bool ok = std::fwrite(header, 1, sizeof header, f) == sizeof header;

  const bool keyed = screenKey != kNoColourKey;
  const uint8_t keyR = uint8_t(screenKey >> 24), keyG = uint8_t(screenKey >> 16),
                keyB = uint8_t(screenKey >> 8);
  std::vector<uint8_t> row(stride, 0);
  for (int y = 0; ok && y < height; ++y) {
    const uint8_t* src = pixels + uint64_t(y) * uint64_t(bufferWidth) * 3;
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = src + x * 3;
      uint8_t* d = row.data() + x * 3;
      if (keyed && p[0] == keyB && p[1] == keyG && p[2] == keyR) {
        d[0] = 128;
        d[1] = 0;
        d[2] = 255;
      } else {
        d[0] = p[0];
        d[1] = p[1];
        d[2] = p[2];
      }
    }
    ok = std::fwrite(row.data(), 1, row.size(), f) == row.size();
  }
  if (std::fclose(f) != 0) ok = false;
  if (!ok) std::remove(path.c_str());
  return ok ? 1 : 0;
}
