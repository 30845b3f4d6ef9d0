// Part One from the opening story through locations 1 to 24, played through
// the main loop pass with injected clicks: the location and the flags after
// every step, the item swaps of the log cabin, the falls and dead ends, and
// the pages whose choice changes the flag that picked the page's branch.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <utility>

#include "core/basic_array.h"
#include "game/element_access.h"
#include "game/game_state.h"
#include "play_harness.h"

using namespace playtest;

namespace {

// Flags expected set; every other Part One flag must be 0.
void ExpectFlags(std::initializer_list<int> set, const char* where) {
  const Snapshot s = Snap();
  for (int i = 0; i < 50; ++i) {
    const bool want = std::find(set.begin(), set.end(), i) != set.end();
    EXPECT_EQ(s.obj[size_t(i)], want ? 1 : 0) << "obj[" << i << "] at " << where;
  }
}

// A new game at location 1 with its page drawn, opening story skipped.
void NewGameAtClearing() {
  StartGame(1);
  Show();
  ASSERT_EQ(loc, 1);
}

// Walks a list of (menu y, row) choices and checks the location after each.
struct Step {
  double menuY;
  int row;
  double to;
  int continues = 0;
};
void Walk(std::initializer_list<Step> steps) {
  for (const Step& s : steps) {
    const double from = loc;
    Choose(s.menuY, s.row, s.continues);
    ASSERT_EQ(loc, s.to) << "row " << s.row << " at y " << s.menuY << " from " << from;
  }
}

}  // namespace

TEST(PartOneFirstHalf, OpeningStoryLeadsToTheClearing) {
  StartGame(1);
  ExpectFlags({}, "the start");
  const int before = Frames();
  RunIntro(6);
  EXPECT_GE(Frames() - before, 12) << "each page waits for a press and a release";
  EXPECT_EQ(loc, 1);
  EXPECT_EQ(loaded, 0) << "the opening story keeps its pictures out of the location sets";
  Show();
  EXPECT_EQ(loaded, 1);
  EXPECT_EQ(screendrawn, 1);
  ExpectFlags({}, "location 1");
}

TEST(PartOneFirstHalf, EveryLocationOfTheFirstHalf) {
  StartGame(1);
  RunIntro(6);

  // The tree, its key and its view; the owl flies at the first choice.
  Walk({{330, 2, 4}});
  EXPECT_EQ(Flag(0), 0);
  Walk({{270, 2, 5}});
  ExpectFlags({0}, "up the tree");
  EXPECT_EQ(loaded, 4);
  Walk({{190, 3, 6}});
  Continue();  // the view: no menu, back to the branch
  EXPECT_EQ(loc, 5);
  EXPECT_EQ(loaded, 4);
  Walk({{190, 1, 5}});
  ExpectFlags({0, 5}, "key taken");
  Walk({{150, 1, 4}, {270, 1, 1}});

  // The log cabin: take the axe; its owner comes home.
  Walk({{330, 1, 2}, {150, 4, 3}});
  ExpectFlags({0, 3, 5}, "axe taken");
  EXPECT_EQ(loaded, 2);

  // The hut, its garlic, the trapdoor and the dark cellar.
  Walk({{90, 3, 11}, {150, 3, 11}});
  ExpectFlags({0, 3, 5, 6}, "garlic taken");
  Walk({{110, 2, 12}, {100, 2, 13}});
  EXPECT_EQ(loaded, 11) << "the cellar keeps the hut's pictures";
  Walk({{90, 2, 11, 1}});  // panic
  Walk({{110, 2, 12}, {100, 2, 13}, {90, 3, 11, 1}});  // grope around
  Walk({{110, 2, 12}, {100, 2, 13}, {90, 1, 11}, {110, 1, 1}});

  // The bridge: the bear sends you back or into the moat.
  Walk({{330, 3, 7}, {150, 3, 15}, {110, 1, 7}, {150, 3, 15}});
  Walk({{110, 2, 14, 2}});  // the bear's page, then the fall's page
  ExpectFlags({0, 3, 5, 6}, "out of the moat");

  // The woodpile with the axe: logs, once.
  Walk({{110, 3, 18}, {110, 3, 18, 1}});
  ExpectFlags({0, 3, 5, 6, 15}, "logs chopped");
  Walk({{110, 2, 1}});

  // Round the moat to the boat: launch it with the logs.
  Walk({{330, 3, 7}, {150, 1, 14}, {110, 1, 17}, {150, 3, 17, 1}});
  ExpectFlags({0, 3, 5, 6, 15, 16}, "boat launched");

  // The glade and the lost forest, which always leads out to the deep forest.
  Walk({{150, 2, 19}, {110, 1, 20}, {300, 2, 20}, {300, 1, 21}, {300, 2, 20}});
  Walk({{300, 1, 21}, {300, 1, 22}, {300, 2, 20}, {300, 1, 21}, {300, 1, 22}, {300, 1, 8}});
  EXPECT_EQ(loaded, 8);

  // The deep forest ring; without the shovel no snow is cleared.
  Walk({{250, 2, 9}, {250, 2, 10}, {230, 2, 8}, {250, 1, 1}});

  // Swap the axe for the shovel, then dig out the rope.
  Walk({{330, 1, 2}, {130, 3, 3}});
  ExpectFlags({0, 2, 5, 6, 15, 16}, "axe swapped for the shovel");
  Walk({{90, 1, 8}, {250, 2, 9}, {250, 2, 10}, {230, 3, 10, 1}});
  ExpectFlags({0, 2, 5, 6, 14, 15, 16}, "rope found");
  Walk({{230, 1, 1}});

  // Swap the shovel for the bottle; fill it at the stepping stones.
  Walk({{330, 1, 2}, {130, 2, 3}, {90, 2, 7}, {150, 1, 14}, {110, 1, 17}});
  Walk({{150, 2, 19}, {110, 2, 23}, {150, 1, 24}, {150, 3, 24, 1}});
  ExpectFlags({0, 1, 5, 6, 12, 13, 14, 15, 16}, "bottle filled, ring found");
  Walk({{150, 2, 23}, {150, 2, 19}, {110, 3, 18}});
  EXPECT_EQ(Flag(3), 0);
  Walk({{110, 1, 8}, {250, 1, 1}, {330, 3, 7}, {150, 1, 14}, {110, 1, 17}, {150, 2, 19}});
  Walk({{110, 2, 23}, {150, 1, 24}, {150, 1, 20}});

  // The ways on into the second half: the boat and the twisty path.
  Walk({{300, 1, 21}, {300, 1, 22}, {300, 1, 8}, {250, 1, 1}, {330, 3, 7}, {150, 1, 14}});
  Walk({{110, 1, 17}, {150, 3, 32}});
  ExpectFlags({0, 1, 5, 6, 12, 13, 14, 15, 16}, "aboard the boat");
}

TEST(PartOneFirstHalf, CabinSwapsKeepOneItemAndTheFilledBottle) {
  NewGameAtClearing();
  // Nothing carried: "Take nothing" takes nothing.
  Walk({{330, 1, 2}, {150, 1, 3}, {90, 3, 11}, {150, 1, 1}});
  ExpectFlags({}, "nothing taken");
  // Take the hacksaw (row 5), keep it (row 1), swap it for the bottle.
  Walk({{330, 1, 2}, {150, 5, 3}});
  ExpectFlags({4}, "hacksaw");
  Walk({{90, 3, 11}, {150, 1, 1}, {330, 1, 2}, {130, 1, 3}});
  ExpectFlags({4}, "hacksaw kept");
  Walk({{90, 3, 11}, {150, 1, 1}, {330, 1, 2}, {130, 2, 3}});
  ExpectFlags({1}, "bottle for the hacksaw");
  // Each carried item's menu names the others in order.
  for (auto [row, flag] : {std::pair{3, 3}, std::pair{4, 4}}) {
    Walk({{90, 3, 11}, {150, 1, 1}, {330, 1, 2}, {130, row, 3}});
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(Flag(i), i == flag ? 1 : 0) << "row " << row;
  }
  // A filled bottle swapped away and taken again stays filled.
  Walk({{90, 3, 11}, {150, 1, 1}, {330, 1, 2}, {130, 2, 3}});
  ExpectFlags({1}, "bottle again");
  At(obj, 12) = 1;
  Walk({{90, 3, 11}, {150, 1, 1}, {330, 1, 2}, {130, 2, 3}});
  ExpectFlags({2, 12}, "filled bottle left at the cabin");
  Walk({{90, 3, 11}, {150, 1, 1}, {330, 1, 2}, {130, 2, 3}});
  ExpectFlags({1, 12}, "filled bottle taken again");
}

TEST(PartOneFirstHalf, FramesWithoutChoiceChangeNothing) {
  NewGameAtClearing();
  Walk({{330, 1, 2}});
  Show();
  const Snapshot before = Snap();
  const int frames = Frames();
  Show(5);
  EXPECT_EQ(Frames() - frames, 5) << "one frame per pass";
  const Snapshot after = Snap();
  EXPECT_EQ(after.loc, before.loc);
  EXPECT_EQ(after.obj, before.obj);
  EXPECT_EQ(screendrawn, 1);
  EXPECT_EQ(opt, 0);
}

// Pages whose choice changes the flag that picked the page's branch: the
// choosing pass must present no menu frame of the other branch.

TEST(PartOneExclusiveBranches, EveryChoiceAtTheLoneTree) {
  for (auto [row, to] : {std::pair{1, 1.0}, std::pair{2, 5.0}, std::pair{3, 14.0}}) {
    SCOPED_TRACE(row);
    NewGameAtClearing();
    Walk({{330, 2, 4}});
    Show();
    EXPECT_EQ(maxkern, 400) << "the owl's text is wrapped narrower";
    const int frames = Frames();
    Choose(270, row);
    EXPECT_EQ(Frames(), frames) << "a menu frame ran after the choice";
    EXPECT_EQ(loc, to);
    EXPECT_EQ(Flag(0), 1);
    EXPECT_EQ(screendrawn, 0);
    EXPECT_EQ(maxkern, 640);
  }
  // The owl gone: two options in the same place.
  Walk({{110, 2, 7}, {150, 2, 1}, {330, 2, 4}, {270, 2, 5}});
  Walk({{190, 2, 4}, {270, 1, 1}});
}

TEST(PartOneExclusiveBranches, TakingTheSkeletonKey) {
  NewGameAtClearing();
  Walk({{330, 2, 4}, {270, 2, 5}});
  Show();
  const int frames = Frames();
  Choose(190, 1);
  EXPECT_EQ(Frames(), frames) << "the no-key menu ran in the same call";
  EXPECT_EQ(loc, 5);
  EXPECT_EQ(Flag(5), 1);
  EXPECT_EQ(screendrawn, 0);
  // The redrawn page has the two-option menu at y 150.
  Walk({{150, 2, 6}});
  Continue();
  Walk({{150, 1, 4}});
}

TEST(PartOneExclusiveBranches, LaunchingTheBoat) {
  NewGameAtClearing();
  Walk({{330, 3, 7}, {150, 1, 14}, {110, 1, 17}});
  // Without logs: the failed launch, again and again.
  for (int i = 0; i < 2; ++i) {
    Walk({{150, 3, 17, 1}});
    EXPECT_EQ(Flag(16), 0);
  }
  // With logs.
  Walk({{150, 2, 19}, {110, 3, 18}});
  EXPECT_EQ(Flag(3), 0);
  Walk({{110, 2, 1}, {330, 1, 2}, {150, 4, 3}, {90, 2, 7}, {150, 1, 14}, {110, 3, 18}});
  Walk({{110, 3, 18, 1}, {110, 2, 1}, {330, 3, 7}, {150, 1, 14}, {110, 1, 17}});
  Show();
  const int frames = Frames();
  Choose(150, 3, 1);
  EXPECT_EQ(Frames() - frames, 2) << "only the launch page's frames, no menu of the boat afloat";
  EXPECT_EQ(loc, 17);
  EXPECT_EQ(Flag(16), 1);
  EXPECT_EQ(Flag(15), 1) << "the logs stay carried";
  EXPECT_EQ(screendrawn, 0);
  Walk({{150, 3, 32}});
}

TEST(PartOneExclusiveBranches, TakingTheGarlicAndFillingTheBottle) {
  NewGameAtClearing();
  Walk({{330, 1, 2}, {150, 2, 3}, {90, 3, 11}});
  Show();
  int frames = Frames();
  Choose(150, 3);
  EXPECT_EQ(Frames(), frames);
  EXPECT_EQ(Flag(6), 1);
  EXPECT_EQ(loc, 11);
  Walk({{110, 2, 12}, {100, 1, 1}, {330, 3, 7}, {150, 1, 14}, {110, 1, 17}, {150, 2, 19}});
  Walk({{110, 2, 23}, {150, 1, 24}});
  Show();
  frames = Frames();
  Choose(150, 3, 1);
  EXPECT_EQ(Frames() - frames, 2);
  EXPECT_EQ(Flag(12), 1);
  EXPECT_EQ(Flag(13), 1);
  EXPECT_EQ(loc, 24);
  Walk({{150, 2, 23}});
}

TEST(PartOneFirstHalf, CompassLeadsThroughTheForestToTheCrab) {
  // The compass and the flask come from the second half.
  NewGameAtClearing();
  Walk({{330, 3, 7}, {150, 1, 14}, {110, 1, 17}, {150, 2, 19}});
  At(obj, 23) = 1;
  Walk({{110, 1, 20}, {300, 2, 20}, {300, 1, 21}, {300, 1, 22}, {300, 1, 43}});
  NewGameAtClearing();
  Walk({{330, 3, 7}, {150, 1, 14}, {110, 1, 17}, {150, 2, 19}});
  At(obj, 23) = 1;
  At(obj, 24) = 1;
  Walk({{110, 1, 20}, {300, 1, 21}, {300, 1, 22}, {300, 1, 8}});
}

TEST(PartOneFirstHalf, EscapeOnTheOwlPageKeepsItsMargin) {
  // The margin is set back only after a choice, so a restart from the owl's
  // first page leaves it narrow for the next game's first pages.
  NewGameAtClearing();
  Walk({{330, 2, 4}});
  Show();
  EXPECT_EQ(maxkern, 400);
  EXPECT_TRUE(Escape());
  EXPECT_EQ(maxkern, 400);
  EXPECT_EQ(loc, 4);
  EXPECT_EQ(Flag(0), 0) << "no choice was made";
}
