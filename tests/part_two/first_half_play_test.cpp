// Part Two's first half played with the mouse through the main loop pass:
// from the part selection and the opening story through the dungeon, the
// maze and its four exits, the padlock, the store room, the spider, the
// tower room and the coffin cellar, to the stable door; and the pages whose
// choice changes the flag that picked their own menu.
#include <gtest/gtest.h>

#include "core/basic_array.h"
#include "game/element_access.h"
#include "game/game_state.h"
#include "first_half_support.h"
#include "play_harness.h"

namespace {

using firsthalf::FlagsAre;
using firsthalf::StartAt;
using playtest::Choose;
using playtest::Continue;
using playtest::Show;

// Moves inside the maze, by option number; the cell and loc after each.
void Walk(std::initializer_list<std::pair<int, int>> moves) {
  for (const auto& [row, cell] : moves) {
    const double from = mazeloc;
    Choose(130, row);
    ASSERT_EQ(loc, 3) << "option " << row << " from cell " << from;
    ASSERT_EQ(mazeloc, cell) << "option " << row << " from cell " << from;
  }
}

TEST(PartTwoFirstHalf, FromThePartSelectionToTheStableDoor) {
  // The end of Part One left the marker: the game offers both parts.
  playtest::StartGame(1);
  firsthalf::PutSaveMarker("5093176\r\n");
  firsthalf::ChoosePartRow(2);
  ASSERT_EQ(part, 2);
  EXPECT_EQ(loc, 1);
  EXPECT_EQ(screendrawn, 0);
  playtest::RunIntro(6);
  EXPECT_EQ(loc, 1);
  EXPECT_EQ(loaded, 0);
  EXPECT_EQ(maxkern, 440);
  EXPECT_TRUE(FlagsAre({}));

  // Dungeon floor: nothing carried, menu at 230. Take the file.
  Show();
  EXPECT_EQ(loaded, 1);
  Choose(230, 3);
  EXPECT_EQ(loc, 2);
  EXPECT_TRUE(FlagsAre({{2, 1}}));
  EXPECT_EQ(maxkern, 640);
  Choose(150, 1);  // Enter the passage
  EXPECT_EQ(loc, 3);
  EXPECT_EQ(mazeloc, 3);

  // North exit of cell 3, back to the dungeon floor; the cell stays 3.
  Choose(130, 1);
  EXPECT_EQ(loc, 1);
  EXPECT_EQ(mazeloc, 3);
  Choose(210, 1);  // Keep the file (menu 20 higher with an item carried)
  EXPECT_EQ(loc, 2);
  EXPECT_TRUE(FlagsAre({{2, 1}}));
  Choose(150, 1);
  ASSERT_EQ(mazeloc, 3);

  // East exit of cell 8, to the cellar table.
  Walk({{2, 7}, {3, 8}});
  Choose(130, 3);
  EXPECT_EQ(loc, 10);
  EXPECT_EQ(mazeloc, 8);
  Choose(210, 3);  // Take the mirror
  EXPECT_EQ(loc, 11);
  EXPECT_TRUE(FlagsAre({{2, 1}, {12, 1}}));
  // The coffin without the egg: the Count rings for help and the floor
  // opens; the salt cellar leads back to the dungeon.
  Choose(170, 3, 2);  // Open the coffin
  EXPECT_EQ(loc, 23);
  EXPECT_TRUE(FlagsAre({{2, 1}, {12, 1}}));
  Choose(130, 2);  // Explore the cellar
  EXPECT_EQ(loc, 24);
  Choose(90, 2);  // Enter the dungeon
  EXPECT_EQ(loc, 1);
  Choose(210, 1);
  Choose(150, 1);
  EXPECT_EQ(mazeloc, 3);

  // South exit of cell 15, to the pit.
  Walk({{2, 7}, {2, 11}, {2, 15}});
  Choose(130, 2);
  EXPECT_EQ(loc, 4);
  EXPECT_EQ(mazeloc, 15);

  // The padlock: the door is shut, then the file cuts it off and the
  // player goes straight into the store room.
  Choose(130, 2, 1);
  EXPECT_EQ(loc, 4);
  EXPECT_TRUE(FlagsAre({{2, 1}, {12, 1}}));
  Choose(130, 3, 1);
  EXPECT_EQ(loc, 5);
  EXPECT_TRUE(FlagsAre({{2, 1}, {7, 1}, {12, 1}}));

  // Store room: swaps stay in the room.
  Choose(170, 2);  // Take the basket
  EXPECT_EQ(loc, 5);
  EXPECT_TRUE(FlagsAre({{2, 1}, {7, 1}, {8, 1}, {12, 1}}));
  Choose(150, 3);  // Take the pegs: the basket is left here
  EXPECT_EQ(loc, 5);
  EXPECT_TRUE(FlagsAre({{2, 1}, {7, 1}, {10, 1}, {12, 1}}));
  Choose(150, 1);  // Leave the store room
  EXPECT_EQ(loc, 4);
  Choose(130, 2);  // Enter the store: open now
  EXPECT_EQ(loc, 5);
  Choose(150, 1);
  EXPECT_EQ(loc, 4);
  Choose(130, 1);  // Return to the maze
  EXPECT_EQ(loc, 3);
  EXPECT_EQ(mazeloc, 15);

  // West exit of cell 9, to the dusty passage; the spider sends the player
  // back to cell 9 both ways.
  Walk({{4, 14}, {1, 10}, {4, 9}});
  Choose(130, 4);
  EXPECT_EQ(loc, 6);
  EXPECT_EQ(mazeloc, 9);
  Choose(110, 1);  // Go along the passage
  EXPECT_EQ(loc, 7);
  Choose(90, 1);  // Get out quick
  EXPECT_EQ(loc, 3);
  EXPECT_EQ(mazeloc, 9);
  Choose(130, 4);
  Choose(110, 1);
  EXPECT_EQ(loc, 7);
  Choose(90, 2, 1);  // Ignore the spider
  EXPECT_EQ(loc, 3);
  EXPECT_EQ(mazeloc, 9);
  EXPECT_TRUE(FlagsAre({{2, 1}, {7, 1}, {10, 1}, {12, 1}}));

  // Up to the tower room for the thread.
  Walk({{3, 10}, {3, 11}, {3, 12}, {1, 8}});
  Choose(130, 3);
  EXPECT_EQ(loc, 10);
  Choose(190, 1);  // Keep the mirror
  EXPECT_EQ(loc, 11);
  EXPECT_TRUE(FlagsAre({{2, 1}, {7, 1}, {10, 1}, {12, 1}}));
  Choose(170, 1);  // Climb up the steps
  EXPECT_EQ(loc, 12);
  Choose(130, 3);  // Take the thread: the room again, without it
  EXPECT_EQ(loc, 12);
  EXPECT_TRUE(FlagsAre({{2, 1}, {7, 1}, {10, 1}, {12, 1}, {14, 1}}));
  Choose(110, 2);  // Examine the window: shut, no crowbar
  EXPECT_EQ(loc, 13);
  Continue();
  EXPECT_EQ(loc, 12);
  EXPECT_TRUE(FlagsAre({{2, 1}, {7, 1}, {10, 1}, {12, 1}, {14, 1}}));
  Choose(110, 1);  // Go down the steps: the table, never the coffin
  EXPECT_EQ(loc, 10);
  Choose(190, 1);
  Choose(170, 2);
  EXPECT_EQ(loc, 3);
  EXPECT_EQ(mazeloc, 8);

  // The spider takes the thread and the passage opens.
  Walk({{2, 12}, {3, 11}, {4, 10}});
  Walk({{4, 9}});
  Choose(130, 4);
  Choose(110, 1);
  EXPECT_EQ(loc, 7);
  Choose(70, 3, 1);  // Give him the thread
  EXPECT_EQ(loc, 8);
  EXPECT_TRUE(FlagsAre({{2, 1}, {7, 1}, {10, 1}, {12, 1}, {14, 1}, {22, 1}}));
  Choose(110, 2);  // Go along the passage
  EXPECT_EQ(loc, 6);
  Choose(110, 1);  // straight past the spider now
  EXPECT_EQ(loc, 8);
  Choose(110, 3);  // Look into the pit
  EXPECT_EQ(loc, 9);
  Continue();
  EXPECT_EQ(loc, 4);

  // Back through the maze to the dungeon, the tunnel, the drain and the
  // courtyard.
  Choose(130, 1);
  Walk({{1, 11}, {1, 7}, {1, 3}});
  Choose(130, 1);
  EXPECT_EQ(loc, 1);
  Choose(210, 1);
  Choose(150, 2);  // Enter the tunnel
  EXPECT_EQ(loc, 14);
  Choose(160, 1);  // Enter the dungeon
  EXPECT_EQ(loc, 1);
  Choose(210, 1);
  Choose(150, 2);
  Choose(160, 2);  // Climb up the ladder
  EXPECT_EQ(loc, 15);
  Choose(110, 3);  // Explore the courtyard
  EXPECT_EQ(loc, 16);
  Choose(90, 3);
  EXPECT_EQ(loc, 15);
  Choose(110, 3);
  Choose(90, 1);  // Go down the mousehole
  EXPECT_EQ(loc, 14);
  Choose(160, 2);
  Choose(110, 2);  // Enter the stable
  EXPECT_EQ(loc, 17);
  EXPECT_TRUE(FlagsAre({{2, 1}, {7, 1}, {10, 1}, {12, 1}, {14, 1}, {22, 1}}));
  firsthalf::PutSaveMarker(nullptr);
}

TEST(PartTwoFirstHalf, DungeonSwapsKeepOneItem) {
  StartAt(1);
  Choose(230, 2);  // Take the tongs
  EXPECT_TRUE(FlagsAre({{1, 1}}));
  loc = 1;
  Choose(210, 3);  // with the tongs: Take the knife
  EXPECT_EQ(loc, 2);
  EXPECT_TRUE(FlagsAre({{3, 1}}));
  loc = 1;
  Choose(210, 3);  // with the knife: Take the file
  EXPECT_TRUE(FlagsAre({{2, 1}}));
  loc = 1;
  Choose(210, 1);  // Keep the file
  EXPECT_TRUE(FlagsAre({{2, 1}}));
  loc = 1;
  Choose(210, 3);  // with the file: Take the knife
  EXPECT_TRUE(FlagsAre({{3, 1}}));
  loc = 1;
  Choose(210, 2);  // with the knife: Take the tongs
  EXPECT_TRUE(FlagsAre({{1, 1}}));
}

TEST(PartTwoFirstHalf, PitWithTheLadder) {
  // Without the file the ladder stands third and still climbs.
  StartAt(4, {28});
  Choose(130, 3);
  EXPECT_EQ(loc, 26);
  EXPECT_TRUE(FlagsAre({{28, 1}}));
  // With the file: 3 cuts the padlock (and goes in), 4 climbs.
  StartAt(4, {2, 28});
  Choose(130, 4);
  EXPECT_EQ(loc, 26);
  EXPECT_TRUE(FlagsAre({{2, 1}, {28, 1}}));
  StartAt(4, {2, 28});
  Choose(130, 3, 1);
  EXPECT_EQ(loc, 5);
  EXPECT_TRUE(FlagsAre({{2, 1}, {7, 1}, {28, 1}}));
  // Padlock gone: the ladder is option 3.
  StartAt(4, {7, 28});
  Choose(130, 3);
  EXPECT_EQ(loc, 26);
}

TEST(PartTwoFirstHalf, StoreRoomHissingBasketSwap) {
  StartAt(5, {8, 23});
  Choose(150, 2);  // Take the barrel: the basket goes back
  EXPECT_EQ(loc, 5);
  EXPECT_TRUE(FlagsAre({{9, 1}, {23, 1}}));
  Choose(150, 2);  // Take the basket
  EXPECT_TRUE(FlagsAre({{8, 1}, {23, 1}}));
  Choose(150, 1);  // Leave the store room
  EXPECT_EQ(loc, 4);
  EXPECT_TRUE(FlagsAre({{8, 1}, {23, 1}}));
}

TEST(PartTwoFirstHalf, CoffinWithoutTheEggRingsTheBell) {
  StartAt(10);
  Choose(210, 1);  // Take nothing
  EXPECT_EQ(loc, 11);
  Choose(170, 3, 2);  // Open the coffin: the Count, then the fall
  EXPECT_EQ(loc, 23);
  EXPECT_TRUE(FlagsAre({}));
  StartAt(11);
  Choose(170, 4, 1);  // Tug the bell-rope
  EXPECT_EQ(loc, 23);
  EXPECT_TRUE(FlagsAre({}));
}

TEST(PartTwoFirstHalf, EggInTheCoffinLeadsBackToTheTable) {
  // The egg sets the flag that picked the menu: one page, then location 10.
  StartAt(11, {10, 24});
  Choose(170, 3, 1);
  EXPECT_EQ(loc, 10);
  EXPECT_TRUE(FlagsAre({{10, 1}, {24, 1}, {25, 1}, {34, 1}}));
  // With the pegs the table page stands 60 lower.
  Choose(270, 4);  // Take the glue
  EXPECT_EQ(loc, 11);
  EXPECT_TRUE(FlagsAre({{10, 1}, {13, 1}, {24, 1}, {25, 1}, {34, 1}}));
  Choose(170, 4);  // Take the cape: the cellar again
  EXPECT_EQ(loc, 11);
  EXPECT_TRUE(FlagsAre({{10, 1}, {13, 1}, {24, 1}, {25, 1}, {26, 1}, {34, 1}}));
  Choose(130, 2);  // Enter the maze
  EXPECT_EQ(loc, 3);
  EXPECT_EQ(mazeloc, 8);
  Choose(130, 3);
  Choose(250, 1);  // Keep the glue
  EXPECT_EQ(loc, 11);
  Choose(130, 3, 1);  // Tug the bell-rope
  EXPECT_EQ(loc, 23);
}

TEST(PartTwoFirstHalf, StenchSendsAPlayerWithoutPegsIntoTheMaze) {
  StartAt(10, {25, 34}, 0);
  Continue();  // the smell page, no menu
  EXPECT_EQ(loc, 3);
  EXPECT_EQ(mazeloc, 8);
  EXPECT_EQ(opt, 0);
  EXPECT_TRUE(FlagsAre({{25, 1}, {34, 1}}));
}

TEST(PartTwoFirstHalf, CrowbarLeversTheWindow) {
  StartAt(12, {6});
  Choose(130, 2);  // Examine the window
  EXPECT_EQ(loc, 13);
  Choose(110, 3);  // Examine the room
  EXPECT_EQ(loc, 12);
  Choose(130, 2);
  Choose(110, 2);  // Go down the steps
  EXPECT_EQ(loc, 10);
  StartAt(13, {6});
  Choose(110, 1, 1);  // Lever the window open
  EXPECT_EQ(loc, 12);
  EXPECT_TRUE(FlagsAre({{6, 1}, {15, 1}}));
  Choose(150, 3);  // Take the thread (open window: menu at 150)
  EXPECT_TRUE(FlagsAre({{6, 1}, {14, 1}, {15, 1}}));
  Choose(130, 2);  // Climb onto the ledge
  EXPECT_EQ(loc, 18);
}

TEST(PartTwoFirstHalf, LowPassageStepsLeadUp) {
  StartAt(8);
  Choose(110, 1);
  EXPECT_EQ(loc, 27);
  StartAt(6, {22});
  Choose(110, 2);
  EXPECT_EQ(loc, 3);
  EXPECT_EQ(mazeloc, 9);
}

}  // namespace
