// Render targets: drawing into a sprite through framebuffer objects and
// through the back-buffer fall-back.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <random>

#include "frame/graphics_commands.h"
#include "frame/primitives.h"
#include "frame/render_targets.h"
#include "frame/sprite_draw.h"
#include "periphery_fixture.h"

using namespace periphery;

namespace {

constexpr uint32_t kRed = Rgb(255, 0, 0), kGreen = Rgb(0, 255, 0), kBlue = Rgb(0, 0, 255),
                   kBlack = 0;

class Targets : public Periphery {
 protected:
  void TearDown() override {
    Periphery::TearDown();
    SetFramebufferExtensionHidden(false);
    LoadFramebufferEntryPoints();
  }
  // Draws red and green marks into target n, whose sprite is slot.
  void DrawMarks(int n) {
    UseTargetScreen(r, n);
    ASSERT_EQ(r->currentTarget, n);
    DrawRect(r, 10, 10, 20, 20, kRed);     // near the top-left
    DrawRect(r, 250, 150, 30, 30, kGreen);  // near the bottom-right
    UseBackBuffer(r);
  }
  // Draws slot at (x, y) over blue and checks the marks and the clear parts.
  void ExpectMarks(int slot, int x, int y) {
    DrawRect(r, 0, 0, 640, 480, kBlue);
    DrawSprite(r, slot, float(x), float(y));
    EXPECT_EQ(Pixel(x + 15, y + 15), kRed);
    EXPECT_EQ(Pixel(x + 10, y + 10), kRed);
    EXPECT_EQ(Pixel(x + 9, y + 10), kBlue);
    EXPECT_EQ(Pixel(x + 265, y + 165), kGreen);
    EXPECT_EQ(Pixel(x + 100, y + 100), kBlue);  // never drawn: transparent
  }
};

TEST_F(Targets, FramebufferTargetDrawsIntoItsSprite) {
  ASSERT_TRUE(FramebufferObjectsAvailable());
  ASSERT_EQ(CreateTargetScreen(r, 0, 100, 300, 200), 1);
  const SpriteSlot& s = r->sprites[100];
  EXPECT_EQ(s.texWidth, 512);
  EXPECT_EQ(s.texHeight, 256);
  EXPECT_EQ(s.width, 300);
  EXPECT_EQ(s.height, 200);
  EXPECT_EQ(r->targets[0].width, 512);
  EXPECT_EQ(r->targets[0].height, 256);
  EXPECT_EQ(r->targets[0].spriteSlot, 100);

  DrawRect(r, 0, 0, 640, 480, kBlack);
  DrawMarks(0);
  EXPECT_EQ(r->currentTarget, -1);
  GLint vp[4];
  glGetIntegerv(GL_VIEWPORT, vp);
  EXPECT_EQ(vp[2], 640);
  EXPECT_EQ(vp[3], 480);
  EXPECT_EQ(r->viewport[2], 640);
  EXPECT_EQ(Pixel(15, 15), kBlack);  // the screen was not drawn on
  ExpectMarks(100, 200, 100);
  ExpectMarks(100, -5, -7);

  // The same through the commands.
  CreateScreenCmd(4, 104, 300.9, 200.2);
  EXPECT_EQ(r->sprites[104].width, 300);
  UseScreenCmd(4.7);
  EXPECT_EQ(r->currentTarget, 4);
  DrawRectCmd(10, 10, 20, 20, double(kRed));
  DrawRectCmd(250, 150, 30, 30, double(kGreen));
  UseScreenCmd(-1);
  EXPECT_EQ(r->currentTarget, -1);
  ExpectMarks(104, 100, 100);
}

TEST_F(Targets, SwitchingTargetsFinishesTheFirst) {
  ASSERT_EQ(CreateTargetScreen(r, 0, 100, 300, 200), 1);
  ASSERT_EQ(CreateTargetScreen(r, 1, 101, 64, 64), 1);
  UseTargetScreen(r, 0);
  DrawRect(r, 10, 10, 20, 20, kRed);
  UseTargetScreen(r, 1);
  EXPECT_EQ(r->currentTarget, 1);
  DrawRect(r, 0, 0, 64, 64, kGreen);
  UseTargetScreen(r, 0);  // target 0 keeps what it had and draws on
  DrawRect(r, 250, 150, 30, 30, kGreen);
  UseBackBuffer(r);
  ExpectMarks(100, 20, 30);
  DrawSprite(r, 101, 400, 400);
  EXPECT_EQ(Pixel(400, 400), kGreen);
  EXPECT_EQ(Pixel(463, 463), kGreen);
}

TEST_F(Targets, BadNumbersSizesAndSlotsAreRefused) {
  ASSERT_EQ(CreateTargetScreen(r, 0, 100, 300, 200), 1);
  GLint max = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max);
  struct Case {
    int n, slot, w, h;
  };
  const Case bad[] = {{32, 102, 10, 10}, {-1, 102, 10, 10}, {2, -1, 10, 10},     {2, 65536, 10, 10},
                      {2, 65503, 10, 10}, {2, 102, 0, 10},  {2, 102, 10, -4},    {2, 102, max + 1, 8},
                      {2, 102, 8, max * 2}};
  for (const Case& c : bad) {
    EXPECT_EQ(CreateTargetScreen(r, c.n, c.slot, c.w, c.h), 0) << c.n << " " << c.slot << " " << c.w;
    EXPECT_EQ(r->sprites[102].width, 0);
  }
  EXPECT_EQ(r->targets[2].width, 0);
  UseTargetScreen(r, 0);
  UseTargetScreen(r, 32);
  UseTargetScreen(r, -1);
  EXPECT_EQ(r->currentTarget, 0);
  UseTargetScreen(r, 5);  // never created: its sprite holds nothing
  EXPECT_EQ(r->currentTarget, 0);
  UseBackBuffer(r);
  UseBackBuffer(r);  // with no target only the viewport is reset
  EXPECT_EQ(r->currentTarget, -1);
  EXPECT_EQ(r->viewport[2], 640);
}

TEST_F(Targets, RecreatingATargetReleasesItsFramebuffer) {
  ASSERT_EQ(CreateTargetScreen(r, 3, 103, 30, 30), 1);
  EXPECT_EQ(r->targets[3].width, 32);
  UseTargetScreen(r, 3);
  ASSERT_EQ(CreateTargetScreen(r, 3, 103, 100, 20), 1);  // finishes the active target first
  EXPECT_EQ(r->currentTarget, -1);
  EXPECT_EQ(r->targets[3].width, 128);
  EXPECT_EQ(r->targets[3].height, 32);
  ReleaseRenderTarget(r, 3);
  EXPECT_EQ(r->targets[3].framebuffer, 0u);
  EXPECT_EQ(r->targets[3].width, 0);
}

TEST_F(Targets, FallBackWithoutFramebufferObjectsRestoresTheScreenExactly) {
  SetFramebufferExtensionHidden(true);
  LoadFramebufferEntryPoints();
  ASSERT_FALSE(FramebufferObjectsAvailable());
  ASSERT_EQ(CreateTargetScreen(r, 0, 100, 300, 200), 1);
  EXPECT_EQ(r->targets[0].width, 0);
  EXPECT_EQ(r->targets[0].spriteSlot, 100);

  // Every pixel different, with key-coloured and transparent pixels among
  // them, also beyond the target's picture inside its texture size.
  std::mt19937 random(12345);
  std::vector<uint8_t> screen(640 * 480 * 4);
  for (uint8_t& b : screen) b = uint8_t(random());
  for (size_t i = 0; i < screen.size(); i += 4 * 7) screen[i + 3] = 0;
  for (size_t i = 0; i < screen.size(); i += 4 * 13) {
    screen[i] = 255;
    screen[i + 1] = 0;
    screen[i + 2] = 128;
  }
  WriteScreen(screen);
  const std::vector<uint8_t> before = ReadScreen();

  DrawMarks(0);
  EXPECT_EQ(r->currentTarget, -1);
  EXPECT_EQ(r->viewport[2], 640);
  EXPECT_TRUE(ReadScreen() == before) << "the screen under the target changed";

  // Drawing again continues on top of the earlier drawing.
  UseTargetScreen(r, 0);
  DrawRect(r, 100, 20, 5, 5, kGreen);
  UseBackBuffer(r);
  EXPECT_TRUE(ReadScreen() == before);
  ExpectMarks(100, 200, 100);
  EXPECT_EQ(Pixel(302, 122), kGreen);

  // Without a sprite key the parts not drawn on stay transparent as well.
  r->spriteColourKey = 0xFFFFFFFFu;
  ASSERT_EQ(CreateTargetScreen(r, 1, 101, 300, 200), 1);
  DrawMarks(1);
  ExpectMarks(101, 10, 20);
}

}  // namespace
