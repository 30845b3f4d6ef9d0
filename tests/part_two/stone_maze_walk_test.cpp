// The stone maze walked through the main loop pass: every option of every
// cell, the chessboard of its two pictures, and the pages that send the
// player in.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <map>
#include <vector>

#include "game/game_state.h"
#include "first_half_support.h"
#include "play_harness.h"

namespace {

using firsthalf::FlagsAre;
using firsthalf::StartAt;
using playtest::Choose;
using playtest::Show;

// Where the options of a cell lead, in menu order: a cell of the maze, or
// (negative) the location an exit leaves for.
const std::map<int, std::vector<int>> kCellOptions = {
    {1, {5, 2}},           {2, {6, 3, 1}},       {3, {-1, 7, 4, 2}},    {4, {8, 3}},
    {5, {1, 9, 6}},        {6, {2, 10, 7, 5}},   {7, {3, 11, 8, 6}},    {8, {4, 12, -10, 7}},
    {9, {5, 13, 10, -6}},  {10, {6, 14, 11, 9}}, {11, {7, 15, 12, 10}}, {12, {8, 16, 11}},
    {13, {9, 14}},         {14, {10, 15, 13}},   {15, {11, -4, 16, 14}}, {16, {12, 15}},
};

TEST(StoneMaze, EveryOptionOfEveryCell) {
  int exits = 0;
  StartAt(3, {}, 1);
  for (const auto& [cell, targets] : kCellOptions) {
    for (size_t k = 0; k < targets.size(); ++k) {
      SCOPED_TRACE("cell " + std::to_string(cell) + " option " + std::to_string(k + 1));
      // Standing in the cell as an entry leaves the player there.
      loc = 3;
      mazeloc = cell;
      Choose(130, int(k) + 1);
      if (targets[k] > 0) {
        EXPECT_EQ(loc, 3);
        EXPECT_EQ(mazeloc, targets[k]);
      } else {
        // An exit leaves the cell number as it was.
        EXPECT_EQ(loc, -targets[k]);
        EXPECT_EQ(mazeloc, cell);
        ++exits;
      }
      EXPECT_TRUE(FlagsAre({}));
    }
  }
  EXPECT_EQ(exits, 4);
}

TEST(StoneMaze, NeighboursAreOpenBothWays) {
  // Every move to a neighbour has its way back from there.
  for (const auto& [cell, targets] : kCellOptions) {
    for (int to : targets) {
      if (to < 0) continue;
      const auto& back = kCellOptions.at(to);
      EXPECT_NE(std::find(back.begin(), back.end(), cell), back.end())
          << cell << " -> " << to << " has no way back";
    }
  }
}

// Pixels of the page below the menu: only the cell picture lies there.
uint64_t PictureHash() { return firsthalf::BoxHash(0, 280, 640, 200); }

TEST(StoneMaze, CellPicturesAlternateLikeAChessboard) {
  std::map<int, uint64_t> byColour;
  for (int cell = 1; cell <= 16; ++cell) {
    SCOPED_TRACE("cell " + std::to_string(cell));
    const double set = loaded;  // b03 and b03a stay in their sprites
    StartAt(3, {}, cell);
    loaded = set;
    Show(2);  // after a frame the back buffer holds the page again
    EXPECT_EQ(loaded, 3);
    const int row = (cell - 1) / 4, column = (cell - 1) % 4;
    const int colour = (row + column) % 2 == 0 ? 1 : 0;  // cell 1 is "b03a"
    const uint64_t h = PictureHash();
    auto [it, first] = byColour.emplace(colour, h);
    if (!first) EXPECT_EQ(it->second, h) << "colour " << colour;
  }
  ASSERT_EQ(byColour.size(), 2u);
  EXPECT_NE(byColour[0], byColour[1]);
}

TEST(StoneMaze, NoChoiceChangesNothing) {
  StartAt(3, {}, 6);
  Show(5);
  EXPECT_EQ(loc, 3);
  EXPECT_EQ(mazeloc, 6);
  EXPECT_EQ(screendrawn, 1);
}

TEST(StoneMaze, EveryWayInSetsItsCell) {
  struct Entry {
    double from;
    std::vector<int> flags;
    double menuY;
    int row;
    int continues;
    double cell;
  };
  const Entry entries[] = {
      {2, {}, 150, 1, 0, 3},        // Enter the passage
      {4, {}, 130, 1, 0, 15},       // Return to the maze, padlocked
      {4, {2, 28}, 130, 1, 0, 15},  // ... with the file and the ladder
      {4, {7, 28}, 130, 1, 0, 15},  // ... the padlock cut
      {6, {}, 110, 2, 0, 9},        // Enter the maze
      {7, {}, 90, 1, 0, 9},         // Get out quick
      {7, {14}, 70, 2, 1, 9},       // Ignore the spider
      {10, {25, 34}, 0, 0, 1, 8},   // the stench, no menu
      {11, {}, 170, 2, 0, 8},       // Enter the maze
      {11, {25, 26}, 130, 2, 0, 8}, // ... the coffin open
  };
  for (const Entry& e : entries) {
    SCOPED_TRACE("from location " + std::to_string(int(e.from)));
    StartAt(e.from, e.flags, 0);
    if (e.menuY > 0) {
      Choose(e.menuY, e.row, e.continues);
    } else {
      playtest::Continue(e.continues);
    }
    EXPECT_EQ(loc, 3);
    EXPECT_EQ(mazeloc, e.cell);
  }
}

}  // namespace
