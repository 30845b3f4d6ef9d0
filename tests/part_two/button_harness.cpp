#include "button_harness.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include <cstring>

#include "core/basic_array.h"
#include "core/debug_support.h"
#include "core/project_settings.h"
#include "core/runtime_error.h"
#include "frame/frame_function.h"
#include "frame/graphics_commands.h"
#include "frame/runtime_startup.h"
#include "game/choice_menu.h"
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
#include "../part_one/keep_frame_hook.h"
#include "../part_one/title_setup.h"

namespace buttonplay {

namespace {

// DirectInput scan codes of the buttons: Down, and two fire buttons, one
// for choices and one for continue prompts, so that the two never meet.
constexpr int kDown = 208;
constexpr int kChooseFire = 57;    // space
constexpr int kContinueFire = 29;  // left control

int sTimeCalls = 0;
int sCallsPerFrame = 1;

// Continue prompts still to answer, and whether the press of the current
// one is down.
enum class Prompt { Idle, Pressed };
int sContinuesPending = 0;
Prompt sPrompt = Prompt::Idle;

bool KeyDown(int scanCode) { return (platform::KeyboardScanState()[scanCode] & 0x80) != 0; }

// The `done` local of a page waiting for its continue input (the procedure
// presenting the frame has one), or null for other frames, as the flashes of
// the explosion. The debugger support names the current local table while
// it breaks before every statement.
const double* PromptDone() {
  const DebugVarRecord* r = gDebugBlock.localRecords;
  if (r == nullptr) return nullptr;
  for (uint32_t i = 0; i < gDebugBlock.localCount; ++i)
    if (r[i].name != nullptr && std::strcmp(r[i].name, "done") == 0)
      return static_cast<const double*>(r[i].address);
  return nullptr;
}

// Runs on every call of the frame clock, once or more a frame. A prompt is
// pressed while it has seen nothing, and released once it has seen the
// press, so however often this runs the prompt sees the press and then the
// release.
void OnFrame() {
  const double* done = PromptDone();
  if (sPrompt == Prompt::Idle) {
    if (sContinuesPending > 0 && !KeyDown(kContinueFire) && done != nullptr && *done == 0) {
      platform::PushKeyEvent(kContinueFire, true);
      sPrompt = Prompt::Pressed;
    }
  } else if (done != nullptr && *done > 0) {
    platform::PushKeyEvent(kContinueFire, false);
    sPrompt = Prompt::Idle;
    --sContinuesPending;
  }
}

double CountingTime() {
  ++sTimeCalls;
  if (sTimeCalls % sCallsPerFrame == 0) OnFrame();
  return 0;
}

class ButtonEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    gProjectSettings = ProjectSettings{1, 60, 0, 0, 0, 480, 640};
    gDebugBlock.breakEveryStatement = 1;
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

    // What the main program loads before the title on the F100.
    playsetup::LoadBeforeTitle("F100", 2, "gfx/fontgp.png", 10);
  }
  void TearDown() override {
    gMusicEndTime = 0;
    SetMediaHost(MediaHost{});
    ShutdownRuntime();
  }
};

::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new ButtonEnvironment);

// Presses a button for one call of `run`: the menu busy-waits for the
// release without presenting frames, so the release comes from a thread
// once the menu has taken the press (it sets `pressed` before its wait).
template <typename Run>
void PressDuring(int scanCode, Run run) {
  pressed = 0;
  platform::PushKeyEvent(scanCode, true);
  std::atomic<bool> stop{false};
  std::thread release([&stop, scanCode] {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    const volatile double* taken = &pressed;
    while (!stop && !(KeyDown(scanCode) && *taken > 0) &&
           std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    platform::PushKeyEvent(scanCode, false);
  });
  run();
  stop = true;
  release.join();
  platform::PumpInputEvents();
}

void ClearPrompts() {
  if (sPrompt != Prompt::Idle) platform::PushKeyEvent(kContinueFire, false);
  sPrompt = Prompt::Idle;
  sContinuesPending = 0;
  platform::PumpInputEvents();
}

// Runs passes until every pending continue prompt is answered.
bool PassUntilAnswered(int passesDone, bool restart) {
  playtest::KeepFrameHook hook;
  int passes = passesDone;
  while ((sContinuesPending > 0 || sPrompt != Prompt::Idle) && passes < kMaxPasses) {
    restart = MainLoopPass() != 0;
    ++passes;
  }
  if (sContinuesPending > 0 || sPrompt != Prompt::Idle) {
    ADD_FAILURE() << "continue prompts not reached: " << sContinuesPending << " left at loc "
                  << loc;
    ClearPrompts();
  }
  return restart;
}

}  // namespace

const char* DataDir() { return ORVALE_DATA_STAGE "/gfx"; }

void StartGame(double newPart) { playsetup::StartPart(newPart); }

double SelectPart(int row) {
  LoadPic("vorl", 0);
  LoadPic("kv", 1);
  auto page = [] {
    DrawRectCmd(0, 0, 640 / resx, 480 / resx, 48);
    DrawPic(1, -1, 25);
    DrawPic(0, -1, 100);
    opt = ChoiceMenu(350, "Play Part One", "Play Part Two", "", "", "");
  };
  for (int k = 1; k < row; ++k) PressDuring(kDown, page);
  PressDuring(kChooseFire, page);
  EXPECT_GT(opt, 0) << "the part selection took no choice";
  part = opt;
  screendrawn = 0;
  opt = 0;
  return part;
}

void RunIntro(int pages) {
  LocationProcedure intro = FindIntro(part);
  ASSERT_NE(intro, nullptr);
  sContinuesPending = pages;
  intro();
  EXPECT_EQ(sContinuesPending, 0) << "pages of the opening story left unseen";
  EXPECT_EQ(sPrompt, Prompt::Idle);
  ClearPrompts();
}

bool Pass() { return MainLoopPass() != 0; }

bool Choose(int row, int continues) {
  const double before = loc;
  bool restart = false;
  auto pass = [&restart] { restart = MainLoopPass() != 0; };
  // A press the menu did not take in its pass (the window had not delivered
  // it yet) is pressed again on the next pass: the page stays meanwhile.
  for (int tries = 0; hilite != row && tries < 3 * row + 5; ++tries) {
    PressDuring(kDown, pass);
    if (screendrawn == 0 || restart) {
      ADD_FAILURE() << "Down pressed on location " << before << " left no menu on screen";
      return restart;
    }
  }
  if (hilite != row) {
    ADD_FAILURE() << "the bar never reached row " << row << " on location " << before;
    return restart;
  }
  sContinuesPending = continues;
  for (int tries = 0; tries < 5; ++tries) {
    PressDuring(kChooseFire, pass);
    if (screendrawn == 0 || restart) break;
  }
  if (screendrawn != 0) {
    ADD_FAILURE() << "no choice made: row " << row << " on location " << before << " (hilite "
                  << hilite << ", pressed " << pressed << ", opt " << opt << ")";
    ClearPrompts();
    return restart;
  }
  return PassUntilAnswered(1, restart);
}

bool Continue(int count) {
  sContinuesPending = count;
  return PassUntilAnswered(0, false);
}

}  // namespace buttonplay
