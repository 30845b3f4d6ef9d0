#include "image_fixtures.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace drawtest {

std::string ScratchPath(const std::string& name) {
  std::filesystem::path dir = std::filesystem::path(ORVALE_BINARY_DIR) / "tests" / "draw" / "scratch";
  std::filesystem::create_directories(dir);
  return (dir / name).string();
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::vector<uint8_t> out;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return out;
  uint8_t buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.insert(out.end(), buf, buf + n);
  std::fclose(f);
  return out;
}

namespace {
bool WritePngRows(std::FILE* f, const PngSpec& s, png_bytep* rows) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, s.width, s.height, s.bitDepth, s.colourType,
               s.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> pal;
  for (size_t i = 0; i + 2 < s.palette.size(); i += 3)
    pal.push_back(png_color{s.palette[i], s.palette[i + 1], s.palette[i + 2]});
  if (!pal.empty()) png_set_PLTE(png, info, pal.data(), int(pal.size()));
  if (!s.trns.empty())
    png_set_tRNS(png, info, const_cast<png_bytep>(s.trns.data()), int(s.trns.size()), nullptr);
  if (s.trnsGrey >= 0) {
    png_color_16 grey{};
    grey.gray = png_uint_16(s.trnsGrey);
    png_set_tRNS(png, info, nullptr, 0, &grey);
  }
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}
}  // namespace

bool WritePng(const std::string& path, const PngSpec& s) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const size_t rowBytes = s.samples.size() / size_t(s.height);
  std::vector<png_bytep> rows(size_t(s.height));
  for (int y = 0; y < s.height; ++y)
    rows[size_t(y)] = const_cast<png_bytep>(s.samples.data() + size_t(y) * rowBytes);
  bool ok = WritePngRows(f, s, rows.data());
  return std::fclose(f) == 0 && ok;
}

std::vector<uint8_t> MakeBmp(int width, int height, int bits, const std::vector<uint8_t>& rows,
                             const std::vector<uint8_t>& paletteBgra, uint32_t coloursUsed,
                             uint32_t infoHeaderSize) {
  const int bpp = bits / 8;
  const int absH = height < 0 ? -height : height;
  const size_t stride = (size_t(width) * bpp + 3) & ~size_t(3);
  const uint32_t offset = 14 + infoHeaderSize + uint32_t(paletteBgra.size());
  std::vector<uint8_t> out(offset + stride * size_t(absH), 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = uint8_t(v >> (8 * i));
  };
  out[0] = 'B';
  out[1] = 'M';
  put32(2, uint32_t(out.size()));
  put32(10, offset);
  put32(14, infoHeaderSize);
  put32(18, uint32_t(width));
  put32(22, uint32_t(height));
  out[26] = 1;
  out[28] = uint8_t(bits);
  put32(46, coloursUsed);
  std::copy(paletteBgra.begin(), paletteBgra.end(), out.begin() + 14 + infoHeaderSize);
  for (int y = 0; y < absH; ++y)
    std::copy(rows.begin() + size_t(y) * width * bpp, rows.begin() + size_t(y + 1) * width * bpp,
              out.begin() + offset + size_t(y) * stride);
  return out;
}

}  // namespace drawtest
