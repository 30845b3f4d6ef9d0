// Text that can be read on every page: each location page of both parts,
// the opening stories and every continue page that follows a choice (falls,
// mishaps, outcomes, the end of Part One, the explosion and the ending) are
// drawn by the game itself (picture, text, menu, continue prompt), and every
// glyph on screen is measured against what is drawn within two pixels around
// it: its dark edge and the picture behind. On every page at least 95 % of
// the glyphs reach a contrast of 4.5:1. The measured pages are left in
// screens/pages/ under this build folder.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "continue_sites.h"
#include "core/debug_support.h"
#include "core/runtime_error.h"

#include "frame/graphics_commands.h"
#include "frame/image_png.h"
#include "frame/sprite_draw.h"
#include "game/element_access.h"
#include "game/game_state.h"
#include "input_audio/music.h"
#include "platform/input.h"
#include "platform/system.h"
#include "keep_frame_hook.h"
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

std::vector<uint32_t> ReadBackBuffer() {
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
  return px;
}

bool Readable(const GlyphStats& s) { return s.glyphs == 0 || s.readable >= kShareGoal * s.glyphs; }

// Measures the back buffer under the page's name.
void MeasureBackBuffer(const std::string& page) {
  const std::vector<uint32_t> px = ReadBackBuffer();
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

// The continue pages that follow choices, reached through the location
// procedures themselves. The breakpoint tables of the debugger link hold
// every continue call of the locations and the menu's frame: the statement
// hook then leaves in the exchange block the last of them that ran, which
// names the page on its frames, and on the menu's frame the menu's own
// locals (where it stands, how many rows it has).
namespace sweep {

const contrast::Sources* sSources = nullptr;
const contrast::LocationSource* sLocation = nullptr;
int sMenuLine = 0;     // the menu's ShowScreen statement
int sPressLine = 0;    // the continue prompt waiting for the press
int sReleaseLine = 0;  // ... and for the release
double sMenuTop = -1;
int sMenuRows = 0;
bool sPressed = false;
std::vector<bool> sReached;
std::vector<std::string> sStray;

double LocalNumber(const char* name) {
  const DebugVarRecord* records = gDebugBlock.localRecords;
  for (uint32_t i = 0; records != nullptr && i < gDebugBlock.localCount; ++i)
    if (std::string(records[i].name) == name) return *static_cast<const double*>(records[i].address);
  return -1;
}

void OnFrame() {
  if (gErrorState.statementFile != 0) return;
  const int line = int(gErrorState.statementLine);
  if (line == sMenuLine && gDebugBlock.sourceFile == 0 && int(gDebugBlock.line) == sMenuLine) {
    sMenuTop = LocalNumber("o") - 40;  // the menu has moved past its heading
    sMenuRows = int(LocalNumber("num"));
    return;
  }
  if (line == sReleaseLine && sPressed) {
    platform::PushMouseButton(0, false);
    sPressed = false;
    return;
  }
  if (line != sPressLine || sPressed) return;
  // A new continue page: the last breakpoint that ran is its call.
  const int file = int(gDebugBlock.sourceFile), at = int(gDebugBlock.line);
  int found = -1;
  for (int i : sLocation->sites)
    if (sSources->sites[size_t(i)].file == file && sSources->sites[size_t(i)].line == at) found = i;
  if (found < 0) {
    sStray.push_back("part " + std::to_string(int(part)) + " loc " + std::to_string(sLocation->loc) +
                     ": continue page after statement " + std::to_string(file) + ":" + std::to_string(at));
  } else {
    const std::string& page = sSources->sites[size_t(found)].name;
    const std::vector<uint32_t> px = ReadBackBuffer();
    const GlyphStats stats = MeasureFrame(px);
    if (stats.glyphs > 0) sResults.push_back({page, stats});
    // Every reach is measured; the first is kept, and any other that reads
    // poorly beside it.
    if (!sReached[size_t(found)]) {
      SavePage(page, px);
    } else if (!Readable(stats)) {
      SavePage(page + " variant", px);
    }
    sReached[size_t(found)] = true;
  }
  platform::PushMouseButton(0, true);
  sPressed = true;
}

// The location in the given flag state (with the flags the game sets along
// with those), drawn by one pass (pages without a
// menu run their continue pages in it). The pictures stay loaded from the
// last visit of the same location, as they would.
void Stand(const contrast::LocationSource& l, const std::map<int, int>& state) {
  const double keep = loaded;
  playtest::StartGame(l.part);
  const contrast::FlagLinks& links = sSources->together.at(l.part);
  for (const auto& [flag, value] : state) {
    At(obj, flag) = value;
    auto linked = links.find({flag, value});
    if (linked == links.end()) continue;
    for (const auto& [other, otherValue] : linked->second)
      if (!state.count(other)) At(obj, other) = otherValue;
  }
  loc = l.loc;
  loaded = keep;
  sMenuTop = -1;
  sMenuRows = 0;
  gDebugBlock.sourceFile = 0;
  gDebugBlock.line = 0;
  playtest::Show();
}

bool AllReached(const contrast::LocationSource& l) {
  for (int i : l.sites)
    if (!sReached[size_t(i)]) return false;
  return true;
}

// Every option of the location in one flag state; the save marker that the
// end of Part One writes goes to a scratch folder, not beside the pictures.
void TryOptions(const contrast::LocationSource& l, const std::map<int, int>& state) {
  Stand(l, state);
  const double top = sMenuTop;
  const int rows = sMenuRows;
  if (top < 0) return;  // a page without a menu: its pages ran in the pass
  for (int row = 1; row <= rows; ++row) {
    if (row > 1) Stand(l, state);
    const std::string scratch = playtest::ScreensDir() + "/marker";
    if (l.writesSaveMarker) {
      std::filesystem::create_directories(scratch);
      platform::SetCurrentFolder(scratch);
    }
    playtest::Choose(top, row);
    if (l.writesSaveMarker) {
      platform::SetCurrentFolder(playtest::DataDir());
      std::filesystem::remove_all(scratch);
    }
  }
}

// Flag states by the number of flags set, fewest first (each set flag with
// every value the procedure compares it to), until every continue page of
// the location has been reached.
void Explore(const contrast::LocationSource& l) {
  sLocation = &l;
  std::vector<std::pair<int, std::vector<int>>> flags;
  for (const auto& [flag, values] : l.flags) {
    std::vector<int> set;
    for (int v : values)
      if (v != 0) set.push_back(v);
    flags.push_back({flag, set});
  }
  constexpr size_t kMostSet = 3;
  std::map<int, int> state;
  std::function<bool(size_t, size_t)> pick = [&](size_t from, size_t left) {
    if (left == 0) {
      TryOptions(l, state);
      return AllReached(l);
    }
    for (size_t i = from; i + left <= flags.size(); ++i)
      for (int v : flags[i].second) {
        state[flags[i].first] = v;
        const bool done = pick(i + 1, left - 1);
        state.erase(flags[i].first);
        if (done) return true;
      }
    return false;
  };
  for (size_t set = 0; set <= std::min(kMostSet, flags.size()); ++set)
    if (pick(0, set)) break;
}

}  // namespace sweep

// Every continue page of every location, each reached by playing its
// location with the options and flags that lead to it; a page that the
// sweep never reached fails the test.
TEST_F(PageContrast, PagesAfterChoices) {
  const std::string root = ORVALE_SOURCE_DIR;
  const contrast::Sources sources = contrast::ReadContinueSites(root, {"PartOneIntro", "PartTwoIntro"});
  ASSERT_EQ(sources.error, "");
  ASSERT_GT(sources.sites.size(), 50u);
  EXPECT_TRUE(sources.unplaced.empty()) << "continue pages outside the locations: " << sources.unplaced.front();
  const std::vector<int> menu = contrast::StatementLines(root + "/game/choice_menu.cpp", "ShowScreen();");
  const std::vector<int> prompt = contrast::StatementLines(root + "/game/continue_prompt.cpp", "ShowScreen();");
  ASSERT_FALSE(menu.empty());
  ASSERT_EQ(prompt.size(), 2u);
  sweep::sSources = &sources;
  sweep::sMenuLine = menu.back();
  sweep::sPressLine = prompt[0];
  sweep::sReleaseLine = prompt[1];
  sweep::sReached.assign(sources.sites.size(), false);
  sweep::sStray.clear();

  uint32_t count = 0;
  for (const contrast::ContinueSite& site : sources.sites) {
    gBreakpointFiles[count] = uint32_t(site.file);
    gBreakpointLines[count++] = uint32_t(site.line);
  }
  gBreakpointFiles[count] = 0;
  gBreakpointLines[count++] = uint32_t(sweep::sMenuLine);
  ASSERT_LE(count, uint32_t(DEBUG_BREAKPOINT_CAPACITY));
  gDebugBlock.breakpointCount = count;
  const uint32_t everyStatement = gDebugBlock.breakEveryStatement;
  gDebugBlock.breakEveryStatement = 0;  // only the breakpoints
  playtest::OnEveryFrame(sweep::OnFrame);
  {
    playtest::KeepFrameHook keep;
    for (const contrast::LocationSource& l : sources.locations) sweep::Explore(l);
  }
  playtest::OnEveryFrame(nullptr);
  gDebugBlock.breakpointCount = 0;
  gDebugBlock.breakEveryStatement = everyStatement;
  if (sweep::sPressed) platform::PushMouseButton(0, false);

  for (const std::string& stray : sweep::sStray) ADD_FAILURE() << stray;
  for (size_t i = 0; i < sources.sites.size(); ++i)
    EXPECT_TRUE(sweep::sReached[i]) << "continue page never reached: " << sources.sites[i].name << " ("
                                    << sources.sites[i].source << ":" << sources.sites[i].line << ")";
  CheckPages();
}

}  // namespace
