// Every rendered picture as the game draws it: sprites pass an alpha test at
// 0.05 with no blending, so a pixel above 5 % opacity is drawn solid. Pixels
// between 5 % and 95 % belong only on antialiased edges and thin lines; where
// they fill an area (every pixel around one is in between too), soft
// shadows, glows or glass come out as solid slabs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
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
// One connected area of inner pixels: fine-toothed detail (a saw blade, a
// fringe) stays under this; a glow or a gradient to transparent does not.
constexpr long kMaxAreaPixels = 100;
// Antialiasing varies from pixel to pixel with the coverage; a translucent
// fill (an opacity, a shadow) is level. An inner pixel whose neighbours all
// hold its alpha within this much marks such a fill, however small.
constexpr int kLevel = 3;

struct Area {
  long pixels = 0;
  long level = 0;  // level pixels among them
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

struct Count {
  std::string name;
  long partial = 0;  // between the two opacities
  long inner = 0;    // of those, inside an area of such pixels
  long pixels = 0;
  std::vector<Area> areas;  // connected areas of inner pixels
};

class Alpha {
 public:
  explicit Alpha(const RgbaImage& image) : image_(image) {}
  int w() const { return image_.width; }
  int h() const { return image_.height; }
  int at(int x, int y) const { return image_.pixels[(size_t(y) * w() + x) * 4 + 3]; }
  bool Partial(int x, int y) const {
    if (x < 0 || y < 0 || x >= w() || y >= h()) return false;
    const int a = at(x, y);
    return a > kDrawnAbove && a < kOpaqueFrom;
  }
  // Partial, and so are its eight neighbours.
  bool Inner(int x, int y) const {
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        if (!Partial(x + dx, y + dy)) return false;
    return true;
  }
  // Of an inner pixel: its neighbours hold its alpha.
  bool Level(int x, int y) const {
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx)
        if (std::abs(at(x + dx, y + dy) - at(x, y)) > kLevel) return false;
    return true;
  }

 private:
  const RgbaImage& image_;
};

// Collects the connected area (eight-way) of inner pixels from (x, y),
// clearing them from `inner`.
Area TakeArea(const Alpha& alpha, std::vector<char>& inner, int x, int y) {
  const int w = alpha.w(), h = alpha.h();
  Area area{0, 0, x, y, x, y};
  std::vector<int> todo{y * w + x};
  inner[size_t(y) * w + x] = 0;
  while (!todo.empty()) {
    const int i = todo.back();
    todo.pop_back();
    const int px = i % w, py = i / w;
    ++area.pixels;
    area.level += alpha.Level(px, py);
    area.x0 = std::min(area.x0, px), area.x1 = std::max(area.x1, px);
    area.y0 = std::min(area.y0, py), area.y1 = std::max(area.y1, py);
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        const int nx = px + dx, ny = py + dy;
        if (nx < 0 || ny < 0 || nx >= w || ny >= h || !inner[size_t(ny) * w + nx]) continue;
        inner[size_t(ny) * w + nx] = 0;
        todo.push_back(ny * w + nx);
      }
  }
  return area;
}

Count CountPartial(const fs::path& png) {
  Count c;
  c.name = png.stem().string();
  RgbaImage image{};
  EXPECT_EQ(LoadPngImage(&image, png.string().c_str(), 0xFFFFFFFF), 1) << png;
  c.pixels = long(image.width) * image.height;
  const Alpha alpha(image);
  const int w = image.width, h = image.height;
  std::vector<char> inner(size_t(w) * h, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (!alpha.Partial(x, y)) continue;
      ++c.partial;
      inner[size_t(y) * w + x] = alpha.Inner(x, y);
      c.inner += inner[size_t(y) * w + x];
    }
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (inner[size_t(y) * w + x]) c.areas.push_back(TakeArea(alpha, inner, x, y));
  FreeRgbaImage(&image);
  return c;
}

std::vector<fs::path> Pictures() {
  const fs::path dir = fs::path(ORVALE_DATA_STAGE) / "gfx" / "gfx";
  std::vector<fs::path> pngs;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.path().extension() == ".png") pngs.push_back(e.path());
  std::sort(pngs.begin(), pngs.end());
  return pngs;
}

TEST(PictureOpacity, OnlyEdgesAreBetweenTransparentAndOpaque) {
  const std::vector<fs::path> pngs = Pictures();
  ASSERT_GT(pngs.size(), 100u);
  for (const fs::path& png : pngs) {
    Count c = CountPartial(png);
    const long allowed = kMaxInnerPixels + long(double(c.pixels) * kMaxInnerShare);
    std::printf("%-10s %7ld partial, %7ld inside areas, of %7ld\n", c.name.c_str(), c.partial, c.inner,
                c.pixels);
    EXPECT_LE(c.inner, allowed) << c.name << ": " << c.inner
                                << " pixels between 5 % and 95 % opacity fill areas that are drawn solid";
    for (const Area& a : c.areas) {
      const bool fill = a.level > 0 || a.pixels > kMaxAreaPixels;
      EXPECT_FALSE(fill) << c.name << ": a translucent area at (" << a.x0 << "," << a.y0 << ")-(" << a.x1
                         << "," << a.y1 << "), " << a.pixels << " pixels (" << a.level
                         << " level), is drawn as a solid slab";
    }
  }
}

}  // namespace
