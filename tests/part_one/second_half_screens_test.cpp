// Screenshots of the pages of locations 30 to 52 and of the end of Part One
// as the player sees them, left in screens/ under the build folder.
#define GAME_SOURCE_FILE 1

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

#include "game/element_access.h"
#include "game/game_state.h"
#include "game/page_texts.h"
#include "game/pictures.h"
#include "game/continue_prompt.h"
#include "game/text_print.h"
#include "game/word_wrap.h"
#include "play_harness.h"
#include "screen_files.h"
#include "game/procedure.h"

using namespace playtest;

namespace {

// The net and cage pages of the end of Part One, drawn as the vault draws
// them, without the closing page, the music and the save marker.
double EndPages() {
  PROC;
  STMT; LoadPic("a51a", 1);
  STMT; LoadPic("a51b", 2);
  STMT; loaded = 0;
  STMT; DrawPic(1, 0, 0);
  STMT; maxkern = 400;
  STMT; WrapText(PartOneText("p1.loc51.net"), 10);
  STMT; WaitContinue();
  STMT; DrawPic(gfxdungeon, 0, 0);
  STMT; DrawPic(2, 0, 0);
  STMT; WrapText(PartOneText("p1.loc51.cage"), 50);
  STMT; PrintTxt("Find out in part two.", 0, 270);
  STMT; WaitContinue();
  STMT; maxkern = 640;
  STMT; loc = 50;
  return 0;
}

}  // namespace

TEST(PartOneSecondHalfScreens, PagesAsThePlayerSeesThem) {
  const std::string dir = ScreensDir() + "/";
  std::vector<std::string> shots;
  auto standAt = [](double at, std::initializer_list<int> flags) {
    StartGame(1);
    for (int f : flags) At(obj, f) = 1;
    loc = at;
  };
  auto page = [&](const std::string& name) {
    shots.push_back(dir + name + ".png");
    Shot(shots.back());
    Show();
  };
  auto continuePage = [&](const std::string& name) {
    shots.push_back(dir + name + ".png");
    ShotContinue(shots.back());
  };

  standAt(30, {});
  page("loc30-gorilla");
  standAt(30, {20, 21});
  page("loc30-happy-gorilla");
  continuePage("loc30-panic");
  Choose(110, 2, 1);
  standAt(40, {20, 21});
  continuePage("loc40-gorilla-lets-pass");
  Continue();
  EXPECT_EQ(loc, 41);
  page("loc41-smugglers-cave");
  Choose(170, 3);
  page("loc42-crack");

  standAt(32, {14});
  page("loc32-boat");
  continuePage("loc32-jump");
  Choose(130, 2, 1);
  standAt(32, {14});
  Show();
  continuePage("loc32-climb");
  Choose(130, 3, 1);
  EXPECT_EQ(loc, 33);
  page("loc33-shelves");
  Choose(110, 1);
  page("loc34-chef-awake");
  standAt(34, {25});
  page("loc34-chef-asleep");

  standAt(35, {});
  page("loc35-tower-stairs");
  standAt(38, {});
  page("loc38-tower-room-feather");
  continuePage("loc38-take-feather");
  Choose(170, 4, 1);
  page("loc38-tower-room");

  standAt(43, {23});
  page("loc43-hermit-crab");

  standAt(44, {});
  page("loc44-passage");
  continuePage("loc44-shock");
  Choose(110, 1, 1);
  page("loc44-passage-switched");
  Choose(110, 3);
  page("loc45-conservatory-chilly");
  continuePage("loc45-sluggish-plant");
  Choose(210, 1, 1);
  standAt(46, {});
  page("loc46-caught");
  continuePage("loc46-freed");
  Choose(110, 2, 1);
  standAt(47, {18});
  page("loc47-cat");
  continuePage("loc47-herring");
  Choose(110, 3, 1);
  EXPECT_EQ(loc, 48);
  page("loc48-steps");

  standAt(49, {28});
  page("loc49-vampires");
  continuePage("loc49-water");
  Choose(110, 3, 1);
  page("loc49-remains");
  Choose(110, 1);
  page("loc50-entrance-hall");
  Choose(170, 4);
  page("loc52-stairs-guarded");
  Choose(130, 3);
  page("loc51-vault");
  // The end pages on a page of their own: the closing page, the music and
  // the save marker are the walkthrough's.
  UsePage(EndPages);
  continuePage("loc51-net");
  continuePage("loc51-cage");
  Continue(2);
  UsePage(nullptr);
  EXPECT_EQ(loc, 50);

  for (const std::string& path : shots) {
    SCOPED_TRACE(path);
    // A drawn page has a picture and text: far more than a handful of colours.
    EXPECT_GT(Colours(path), 32u);
  }
}
