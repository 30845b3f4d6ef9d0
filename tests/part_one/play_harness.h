// Play harness: the adventure played in-process through the main program's
// own frame loop pass (MainLoopPass), with injected mouse input, on the
// test's Xvfb window and the game's real data (the staged pictures and font
// strips of the build). After every step the test reads loc, obj and
// mazeloc, or the Snap() of them.
//
// Use (a test program of its own, WINDOW 640x480, linking play_harness.cpp
// and kestrovar_play; see tests/part_one/CMakeLists.txt):
//
//   TEST(MyPlay, Path) {
//     playtest::StartGame(1);            // as after the title: loc 1, obj zeros
//     playtest::RunIntro(6);             // the opening story, six pages
//     playtest::Show();                  // one pass: location 1 drawn, no input
//     playtest::Choose(330, 2);          // option 2 of the menu whose
//     EXPECT_EQ(loc, 4);                 //   "Do you want to:" stands at y 330
//     playtest::Choose(270, 2);
//     playtest::Choose(190, 1);          // a choice that stays: next pass redraws
//     EXPECT_EQ(playtest::Flag(5), 1);
//     playtest::Choose(110, 2, 1);       // a choice followed by one continue page
//     playtest::Continue();              // a page without menu (its own pass)
//   }
//
// Choose(menuY, row, continues): clicks option `row` of the menu drawn at
// menuY, in one pass; the harness then answers `continues` continue prompts,
// running further passes until all are answered (a fall page reached after
// an outcome page counts: Choose(110, 2, 2) at the bridge). A click that
// misses (wrong y, blank row) fails the test, as does a prompt left waiting
// or one that never came (the harness gives up after kMaxPasses passes).
// Escape() restarts at the title like the player's Escape key.
//
// Screenshots: Shot(path) saves the frame presented next (a menu page: call
// it before Show()); ShotContinue(path) saves the next continue page as it
// waits for the click. PNG, 640 x 480.
#pragma once

#include <array>
#include <string>

namespace playtest {

inline constexpr int kMaxPasses = 400;

// Folder of the staged game pictures (the current folder while playing).
std::string DataDir();

// The start of a game as the main program makes it after the title.
void StartGame(double part);

// The part's opening story with every page continued; expects `pages` pages.
void RunIntro(int pages);

// Passes with no input (the first draws the page).
void Show(int passes = 1);

// Clicks a menu option, then answers `continues` continue prompts.
void Choose(double menuY, int row, int continues = 0);

// Answers `count` continue prompts of pages without a menu.
void Continue(int count = 1);

// The Escape key for one pass: the main loop pass asks to restart.
bool Escape();

// Passes run page in place of the location the main loop would call, then
// reset the page after a choice as the main loop does (for page kinds that
// no location of the part shows as such); null returns to the main loop.
void UsePage(double (*page)());

// Frames presented so far.
int Frames();

// Calls hook on every presented frame, before the buffers are swapped (the
// back buffer holds the frame); null stops it.
void OnEveryFrame(void (*hook)());

// Next presented frame (or next continue page) to a PNG file.
void Shot(const std::string& path);
void ShotContinue(const std::string& path);

double Flag(int index);

struct Snapshot {
  double loc = 0;
  double mazeloc = 0;
  double loaded = 0;
  std::array<double, 50> obj{};
};
Snapshot Snap();

}  // namespace playtest
