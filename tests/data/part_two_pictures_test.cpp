// Part Two's pictures in the built archive: every page and overlay loads,
// pages fill the screen, overlays reach exactly from where the game draws
// them to the screen's edge and are see-through around their item, and the
// pictures laid over the shared sky or dungeon frame let it show through.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "core/shoebox.h"
#include "frame/image_png.h"

namespace {

const std::string kGameDir = ORVALE_BINARY_DIR "/game";
constexpr uint32_t kSpriteKey = 0x8000FF;

class Archive {
 public:
  explicit Archive(const std::string& path) : box_{} { SetShoeboxContainer(&box_, path.c_str()); }
  ~Archive() {
    char out[kShoeboxPathSize];
    ResolveShoeboxFile(&box_, "", out);
  }
  std::string Resolve(const std::string& name) {
    char out[kShoeboxPathSize] = {};
    if (ResolveShoeboxFile(&box_, name.c_str(), out) != 1) return "";
    return out;
  }

 private:
  Shoebox box_;
};

struct Image {
  RgbaImage rgba{};
  ~Image() { FreeRgbaImage(&rgba); }
  const uint8_t* At(int x, int y) const { return rgba.pixels + (size_t(y) * rgba.width + x) * 4; }
  int Count(bool solid) const {
    int n = 0;
    for (int y = 0; y < rgba.height; ++y)
      for (int x = 0; x < rgba.width; ++x) n += solid ? At(x, y)[3] == 255 : At(x, y)[3] == 0;
    return n;
  }
};

bool Load(Archive& archive, const std::string& name, Image* image) {
  std::string path = archive.Resolve("gfx/" + name + ".png");
  return !path.empty() && LoadPngImage(&image->rgba, path.c_str(), kSpriteKey) == 1;
}

enum class Kind {
  Page,     // drawn alone at (0, 0): opaque everywhere
  OverSky,  // drawn at (0, 0) over the shared sky: its top is see-through
  OnFrame,  // drawn at (0, 0) over the shared dungeon frame
  Overlay,  // an item or figure drawn at (x, y) over a page
};

struct Picture {
  const char* name;
  Kind kind;
  int x, y;  // where an overlay is drawn
};

const std::vector<Picture>& Pictures() {
  static const std::vector<Picture> all = {
      {"story02a", Kind::Page, 0, 0},   {"story02b", Kind::Overlay, 140, 330},
      {"b01", Kind::OnFrame, 0, 0},     {"b01a", Kind::Overlay, 453, 421},
      {"b01b", Kind::Overlay, 345, 430}, {"b01c", Kind::Overlay, 557, 439},
      {"b03", Kind::Page, 0, 0},        {"b03a", Kind::Page, 0, 0},
      {"b04", Kind::Overlay, 250, 259}, {"b04a", Kind::Overlay, 250, 259},
      {"b05", Kind::Page, 0, 0},        {"b05a", Kind::Overlay, 301, 320},
      {"b05b", Kind::Overlay, 179, 320}, {"b05c", Kind::Overlay, 480, 370},
      {"b06", Kind::Page, 0, 0},        {"b06a", Kind::Overlay, 140, 270},
      {"b06b", Kind::Overlay, 30, 320}, {"b08", Kind::Page, 0, 0},
      {"b10", Kind::Page, 0, 0},        {"b10a", Kind::Page, 0, 0},
      {"b10b", Kind::Overlay, 360, 220}, {"b10c", Kind::Overlay, 518, 304},
      {"b10d", Kind::Overlay, 456, 315}, {"b10e", Kind::Overlay, 483, 361},
      {"b12", Kind::Page, 0, 0},        {"b12a", Kind::Overlay, 480, 201},
      {"b12b", Kind::Overlay, 460, 201}, {"b12c", Kind::Overlay, 510, 380},
      {"b14", Kind::Page, 0, 0},        {"b15", Kind::OverSky, 0, 0},
      {"b17", Kind::Page, 0, 0},        {"b17a", Kind::Overlay, 6, 428},
      {"b17b", Kind::Overlay, 197, 369}, {"b17c", Kind::Overlay, 408, 410},
      {"b18", Kind::Page, 0, 0},        {"b19", Kind::Page, 0, 0},
      {"b19a", Kind::Page, 0, 0},       {"b20", Kind::Page, 0, 0},
      {"b20a", Kind::Overlay, 292, 426}, {"b21", Kind::Page, 0, 0},
      {"b21a", Kind::Page, 0, 0},       {"b22", Kind::Page, 0, 0},
      {"b22a", Kind::Overlay, 440, 316}, {"b23", Kind::Page, 0, 0},
      {"b23b", Kind::Overlay, 453, 374}, {"b23c", Kind::Overlay, 75, 170},
      {"b25", Kind::Page, 0, 0},        {"b25a", Kind::Overlay, 46, 270},
      {"b25b", Kind::Overlay, 240, 420}, {"b25c", Kind::Overlay, 535, 370},
      {"b26", Kind::Page, 0, 0},        {"b26a", Kind::Overlay, 370, 255},
      {"b27", Kind::Page, 0, 0},        {"b27a", Kind::Overlay, 236, 220},
      {"b27b", Kind::Overlay, 245, 225}, {"b27c", Kind::Overlay, 442, 296},
      {"b30", Kind::Page, 0, 0},        {"b30a", Kind::Page, 0, 0},
      {"b31", Kind::Page, 0, 0},        {"b32", Kind::Page, 0, 0},
      {"b32a", Kind::Page, 0, 0},       {"b33", Kind::Page, 0, 0},
      {"b33a", Kind::Page, 0, 0},       {"b34", Kind::Page, 0, 0},
      {"b34a", Kind::Page, 0, 0},       {"b36", Kind::OverSky, 0, 0},
      {"b37", Kind::Page, 0, 0},        {"b38", Kind::Page, 0, 0},
      {"b38a", Kind::Page, 0, 0},       {"b38b", Kind::Page, 0, 0},
      {"b38c", Kind::Page, 0, 0},       {"b42", Kind::OverSky, 0, 0},
      {"b42a", Kind::Overlay, 30, 330}, {"b43", Kind::Page, 0, 0},
      {"b43a", Kind::Page, 0, 0},       {"b44", Kind::Page, 0, 0},
  };
  return all;
}

TEST(PartTwoPictures, PagesAndOverlaysHaveTheirSizeAndCover) {
  Archive gfx(kGameDir + "/media.gfx");
  for (const Picture& p : Pictures()) {
    SCOPED_TRACE(p.name);
    Image image;
    ASSERT_TRUE(Load(gfx, p.name, &image));
    const int total = image.rgba.width * image.rgba.height;
    switch (p.kind) {
      case Kind::Page:
        EXPECT_EQ(image.rgba.width, 640);
        EXPECT_EQ(image.rgba.height, 480);
        EXPECT_EQ(image.Count(true), total);  // no holes, not even from the sprite key
        break;
      case Kind::OverSky:
        EXPECT_EQ(image.rgba.width, 640);
        EXPECT_EQ(image.rgba.height, 480);
        for (int x = 0; x < 640; x += 16) EXPECT_EQ(image.At(x, 2)[3], 0) << "sky hidden at x " << x;
        for (int x = 0; x < 640; x += 16) EXPECT_EQ(image.At(x, 477)[3], 255) << "ground open at x " << x;
        break;
      case Kind::OnFrame:
        EXPECT_EQ(image.rgba.width, 640);
        EXPECT_EQ(image.rgba.height, 480);
        EXPECT_GT(total - image.Count(true), total / 3);  // the frame shows through
        EXPECT_GT(image.Count(true), 0);
        break;
      case Kind::Overlay:
        EXPECT_EQ(image.rgba.width, 640 - p.x);
        EXPECT_EQ(image.rgba.height, 480 - p.y);
        EXPECT_GT(image.Count(false), total / 4);
        EXPECT_GT(image.Count(true), 0);
        // The item starts near the draw position rather than lost in a corner.
        EXPECT_EQ(image.At(image.rgba.width - 1, image.rgba.height - 1)[3], 0);
        break;
    }
  }
}

// The salt barrel stands at two places in the cellar: it stays on the
// screen at both.
TEST(PartTwoPictures, SaltBarrelFitsBothPlaces) {
  Archive gfx(kGameDir + "/media.gfx");
  Image barrel;
  ASSERT_TRUE(Load(gfx, "b23a", &barrel));
  for (const auto& at : {std::pair{450, 310}, std::pair{537, 295}}) {
    EXPECT_LE(at.first + barrel.rgba.width, 640);
    EXPECT_LE(at.second + barrel.rgba.height, 480);
  }
  EXPECT_GT(barrel.Count(true), barrel.rgba.width * barrel.rgba.height / 3);
}

// The maze cells alternate like a chessboard, so every move changes the
// picture: the two cell pictures must differ visibly.
TEST(PartTwoPictures, MazeCellsDifferFromEachOther) {
  Archive gfx(kGameDir + "/media.gfx");
  Image a, b;
  ASSERT_TRUE(Load(gfx, "b03", &a));
  ASSERT_TRUE(Load(gfx, "b03a", &b));
  ASSERT_EQ(a.rgba.width, b.rgba.width);
  ASSERT_EQ(a.rgba.height, b.rgba.height);
  int differ = 0;
  for (int y = 0; y < a.rgba.height; y += 4)
    for (int x = 0; x < a.rgba.width; x += 4) {
      const uint8_t* p = a.At(x, y);
      const uint8_t* q = b.At(x, y);
      differ += std::abs(p[0] - q[0]) + std::abs(p[1] - q[1]) + std::abs(p[2] - q[2]) > 24;
    }
  EXPECT_GT(differ, (a.rgba.width / 4) * (a.rgba.height / 4) / 2);
}

}  // namespace
