// Sprite and animation-cell collision from the textures' alpha channels.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "frame/graphics_commands.h"
#include "frame/sprite_collision.h"
#include "periphery_fixture.h"

using namespace periphery;

namespace {

constexpr int kSolid = 200, kClear = 201, kDotA = 202, kDotB = 203, kTiny = 204, kCells = 205,
              kEmpty = 206;

class Collision : public Periphery {
 protected:
  void SetUp() override {
    Periphery::SetUp();
    auto white = [](int, int) { return Rgb(255, 255, 255); };
    MakeSprite(r, kSolid, 8, 8, white, [](int, int) { return uint8_t(255); });
    MakeSprite(r, kClear, 8, 8, white, [](int, int) { return uint8_t(0); });
    // Single opaque pixels: (1, 2) of a 4 x 4 and (3, 0) of a 4 x 4.
    MakeSprite(r, kDotA, 4, 4, white, [](int x, int y) { return uint8_t(x == 1 && y == 2 ? 255 : 0); });
    MakeSprite(r, kDotB, 4, 4, white, [](int x, int y) { return uint8_t(x == 3 && y == 0 ? 9 : 0); });
    DeleteSprite(r, kEmpty);
  }
};

TEST_F(Collision, RectangleAndPixelTests) {
  struct Case {
    const char* what;
    int a, b, ax, ay, bx, by;
    int hit;
  };
  const Case cases[] = {
      {"overlapping opaque", kSolid, kSolid, 0, 0, 4, 4, 1},
      {"corner pixel", kSolid, kSolid, 0, 0, 7, 7, 1},
      {"edges touch", kSolid, kSolid, 0, 0, 8, 0, 0},
      {"far apart", kSolid, kSolid, 0, 0, 100, 100, 0},
      {"transparent never collides", kSolid, kClear, 0, 0, 0, 0, 0},
      {"two single pixels meet", kDotA, kDotB, 10, 10, 8, 12, 1},
      {"two single pixels miss", kDotA, kDotB, 10, 10, 9, 12, 0},
      {"pixel rows are not flipped", kDotA, kDotB, 10, 10, 8, 11, 0},
      {"negative positions meet", kSolid, kDotA, -5, -5, -6, -7, 1},
      {"negative positions miss", kSolid, kDotA, -5, -5, -7, -7, 0},
      {"empty slot", kSolid, kEmpty, 0, 0, 0, 0, 0},
      {"slot below the table", -1, kSolid, 0, 0, 0, 0, 0},
      {"slot past the table", kSolid, 65536, 0, 0, 0, 0, 0},
      {"huge positions", kSolid, kSolid, 2147483647, 0, 2147483640, 0, 1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SpriteCollide(r, c.a, c.b, c.ax, c.ay, c.bx, c.by), c.hit) << c.what;
  EXPECT_EQ(r->alphaCopies[kEmpty], nullptr);
  EXPECT_NE(r->alphaCopies[kSolid], nullptr);

  // The commands take each sprite with its own position.
  EXPECT_EQ(SpriteCollisionCmd(kDotA, 10.9, 10.2, kDotB, 8, 12), 1.0);
  EXPECT_EQ(SpriteCollisionCmd(kDotA, 10, 10, kDotB, 9, 12), 0.0);
  EXPECT_EQ(AnimCollisionCmd(kDotA, 0, 10, 10, kDotB, 0, 8, 12), 1.0);
}

TEST_F(Collision, MasksOfNarrowTexturesAreReadWithoutRowPadding) {
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  // 1 x 3 and 2 x 2 pictures: texture rows of 2 bytes.
  MakeSprite(r, kTiny, 1, 3, [](int, int) { return 0u; }, [](int, int y) { return uint8_t(y == 2 ? 255 : 0); });
  EXPECT_EQ(SpriteCollide(r, kTiny, kSolid, 0, 0, 0, 2), 1);
  EXPECT_EQ(SpriteCollide(r, kTiny, kSolid, 0, 0, 0, 3), 0);
  EXPECT_EQ(SpriteCollide(r, kTiny, kSolid, 0, 0, -7, -6), 0);  // covers rows 0 and 1 only
  GLint align = 0;
  glGetIntegerv(GL_PACK_ALIGNMENT, &align);
  EXPECT_EQ(align, 4);  // the caller's setting is kept
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
}

TEST_F(Collision, ReplacedTextureGivesAFreshMask) {
  EXPECT_EQ(SpriteCollide(r, kDotA, kSolid, 0, 0, 0, 0), 1);
  MakeSprite(r, kDotA, 32, 2, [](int, int) { return 0u; }, [](int, int) { return uint8_t(0); });
  EXPECT_EQ(SpriteCollide(r, kDotA, kSolid, 0, 0, 0, 0), 0);
  MakeSprite(r, kDotA, 32, 2, [](int, int) { return 0u; }, [](int x, int) { return uint8_t(x == 30 ? 1 : 0); });
  EXPECT_EQ(SpriteCollide(r, kDotA, kSolid, -28, 0, 0, 0), 1);
}

TEST_F(Collision, AnimationCellsCountAlone) {
  // Two 8 x 8 cells side by side: the left one opaque, the right one clear;
  // a second row of two cells: left clear, right opaque.
  MakeSprite(r, kCells, 16, 16, [](int, int) { return 0u; },
             [](int x, int y) { return uint8_t((x < 8) == (y < 8) ? 255 : 0); });
  r->sprites[kCells].frameWidth = 8;
  r->sprites[kCells].frameHeight = 8;
  struct Case {
    const char* what;
    int frame, ax, ay, bx, by;
    int hit;
  };
  const Case cases[] = {
      {"opaque cell", 0, 0, 0, 0, 0, 1},
      {"clear cell", 1, 0, 0, 0, 0, 0},
      {"clear cell beside an opaque neighbour", 1, 0, 0, -4, 0, 0},
      {"second row, clear", 2, 0, 0, 0, 0, 0},
      {"second row, opaque", 3, 50, 50, 57, 57, 1},
      {"cells only touch", 0, 0, 0, 8, 0, 0},
      {"frame past the cells", 4, 0, 0, 0, 0, 0},
      {"negative frame", -1, 0, 0, 0, 0, 0},
      {"very large frame", 2147483647, 0, 0, 0, 0, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(AnimFrameCollide(r, kCells, c.frame, c.ax, c.ay, kSolid, 0, c.bx, c.by), c.hit) << c.what;

  // A sprite without cells counts whole, in either place.
  EXPECT_EQ(AnimFrameCollide(r, kSolid, 5, 0, 0, kCells, 2, 0, 0), 0);
  EXPECT_EQ(AnimFrameCollide(r, kSolid, 5, 0, 0, kCells, 3, 0, 0), 1);

  // Cell sizes that name no cell: never a collision, never a fault.
  const int16_t badSizes[][2] = {{20, 8}, {8, 0}, {8, 20}, {-8, 8}, {8, -8}};
  for (const auto& size : badSizes) {
    r->sprites[kCells].frameWidth = size[0];
    r->sprites[kCells].frameHeight = size[1];
    EXPECT_EQ(AnimFrameCollide(r, kCells, 0, 0, 0, kSolid, 0, 0, 0), 0) << size[0] << "x" << size[1];
  }
  EXPECT_EQ(AnimFrameCollide(r, kEmpty, 0, 0, 0, kSolid, 0, 0, 0), 0);
}

}  // namespace
