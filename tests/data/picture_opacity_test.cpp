// Every rendered picture as the game draws it: sprites pass an alpha test at
// 0.05 with no blending, so a pixel above 5 % opacity is drawn solid. Pixels
// between 5 % and 95 % belong only on antialiased edges and thin lines; where
// they fill an area (every pixel around one is in between too), soft
// shadows, glows or glass come out as solid slabs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "frame/image_png.h"
#include "frame/renderer.h"

namespace {

namespace fs = std::filesystem;

// Pixels inside such areas that a picture may have: a few where the
// antialiased edges of thin parts run side by side.
constexpr long kMaxInnerPixels = 100;
constexpr double kMaxInnerShare = 0.002;
constexpr int kDrawnAbove = 13;   // 0.05 of 255: the alpha test lets it through
constexpr int kOpaqueFrom = 243;  // 0.95 of 255

struct Count {
  std::string name;
  long partial = 0;  // between the two opacities
  long inner = 0;    // of those, inside an area of such pixels
  long pixels = 0;
};

Count CountPartial(const fs::path& png) {
  Count c{png.stem().string()};
  RgbaImage image{};
  EXPECT_EQ(LoadPngImage(&image, png.string().c_str(), 0xFFFFFFFF), 1) << png;
  c.pixels = long(image.width) * image.height;
  const int w = image.width, h = image.height;
  auto alpha = [&](int x, int y) { return int(image.pixels[(size_t(y) * w + x) * 4 + 3]); };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int a = alpha(x, y);
      if (a <= kDrawnAbove || a >= kOpaqueFrom) continue;
      ++c.partial;
      bool surrounded = true;
      for (int dy = -1; dy <= 1 && surrounded; ++dy)
        for (int dx = -1; dx <= 1 && surrounded; ++dx) {
          const int nx = x + dx, ny = y + dy;
          surrounded = nx >= 0 && ny >= 0 && nx < w && ny < h && alpha(nx, ny) > kDrawnAbove &&
                       alpha(nx, ny) < kOpaqueFrom;
        }
      c.inner += surrounded;
    }
  FreeRgbaImage(&image);
  return c;
}

TEST(PictureOpacity, OnlyEdgesAreBetweenTransparentAndOpaque) {
  const fs::path dir = fs::path(ORVALE_DATA_STAGE) / "gfx" / "gfx";
  std::vector<fs::path> pngs;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.path().extension() == ".png") pngs.push_back(e.path());
  std::sort(pngs.begin(), pngs.end());
  ASSERT_GT(pngs.size(), 100u) << dir;
  for (const fs::path& png : pngs) {
    Count c = CountPartial(png);
    const long allowed = kMaxInnerPixels + long(double(c.pixels) * kMaxInnerShare);
    std::printf("%-10s %7ld partial, %7ld inside areas, of %7ld\n", c.name.c_str(), c.partial, c.inner,
                c.pixels);
    EXPECT_LE(c.inner, allowed) << c.name << ": " << c.inner
                                << " pixels between 5 % and 95 % opacity fill areas that are drawn solid";
  }
}

}  // namespace
