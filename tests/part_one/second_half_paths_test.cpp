// Part One from the mine to the vault, played in-process with the play
// harness: where the failures lead (no lantern in the cellar, the mine and
// the chute; the gorilla without the feather; the vampires; the plant; the
// switch), the swaps, the pages whose choice changes their own branch and
// the renumbered menus. The end of Part One is played by the walkthrough
// test (walkthrough_test.cpp).
#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "game/element_access.h"
#include "game/game_state.h"
#include "play_harness.h"

namespace {

using playtest::Choose;
using playtest::Continue;
using playtest::Flag;

// A new game standing on location `at` with the given flags set.
void StandAt(double at, std::initializer_list<int> flags = {}) {
  playtest::StartGame(1);
  for (int f : flags) At(obj, f) = 1;
  loc = at;
  playtest::Show();
}

int CarriedCount(std::initializer_list<int> group) {
  int n = 0;
  for (int f : group) n += Flag(f) == 1;
  return n;
}

TEST(SecondHalfPaths, WithoutTheLanternTheCellarMineAndChuteGoWrong) {
  StandAt(12);
  Choose(100, 2);  // "Go down to the cellar"
  EXPECT_EQ(loc, 13);
  StandAt(12, {7});
  Choose(100, 2);
  EXPECT_EQ(loc, 30);

  // The dark shaft: both ways end in the pit, and the pit leads out.
  for (int row : {1, 2}) {
    StandAt(27);
    Choose(90, row);
    EXPECT_EQ(loc, 28) << "row " << row;
  }
  Choose(210, 2);  // "Sulk, then make for the exit"
  EXPECT_EQ(loc, 20);
  // Lit: leave (to the page with the items), explore, examine.
  for (auto [row, to] : {std::pair{1, 25}, {2, 29}, {3, 28}}) {
    StandAt(27, {7});
    Choose(130, row);
    EXPECT_EQ(loc, to) << "row " << row;
  }

  // The chute: the dark room and back to the clearing, or the gorilla.
  StandAt(35);
  Choose(250, 2);  // "Stop to catch your breath"
  EXPECT_EQ(loc, 36);
  Continue();
  EXPECT_EQ(loc, 37);
  playtest::Show();
  Choose(90, 2, 1);  // "Grope around in the dark", its page
  EXPECT_EQ(loc, 1);
  playtest::StartGame(1);
  At(obj, 7) = 1;
  loc = 36;
  Continue();
  EXPECT_EQ(loc, 30);
}

TEST(SecondHalfPaths, TheGorillaNeedsTheFeather) {
  StandAt(30);
  Choose(110, 4);  // "Go through the gate"
  EXPECT_EQ(loc, 31);
  playtest::Show();
  Choose(110, 4);
  EXPECT_EQ(loc, 31);
  for (int row : {2, 3}) {  // "Panic", "Tell a few gorilla jokes"
    StandAt(31);
    Choose(110, row, 1);
    EXPECT_EQ(loc, 11);
  }
  EXPECT_EQ(Flag(21), 0);

  // Giving the feather turns the page over to the happy gorilla in the same
  // frame: only one menu may run, or the choice would be lost.
  StandAt(30, {20});
  const int frames = playtest::Frames();
  Choose(110, 5);  // "Give the gorilla the feather"
  EXPECT_EQ(playtest::Frames(), frames) << "a second menu presented a frame";
  EXPECT_EQ(screendrawn, 0);
  EXPECT_EQ(loc, 40);
  EXPECT_EQ(Flag(21), 1);
  EXPECT_EQ(Flag(20), 1);  // the feather stays carried
  Continue();              // the gate
  EXPECT_EQ(loc, 41);
  loc = 30;
  playtest::Show();
  Choose(110, 4);
  EXPECT_EQ(loc, 40);

  StandAt(31, {20});
  Choose(110, 5);
  EXPECT_EQ(loc, 40);
  EXPECT_EQ(Flag(21), 1);
}

TEST(SecondHalfPaths, TheFlaskPutsTheChefToSleep) {
  StandAt(34);
  Choose(70, 2, 1);  // "Enter the dark passage": chased up the steps
  EXPECT_EQ(loc, 35);

  StandAt(34, {24});
  Choose(70, 4, 1);  // "Give him the flask"
  EXPECT_EQ(screendrawn, 0);
  EXPECT_EQ(loc, 34);
  EXPECT_EQ(Flag(25), 1);
  EXPECT_EQ(Flag(24), 1);
  playtest::Show();
  Choose(70, 2);
  EXPECT_EQ(loc, 44);
}

TEST(SecondHalfPaths, TheSwitchSetsThePlantAndTheGarden) {
  // Hot: the plant catches the player whether examined or passed.
  for (int row : {1, 3}) {
    StandAt(45);
    Choose(210, row);
    EXPECT_EQ(loc, 46) << "row " << row;
  }
  playtest::Show();
  Choose(110, 1, 1);  // "Make a run for it": still caught
  EXPECT_EQ(loc, 46);
  playtest::Show();
  Choose(110, 2, 1);  // "Ask Tibbet for help"
  EXPECT_EQ(loc, 45);

  StandAt(44);
  Choose(110, 1, 1);  // "Throw the switch"
  EXPECT_EQ(loc, 44);
  EXPECT_EQ(Flag(26), 1);
  loc = 45;
  playtest::Show();
  Choose(210, 1, 1);  // the sluggish plant, then the conservatory again
  EXPECT_EQ(loc, 45);
  playtest::Show();
  Choose(210, 3);
  EXPECT_EQ(loc, 47);

  // A second throw brings the heat back.
  loc = 44;
  playtest::Show();
  Choose(110, 1, 1);
  EXPECT_EQ(Flag(26), 0);
  loc = 45;
  playtest::Show();
  Choose(210, 3);
  EXPECT_EQ(loc, 46);
  loc = 45;
  playtest::Show();
  Choose(210, 2);  // "Enter the Hollowmere"
  EXPECT_EQ(loc, 44);
}

TEST(SecondHalfPaths, TheCatTakesOnlyTheHerring) {
  StandAt(47, {19});  // the pepper pot: two options only
  Choose(110, 2);
  EXPECT_EQ(loc, 16);
  StandAt(47, {17});
  Choose(110, 3, 1);  // "Offer some milk"
  EXPECT_EQ(loc, 16);
  EXPECT_EQ(Flag(17), 1);
  StandAt(47, {18});
  Choose(110, 3, 1);  // "Offer the red herring"
  EXPECT_EQ(loc, 48);
  EXPECT_EQ(Flag(18), 1);
}

TEST(SecondHalfPaths, FillingKeepsEachOptionItsMeaning) {
  struct Case {
    std::initializer_list<int> carried;
    int row;
    double water;
  };
  // Row 3 is the bucket when the bottle is not carried.
  for (const Case& c : {Case{{11}, 3, 1}, Case{{1}, 3, 0}, Case{{1, 11}, 3, 0}, Case{{1, 11}, 4, 1}}) {
    StandAt(48, c.carried);
    Choose(130, c.row, 1);
    EXPECT_EQ(loc, 48) << "row " << c.row;
    EXPECT_EQ(Flag(28), c.water) << "row " << c.row << " with " << c.carried.size() << " items";
  }
  StandAt(48);
  Choose(130, 2);  // "Go for a swim"
  EXPECT_EQ(loc, 16);
}

TEST(SecondHalfPaths, OnlyTheMurkyWaterStopsTheVampires) {
  StandAt(49);
  Choose(110, 2, 1);  // "Look menacing"
  EXPECT_EQ(loc, 49);
  playtest::Show();
  Choose(110, 1);
  EXPECT_EQ(loc, 44);

  struct Case {
    std::initializer_list<int> carried;
    int row;
    double destroyed;
  };
  // Row 3 is the water when the garlic is not carried.
  for (const Case& c : {Case{{6}, 3, 0}, Case{{28}, 3, 1}, Case{{6, 28}, 3, 0}, Case{{6, 28}, 4, 1}}) {
    StandAt(49, c.carried);
    Choose(110, c.row, 1);
    EXPECT_EQ(screendrawn, 0);
    EXPECT_EQ(loc, 49);
    EXPECT_EQ(Flag(29), c.destroyed) << "row " << c.row << " with " << c.carried.size() << " items";
  }
  // The remains page, then the hall and its stairs.
  playtest::Show();
  Choose(110, 1);  // "Enter the hall"
  EXPECT_EQ(loc, 50);
  playtest::Show();
  Choose(170, 4);  // "Go up the wide stairs"
  EXPECT_EQ(loc, 52);
  EXPECT_EQ(loaded, 50);
  playtest::Show();
  Choose(130, 3);  // "Go down the dark stairs"
  EXPECT_EQ(loc, 51);
  playtest::Show();
  Choose(110, 1);  // "Climb the steps"
  EXPECT_EQ(loc, 50);
  loc = 49;
  playtest::Show();
  Choose(110, 2);  // "Go down the passage"
  EXPECT_EQ(loc, 44);
}

TEST(SecondHalfPaths, SwapsKeepOneItemOfEachGroup) {
  StandAt(25);
  Choose(150, 1);  // "Take nothing"
  EXPECT_EQ(loc, 26);
  EXPECT_EQ(CarriedCount({7, 8, 9}), 0);
  StandAt(25, {7});
  Choose(130, 3);  // "Take the empty sack"
  EXPECT_EQ(loc, 26);
  EXPECT_EQ(Flag(9), 1);
  EXPECT_EQ(CarriedCount({7, 8, 9}), 1);

  StandAt(29);
  Choose(170, 2);  // "Take the gold coin": stays
  EXPECT_EQ(loc, 29);
  EXPECT_EQ(Flag(10), 1);
  playtest::Show();
  Choose(210, 2);  // "Take the old bucket"
  EXPECT_EQ(Flag(10), 0);
  EXPECT_EQ(Flag(11), 1);
  playtest::Show();
  Choose(210, 1);  // "Retrace your steps"
  EXPECT_EQ(loc, 27);

  StandAt(41, {23});
  Choose(150, 2);  // "Take some powder keg"
  EXPECT_EQ(loc, 42);
  EXPECT_EQ(Flag(22), 1);
  EXPECT_EQ(Flag(23), 0);

  StandAt(33, {18});
  Choose(90, 1);  // "Keep the herring"
  EXPECT_EQ(loc, 34);
  EXPECT_EQ(Flag(18), 1);
  EXPECT_EQ(CarriedCount({17, 18, 19}), 1);
}

TEST(SecondHalfPaths, FeatherAndRing) {
  StandAt(38);
  Choose(170, 4, 1);  // "Take the feather"
  EXPECT_EQ(loc, 38);
  EXPECT_EQ(Flag(20), 1);
  playtest::Show();
  Choose(170, 2);  // "Climb onto the ledge"
  EXPECT_EQ(loc, 39);
  Continue();
  EXPECT_EQ(loc, 16);

  StandAt(43, {13, 23});
  Choose(280, 2, 1);  // "Grin inanely"
  EXPECT_EQ(loc, 43);
  playtest::Show();
  Choose(280, 3, 1);  // "Give him the ring"
  EXPECT_EQ(loc, 8);
  EXPECT_EQ(Flag(24), 1);
  EXPECT_EQ(Flag(13), 1);
}

TEST(SecondHalfPaths, WithoutTheKeyTheSkeletonStaysChained) {
  StandAt(51);
  for (int row : {2, 3}) {  // "Explore the vault", "Examine the skeleton"
    Choose(110, row, 1);
    EXPECT_EQ(loc, 51);
    playtest::Show();
  }
  // Without the key there is no fourth option; with it, "Unchain the
  // skeleton" stands there from the page's first frame.
  EXPECT_EQ(At(optwide, 4), 0);
  StandAt(51, {5});
  EXPECT_GT(At(optwide, 4), 0);
}

}  // namespace
