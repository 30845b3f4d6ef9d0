#include "page_fixture.h"

#include <GL/gl.h>
#include <png.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>

#include "core/basic_array.h"
#include "core/project_settings.h"
#include "core/runtime_error.h"
#include "frame/frame_function.h"
#include "frame/graphics_commands.h"
#include "frame/runtime_startup.h"
#include "frame/sprite_draw.h"
#include "game/game_state.h"
#include "game/pictures.h"
#include "game/text_print.h"
#include "input_audio/input_commands.h"
#include "input_audio/input_state.h"
#include "input_audio/media_host.h"
#include "input_audio/music.h"
#include "platform/input.h"
#include "platform/system.h"

namespace pagetest {

// Glyph artwork: every glyph is one black column over the colour key, full
// height, except
//   2  ('"')  ink in the last column of the frame (advance 21 / 2 x 9 + 2),
//   93 ('}')  even rows in column 5, odd rows further right in column 15,
//   94 ('~')  no ink at all (advance 2).
// The space frame (0) is blank.
int DesktopInkColumn(int glyph) {
  if (glyph == 2) return 19;
  if (glyph == 93) return 5;
  if (glyph == 94) return -1;
  return glyph % 17 + 1;
}
int DesktopAdvance(int glyph) {
  if (glyph == 0) return 20;
  int c = DesktopInkColumn(glyph);
  return c < 0 ? 2 : c + 2;
}
int HandheldInkColumn(int glyph) {
  if (glyph == 2) return 9;
  if (glyph == 93) return 3;
  if (glyph == 94) return -1;
  return glyph % 9 + 1;
}
int HandheldAdvance(int glyph) {
  if (glyph == 0) return 20;
  int c = HandheldInkColumn(glyph);
  return c < 0 ? 2 : 2 * c + 2;
}

namespace {

constexpr uint32_t kKey = 0xFF0080;  // the sprite colour key as r, g, b

// 96 frames, 16 a row.
void WriteStrip(const std::string& path, int cell, int (*inkColumn)(int)) {
  WritePng(path, 16 * cell, 6 * cell, [&](int x, int y) -> uint32_t {
    int glyph = (y / cell) * 16 + x / cell;
    int cx = x % cell, cy = y % cell;
    if (glyph == 93) {
      if (cy % 2 == 0) return cx == inkColumn(93) ? 0 : kKey;
      return cx == cell - 5 ? 0 : kKey;
    }
    if (glyph == 0) return kKey;
    return cx == inkColumn(glyph) ? 0 : kKey;
  });
}

int sTimeCalls = 0;
int sCallsPerFrame = 1;
std::map<int, std::vector<std::function<void()>>> sScript;

// The frame about to be presented, as the back buffer holds it before the
// swap (front buffers cannot be read back everywhere).
std::vector<uint8_t> sPresented(640 * 480 * 3);

void SnapshotPresented() {
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, 640, 480, GL_RGB, GL_UNSIGNED_BYTE, sPresented.data());
}

double CountingTime() {
  ++sTimeCalls;
  if (sTimeCalls % sCallsPerFrame == 0) {
    SnapshotPresented();
    auto it = sScript.find(FramesPresented());
    if (it != sScript.end()) {
      auto actions = std::move(it->second);
      sScript.erase(it);
      for (auto& a : actions) a();
    }
  }
  return 0;
}

class PagesEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    std::filesystem::create_directories(ScratchDir() + "/gfx");
    gProjectSettings = ProjectSettings{1, 60, 0, 0, 0, 480, 640};
    RuntimeStartup(nullptr, nullptr, "", 1, "Kestrovar");
    ASSERT_TRUE(RuntimeStarted());
    platform::SetCurrentFolder(ScratchDir());

    WriteStrip(ScratchDir() + "/gfx/fontpc.png", 20, DesktopInkColumn);
    WriteStrip(ScratchDir() + "/gfx/fontgp.png", 10, HandheldInkColumn);
    WritePng(ScratchDir() + "/gfx/mouse.png", 4, 4, [](int, int) { return 0xFF0000u; });
    WritePng(ScratchDir() + "/gfx/f200targ.png", 5, 5, [](int, int) { return 0x00FF00u; });
    LoadPic("mouse", 51);
    LoadPic("f200targ", 52);

    MediaHost host = CurrentMediaHost();
    host.timeMs = CountingTime;
    SetMediaHost(host);
    gMusicEndTime = 1e300;
    int before = sTimeCalls;
    ShowScreen();
    sCallsPerFrame = sTimeCalls - before;
    ASSERT_GE(sCallsPerFrame, 1);

    ArrayDim(optwide, 6);
    UseDevice("DESKTOP");
  }
  void TearDown() override {
    gMusicEndTime = 0;
    SetMediaHost(MediaHost{});
    ShutdownRuntime();
    std::filesystem::remove_all(ScratchDir());
  }
};

::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new PagesEnvironment);

// One row, top-down numbering, of the back buffer or the last presented frame.
std::vector<uint8_t> ReadRow(int y, bool presented) {
  std::vector<uint8_t> rgb(640 * 3, 0);
  if (y < 0 || y >= 480) return rgb;
  if (presented) {
    std::copy_n(sPresented.begin() + size_t(479 - y) * 640 * 3, 640 * 3, rgb.begin());
  } else {
    FlushSprites();  // queued sprites reach the buffer first
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 479 - y, 640, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  }
  return rgb;
}

uint32_t ReadPixel(int x, int y, bool presented) {
  if (x < 0 || x >= 640) return 0;
  auto row = ReadRow(y, presented);
  const uint8_t* p = &row[size_t(x) * 3];
  return (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
}

}  // namespace

std::string ScratchDir() {
  static const std::string dir = [] {
    auto p = std::filesystem::temp_directory_path() /
             ("orvale-pages-" + std::to_string(std::random_device{}()));
    return p.string();
  }();
  return dir;
}

void WritePng(const std::string& path, int width, int height,
              const std::function<uint32_t(int, int)>& pixel) {
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, f);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<uint8_t> row(size_t(width) * 3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint32_t c = pixel(x, y);
      row[size_t(x) * 3] = uint8_t(c >> 16);
      row[size_t(x) * 3 + 1] = uint8_t(c >> 8);
      row[size_t(x) * 3 + 2] = uint8_t(c);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  std::fclose(f);
}

void UseDevice(const char* name) {
  setenv("ORVALE_DEVICE", name, 1);
  info_Str = platform::DeviceName().c_str();
  resx = std::string(name) == "DESKTOP" ? 1 : 2;
  if (resx == 1)
    LoadAnimCmd("gfx/fontpc.png", 50, 20, 20);
  else
    LoadAnimCmd("gfx/fontgp.png", 50, 10, 10);
  ArrayDim(kern, 96);
  BuildKernTable();
  ClearScreen();
}

void WhitePage() {
  ClearScreen();
  DrawRectCmd(0, 0, 640, 480, 0xFFFFFF);
}

int FramesPresented() { return sTimeCalls / sCallsPerFrame; }

void AtFrame(int after, std::function<void()> action) {
  sScript[FramesPresented() + after].push_back(std::move(action));
}

void ClearFrameScript() { sScript.clear(); }

uint32_t BackPixel(int x, int y) { return ReadPixel(x, y, false); }
uint32_t FrontPixel(int x, int y) { return ReadPixel(x, y, true); }

std::vector<int> InkColumns(int y, bool front) {
  const std::vector<uint8_t> rgb = ReadRow(y, front);
  std::vector<int> ink;
  for (int x = 0; x < 640; ++x)
    if (rgb[x * 3] < 16 && rgb[x * 3 + 1] < 16 && rgb[x * 3 + 2] < 16) ink.push_back(x);
  return ink;
}

std::vector<int> ExpectedInk(const std::string& text, int x) {
  std::vector<int> ink;
  for (char ch : text) {
    int glyph = ch - 32;
    if (glyph != 0 && x + DesktopInkColumn(glyph) >= 0 && x + DesktopInkColumn(glyph) < 640)
      ink.push_back(x + DesktopInkColumn(glyph));
    x += DesktopAdvance(glyph);
  }
  return ink;
}

std::string DecodeLine(const std::vector<int>& ink) {
  std::string line;
  int start = 0;
  for (int x : ink) {
    int d = x - start;
    int spaces = (d - 1) / 20;
    line.append(size_t(spaces), ' ');
    int column = d - 20 * spaces;
    char letter = '?';
    for (char c = 'a'; c <= 'q'; ++c)
      if (DesktopInkColumn(c - 32) == column) letter = c;
    line += letter;
    start = x - column + DesktopAdvance(letter - 32);
    if (letter == '?') break;
  }
  return line;
}

double TextWidth(const std::string& text) {
  double w = 0;
  for (char ch : text) w += DesktopAdvance(ch - 32);
  return w;
}

void MovePointer(int x, int y) {
  platform::PumpInputEvents();
  gInput->reread = 1;
  double mx, my, b1, b2;
  // Take any pending motion first, so the move starts from where it is.
  MouseState(mx, my, b1, b2);
  platform::PushMouseMotion(x, y, x - int(mx), y - int(my));
  gInput->reread = 1;
}

Later::Later(int ms, std::function<void()> action)
    : thread_([ms, action = std::move(action)] {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        action();
      }) {}
Later::~Later() { thread_.join(); }

void ReleaseAllInput() {
  platform::PumpInputEvents();
  platform::ReleaseAllKeys();
  for (int b = 0; b < 3; ++b) platform::PushMouseButton(b, false);
  platform::PumpInputEvents();
  // A press the last test never read is held down for one read: read it,
  // so the next pump lets it go.
  for (int b = 0; b < 3; ++b) platform::MouseButton(b);
  platform::PumpInputEvents();
  ClearFrameScript();
}

}  // namespace pagetest
