// Text that can be read on every page: each location page of both parts and
// the opening stories are drawn by the game itself (picture, text, menu,
// continue prompt), and every glyph on screen is measured against what is
// drawn within two pixels around it: its dark edge and the picture behind.
// On every page at least 95 % of the glyphs reach a contrast of 4.5:1.
// The measured pages are left in screens/pages/ under this build folder.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "frame/graphics_commands.h"
#include "frame/image_png.h"
#include "frame/sprite_draw.h"
#include "game/game_state.h"
#include "game/part_two/part_two_texts.h"
#include "game/pictures.h"
#include "game/text_print.h"
#include "game/word_wrap.h"
#include "platform/input.h"
#include "play_harness.h"
#include "screen_files.h"

namespace {

constexpr int kW = 640;
constexpr int kH = 480;
constexpr uint32_t kFill = 0xfff2d0;  // the font strip's fill colour
constexpr double kGoal = 4.5;
constexpr double kShareGoal = 0.95;

double Channel(int v) {
  const double c = v / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(uint32_t rgb) {
  return 0.2126 * Channel(int(rgb >> 16 & 255)) + 0.7152 * Channel(int(rgb >> 8 & 255)) +
         0.0722 * Channel(int(rgb & 255));
}

struct GlyphStats {
  int glyphs = 0;
  int readable = 0;
  double worst = 1e9;
};

// Glyphs are the 8-connected areas of fill-coloured pixels; the edge is every
// other pixel within two pixels of one. The glyph's contrast is that of the
// fill against the mean luminance of its edge.
GlyphStats MeasureFrame(const std::vector<uint32_t>& px) {
  GlyphStats stats;
  std::vector<int> label(px.size(), -1);
  std::vector<int> stack;
  std::vector<int> area;
  std::vector<char> inEdge(px.size(), 0);
  std::vector<int> edge;
  const double fillLum = Luminance(kFill);
  for (int start = 0; start < kW * kH; ++start) {
    if (px[size_t(start)] != kFill || label[size_t(start)] >= 0) continue;
    area.clear();
    stack.assign(1, start);
    label[size_t(start)] = start;
    while (!stack.empty()) {
      const int p = stack.back();
      stack.pop_back();
      area.push_back(p);
      const int x = p % kW, y = p / kW;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          const int nx = x + dx, ny = y + dy;
          if (nx < 0 || ny < 0 || nx >= kW || ny >= kH) continue;
          const int q = ny * kW + nx;
          if (px[size_t(q)] == kFill && label[size_t(q)] < 0) {
            label[size_t(q)] = start;
            stack.push_back(q);
          }
        }
    }
    if (area.size() < 3) continue;  // a stray picture pixel of the same colour
    edge.clear();
    for (int p : area) {
      const int x = p % kW, y = p / kW;
      for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) {
          const int nx = x + dx, ny = y + dy;
          if (nx < 0 || ny < 0 || nx >= kW || ny >= kH) continue;
          const int q = ny * kW + nx;
          if (px[size_t(q)] == kFill || inEdge[size_t(q)]) continue;
          inEdge[size_t(q)] = 1;
          edge.push_back(q);
        }
    }
    double sum = 0;
    for (int q : edge) {
      sum += Luminance(px[size_t(q)]);
      inEdge[size_t(q)] = 0;
    }
    const double edgeLum = edge.empty() ? 0 : sum / double(edge.size());
    const double contrast = (fillLum + 0.05) / (edgeLum + 0.05);
    ++stats.glyphs;
    stats.readable += contrast >= kGoal;
    stats.worst = std::min(stats.worst, contrast);
  }
  return stats;
}

struct PageResult {
  std::string page;
  GlyphStats stats;
};

std::vector<PageResult> sResults;
std::string sPage;
int sFramesThisPass = 0;
bool sOpeningStory = false;  // every frame measured, the harness continues

// Saves a measured page for people to look at, named after it.
void SavePage(const std::string& page, const std::vector<uint32_t>& px) {
  static int saved = 0;
  const std::string dir = playtest::ScreensDir() + "/pages";
  std::filesystem::create_directories(dir);
  std::string name = page;
  std::replace(name.begin(), name.end(), ' ', '-');
  char number[8];
  std::snprintf(number, sizeof number, "%03d-", saved++);
  std::vector<uint8_t> bgra(px.size() * 4);
  for (size_t i = 0; i < px.size(); ++i) {
    bgra[i * 4 + 0] = uint8_t(px[i]);
    bgra[i * 4 + 1] = uint8_t(px[i] >> 8);
    bgra[i * 4 + 2] = uint8_t(px[i] >> 16);
    bgra[i * 4 + 3] = 255;
  }
  EXPECT_EQ(SavePngFile((dir + "/" + number + name + ".png").c_str(), bgra.data(), kW, kH), 1);
}

// Measures the back buffer under the page's name.
void MeasureBackBuffer(const std::string& page) {
  FlushSprites();
  std::vector<uint8_t> rgb(size_t(kW) * kH * 3);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, kW, kH, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  std::vector<uint32_t> px(size_t(kW) * kH);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const uint8_t* c = &rgb[(size_t(kH - 1 - y) * kW + x) * 3];
      px[size_t(y) * kW + x] = uint32_t(c[0]) << 16 | uint32_t(c[1]) << 8 | c[2];
    }
  GlyphStats s = MeasureFrame(px);
  if (s.glyphs > 0) sResults.push_back({page, s});
  SavePage(page, px);
}

// Measures the frame about to be shown; on pages that wait for "continue"
// it clicks after a few frames, as a player reading the page.
void OnFrame() {
  ++sFramesThisPass;
  if (sFramesThisPass == 1 || sOpeningStory) MeasureBackBuffer(sPage);
  if (sOpeningStory) return;
  if (sFramesThisPass % 6 == 3) platform::PushMouseButton(0, true);
  if (sFramesThisPass % 6 == 5) platform::PushMouseButton(0, false);
}

// One pass of the main loop on location `at` of the part, with the pointer
// parked off the text.
void ShowLocation(double at, double cell) {
  loc = at;
  mazeloc = cell;
  screendrawn = 0;
  loaded = 0;
  sPage = "part " + std::to_string(int(part)) + " loc " + std::to_string(int(at));
  if (cell > 0) sPage += " cell " + std::to_string(int(cell));
  sFramesThisPass = 0;
  playtest::Show();
  platform::PushMouseButton(0, false);
  platform::PumpInputEvents();
}

void ShowOpeningStory(double newPart, int pages) {
  playtest::StartGame(newPart);
  sPage = "part " + std::to_string(int(newPart)) + " opening";
  sOpeningStory = true;
  playtest::RunIntro(pages);
  sOpeningStory = false;
}

void CheckPages() {
  ASSERT_FALSE(sResults.empty());
  for (const PageResult& r : sResults) {
    const double share = double(r.stats.readable) / r.stats.glyphs;
    std::printf("%-22s %4d glyphs, %5.1f %% at 4.5:1, worst %.2f:1\n", r.page.c_str(), r.stats.glyphs,
                100 * share, r.stats.worst);
    EXPECT_GE(share, kShareGoal) << r.page << ": " << r.stats.readable << " of " << r.stats.glyphs
                                 << " glyphs reach 4.5:1";
  }
  sResults.clear();
}

class PageContrast : public ::testing::Test {
 protected:
  void SetUp() override {
    sResults.clear();
    platform::PushMouseMotion(kW - 1, kH - 1, kW - 1, kH - 1);
    playtest::OnEveryFrame(OnFrame);
  }
  void TearDown() override { playtest::OnEveryFrame(nullptr); }
};

TEST_F(PageContrast, PartOne) {
  ShowOpeningStory(1, 6);
  for (int at = 1; at <= 52; ++at) {
    playtest::StartGame(1);
    ShowLocation(at, 0);
  }
  CheckPages();
}

TEST_F(PageContrast, PartTwo) {
  ShowOpeningStory(2, 6);
  for (int at = 1; at <= 43; ++at) {
    playtest::StartGame(2);
    if (at == 3) {
      for (int cell = 1; cell <= 16; ++cell) ShowLocation(at, cell);
    } else {
      ShowLocation(at, 0);
    }
  }
  CheckPages();
}

// The ending's pages, composed as its procedure draws them: its last page
// stops the music by whose clock the play harness sees frames.
TEST_F(PageContrast, PartTwoEnding) {
  playtest::StartGame(2);
  maxkern = 640;
  LoadPic("story01a", 0);
  LoadPic("b44", 1);
  ClearScreen();
  DrawPic(0, 0, 0);
  WrapText(PartTwoText("p2.loc44.phone"), 260);
  WrapText(PartTwoText("p2.loc44.praise"), 300);
  PrintTxt("Click to Continue", -1, 460);
  MeasureBackBuffer("part 2 loc 44 call");
  ClearScreen();
  DrawPic(0, 0, 0);
  WrapText(PartTwoText("p2.loc44.scarrow"), 260);
  PrintTxt("Click to Continue", -1, 460);
  MeasureBackBuffer("part 2 loc 44 scarrow");
  ClearScreen();
  DrawPic(1, 0, 0);
  PrintTxt("THE END", -1, 200);
  PrintTxt("Click to Continue", -1, 460);
  MeasureBackBuffer("part 2 loc 44 the end");
  CheckPages();
}

}  // namespace
