// Button play harness: the adventure played in-process through the main
// program's frame loop pass (MainLoopPass) as on the GP2X F100, whose menus
// answer the Up, Down and fire buttons and whose pages continue on a fire
// button. The game's real pictures and half-size font strip are loaded as
// the main program loads them for the handheld (resx 2).
//
// Use (a test program of its own, WINDOW 640x480, linking button_harness.cpp
// and kestrovar_play):
//
//   buttonplay::StartGame(2);        // as after the part selection
//   buttonplay::RunIntro(6);         // the opening story, six pages
//   buttonplay::Choose(3);           // Down twice, then fire: option 3
//   EXPECT_EQ(loc, 2);
//   buttonplay::Choose(2, 1);        // option 2, then one continue page
//   buttonplay::Continue(2);         // pages without a menu
//
// Choose(row, continues) presses Down until the bar stands on the row, one
// press a pass (the first pass also draws the page; a press the window has
// not delivered in time is pressed again), then a fire button, and answers
// `continues` continue prompts with another fire button, running further
// passes until all are answered. A choice that is not taken or a prompt
// left waiting fails the test. Every call returns true when the last pass
// asked the main program to go back to the title.
#pragma once

namespace buttonplay {

inline constexpr int kMaxPasses = 400;

// Folder of the staged game pictures (the current folder while playing).
const char* DataDir();

// The start of a game as the main program makes it after the title.
void StartGame(double part);

// The part selection page as the main program shows it when the save marker
// holds the unlock code; yields the part chosen with the buttons (row 1 or 2).
double SelectPart(int row);

// The part's opening story with every page continued; expects `pages` pages.
void RunIntro(int pages);

// One pass with no input.
bool Pass();

bool Choose(int row, int continues = 0);
bool Continue(int count = 1);

}  // namespace buttonplay
