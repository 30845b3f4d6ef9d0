#include "frame/image_png.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "frame/image_bmp.h"
#include "platform/system.h"

namespace {

constexpr uint32_t kMaxPngSide = 65535;
constexpr uint64_t kMaxPngBytes = uint64_t(1) << 30;
constexpr png_alloc_size_t kMaxPngChunkBytes = png_alloc_size_t(16) << 20;
constexpr png_uint_32 kMaxPngAncillaryChunks = 1000;

struct PngFileHolder {
  std::FILE* handle;
  uint64_t fileSize;
  uint64_t bytesRead;
};

// The reader's program-wide state.
png_structp gPngRead = nullptr;
png_infop gPngInfo = nullptr;
PngFileHolder* gPngHolder = nullptr;
uint32_t gPngHeight = 0;

void PngReadCallback(png_structp png, png_bytep data, png_size_t length) {
  auto* holder = static_cast<PngFileHolder*>(png_get_io_ptr(png));
  if (length == 0 || !holder) return;
  holder->bytesRead += length;
  if (!holder->handle || std::fread(data, 1, length, holder->handle) != length)
    png_error(png, "unexpected end of file");
}

void PngWriteCallback(png_structp png, png_bytep data, png_size_t length) {
  auto* holder = static_cast<PngFileHolder*>(png_get_io_ptr(png));
  if (length == 0 || !holder || !holder->handle) return;
  if (std::fwrite(data, 1, length, holder->handle) != length) png_error(png, "write failed");
}

void PngFlushCallback(png_structp) {}

// libpng sizes some buffers from lengths in the file (a text chunk is read
// whole): no single allocation of the reader may pass the chunk limit, so a
// few bytes claiming a chunk of gigabytes are refused, not allocated.
png_voidp PngLimitedMalloc(png_structp, png_alloc_size_t size) {
  if (size > kMaxPngChunkBytes) return nullptr;
  return std::malloc(size);
}

void PngFree(png_structp, png_voidp p) { std::free(p); }

void PngWarning(png_structp, png_const_charp) {}

// The reason goes to the caller's report (the loaders log it), not to
// standard error.
std::string gPngError;

void PngError(png_structp png, png_const_charp message) {
  gPngError = message ? message : "error";
  png_longjmp(png, 1);
}

}  // namespace

void PngCloseReader() {
  if (gPngRead) png_destroy_read_struct(&gPngRead, gPngInfo ? &gPngInfo : nullptr, nullptr);
  gPngRead = nullptr;
  gPngInfo = nullptr;
  if (gPngHolder) {
    if (gPngHolder->handle) std::fclose(gPngHolder->handle);
    delete gPngHolder;
    gPngHolder = nullptr;
  }
  gPngHeight = 0;
}

const char* LastPngError() { return gPngError.c_str(); }

uint8_t PngOpenReader(const char* fileName, int32_t* width, int32_t* height, uint32_t* rowBytes,
                      int32_t* channels) {
  PngCloseReader();
  gPngError.clear();
  gPngHolder = new PngFileHolder{nullptr, 0, 0};
  std::string path = platform::NativePath(fileName);
  if (fileName && *fileName) gPngHolder->handle = std::fopen(path.c_str(), "rb");
  if (!gPngHolder->handle) return 0;
  if (std::fseek(gPngHolder->handle, 0, SEEK_END) == 0) {
    long size = std::ftell(gPngHolder->handle);
    gPngHolder->fileSize = size > 0 ? uint64_t(size) : 0;
  }
  std::fseek(gPngHolder->handle, 0, SEEK_SET);

  gPngRead = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning,
                                      nullptr, PngLimitedMalloc, PngFree);
  if (!gPngRead) return 0;
  gPngInfo = png_create_info_struct(gPngRead);
  if (!gPngInfo) return 0;
  if (setjmp(png_jmpbuf(gPngRead))) return 0;

  png_set_user_limits(gPngRead, kMaxPngSide, kMaxPngSide);
  png_set_chunk_malloc_max(gPngRead, kMaxPngChunkBytes);
  png_set_chunk_cache_max(gPngRead, kMaxPngAncillaryChunks);
  png_set_read_fn(gPngRead, gPngHolder, PngReadCallback);
  png_read_info(gPngRead, gPngInfo);

  const int colourType = png_get_color_type(gPngRead, gPngInfo);
  const int bitDepth = png_get_bit_depth(gPngRead, gPngInfo);
  if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_expand(gPngRead);
  if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand(gPngRead);
  const bool transparency = png_get_valid(gPngRead, gPngInfo, PNG_INFO_tRNS) != 0;
  if (transparency) png_set_expand(gPngRead);
  // Grey with alpha, or grey with a transparent shade, comes out as RGBA.
  if (colourType == PNG_COLOR_TYPE_GRAY_ALPHA || (colourType == PNG_COLOR_TYPE_GRAY && transparency))
    png_set_gray_to_rgb(gPngRead);
  if (bitDepth == 16) png_set_strip_16(gPngRead);
  if (bitDepth < 8) png_set_packing(gPngRead);
  png_set_interlace_handling(gPngRead);
  png_read_update_info(gPngRead, gPngInfo);

  const int outChannels = png_get_channels(gPngRead, gPngInfo);
  const int outDepth = png_get_bit_depth(gPngRead, gPngInfo);
  const int outType = png_get_color_type(gPngRead, gPngInfo);
  if (outChannels != 1 && outChannels != 3 && outChannels != 4) return 0;
  if (outDepth != 8) {
    std::printf("File %s has bit depth %d.\n", fileName, outDepth);
    std::printf("Only bit depth of 8 is supported.\n");
    gPngError = "bit depth " + std::to_string(outDepth) + " is not supported";
    return 0;
  }
  if (outType != PNG_COLOR_TYPE_GRAY && outType != PNG_COLOR_TYPE_RGB &&
      outType != PNG_COLOR_TYPE_RGB_ALPHA) {
    std::printf("File %s has unsupported color type.\n", fileName);
    std::printf("Types GRAY, RGB and RGB_ALPHA are supported.\n");
    gPngError = "unsupported colour type";
    return 0;
  }
  const uint32_t w = png_get_image_width(gPngRead, gPngInfo);
  const uint32_t h = png_get_image_height(gPngRead, gPngInfo);
  const size_t bytes = png_get_rowbytes(gPngRead, gPngInfo);
  if (w == 0 || h == 0) return 0;
  if (uint64_t(bytes) * h > kMaxPngBytes || uint64_t(w) * h * 4 > kMaxPngBytes) return 0;
  gPngHeight = h;
  *width = int32_t(w);
  *height = int32_t(h);
  *rowBytes = uint32_t(bytes);
  *channels = outChannels;
  return 1;
}

uint8_t PngReadRows(uint8_t* buffer, uint8_t** rowPointers) {
  if (!gPngRead || !gPngInfo || gPngHeight == 0) return 0;
  const size_t rowBytes = png_get_rowbytes(gPngRead, gPngInfo);
  for (uint32_t i = 0; i < gPngHeight; ++i) rowPointers[i] = buffer + size_t(i) * rowBytes;
  if (setjmp(png_jmpbuf(gPngRead))) return 0;
  png_read_image(gPngRead, rowPointers);
  // Read up to the end chunk so that a file cut short anywhere fails.
  png_read_end(gPngRead, nullptr);
  return 1;
}

uint8_t LoadPngImage(RgbaImage* image, const char* fileName, uint32_t colourKey) {
  int32_t width = 0, height = 0, channels = 0;
  uint32_t rowBytes = 0;
  if (!image || !PngOpenReader(fileName, &width, &height, &rowBytes, &channels)) {
    PngCloseReader();
    return 0;
  }
  const size_t bufferBytes = size_t(rowBytes) * size_t(height) + 16;
  auto* buffer = static_cast<uint8_t*>(std::malloc(bufferBytes));
  auto* rows = static_cast<uint8_t**>(std::malloc(sizeof(uint8_t*) * size_t(height)));
  uint8_t ok = buffer && rows && PngReadRows(buffer, rows);
  if (ok) ok = SizeRgbaImage(image, width, height);
  if (ok) {
    for (int32_t y = 0; y < height; ++y) {
      const uint8_t* src = rows[y];
      uint8_t* dst = image->pixels + size_t(y) * size_t(width) * 4;
      for (int32_t x = 0; x < width; ++x, dst += 4) {
        if (channels == 4) {
          const uint8_t* p = src + x * 4;
          dst[0] = p[0];
          dst[1] = p[1];
          dst[2] = p[2];
          dst[3] = p[3];
        } else if (channels == 3) {
          const uint8_t* p = src + x * 3;
          uint32_t colour = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16);
          if (colourKey != kNoColourKey && colour == colourKey) continue;
          dst[0] = p[0];
          dst[1] = p[1];
          dst[2] = p[2];
          dst[3] = 255;
        } else {
          dst[0] = dst[1] = dst[2] = src[x];
          dst[3] = 255;
        }
      }
    }
  }
  std::free(rows);
  std::free(buffer);
  PngCloseReader();
  return ok;
}

namespace {

// The libpng write sequence; kept apart so nothing with a destructor lives in
// the frame that setjmp marks.
uint8_t WritePngStream(PngFileHolder* holder, png_bytep* rows, int width, int height) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
  if (!png) return 0;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return 0;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return 0;
  }
  png_set_write_fn(png, holder, PngWriteCallback, PngFlushCallback);
  png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB_ALPHA,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_set_packing(png);
  png_set_bgr(png);
  png_write_image(png, rows);
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return 1;
}

}  // namespace

uint8_t SavePngFile(const char* fileName, const uint8_t* pixels, int width, int height) {
  if (!fileName || !*fileName || !pixels || width <= 0 || height <= 0) return 0;
  if (uint32_t(width) > kMaxPngSide || uint32_t(height) > kMaxPngSide) return 0;
  std::string path = platform::NativePath(fileName);
  std::remove(path.c_str());
  PngFileHolder holder{std::fopen(path.c_str(), "wb"), 0, 0};
  if (!holder.handle) return 0;
  auto* rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * size_t(height)));
  uint8_t ok = 0;
  if (rows) {
    for (int y = 0; y < height; ++y)
      rows[y] = const_cast<png_bytep>(pixels + size_t(y) * size_t(width) * 4);
    ok = WritePngStream(&holder, rows, width, height);
  }
  std::free(rows);
  if (std::fclose(holder.handle) != 0) ok = 0;
  if (!ok) std::remove(path.c_str());
  return ok;
}
