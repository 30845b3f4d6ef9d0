// Queued sprite quads: every scene must leave the same pixels as when each
// sprite is drawn on its own, and reads, primitives, target switches, state
// changes and picture changes must see the sprites drawn before them.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "frame/graphics_commands.h"
#include "frame/primitives.h"
#include "frame/render_targets.h"
#include "frame/sprite_draw.h"
#include "frame/virtual_screens.h"
#include "periphery_fixture.h"

using namespace periphery;

namespace {

constexpr uint32_t kRed = Rgb(255, 0, 0), kGreen = Rgb(0, 255, 0), kBlue = Rgb(0, 0, 255),
                   kWhite = Rgb(255, 255, 255), kBlack = 0;

using Step = std::function<void(OpenGLLumenar*)>;

class SpriteQueue : public Periphery {
 protected:
  void SetUp() override {
    Periphery::SetUp();
    Solid(200, 16, 16, kRed, 255);
    Solid(201, 16, 16, kGreen, 255);
    Solid(202, 8, 8, kBlue, 128);  // half transparent
  }
  void TearDown() override {
    FlushSprites();
    SetAlphaMode(0);
    SetSmoothingCmd(1);
    Periphery::TearDown();
  }
  void Solid(int slot, int w, int h, uint32_t colour, uint8_t alpha) {
    MakeSprite(r, slot, w, h, [=](int, int) { return colour; }, [=](int, int) { return alpha; });
  }
  // The back buffer after the steps, drawn from a black screen; with
  // oneByOne every step's sprites are drawn before the next step starts.
  std::vector<uint8_t> Run(const std::vector<Step>& steps, bool oneByOne) {
    UseBackBuffer(r);
    SetAlphaMode(0);
    DrawRect(r, 0, 0, 640, 480, kBlack);
    for (const Step& s : steps) {
      s(r);
      if (oneByOne) FlushSprites();
    }
    std::vector<uint8_t> screen = ReadScreen();
    UseBackBuffer(r);
    return screen;
  }
  void ExpectSameAsOneByOne(const std::vector<Step>& steps) {
    const std::vector<uint8_t> queued = Run(steps, false);
    const std::vector<uint8_t> single = Run(steps, true);
    ASSERT_EQ(queued.size(), single.size());
    size_t differing = 0;
    for (size_t i = 0; i < queued.size(); ++i) differing += queued[i] != single[i];
    EXPECT_EQ(differing, 0u);
  }
};

Step Sprite(int slot, float x, float y) {
  return [=](OpenGLLumenar* r) { DrawSprite(r, slot, x, y); };
}

TEST_F(SpriteQueue, ReadBackSeesTheSpritesDrawnBefore) {
  DrawRect(r, 0, 0, 640, 480, kBlack);
  DrawSprite(r, 200, 10, 10);
  DrawSprite(r, 200, 40, 10);
  EXPECT_GT(gQueuedSpriteQuads, 0);
  EXPECT_EQ(Pixel(15, 15), kRed);  // GetPixelCmd draws the queue first
  EXPECT_EQ(gQueuedSpriteQuads, 0);
  EXPECT_EQ(Pixel(45, 15), kRed);
  EXPECT_EQ(Pixel(35, 15), kBlack);
}

TEST_F(SpriteQueue, PrimitiveOverASpriteCoversIt) {
  DrawRect(r, 0, 0, 640, 480, kBlack);
  DrawSprite(r, 200, 100, 100);
  DrawRect(r, 104, 104, 4, 4, kWhite);
  DrawSprite(r, 201, 200, 100);
  DrawLine(r, 200, 108, 216, 108, kWhite);
  EXPECT_EQ(Pixel(105, 105), kWhite);
  EXPECT_EQ(Pixel(101, 101), kRed);
  EXPECT_EQ(Pixel(205, 108), kWhite);
  EXPECT_EQ(Pixel(205, 104), kGreen);
}

TEST_F(SpriteQueue, TargetSwitchKeepsEachSpriteInItsBuffer) {
  ASSERT_EQ(CreateTargetScreen(r, 0, 110, 64, 64), 1);
  DrawRect(r, 0, 0, 640, 480, kBlack);
  DrawSprite(r, 200, 300, 300);  // back buffer
  UseTargetScreen(r, 0);
  DrawSprite(r, 201, 0, 0);  // into the target's sprite
  UseBackBuffer(r);
  DrawSprite(r, 200, 400, 300);
  DrawSprite(r, 110, 100, 100);
  EXPECT_EQ(Pixel(305, 305), kRed);
  EXPECT_EQ(Pixel(405, 305), kRed);
  EXPECT_EQ(Pixel(105, 105), kGreen);  // drawn in the target
  EXPECT_EQ(Pixel(5, 5), kBlack);      // not on the back buffer
  ReleaseRenderTarget(r, 0);
}

TEST_F(SpriteQueue, ReplacedPictureDoesNotChangeSpritesAlreadyDrawn) {
  DrawRect(r, 0, 0, 640, 480, kBlack);
  DrawSprite(r, 200, 10, 10);
  Solid(200, 16, 16, kBlue, 255);
  DrawSprite(r, 200, 40, 10);
  EXPECT_EQ(Pixel(15, 15), kRed);
  EXPECT_EQ(Pixel(45, 15), kBlue);
}

TEST_F(SpriteQueue, ScenesMatchSpritesDrawnOneByOne) {
  const std::vector<std::vector<Step>> scenes = {
      // Textures interleaved and overlapping: the order of the quads holds.
      {Sprite(200, 10, 10), Sprite(201, 18, 10), Sprite(200, 26, 10), Sprite(201, 34, 18),
       Sprite(200, 10, 14)},
      // Blending switched between sprites of one texture.
      {[](OpenGLLumenar*) { SetAlphaMode(-1); }, Sprite(202, 50, 50), Sprite(202, 54, 50),
       [](OpenGLLumenar*) { SetAlphaMode(1); }, Sprite(202, 52, 54),
       [](OpenGLLumenar*) { SetAlphaMode(0); }, Sprite(202, 60, 60)},
      // Smoothing switched between stretched sprites.
      {[](OpenGLLumenar* r) { StretchSprite(r, 202, 100, 100, 40, 30); },
       [](OpenGLLumenar*) { SetSmoothingCmd(0); },
       [](OpenGLLumenar* r) { StretchSprite(r, 202, 150, 100, 40, 30); },
       [](OpenGLLumenar*) { SetSmoothingCmd(1); }, Sprite(202, 200, 100)},
      // Mirrored and turned sprites between queued ones.
      {Sprite(200, 300, 300), [](OpenGLLumenar* r) { StretchSprite(r, 201, 340, 300, -20, 20); },
       Sprite(200, 330, 305), [](OpenGLLumenar* r) { RotoZoomSprite(r, 201, 300, 320, 30, 1.5f); },
       Sprite(200, 305, 325)},
      // A primitive and a pixel between sprites.
      {Sprite(200, 400, 10), [](OpenGLLumenar* r) { DrawRect(r, 405, 12, 20, 4, kWhite); },
       Sprite(200, 415, 10), [](OpenGLLumenar* r) { SetPixel(r, 420, 20, kBlue); },
       Sprite(201, 418, 18)},
  };
  for (size_t i = 0; i < scenes.size(); ++i) {
    SCOPED_TRACE(i);
    ExpectSameAsOneByOne(scenes[i]);
  }
}

}  // namespace
