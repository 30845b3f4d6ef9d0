// A player for the whole game on the handheld's buttons: starts the runtime
// as the program entry does and runs the real main program, from the opening
// screens on, pressing Down and Fire as a player would.
//
//   walkthrough_player walkthrough   Part One from the title to its end, back
//       to the title, then "Play Part Two" on the part selection.
//   walkthrough_player unsaved       the same walkthrough where the marker
//       cannot be written: after the title Part One starts again.
//   walkthrough_player selection     opening screens and title, then "Play
//       Part Two" on the part selection (which must be offered).
//   walkthrough_player wholegame     Part One to its end, the title, "Play
//       Part Two", Part Two's opening story and its route to the ending, and
//       the title once more.
//
// Run it with ORVALE_DEVICE=GP2X and ORVALE_TOUCHSCREEN naming no file (the
// F100), from a folder holding media.gfx and media.aud (the runtime makes the
// program's folder the current one: the marker is written there too). It
// prints one line per step ("loc 26: Enter the mine", "loc 3 cell 7: Go
// south"), then "PART TWO SELECTED", "PART ONE AGAIN" or "BACK AT THE TITLE"
// when it got there, and ends through the program end with status 0; any
// step the game does not offer ends it with status 3 and the reason. Every
// choice is checked against the location (and maze cell) it is taken on, so
// each step proves where the one before led.
//
// How it sees the game: every statement of the game reports its position and
// local table to the debugger support; with a break before every statement
// (and no debugger linked, so the break returns at once) the exchange block
// always names the local table of the procedure that presents the frame. The
// player runs on the main thread whenever the frame function takes window
// messages (a ticker thread posts an empty one every few milliseconds), and
// tells a menu (ChoiceMenu's options in its locals) from a page waiting for
// Fire (a `done` local: the continue prompt, the title, the opening
// picture). Every decision waits until the game has taken the last press, so
// running several times in one frame does no harm.
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "core/basic_string.h"
#include "core/debug_support.h"
#include "core/project_settings.h"
#include "core/runtime_error.h"
#include "core/string_ops.h"
#include "frame/frame_function.h"
#include "frame/graphics_commands.h"
#include "frame/runtime_startup.h"
#include "game/game_state.h"
#include "game/main_program.h"
#include "frame/main_window.h"
#include "platform/input.h"
#include "platform/window.h"
#include "part_one_route.h"
#include "part_two_route.h"

namespace {

constexpr int kDownKey = 208;
constexpr int kFireKey = 57;  // space, one of the handheld's fire keys

using walkroute::Fire;
using walkroute::Go;
using walkroute::PartOneWalkthrough;
using walkroute::Step;
using walkroute::Title;

Step Row(double atLoc, int row, double atMaze) {
  return Step{int(atLoc), nullptr, nullptr, row, atMaze};
}

// Part Two from its opening story along the route of part_two_route.h to the
// ending, whose last page returns to the title.
std::vector<Step> PartTwoWalkthrough() {
  std::vector<Step> s;
  for (int i = 0; i < 6; ++i) s.push_back(Fire());  // opening story
  double at = 1, maze = 0;
  for (const parttwo::Step& step : parttwo::kRoute) {
    if (step.menuY > 0) s.push_back(Row(at, step.row, at == 3 ? maze : 0));
    for (int i = 0; i < step.continues; ++i) s.push_back(Fire());
    at = step.loc;
    if (step.mazeloc != 0) maze = step.mazeloc;
  }
  for (int i = 0; i < 3; ++i) s.push_back(Fire(44));  // the ending
  return s;
}

std::vector<Step> SelectionOnly() { return {Fire(), Title(), Go(1, "Play Part Two")}; }

std::vector<Step> gSteps;
size_t gNext = 0;
bool gFireHeld = false;                // Fire pushed down, not yet released
std::atomic<int> gMenuKeysInFlight{0};  // menu presses the release thread still holds
std::thread gReleaser;
std::thread gTicker;
std::atomic<bool> gTicking{true};
bool gStopping = false;
std::string gMode;

// Ends the program through the runtime's normal end at the next statement.
void Stop(const char* what) {
  std::printf("%s\n", what);
  std::fflush(stdout);
  gStopping = true;
  gDebugBlock.stopRequest = 1;
}

[[noreturn]] void Fail(const std::string& why) {
  std::fprintf(stdout, "FAILED at step %zu (loc %g): %s\n", gNext + 1, loc, why.c_str());
  std::fflush(stdout);
  std::_Exit(3);
}

// The local table of the procedure that presents this frame.
const DebugVarRecord* FindLocal(const char* name) {
  const DebugVarRecord* r = gDebugBlock.localRecords;
  if (r == nullptr) return nullptr;
  for (uint32_t i = 0; i < gDebugBlock.localCount; ++i)
    if (r[i].name != nullptr && std::strcmp(r[i].name, name) == 0) return &r[i];
  return nullptr;
}

double LocalNumber(const DebugVarRecord* r) { return *static_cast<const double*>(r->address); }

std::string LocalText(const char* name) {
  const DebugVarRecord* r = FindLocal(name);
  if (r == nullptr || r->kind != DEBUG_VAR_STRING) return "";
  return StrCStr(*static_cast<const BasicString*>(r->address));
}

// A menu press: down now; the menu takes it (`pressed` = 1) and then waits
// for the release without presenting frames, so another thread lets go.
void MenuPress(int key) {
  if (gReleaser.joinable()) gReleaser.join();
  gMenuKeysInFlight = 1;
  platform::PushKeyEvent(key, true);
  gReleaser = std::thread([key] {
    const volatile double* taken = &pressed;
    for (int i = 0; i < 20000 && *taken != 1; ++i)
      std::this_thread::sleep_for(std::chrono::microseconds(500));
    platform::PushKeyEvent(key, false);
    gMenuKeysInFlight = 0;
  });
}

bool KeyDown(int key) { return (platform::KeyboardScanState()[key] & 0x80) != 0; }

void AtMenu() {
  const Step& step = gSteps[gNext];
  std::string options[6];
  int row = 0;
  std::string offered;
  for (int k = 1; k <= 5; ++k) {
    char name[8];
    std::snprintf(name, sizeof name, "o%d_Str", k);
    options[k] = LocalText(name);
    if (!options[k].empty()) offered += " \"" + options[k] + "\"";
    if (step.label != nullptr && options[k] == step.label) row = k;
  }
  if (step.label == nullptr && step.row == 0)
    Fail("a menu where a page waiting for Fire was expected:" + offered);
  if (step.row > 0) {
    if (options[step.row].empty())
      Fail("row " + std::to_string(step.row) + " is not offered:" + offered);
    row = step.row;
  }
  const std::string label = step.label != nullptr ? step.label : options[row];
  if (row == 0) Fail("\"" + label + "\" is not offered:" + offered);
  if (step.atLoc != 0 && loc != step.atLoc)
    Fail("\"" + label + "\" expected on location " + std::to_string(step.atLoc));
  if (step.atMaze != 0 && mazeloc != step.atMaze)
    Fail("\"" + label + "\" expected in maze cell " + std::to_string(step.atMaze));
  if (hilite != row) {
    MenuPress(kDownKey);
    return;
  }
  if (part == 2 && loc == 3) {
    std::printf("loc 3 cell %g: %s\n", mazeloc, label.c_str());
  } else {
    std::printf("loc %g: %s\n", loc, label.c_str());
  }
  std::fflush(stdout);
  ++gNext;
  MenuPress(kFireKey);
}

void AtWaitingPage(const DebugVarRecord* done) {
  // The page has not yet seen the last release, or not yet looked at it.
  if (KeyDown(kFireKey) || LocalNumber(done) != 0) return;
  const Step& step = gSteps[gNext];
  if (step.label != nullptr) Fail(std::string("a page waiting for Fire where \"") + step.label + "\" was expected");
  if (step.atLoc != 0 && loc != step.atLoc) Fail("a page waiting for Fire, expected on location " + std::to_string(step.atLoc));
  if (step.local != nullptr && FindLocal(step.local) == nullptr)
    Fail(std::string("a page waiting for Fire without the local ") + step.local);
  std::printf(step.local != nullptr ? "loc %g: Fire on the title\n" : "loc %g: Fire\n", loc);
  if (std::getenv("PLAYER_TRACE")) {
    for (uint32_t i = 0; i < gDebugBlock.localCount; ++i) std::printf(" %s", gDebugBlock.localRecords[i].name);
    std::printf(" | file %u line %u\n", gDebugBlock.sourceFile, gDebugBlock.line);
  }
  std::fflush(stdout);
  ++gNext;
  platform::PushKeyEvent(kFireKey, true);
  gFireHeld = true;
}

// After the last step: stops once the game is where the route leads. (The
// last press may still be on its way to the menu: no waiting for the
// release thread before the game has moved on.)
void AtRouteEnd() {
  if (gMode == "wholegame") {
    // The ending has set loc 999; the main program is back at the title.
    if (part == 1 && loc == 1 && FindLocal("coldif") != nullptr) Stop("BACK AT THE TITLE");
  } else if (part == 2) {
    Stop("PART TWO SELECTED");
  } else if (gMode == "unsaved" && part == 1 && loc == 1 && FindLocal("done") != nullptr &&
             FindLocal("coldif") == nullptr) {
    // Without the marker the title leads into Part One's opening story.
    Stop("PART ONE AGAIN");
  }
  if (!gStopping) return;
  if (gReleaser.joinable()) gReleaser.join();
  gTicking = false;
  gTicker.join();
}

// On every window message the frame function takes.
void OnFrame(const void*) {
  if (gStopping) return;
  SetFrameLimit(500);  // the main program asked for 60; the player needs no pacing
  if (gFireHeld) {
    // Taken by the waiting page on the frame before: let go, and it closes.
    const DebugVarRecord* done = FindLocal("done");
    if (done != nullptr && LocalNumber(done) > 0) {
      platform::PushKeyEvent(kFireKey, false);
      gFireHeld = false;
    }
    return;
  }
  if (gNext >= gSteps.size()) {
    AtRouteEnd();
    return;
  }
  if (gMenuKeysInFlight != 0 || KeyDown(kDownKey)) return;
  if (FindLocal("o1_Str") != nullptr) {
    if (!gFireHeld && !KeyDown(kFireKey)) AtMenu();
    return;
  }
  if (const DebugVarRecord* done = FindLocal("done")) AtWaitingPage(done);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  gMode = mode;
  if (mode == "walkthrough") {
    gSteps = PartOneWalkthrough();
  } else if (mode == "unsaved") {
    gSteps = PartOneWalkthrough();
    gSteps.pop_back();
  } else if (mode == "selection") {
    gSteps = SelectionOnly();
  } else if (mode == "wholegame") {
    gSteps = PartOneWalkthrough();
    const std::vector<Step> two = PartTwoWalkthrough();
    gSteps.insert(gSteps.end(), two.begin(), two.end());
  } else {
    std::fprintf(stderr, "usage: %s walkthrough|unsaved|selection|wholegame\n", argv[0]);
    return 2;
  }
  // The program entry's settings.
  gProjectSettings.screenWidth = 640;
  gProjectSettings.screenHeight = 480;
  gProjectSettings.fullscreen = 0;
  gProjectSettings.multisampleSamples = 0;
  gProjectSettings.framesPerSecond = 60;
  gProjectSettings.debugMode = 1;
  gProjectSettings.hideSystemPointer = 1;
  RuntimeStartup(nullptr, nullptr, const_cast<char*>(""), 10, "Kestrovar");
  if (!RuntimeStarted()) {
    std::printf("FAILED: the runtime did not start\n");
    return 3;
  }
  platform::AddNativeEventHook(OnFrame);
  gTicker = std::thread([] {
    while (gTicking) {
      platform::PostWindowMessage(gMainWindow, platform::WindowMessage::kNone);
      std::this_thread::sleep_for(std::chrono::milliseconds(3));
    }
  });
  gDebugBlock.breakEveryStatement = 1;
  gErrorState.errorLine = 0.0;
  gErrorState.errorCode = 0.0;
  gErrorState.statementLine = 0.0;
  MainProgram();
  EndProgram();
  return 0;
}
