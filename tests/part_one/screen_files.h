// Screenshots the play tests leave in screens/ under this build folder.
#pragma once

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace playtest {

inline std::string ScreensDir() {
  const std::string dir = std::string(ORVALE_BINARY_DIR) + "/tests/part_one/screens";
  std::filesystem::create_directories(dir);
  return dir;
}

// Distinct colours of a saved screenshot (0 when it cannot be read).
inline size_t Colours(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return 0;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, f);
  png_read_info(png, info);
  const int w = int(png_get_image_width(png, info)), h = int(png_get_image_height(png, info));
  std::vector<uint8_t> row(size_t(w) * 3);
  std::set<uint32_t> colours;
  for (int y = 0; y < h; ++y) {
    png_read_row(png, row.data(), nullptr);
    for (int x = 0; x < w; ++x)
      colours.insert(uint32_t(row[x * 3]) << 16 | uint32_t(row[x * 3 + 1]) << 8 | row[x * 3 + 2]);
  }
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(f);
  return colours.size();
}

}  // namespace playtest
