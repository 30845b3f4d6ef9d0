// The item-swap page's stay variant and list heading, on pages of their own
// (the cabin shows the move-on page in the play tests): layout by the menu's
// place, flags and exits.
#define GAME_SOURCE_FILE 2

#include <gtest/gtest.h>

#include "core/basic_array.h"
#include "game/element_access.h"
#include "game/game_state.h"
#include "game/part_one/item_swap_page.h"
#include "play_harness.h"
#include "game/procedure.h"

using namespace playtest;

namespace {

const SwapItem kStoreItems[] = {
    {8, 1, 301, 320, "a wicker basket", 23, "a hissing wicker basket", "You can swap the basket",
     "Keep the basket", "Take the basket"},
    {9, 2, 179, 320, "a barrel", -1, nullptr, "You can swap the barrel", "Keep the barrel",
     "Take the barrel"},
    {10, 3, 480, 370, "some pegs", -1, nullptr, "You can swap the pegs", "Keep the pegs",
     "Take the pegs"},
};
const ItemSwapPage kStore = {kStoreItems, 3, 20, 40, "Leave the store room", true, 4, nullptr};
const ItemSwapPage kTable = {kStoreItems, 3, 20, 40, "Take nothing", false, 11,
                             "On a nearby table you can see:"};

double StorePage() {
  PROC;
  STMT; ItemSwapMenu(procScope_, kStore, 50);
  return 0;
}

double TablePage() {
  PROC;
  STMT; ItemSwapMenu(procScope_, kTable, 70);
  return 0;
}

class ItemSwapPageTest : public ::testing::Test {
 protected:
  void TearDown() override { UsePage(nullptr); }
};

}  // namespace

TEST_F(ItemSwapPageTest, StayVariantSwapsInPlaceAndLeavesByItsFirstOption) {
  StartGame(2);
  loc = 5;
  UsePage(StorePage);
  // Nothing carried: three list rows from 50, a blank row, the menu at 170.
  Choose(170, 3);  // "Take the barrel"
  EXPECT_EQ(loc, 5);
  EXPECT_EQ(Flag(9), 1);
  // Carrying the barrel: the menu one row higher; the basket drops it here.
  Choose(150, 2);  // "Take the basket"
  EXPECT_EQ(loc, 5);
  EXPECT_EQ(Flag(8), 1);
  EXPECT_EQ(Flag(9), 0);
  Choose(150, 3);  // "Take the pegs"
  EXPECT_EQ(Flag(8), 0);
  EXPECT_EQ(Flag(10), 1);
  Choose(150, 1);  // leave: nothing changes
  EXPECT_EQ(loc, 4);
  EXPECT_EQ(Flag(8) + Flag(9) + Flag(10), 1);
  EXPECT_EQ(Flag(10), 1);
}

TEST_F(ItemSwapPageTest, ListHeadingPutsTheListOneRowLower) {
  StartGame(2);
  loc = 10;
  UsePage(TablePage);
  // Heading at 70, items at 90 to 130, the swap row, the menu at 210.
  Choose(210, 4);  // "Take the pegs"
  EXPECT_EQ(loc, 11);
  EXPECT_EQ(Flag(10), 1);
  loc = 10;
  Choose(190, 1);  // "Keep the pegs"
  EXPECT_EQ(loc, 11);
  EXPECT_EQ(Flag(10), 1);
  loc = 10;
  Choose(190, 2);  // "Take the basket"
  EXPECT_EQ(Flag(10), 0);
  EXPECT_EQ(Flag(8), 1);
}
