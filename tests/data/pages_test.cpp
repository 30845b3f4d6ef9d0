// The game data drawn by the real renderer on a 640 x 480 window: glyph
// widths measured from the back buffer the way the game measures them, and
// the opening, title and part-selection pages composed from the archives.
// The composed pages are saved under <build>/data-shots/ for people to look at.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/basic_string.h"
#include "core/shoebox.h"
#include "frame/fonts.h"
#include "frame/graphics_commands.h"
#include "frame/main_window.h"
#include "frame/primitives.h"
#include "frame/renderer.h"
#include "frame/sprite_draw.h"
#include "frame/virtual_screens.h"

namespace {

const std::string kGameDir = ORVALE_BINARY_DIR "/game";
const std::string kShotDir = ORVALE_BINARY_DIR "/data-shots";
constexpr double kWhite = 16777215;
constexpr int kFont = 50;

class WindowEnv : public ::testing::Environment {
 public:
  void SetUp() override {
    gRenderer = new OpenGLLumenar();
    ASSERT_TRUE(CreateMainWindow(gRenderer, nullptr, 640, 480, 0, 60, 0, false));
    SetShoebox(BasicString((kGameDir + "/media.gfx").c_str()), BasicString((kGameDir + "/media.aud").c_str()));
    ASSERT_EQ(std::system(("mkdir -p '" + kShotDir + "'").c_str()), 0);
  }
  void TearDown() override {
    ReleaseShoeboxes();
    FreePolygonVertices();
    FreeGrabScratchBuffer();
    delete gRenderer;
    gRenderer = nullptr;
  }
};
const auto* const kEnv = ::testing::AddGlobalTestEnvironment(new WindowEnv);

// The game's width table: the space is 20; every other glyph is drawn over
// a white square and scanned from column 20 leftwards on the even rows.
std::vector<int> BuildKernTable() {
  std::vector<int> kern(96, 20);
  for (int ch = 1; ch < 96; ++ch) {
    DrawRectCmd(0, 0, 25, 25, kWhite);
    DrawAnimCmd(kFont, ch, 0, 0);
    int chx = 20, chy = 0;
    while (chx > 0 && GetPixelCmd(chx, chy) == kWhite) {
      chy += 2;
      if (chy == 20) {
        --chx;
        chy = 0;
      }
    }
    kern[size_t(ch)] = chx + 2;
  }
  return kern;
}

int TextWidth(const std::vector<int>& kern, const std::string& text) {
  int add = 0;
  for (char c : text) add += kern[size_t(c - 32)];
  return add;
}

void PrintTxt(const std::vector<int>& kern, const std::string& text, int x, int y) {
  if (x == -1) x = int((640 - TextWidth(kern, text)) * 0.5);
  for (char c : text) {
    DrawAnimCmd(kFont, c - 32, x, y);
    x += kern[size_t(c - 32)];
  }
}

class GamePages : public ::testing::Test {
 protected:
  void SetUp() override {
    SetViewport2D(gRenderer, 0, 0, 0, 0);
    SetAlphaMode(0);
    ClearScreen();
  }
};

double Width(int sprite) {
  double w = 0, h = 0;
  GetSpriteSizeCmd(sprite, w, h);
  return w;
}

void Save(const char* name) { EXPECT_EQ(SaveScreenCmd(BasicString((kShotDir + "/" + name).c_str())), 1.0); }

TEST_F(GamePages, GlyphWidthsFromTheBackBuffer) {
  LoadAnimCmd("gfx/fontpc.png", kFont, 20, 20);
  ASSERT_EQ(Width(kFont), 1920);
  std::vector<int> kern = BuildKernTable();
  for (int ch = 1; ch < 96; ++ch) {
    EXPECT_LT(kern[size_t(ch)], 20) << "code " << ch + 32;
    EXPECT_GT(kern[size_t(ch)], 2) << "code " << ch + 32 << " has no ink on the even rows";
  }
  // Narrow and wide letters measure as such.
  EXPECT_LT(kern['i' - 32], kern['m' - 32]);
  EXPECT_LT(kern['l' - 32], kern['W' - 32]);
  const std::string line = "I say, K.V., you'll never defeat Scarrow by trying to cheat.";
  double perLine = 640.0 * double(line.size()) / TextWidth(kern, line);
  EXPECT_GE(perLine, 39.0);
  EXPECT_LE(perLine, 47.0);
}

TEST_F(GamePages, OpeningTitleAndSelectionPages) {
  LoadAnimCmd("gfx/fontpc.png", kFont, 20, 20);
  std::vector<int> kern = BuildKernTable();
  LoadSpriteCmd("gfx/mouse.png", 51);
  ASSERT_EQ(Width(51), 40);

  // Opening plate, stretched over the screen.
  LoadSpriteCmd("gfx/compo.png", 0);
  ASSERT_EQ(Width(0), 640);
  StretchSpriteCmd(0, 0, 0, 640, 480);
  Save("compo.png");

  // Logo over black.
  DrawRectCmd(0, 0, 640, 480, 0);
  LoadSpriteCmd("gfx/quillet.png", 0);
  ASSERT_EQ(Width(0), 640);
  DrawSpriteCmd(0, 0, 0);
  Save("quillet.png");

  // Crest over the pulsing background: the background shows around it.
  LoadSpriteCmd("gfx/biglogo.png", 0);
  ASSERT_EQ(Width(0), 416);
  DrawRectCmd(0, 0, 640, 480, 192 + 256 * 128);
  DrawSpriteCmd(0, 112, 24);
  EXPECT_EQ(GetPixelCmd(114, 26), 192 + 256 * 128);
  EXPECT_NE(GetPixelCmd(320, 200), 192 + 256 * 128);
  Save("biglogo.png");

  // Title page with the volume hint and the prompt.
  LoadSpriteCmd("gfx/kvtitle.png", 0);
  ASSERT_EQ(Width(0), 640);
  DrawSpriteCmd(0, 0, 0);
  double before = GetPixelCmd(320, 470);
  PrintTxt(kern, "Set Volume with 0 (silent) > 5 (loud)", -1, 440);
  PrintTxt(kern, "Click to Continue", -1, 460);
  Save("kvtitle.png");
  // Some glyph pixel of the prompt's middle row differs from the page.
  bool inked = false;
  for (int x = 250; x < 390 && !inked; ++x) inked = GetPixelCmd(x, 470) != before;
  EXPECT_TRUE(inked);

  // Part selection: dark red page, banner, portrait, heading and options,
  // the highlight bar and the pointer.
  LoadSpriteCmd("gfx/vorl.png", 0);
  LoadSpriteCmd("gfx/kv.png", 1);
  DrawRectCmd(0, 0, 640, 480, 48);
  DrawSpriteCmd(1, (640 - Width(1)) * 0.5, 25);
  DrawSpriteCmd(0, (640 - Width(0)) * 0.5, 100);
  EXPECT_EQ(GetPixelCmd(5, 5), 48);
  EXPECT_NE(GetPixelCmd(320, 200), 48);
  PrintTxt(kern, "Do you want to:", 0, 350);
  DrawRectCmd(0, 390, TextWidth(kern, "Play Part One"), 20, 50 + 256 * 50 + 65536 * 200);
  PrintTxt(kern, "Play Part One", 0, 390);
  PrintTxt(kern, "Play Part Two", 0, 410);
  DrawSpriteCmd(51, 90 - 15, 398 - 15);
  Save("select.png");
}

}  // namespace
