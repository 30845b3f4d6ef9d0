// Screenshots of the opening story and of pages of locations 1 to 24 as the
// player sees them, left in screens/ under the build folder.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "game/game_state.h"
#include "play_harness.h"
#include "screen_files.h"

using namespace playtest;

TEST(PartOneFirstHalfScreens, PagesAsThePlayerSeesThem) {
  const std::string dir = ScreensDir() + "/";
  std::vector<std::string> shots;
  auto page = [&](const std::string& name) {
    shots.push_back(dir + name + ".png");
    Shot(shots.back());
    Show();
  };
  auto continuePage = [&](const std::string& name) {
    shots.push_back(dir + name + ".png");
    ShotContinue(shots.back());
  };

  StartGame(1);
  for (int i = 1; i <= 6; ++i) continuePage("intro-" + std::to_string(i));
  RunIntro(6);
  page("loc01-clearing");
  Choose(330, 2);
  page("loc04-lone-tree-owl");
  Choose(270, 2);
  page("loc05-tree-top-key");
  continuePage("loc06-view");
  Choose(190, 3, 1);
  Choose(190, 2);
  Choose(270, 1);
  page("loc01-clearing-owl-gone");
  Choose(330, 1);
  page("loc02-log-cabin");
  Choose(150, 4);
  page("loc03-owner-returns");
  Choose(90, 3);
  page("loc11-hut");
  Choose(150, 2);
  page("loc12-trapdoor");
  Choose(100, 2);
  page("loc13-dark-cellar");
  continuePage("loc13-panic");
  Choose(90, 2, 1);
  Choose(150, 1);
  Choose(330, 3);
  page("loc07-castle-entrance");
  Choose(150, 3);
  page("loc15-bridge-bear");
  continuePage("loc15-bear-attacks");
  continuePage("loc16-fallen-into-moat");
  Choose(110, 2, 2);
  page("loc14-moat-bank");
  Choose(110, 3);
  page("loc18-woodpile");
  continuePage("loc18-chopping");
  Choose(110, 3, 1);
  Choose(110, 1);
  page("loc08-deep-forest");
  Choose(250, 2);
  Choose(250, 2);
  page("loc10-tired-tibbet");
  Choose(230, 1);
  Choose(330, 3);
  Choose(150, 1);
  Choose(110, 1);
  page("loc17-boat-on-bank");
  continuePage("loc17-launch");
  Choose(150, 3, 1);
  page("loc17-boat-in-moat");
  Choose(150, 2);
  page("loc19-misty-glade");
  Choose(110, 1);
  page("loc20-lost-forest");
  Choose(300, 1);
  Choose(300, 1);
  page("loc22-dense-forest");
  Choose(300, 2);
  Choose(300, 1);
  Choose(300, 1);
  Choose(300, 1);
  Choose(250, 1);
  Choose(330, 1);
  Choose(130, 2);  // the bottle for the axe
  Choose(90, 2);
  Choose(150, 1);
  Choose(110, 1);
  Choose(150, 2);
  Choose(110, 2);
  page("loc23-stream-path");
  Choose(150, 1);
  page("loc24-stepping-stones");
  continuePage("loc24-ring");
  Choose(150, 3, 1);
  EXPECT_EQ(loc, 24);

  EXPECT_GE(shots.size(), 12u);
  for (const std::string& path : shots) {
    SCOPED_TRACE(path);
    // A drawn page has a picture and text: far more than a handful of colours.
    EXPECT_GT(Colours(path), 32u);
  }
}
