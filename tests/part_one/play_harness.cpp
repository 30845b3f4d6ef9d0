#include "play_harness.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <png.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <thread>
#include <vector>

#include "core/basic_array.h"
#include "core/project_settings.h"
#include "core/runtime_error.h"
#include "frame/frame_function.h"
#include "frame/graphics_commands.h"
#include "frame/runtime_startup.h"
#include "game/element_access.h"
#include "game/game_state.h"
#include "game/location_table.h"
#include "game/main_program.h"
#include "game/pictures.h"
#include "game/text_print.h"
#include "input_audio/input_commands.h"
#include "input_audio/input_state.h"
#include "input_audio/media_host.h"
#include "input_audio/music.h"
#include "platform/input.h"
#include "platform/system.h"
#include "title_setup.h"

namespace playtest {

namespace {

int sTimeCalls = 0;
int sCallsPerFrame = 1;

// Continue prompts still to answer, and whether the press of the current
// one is down. The frame hook presses in one frame and releases in the next.
int sContinuesPending = 0;
bool sContinueDown = false;
std::deque<std::string> sContinueShots;
std::string sNextShot;
void (*sFrameHook)() = nullptr;

void SaveBackBuffer(const std::string& path) {
  std::vector<uint8_t> rgb(640 * 480 * 3);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, 640, 480, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) {
    ADD_FAILURE() << "cannot write " << path;
    return;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, f);
  png_set_IHDR(png, info, 640, 480, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < 480; ++y) png_write_row(png, &rgb[size_t(479 - y) * 640 * 3]);
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  std::fclose(f);
}

// Runs once per presented frame, before the buffers are swapped.
void OnFrame() {
  if (sFrameHook != nullptr) sFrameHook();
  if (!sNextShot.empty()) {
    SaveBackBuffer(sNextShot);
    sNextShot.clear();
  }
  if (sContinuesPending <= 0) return;
  if (!sContinueDown) {
    if (!sContinueShots.empty()) {
      SaveBackBuffer(sContinueShots.front());
      sContinueShots.pop_front();
    }
    platform::PushMouseButton(0, true);
    sContinueDown = true;
  } else {
    platform::PushMouseButton(0, false);
    sContinueDown = false;
    --sContinuesPending;
  }
}

double CountingTime() {
  ++sTimeCalls;
  if (sTimeCalls % sCallsPerFrame == 0) OnFrame();
  return 0;
}

void MovePointer(int x, int y) {
  platform::PumpInputEvents();
  gInput->reread = 1;
  double mx, my, b1, b2;
  MouseState(mx, my, b1, b2);
  platform::PushMouseMotion(x, y, x - int(mx), y - int(my));
  gInput->reread = 1;
}

class PlayEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    gProjectSettings = ProjectSettings{1, 60, 0, 0, 0, 480, 640};
    RuntimeStartup(nullptr, nullptr, "", 1, "Kestrovar");
    ASSERT_TRUE(RuntimeStarted());
    platform::SetCurrentFolder(DataDir());

    MediaHost host = CurrentMediaHost();
    host.timeMs = CountingTime;
    SetMediaHost(host);
    gMusicEndTime = 1e300;
    int before = sTimeCalls;
    ShowScreen();
    sCallsPerFrame = sTimeCalls - before;
    ASSERT_GE(sCallsPerFrame, 1);

    // What the main program loads before the title.
    SetEscapeEnds(0);
    playsetup::LoadBeforeTitle("DESKTOP", 1, "gfx/fontpc.png", 20);
  }
  void TearDown() override {
    gMusicEndTime = 0;
    SetMediaHost(MediaHost{});
    ShutdownRuntime();
  }
};

::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new PlayEnvironment);

double (*sPage)() = nullptr;

// One pass: the main loop's own, or the page procedure under test followed
// by the main loop's reset after a choice.
double RunPass() {
  if (sPage == nullptr) return MainLoopPass();
  sPage();
  if (opt > 0) {
    ClearScreen();
    screendrawn = 0;
    opt = 0;
    maxkern = 640;
  }
  return 0;
}

// Runs passes until every pending continue prompt is answered.
void PassUntilAnswered(int passesDone) {
  int passes = passesDone;
  while ((sContinuesPending > 0 || sContinueDown) && passes < kMaxPasses) {
    RunPass();
    ++passes;
  }
  if (sContinuesPending > 0 || sContinueDown) {
    ADD_FAILURE() << "continue prompts not reached: " << sContinuesPending << " left at loc "
                  << loc;
    sContinuesPending = 0;
    if (sContinueDown) platform::PushMouseButton(0, false);
    sContinueDown = false;
    platform::PumpInputEvents();
  }
  sContinueShots.clear();
}

}  // namespace

std::string DataDir() { return std::string(ORVALE_DATA_STAGE) + "/gfx"; }

void StartGame(double newPart) { playsetup::StartPart(newPart); }

void RunIntro(int pages) {
  LocationProcedure intro = FindIntro(part);
  ASSERT_NE(intro, nullptr);
  sContinuesPending = pages;
  intro();
  EXPECT_EQ(sContinuesPending, 0) << "pages of the opening story left unseen";
  EXPECT_FALSE(sContinueDown);
  sContinuesPending = 0;
  sContinueShots.clear();
}

void Show(int passes) {
  for (int i = 0; i < passes; ++i) RunPass();
}

void Choose(double menuY, int row, int continues) {
  // The pointer in the middle of the row, near its left edge.
  MovePointer(4, int(menuY) + 40 + 20 * (row - 1) + 10);
  platform::PushMouseButton(0, true);
  // The menu waits for the release without presenting frames: release once
  // the press has been taken.
  std::atomic<bool> stop{false};
  std::thread release([&stop] {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!stop && (platform::MouseButton(0) & 0x80) == 0 &&
           std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    platform::PushMouseButton(0, false);
  });
  sContinuesPending = continues;
  const double before = loc;
  RunPass();
  stop = true;
  release.join();
  platform::PumpInputEvents();
  if (screendrawn != 0) {
    ADD_FAILURE() << "no choice made: row " << row << " of the menu at y " << menuY
                  << " on location " << before;
    sContinuesPending = 0;
    return;
  }
  PassUntilAnswered(1);
}

void Continue(int count) {
  sContinuesPending = count;
  PassUntilAnswered(0);
}

bool Escape() {
  platform::PushKeyEvent(1, true);
  const bool restart = MainLoopPass() != 0;
  platform::PushKeyEvent(1, false);
  platform::PumpInputEvents();
  return restart;
}

void UsePage(double (*page)()) { sPage = page; }

int Frames() { return sTimeCalls / sCallsPerFrame; }

void OnEveryFrame(void (*hook)()) { sFrameHook = hook; }

void Shot(const std::string& path) { sNextShot = path; }

void ShotContinue(const std::string& path) { sContinueShots.push_back(path); }

double Flag(int index) { return At(obj, index); }

Snapshot Snap() {
  Snapshot s;
  s.loc = loc;
  s.mazeloc = mazeloc;
  s.loaded = loaded;
  for (int i = 0; i < 50; ++i) s.obj[size_t(i)] = At(obj, i);
  return s;
}

}  // namespace playtest
