// 2D drawing on a real 640 x 480 window, checked by reading pixels back.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <utility>

#include "core/basic_string.h"
#include "core/runtime_error.h"
#include "frame/fonts.h"
#include "frame/frame_function.h"
#include "frame/graphics_commands.h"
#include "frame/image_bmp.h"
#include "frame/image_png.h"
#include "frame/image_save.h"
#include "frame/main_window.h"
#include "frame/primitives.h"
#include "frame/renderer.h"
#include "frame/sprite_draw.h"
#include "frame/virtual_screens.h"
#include "image_fixtures.h"
#include "platform/system.h"

using namespace drawtest;

namespace {

constexpr uint32_t Rgb(int r, int g, int b) { return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16; }
constexpr uint32_t kBlack = 0, kRed = Rgb(255, 0, 0), kGreen = Rgb(0, 255, 0), kBlue = Rgb(0, 0, 255),
                   kWhite = Rgb(255, 255, 255), kKey = Rgb(255, 0, 128);

class WindowEnv : public ::testing::Environment {
 public:
  void SetUp() override {
    gRenderer = new OpenGLLumenar();
    ASSERT_TRUE(CreateMainWindow(gRenderer, nullptr, 640, 480, 0, 60, 0, false));
  }
  void TearDown() override {
    FreePolygonVertices();
    FreeGrabScratchBuffer();
    delete gRenderer;
    gRenderer = nullptr;
  }
};
const auto* const kEnv = ::testing::AddGlobalTestEnvironment(new WindowEnv);

uint32_t Pixel(int x, int y) { return uint32_t(GetPixelCmd(x, y)); }

// A picture file whose pixel (x, y) has colour f(x, y), as a 24-bit bitmap.
std::string PictureFile(const std::string& name, int w, int h,
                        const std::function<uint32_t(int, int)>& f) {
  std::vector<uint8_t> rows;
  for (int fy = 0; fy < h; ++fy) {
    int y = h - 1 - fy;
    for (int x = 0; x < w; ++x) {
      uint32_t c = f(x, y);
      rows.push_back(uint8_t(c >> 16));
      rows.push_back(uint8_t(c >> 8));
      rows.push_back(uint8_t(c));
    }
  }
  std::string path = ScratchPath(name);
  EXPECT_TRUE(WriteBytes(path, MakeBmp(w, h, 24, rows)));
  return path;
}

// Distinct colour per pixel of a small sprite.
uint32_t Pattern(int x, int y) { return Rgb(40 + 50 * x, 30 + 60 * y, 200 - 20 * (x + y)); }

class Draw : public ::testing::Test {
 protected:
  void SetUp() override {
    r = gRenderer;
    r->spriteColourKey = kKey;
    r->fontColourKey = 0;
    SetViewport2D(r, 0, 0, 0, 0);
    SetAlphaMode(0);
    ClearScreen();
  }
  void Load(int slot, const std::string& path) {
    LoadSpriteCmd(BasicString(path.c_str()), slot);
    ASSERT_GT(r->sprites[slot].width, 0) << path;
  }
  OpenGLLumenar* r = nullptr;
};

// A picture that is there but cannot be decoded is logged with its reason;
// one that is not there at all only says so to the caller.
TEST_F(Draw, UndecodablePicturesAreLoggedWithTheirReason) {
  const std::string tmp = ScratchPath("log-folder");
  std::filesystem::create_directories(tmp);
  setenv("TMPDIR", tmp.c_str(), 1);
  DeleteErrorLog();
  const std::string good = PictureFile("good.bmp", 2, 2, Pattern);
  const std::string png = ScratchPath("cut.png");
  ASSERT_TRUE(WriteBytes(png, std::vector<uint8_t>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13}));
  const std::string text = ScratchPath("text.png");
  ASSERT_TRUE(WriteBytes(text, std::vector<uint8_t>{'h', 'e', 'l', 'l', 'o'}));
  const std::string missing = ScratchPath("missing.png");

  LoadSpriteCmd(BasicString(png.c_str()), 7);
  EXPECT_EQ(r->sprites[7].width, 0);
  EXPECT_EQ(LastPictureProblem().rfind("not a readable PNG or BMP picture (libpng: ", 0), 0u)
      << LastPictureProblem();
  LoadSpriteCmd(BasicString(text.c_str()), 7);
  EXPECT_EQ(LastPictureProblem().rfind("not a readable PNG or BMP picture (libpng: ", 0), 0u)
      << LastPictureProblem();
  LoadSpriteCmd(BasicString(missing.c_str()), 7);
  EXPECT_EQ(LastPictureProblem(), "it is neither a file nor a member of the archive");
  LoadSpriteCmd(BasicString(good.c_str()), 7);
  EXPECT_EQ(LastPictureProblem(), "");
  EXPECT_EQ(r->sprites[7].width, 2);

  std::ifstream in(ErrorLogPath(), std::ios::binary);
  std::stringstream log;
  log << in.rdbuf();
  EXPECT_NE(log.str().find("Picture " + png + " cannot be decoded: not a readable PNG or BMP "
                           "picture (libpng: "),
            std::string::npos)
      << log.str();
  EXPECT_NE(log.str().find("Picture " + text + " cannot be decoded: "), std::string::npos);
  EXPECT_EQ(log.str().find("missing.png"), std::string::npos);
  unsetenv("TMPDIR");
}

TEST_F(Draw, SpriteAtIntegerAndFractionalPositions) {
  Load(1, PictureFile("pattern.bmp", 4, 4, Pattern));
  EXPECT_EQ(r->sprites[1].texWidth, 4);
  DrawSpriteCmd(1, 10, 20);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(Pixel(10 + x, 20 + y), Pattern(x, y)) << x << "," << y;
  EXPECT_EQ(Pixel(9, 20), kBlack);
  EXPECT_EQ(Pixel(14, 20), kBlack);
  EXPECT_EQ(Pixel(10, 24), kBlack);
  // Fractional positions round up.
  DrawSpriteCmd(1, 100.2, 50.0);
  EXPECT_EQ(Pixel(100, 50), kBlack);
  EXPECT_EQ(Pixel(101, 50), Pattern(0, 0));
  EXPECT_EQ(Pixel(104, 53), Pattern(3, 3));
  // Smoothing off draws the same texels at integer positions.
  SetSmoothingCmd(0);
  DrawSpriteCmd(1, 200, 50);
  EXPECT_EQ(Pixel(203, 52), Pattern(3, 2));
}

TEST_F(Draw, KeyColourIsTransparent) {
  Load(2, PictureFile("keyed.bmp", 2, 1, [](int x, int) { return x == 0 ? kKey : kGreen; }));
  DrawRectCmd(0, 0, 50, 50, double(kBlue));
  DrawSpriteCmd(2, 10, 10);
  EXPECT_EQ(Pixel(10, 10), kBlue);
  EXPECT_EQ(Pixel(11, 10), kGreen);
  // A polygon in the key colour has alpha 0 and fails the alpha test.
  StartPolyCmd(-1);
  for (auto [x, y] : {std::pair{20, 30}, {30, 30}, {30, 20}, {20, 20}}) PolyVectorCmd(x, y, 0, 0, double(kKey));
  EndPolyCmd();
  EXPECT_EQ(Pixel(25, 25), kBlue);
  // Outside the key, the same polygon shows.
  StartPolyCmd(-1);
  for (auto [x, y] : {std::pair{20, 30}, {30, 30}, {30, 20}, {20, 20}}) PolyVectorCmd(x, y, 0, 0, double(kRed));
  EndPolyCmd();
  EXPECT_EQ(Pixel(25, 25), kRed);
}

TEST_F(Draw, AnimationFramesFromStripAndGrid) {
  const uint32_t colours[4] = {kRed, kGreen, kBlue, kWhite};
  auto strip = PictureFile("strip.bmp", 32, 8, [&](int x, int) { return colours[x / 8]; });
  LoadAnimCmd(BasicString(strip.c_str()), 3, 8, 8);
  for (int f = 0; f < 4; ++f) {
    DrawAnimCmd(3, f, 10 + 20 * f, 10);
    EXPECT_EQ(Pixel(10 + 20 * f, 10), colours[f]) << f;
    EXPECT_EQ(Pixel(17 + 20 * f, 17), colours[f]) << f;
    EXPECT_EQ(Pixel(18 + 20 * f, 10), kBlack) << f;
  }
  auto grid = PictureFile("grid.bmp", 16, 16, [&](int x, int y) { return colours[(y / 8) * 2 + x / 8]; });
  LoadAnimCmd(BasicString(grid.c_str()), 4, 8, 8);
  for (int f = 0; f < 4; ++f) {
    DrawAnimCmd(4, f, 10 + 20 * f, 40);
    EXPECT_EQ(Pixel(13 + 20 * f, 43), colours[f]) << f;
  }
  SetSmoothingCmd(0);
  DrawAnimStretchCmd(4, 3, 100, 100, 16, 16);
  EXPECT_EQ(Pixel(100, 100), kWhite);
  EXPECT_EQ(Pixel(115, 115), kWhite);
  // Cells that do not exist draw nothing.
  const double bad[][3] = {{4, 4, 0}, {4, -1, 0}, {70000, 0, 0}, {-3, 0, 0}};
  for (auto& b : bad) DrawAnimCmd(b[0], b[1], 300, 300);
  r->sprites[4].frameWidth = -8;  // a damaged cell size must not divide by zero
  DrawAnimCmd(4, 1, 300, 300);
  DrawAnimRotoZoomCmd(4, 1, 300, 300, 10, 1);
  r->sprites[4].frameWidth = 8;
  r->sprites[4].frameHeight = 0;
  DrawAnimStretchCmd(4, 1, 300, 300, 8, 8);
  EXPECT_EQ(Pixel(303, 303), kBlack);
  // A cell size that does not fit the 16-bit field leaves the sprite uncut.
  LoadAnimCmd(BasicString(grid.c_str()), 5, 70000, 8);
  EXPECT_EQ(r->sprites[5].frameWidth, 0);
}

TEST_F(Draw, StretchMirrorZoomAndRotate) {
  SetSmoothingCmd(0);
  // 2 x 2: red green / blue white.
  const uint32_t quad[2][2] = {{kRed, kGreen}, {kBlue, kWhite}};
  Load(6, PictureFile("quad.bmp", 2, 2, [&](int x, int y) { return quad[y][x]; }));
  StretchSpriteCmd(6, 0, 0, 20, 20);
  EXPECT_EQ(Pixel(5, 5), kRed);
  EXPECT_EQ(Pixel(15, 5), kGreen);
  EXPECT_EQ(Pixel(5, 15), kBlue);
  EXPECT_EQ(Pixel(15, 15), kWhite);
  EXPECT_EQ(Pixel(20, 20), kBlack);
  // Negative width: mirrored left to right.
  StretchSpriteCmd(6, 60, 0, -20, 20);
  EXPECT_EQ(Pixel(45, 5), kGreen);
  EXPECT_EQ(Pixel(55, 5), kRed);
  // Both negative: turned half round.
  StretchSpriteCmd(6, 100, 20, -20, -20);
  EXPECT_EQ(Pixel(85, 5), kWhite);
  EXPECT_EQ(Pixel(95, 15), kRed);

  // Zoom keeps the centre of an unzoomed draw at (200, 200).
  Load(7, PictureFile("pattern.bmp", 4, 4, Pattern));
  ZoomSpriteCmd(7, 200, 200, 2, 2);
  EXPECT_EQ(Pixel(197, 198), kBlack);
  EXPECT_EQ(Pixel(198, 198), Pattern(0, 0));
  EXPECT_EQ(Pixel(205, 205), Pattern(3, 3));
  EXPECT_EQ(Pixel(206, 206), kBlack);
  ZoomSpriteCmd(7, 300, 200, 1, 1);
  EXPECT_EQ(Pixel(300, 200), Pattern(0, 0));
  EXPECT_EQ(Pixel(303, 203), Pattern(3, 3));

  // 8 x 8, left half red, right half green; +90 degrees turns it
  // counter-clockwise: green on top, red below.
  auto halves = PictureFile("halves.bmp", 8, 8, [](int x, int) { return x < 4 ? kRed : kGreen; });
  Load(8, halves);
  RotoSpriteCmd(8, 400, 100, 90);
  EXPECT_EQ(Pixel(404, 101), kGreen);
  EXPECT_EQ(Pixel(404, 106), kRed);
  LoadAnimCmd(BasicString(halves.c_str()), 9, 8, 8);
  DrawAnimRotoZoomCmd(9, 0, 450, 100, 90, 1);
  EXPECT_EQ(Pixel(454, 101), kGreen);
  EXPECT_EQ(Pixel(454, 106), kRed);
  // Zoom 2 doubles around the centre.
  RotoZoomSpriteCmd(8, 500, 100, 0, 2);
  EXPECT_EQ(Pixel(497, 97), kRed);
  EXPECT_EQ(Pixel(510, 110), kGreen);
}

TEST_F(Draw, Polygons) {
  SetAlphaMode(-1);  // opaque, and the polygon leaves blending off
  StartPolyCmd(-1);
  // Corners counter-clockwise on the screen (the front face).
  PolyVectorCmd(300, 340, 0, 0, double(kRed));
  PolyVectorCmd(340, 340, 0, 0, double(kRed));
  PolyVectorCmd(340, 300, 0, 0, double(kRed));
  PolyVectorCmd(300, 300, 0, 0, double(kRed));
  EndPolyCmd();
  EXPECT_EQ(Pixel(320, 320), kRed);
  EXPECT_EQ(Pixel(350, 320), kBlack);
  EXPECT_FALSE(glIsEnabled(GL_BLEND));

  // Textured: picture pixel (0, 0) maps to the top-left corner.
  SetSmoothingCmd(0);
  Load(10, PictureFile("quad2.bmp", 2, 2, [](int x, int y) { return y == 0 ? (x ? kGreen : kRed) : kBlue; }));
  r->currentAlpha = 1;
  StartPolyCmd(10);
  PolyVectorCmd(400, 340, 0, 2, double(kWhite));
  PolyVectorCmd(440, 340, 2, 2, double(kWhite));
  PolyVectorCmd(440, 300, 2, 0, double(kWhite));
  PolyVectorCmd(400, 300, 0, 0, double(kWhite));
  EndPolyCmd();
  EXPECT_EQ(Pixel(405, 305), kRed);
  EXPECT_EQ(Pixel(435, 305), kGreen);
  EXPECT_EQ(Pixel(420, 335), kBlue);
}

TEST_F(Draw, LinesAndRectangles) {
  DrawLineCmd(10, 100, 20, 100, double(kGreen));
  for (int x = 10; x <= 20; ++x) EXPECT_EQ(Pixel(x, 100), kGreen) << x;
  EXPECT_EQ(Pixel(21, 100), kBlack);
  DrawLineCmd(50, 100, 50, 110, double(kRed));
  EXPECT_EQ(Pixel(50, 100), kRed);
  EXPECT_EQ(Pixel(50, 110), kRed);

  struct Case {
    double x, y, w, h;
    int left, top, right, bottom;  // inclusive
  } cases[] = {{10, 10, 5, 3, 10, 10, 14, 12},
               {10, 30, -5, 3, 6, 30, 10, 32},
               {10, 50, 5, -3, 10, 48, 14, 50},
               {40, 50, -5, -3, 36, 48, 40, 50}};
  for (const Case& c : cases) {
    ClearScreen();
    DrawRectCmd(c.x, c.y, c.w, c.h, double(kBlue));
    EXPECT_EQ(Pixel(c.left, c.top), kBlue) << c.x << "," << c.y;
    EXPECT_EQ(Pixel(c.right, c.bottom), kBlue) << c.x << "," << c.y;
    EXPECT_EQ(Pixel(c.left - 1, c.top), kBlack) << c.x << "," << c.y;
    EXPECT_EQ(Pixel(c.right + 1, c.top), kBlack) << c.x << "," << c.y;
    EXPECT_EQ(Pixel(c.left, c.top - 1), kBlack) << c.x << "," << c.y;
    EXPECT_EQ(Pixel(c.left, c.bottom + 1), kBlack) << c.x << "," << c.y;
  }
}

TEST_F(Draw, AlphaModes) {
  SetAlphaMode(0);
  EXPECT_EQ(r->currentAlpha, 1.0f);
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  DrawRectCmd(0, 0, 10, 10, double(Rgb(0, 0, 100)));
  // Translucent half white over dark blue.
  SetAlphaMode(-0.5);
  EXPECT_EQ(r->currentAlpha, 0.5f);
  DrawRectCmd(0, 0, 10, 10, double(kWhite));
  uint32_t p = Pixel(5, 5);
  EXPECT_NEAR(int(p & 0xFF), 127, 1);
  EXPECT_NEAR(int(p >> 16), 177, 1);
  // Additive at full weight.
  SetAlphaMode(0);
  DrawRectCmd(20, 0, 10, 10, double(Rgb(0, 0, 100)));
  SetAlphaMode(2);
  EXPECT_EQ(r->currentAlpha, 1.0f);
  DrawRectCmd(20, 0, 10, 10, double(Rgb(200, 10, 0)));
  EXPECT_EQ(Pixel(25, 5), Rgb(200, 10, 100));
  // A sprite drawn translucent.
  SetAlphaMode(0);
  Load(11, PictureFile("white.bmp", 4, 4, [](int, int) { return kWhite; }));
  SetAlphaMode(-0.5);
  DrawSpriteCmd(11, 100, 100);
  EXPECT_NEAR(int(Pixel(101, 101) & 0xFF), 127, 1);
  SetAlphaMode(std::nan(""));
  EXPECT_EQ(r->currentAlpha, 1.0f);
}

TEST_F(Draw, BuiltinFontGlyphsAndOutline) {
  LoadFontCmd(BasicString(""), 40);  // no file: the built-in font, number clamped
  EXPECT_EQ(gCurrentFont, 31);
  double w = 0, h = 0;
  GetFontSizeCmd(w, h);
  EXPECT_EQ(w, 8);
  EXPECT_EQ(h, 8);
  RgbaImage image = {0, 0, nullptr, 0};
  ASSERT_EQ(BuildBuiltinFontImage(&image), 1);
  PrintCmd(BasicString("A!"), 100, 100);
  // The whole cells on screen equal the picture's cells of codes 65 and 33.
  const int codes[2] = {65, 33};
  for (int i = 0; i < 2; ++i) {
    const int cx = (codes[i] % 16) * 8, cy = (codes[i] / 16) * 8;
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) {
        const uint8_t* p = image.pixels + ((cy + y) * 128 + cx + x) * 4;
        const uint32_t want = p[3] ? Rgb(p[0], p[1], p[2]) : kBlack;
        EXPECT_EQ(Pixel(100 + 8 * i + x, 100 + y), want) << codes[i] << ":" << x << "," << y;
      }
  }
  FreeRgbaImage(&image);
  // 'A': pattern row 0 lights columns 1..3 (pixels 2..4 of the cell row 1),
  // with the outline left of it; column 7 stays empty.
  EXPECT_EQ(Pixel(102, 101), kWhite);
  EXPECT_EQ(Pixel(104, 101), kWhite);
  EXPECT_EQ(Pixel(101, 101), Rgb(8, 8, 8));
  EXPECT_EQ(Pixel(102, 100), Rgb(8, 8, 8));
  EXPECT_EQ(Pixel(100, 100), kBlack);
  EXPECT_EQ(Pixel(107, 103), kBlack);
  // Fractional positions round up; codes below 32 print empty cells.
  ClearScreen();
  PrintCmd(BasicString("\x01"), 10.5, 10);
  for (int x = 0; x < 9; ++x) EXPECT_EQ(Pixel(10 + x, 12), kBlack);
  SetFontCmd(-3);
  EXPECT_EQ(gCurrentFont, 0);
}

TEST_F(Draw, BitmapFontWithItsKey) {
  // 128 x 64 font: cells 8 x 8; glyph 'B' (66) has a white pixel at (1, 1)
  // of its cell, a grey one at (2, 1); black is the font key.
  auto font = PictureFile("font.bmp", 128, 64, [](int x, int y) {
    const int cx = 2 * 8, cy = 4 * 8;
    if (y == cy + 1 && x == cx + 1) return kWhite;
    if (y == cy + 1 && x == cx + 2) return Rgb(90, 90, 90);
    return kBlack;
  });
  LoadFontCmd(BasicString(font.c_str()), 2);
  EXPECT_EQ(gCurrentFont, 2);
  EXPECT_EQ(r->sprites[kFirstFontSlot + 2].width, 128);
  DrawRectCmd(0, 0, 100, 100, double(kRed));
  PrintCmd(BasicString("BB"), 10, 20);
  EXPECT_EQ(Pixel(11, 21), kWhite);
  EXPECT_EQ(Pixel(12, 21), Rgb(90, 90, 90));
  EXPECT_EQ(Pixel(10, 20), kRed);  // key pixels let the red through
  EXPECT_EQ(Pixel(19, 21), kWhite);
  // Byte 194 = 66 + 128 on an 8-row font shows the same glyph.
  PrintCmd(BasicString("\xC2"), 40, 20);
  EXPECT_EQ(Pixel(41, 21), kWhite);
  PrintNumberCmd(0, 60, 20);
  // A tall font: 16 rows, cells 8 x 16.
  auto tall = PictureFile("tall.bmp", 128, 256, [](int, int) { return kBlack; });
  LoadFontCmd(BasicString(tall.c_str()), 3);
  double w = 0, h = 0;
  GetFontSizeCmd(w, h);
  EXPECT_EQ(w, 8);
  EXPECT_EQ(h, 16);
}

TEST_F(Draw, BackgroundScreenRedrawnEveryFrame) {
  DrawRectCmd(0, 0, 640, 480, double(Rgb(10, 20, 30)));
  DrawRectCmd(600, 400, 10, 10, double(kGreen));
  GrabBackground();
  ShowScreen();
  EXPECT_EQ(Pixel(5, 5), Rgb(10, 20, 30));
  EXPECT_EQ(Pixel(605, 405), kGreen);
  DrawRectCmd(0, 0, 10, 10, double(kRed));
  ShowScreen();
  EXPECT_EQ(Pixel(5, 5), Rgb(10, 20, 30));
  ClearScreen();
  ShowScreen();
  EXPECT_EQ(Pixel(5, 5), kBlack);
  EXPECT_EQ(Pixel(605, 405), kBlack);

  // A picture as the background, drawn at once and on every frame.
  auto bg = PictureFile("background.bmp", 640, 480, [](int x, int y) { return Rgb(x & 0xFF, y & 0xFF, 7); });
  LoadBackgroundCmd(BasicString(bg.c_str()));
  EXPECT_EQ(Pixel(300, 200), Rgb(300 & 0xFF, 200, 7));
  EXPECT_EQ(Pixel(639, 479), Rgb(639 & 0xFF, 479 & 0xFF, 7));
  ShowScreen();
  EXPECT_EQ(Pixel(600, 10), Rgb(600 & 0xFF, 10, 7));
  LoadBackgroundCmd(BasicString(ScratchPath("missing.bmp").c_str()));
  ShowScreen();
  EXPECT_EQ(Pixel(300, 200), kBlack);
}

TEST_F(Draw, LargePictureScreenStaysInsideTheTileGrid) {
  auto wide = PictureFile("wide.bmp", 40000, 2, [](int x, int) { return x < 640 ? kGreen : kRed; });
  ASSERT_EQ(LoadVirtualScreen(r, 5, wide.c_str()), 1);
  EXPECT_LE(r->screens[5].tilesX, kScreenTileGrid);
  DrawVirtualScreen(r, 5);
  EXPECT_EQ(Pixel(10, 0), kGreen);
  FreeVirtualScreen(r, 5);
  EXPECT_EQ(LoadVirtualScreen(r, 16, wide.c_str()), 0);
  EXPECT_EQ(LoadVirtualScreen(r, 5, ScratchPath("missing.bmp").c_str()), 0);
}

TEST_F(Draw, GrabAndPixels) {
  DrawPointCmd(12, 34, double(Rgb(12, 34, 56)));
  EXPECT_EQ(GetPixelCmd(12, 34), 12 + 256 * 34 + 65536 * 56);
  DrawPointCmd(0, 0, double(kRed));
  EXPECT_EQ(GetPixelCmd(0, 0), 255);
  DrawPointCmd(639, 479, double(kBlue));
  EXPECT_EQ(GetPixelCmd(639, 479), 16711680);
  EXPECT_EQ(GetPixelCmd(-1, 0), 0);
  EXPECT_EQ(GetPixelCmd(640, 0), 0);

  // 100 x 20 area with a key-coloured pixel in it.
  DrawRectCmd(50, 60, 100, 20, double(kGreen));
  DrawRectCmd(50, 60, 1, 1, double(kRed));
  SetAlphaMode(0);
  r->spriteColourKey = kBlue;  // the key colour may be drawn now
  DrawRectCmd(60, 70, 1, 1, double(kBlue));
  r->spriteColourKey = kKey;
  SetColourKeyCmd(double(kBlue));
  GrabSpriteCmd(20, 50, 60, 100, 20);
  EXPECT_EQ(r->sprites[20].texWidth, 128);
  EXPECT_EQ(r->sprites[20].texHeight, 32);
  EXPECT_EQ(r->sprites[20].width, 100);
  EXPECT_EQ(r->sprites[20].height, 20);
  const uint32_t tex = r->sprites[20].texture;
  GrabSpriteCmd(20, 50, 60, 100, 20);
  EXPECT_EQ(r->sprites[20].texture, tex);
  ClearScreen();
  DrawRectCmd(300, 300, 200, 100, double(kWhite));
  DrawSpriteCmd(20, 300, 300);
  EXPECT_EQ(Pixel(300, 300), kRed);
  EXPECT_EQ(Pixel(399, 319), kGreen);
  EXPECT_EQ(Pixel(400, 300), kWhite);
  GLint alphaBits = 0;
  glGetIntegerv(GL_ALPHA_BITS, &alphaBits);
  if (alphaBits == 0) {
    EXPECT_EQ(Pixel(310, 310), kWhite);  // key pixel became transparent
  }
  // Sizes that cannot be a texture, or slots outside the table, do nothing.
  GrabSpriteCmd(70000, 0, 0, 10, 10);
  GrabSpriteCmd(21, 0, 0, -10, 10);
  GrabSpriteCmd(21, 0, 0, 1e9, 10);
  EXPECT_EQ(r->sprites[21].width, 0);
}

TEST_F(Draw, ScreenColourKeyProbe) {
  DrawRectCmd(0, 0, 10, 10, double(Rgb(1, 2, 3)));
  const uint32_t packed = (255u << 24) | (0u << 16) | (128u << 8);
  EXPECT_EQ(GetScreenColourKey(r), packed);
  // Blending on, a small viewport: the probe is still exact and leaves the
  // pixel as it was.
  SetAlphaMode(-0.3);
  SetViewportCmd(100, 100, 200, 200);
  EXPECT_EQ(GetScreenColourKey(r), packed);
  EXPECT_EQ(Pixel(4, 4), Rgb(1, 2, 3));
  SetViewportCmd(0, 0, 0, 0);
  SetColourKeyCmd(-1);
  EXPECT_EQ(GetScreenColourKey(r), kNoScreenKey);
  SetColourKeyCmd(0);
  EXPECT_EQ(GetScreenColourKey(r), 0u);
  EXPECT_EQ(Pixel(4, 4), Rgb(1, 2, 3));
}

TEST_F(Draw, ViewportAndSizes) {
  SetViewportCmd(10, 20, 100, 50);
  GLint vp[4];
  glGetIntegerv(GL_VIEWPORT, vp);
  EXPECT_EQ(vp[0], 10);
  EXPECT_EQ(vp[1], 410);
  EXPECT_EQ(vp[2], 100);
  EXPECT_EQ(vp[3], 50);
  DrawRectCmd(0, 0, 5, 5, double(kRed));
  EXPECT_EQ(Pixel(10, 20), kRed);
  SetViewportCmd(0, 0, 0, 0);
  double w, h;
  GetScreenSizeCmd(w, h);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);
  GetSpriteSizeCmd(1e12, w, h);
  EXPECT_EQ(w, 0);
  GetSpriteSizeCmd(-1, w, h);
  EXPECT_EQ(h, 0);
  DrawSpriteCmd(65536, 0, 0);
  DrawSpriteCmd(-1, 0, 0);
  StretchSpriteCmd(1e10, 0, 0, 10, 10);
  RotoSpriteCmd(-5, 0, 0, 0);
  LoadSpriteCmd(BasicString("x.bmp"), 70000);
  EXPECT_EQ(SaveSpriteCmd(BasicString(ScratchPath("no.bmp").c_str()), 65536), 0.0);
}

TEST_F(Draw, SavingSpritesAndScreenReadBackExactly) {
  auto path = PictureFile("save_src.bmp", 5, 3, Pattern);
  Load(30, path);
  RgbaImage original = {0, 0, nullptr, 0};
  ASSERT_EQ(LoadBmpImage(&original, path.c_str(), kNoColourKey), 1);
  for (const char* name : {"sprite_out.bmp", "sprite_out.PNG"}) {
    std::string out = ScratchPath(name);
    ASSERT_EQ(SaveSpriteCmd(BasicString(out.c_str()), 30), 1.0) << name;
    RgbaImage back = {0, 0, nullptr, 0};
    ASSERT_TRUE(LoadBmpImage(&back, out.c_str(), kNoColourKey) ||
                LoadPngImage(&back, out.c_str(), kNoColourKey))
        << name;
    ASSERT_EQ(back.width, 5);
    ASSERT_EQ(back.height, 3);
    EXPECT_EQ(0, std::memcmp(back.pixels, original.pixels, 5 * 3 * 4)) << name;
    FreeRgbaImage(&back);
  }
  FreeRgbaImage(&original);
  // The bitmap is byte for byte what a 24-bit writer makes of the picture.
  std::vector<uint8_t> rows;
  for (int fy = 0; fy < 3; ++fy)
    for (int x = 0; x < 5; ++x) {
      uint32_t c = Pattern(x, 2 - fy);
      rows.insert(rows.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
    }
  std::vector<uint8_t> want = MakeBmp(5, 3, 24, rows);
  std::vector<uint8_t> got = ReadBytes(ScratchPath("sprite_out.bmp"));
  ASSERT_EQ(got.size(), want.size());
  EXPECT_EQ(std::vector<uint8_t>(got.begin() + 54, got.end()), std::vector<uint8_t>(want.begin() + 54, want.end()));

  // An empty slot is not saved (and asks for no storage).
  DeleteSprite(r, 31);
  EXPECT_EQ(SaveSpriteCmd(BasicString(ScratchPath("empty.bmp").c_str()), 31), 0.0);

  // The screen: every pixel read back from the file equals GetPixel.
  ClearScreen();
  for (int i = 0; i < 12; ++i) DrawRectCmd(i * 50, i * 37, 60, 40, double(Rgb(20 * i, 255 - 20 * i, 7 * i)));
  DrawRectCmd(600, 10, 3, 3, double(Rgb(1, 2, 3)));
  for (const char* name : {"screen.bmp", "screen.png"}) {
    std::string out = ScratchPath(name);
    ASSERT_EQ(SaveScreenCmd(BasicString(out.c_str())), 1.0) << name;
    RgbaImage back = {0, 0, nullptr, 0};
    ASSERT_TRUE(LoadBmpImage(&back, out.c_str(), kNoColourKey) ||
                LoadPngImage(&back, out.c_str(), kNoColourKey));
    ASSERT_EQ(back.width, 640);
    ASSERT_EQ(back.height, 480);
    int wrong = 0;
    for (int y = 0; y < 480; y += 3)
      for (int x = 0; x < 640; x += 3) {
        const uint8_t* p = back.pixels + (size_t(y) * 640 + x) * 4;
        if (Rgb(p[0], p[1], p[2]) != Pixel(x, y) || p[3] != 255) ++wrong;
      }
    EXPECT_EQ(wrong, 0) << name;
    FreeRgbaImage(&back);
  }
}

TEST_F(Draw, CommandsForTiming) {
  const double t0 = platform::NowMs();
  SleepMs(-5);
  SleepMs(0.9);
  EXPECT_LT(platform::NowMs() - t0, 50);
  EXPECT_GE(GetFrameTimeCmd(), 1.0);
  const double a = GetTimeMs();
  SleepMs(5);
  EXPECT_GE(GetTimeMs() - a, 4.0);
  SetFrameLimit(0);
  EXPECT_EQ(r->framePeriod, 2.0);
  SetFrameLimit(60);
}

}  // namespace

namespace {

TEST_F(Draw, TextAndSpritesAtThreeDimensionalPoints) {
  LoadFontCmd(BasicString(""), 0);
  // With the 2D projection a point projects onto itself: the text is
  // centred across it with its bottom edge on it.
  PrintText3D(r, 0, "A", 320, 240, 0, 0);
  EXPECT_EQ(Pixel(318, 233), kWhite);  // 'A' cell at (316, 232)
  EXPECT_EQ(Pixel(317, 233), Rgb(8, 8, 8));
  // A projection whose w row is zero: nothing is drawn.
  ClearScreen();
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  const GLfloat flat[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0};
  glLoadMatrixf(flat);
  glMatrixMode(GL_MODELVIEW);
  PrintText3D(r, 0, "AAAA", 0, 0, 0, 0);
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  int lit = 0;
  for (int y = 0; y < 480; y += 4)
    for (int x = 0; x < 640; x += 2) lit += Pixel(x, y) != kBlack;
  EXPECT_EQ(lit, 0);

  // A billboard stands on its point, centred across it: 4 x 4 at scale 2
  // covers half the width each side and twice the half height.
  Load(40, PictureFile("white4.bmp", 4, 4, [](int, int) { return kWhite; }));
  glDisable(GL_CULL_FACE);  // the 2D projection mirrors the camera's up
  DrawSpriteBillboard(r, 40, 100, 100, 0, 2);
  glEnable(GL_CULL_FACE);
  EXPECT_EQ(Pixel(98, 100), kWhite);
  EXPECT_EQ(Pixel(101, 103), kWhite);
  EXPECT_EQ(Pixel(97, 100), kBlack);
  EXPECT_EQ(Pixel(102, 100), kBlack);
  EXPECT_EQ(Pixel(98, 104), kBlack);
}

TEST_F(Draw, CrossFadeEndsOnTheNewBackground) {
  DrawRectCmd(0, 0, 640, 480, double(kRed));
  auto green = PictureFile("fade.bmp", 640, 480, [](int, int) { return kGreen; });
  const double t0 = platform::NowMs();
  LoadBackgroundFadeCmd(BasicString(green.c_str()));
  EXPECT_GE(platform::NowMs() - t0, 1400);
  EXPECT_EQ(r->screens[1].tilesX, 0);
  EXPECT_EQ(r->screens[2].tilesX, 0);
  ShowScreen();
  EXPECT_EQ(Pixel(320, 240), kGreen);
  EXPECT_EQ(r->currentAlpha, 1.0f);
  // A file that cannot be found changes nothing.
  LoadBackgroundFadeCmd(BasicString(ScratchPath("missing.bmp").c_str()));
  ShowScreen();
  EXPECT_EQ(Pixel(320, 240), kGreen);
  ClearScreen();
}

}  // namespace
