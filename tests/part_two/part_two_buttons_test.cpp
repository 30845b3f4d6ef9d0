// Part Two played on the F100's buttons: from the part selection through the
// opening story and the route to the ending, back to the title; and the
// pages of the later locations whose choices change their own state.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "button_harness.h"
#include "core/basic_array.h"
#include "game/element_access.h"
#include "game/game_state.h"
#include "part_two_route.h"

namespace {

using buttonplay::Choose;
using buttonplay::Continue;

// Plays the route from location 1; false when a step went astray.
bool PlayRoute() {
  for (size_t i = 0; i < parttwo::kRouteSteps; ++i) {
    const parttwo::Step& s = parttwo::kRoute[i];
    if (std::getenv("PLAY_TRACE") != nullptr) std::fprintf(stderr, "step %zu: %s\n", i, s.what);
    const bool restart = s.menuY > 0 ? Choose(s.row, s.continues) : Continue(s.continues);
    EXPECT_FALSE(restart) << "step " << i << " (" << s.what << ") went back to the title";
    EXPECT_EQ(loc, s.loc) << "step " << i << " (" << s.what << ")";
    if (s.mazeloc != 0) EXPECT_EQ(mazeloc, s.mazeloc) << "step " << i << " (" << s.what << ")";
    if (restart || loc != s.loc || (s.mazeloc != 0 && mazeloc != s.mazeloc)) return false;
  }
  return true;
}

double Obj(int index) { return At(obj, index); }

TEST(PartTwoButtons, FromThePartSelectionToTheEndingAndBackToTheTitle) {
  buttonplay::StartGame(1);
  ASSERT_EQ(buttonplay::SelectPart(2), 2);
  buttonplay::RunIntro(6);
  ASSERT_EQ(loc, 1);
  ASSERT_TRUE(PlayRoute());

  // What the finale needs: map, key, mirror carried and jammed, machine armed.
  EXPECT_EQ(Obj(21), 1);
  EXPECT_EQ(Obj(29), 1);
  EXPECT_EQ(Obj(12), 1);
  EXPECT_EQ(Obj(31), 1);
  EXPECT_EQ(Obj(32), 1);

  // The ending: three pages, then the main program goes back to the title.
  EXPECT_TRUE(Continue(3));
  EXPECT_EQ(loc, 999);
}

// A location entered with the given flags; the page is drawn on the first
// pass of the next Choose or Continue.
void Enter(double location, std::initializer_list<int> flags) {
  buttonplay::StartGame(2);
  for (int f : flags) At(obj, f) = 1;
  loc = location;
}

TEST(PartTwoButtons, StatesThatChangeTheirOwnMenu) {
  // Library: the shelves swing only after the lamp; then four options.
  Enter(19, {});
  Choose(2, 1);
  EXPECT_EQ(loc, 19);
  EXPECT_EQ(Obj(35), 0);
  Choose(3, 1);
  EXPECT_EQ(Obj(20), 1);
  Choose(2, 1);
  EXPECT_EQ(loc, 20);
  EXPECT_EQ(Obj(35), 1);
  Choose(2);  // back to the library, open now
  Choose(1, 1);  // the book, on the open picture
  EXPECT_EQ(loc, 19);
  Choose(4);  // the window is option 4 of the open library
  EXPECT_EQ(loc, 18);

  // Nails: nothing without the pliers; with them one press opens the door
  // and the same pass does not go through it.
  Enter(22, {});
  Choose(1, 1);
  EXPECT_EQ(Obj(27), 0);
  Enter(22, {4});
  Choose(1, 1);
  EXPECT_EQ(loc, 22);
  EXPECT_EQ(Obj(27), 1);
  Choose(1);
  EXPECT_EQ(loc, 23);

  // Grate: the ladder taken stays here; into the dungeon it is left behind.
  Enter(24, {});
  Choose(1, 1);  // nailed from the other side
  EXPECT_EQ(loc, 24);
  Choose(3);
  EXPECT_EQ(loc, 24);
  EXPECT_EQ(Obj(28), 1);
  Choose(2);
  EXPECT_EQ(loc, 1);
  EXPECT_EQ(Obj(28), 0);

  // Machine: green arms and disarms, one state a press.
  Enter(41, {});
  Choose(2, 1);
  EXPECT_EQ(Obj(32), 1);
  Choose(2, 1);
  EXPECT_EQ(Obj(32), 0);
  EXPECT_EQ(loc, 41);

  // Catwalk: the mirror goes in once; the view blows the hero off.
  Enter(42, {12});
  Choose(3);
  EXPECT_EQ(Obj(31), 1);
  EXPECT_EQ(Obj(12), 1);
  EXPECT_EQ(loc, 42);
  Choose(1, 3);
  EXPECT_EQ(loc, 15);
  EXPECT_EQ(Obj(31), 1);
}

TEST(PartTwoButtons, DeadEndsAndDetours) {
  // The catwalk door is locked without the key.
  Enter(40, {});
  Choose(3, 1);
  EXPECT_EQ(loc, 40);
  // Without the map the right-hand way leads back to the corridor, where
  // the secret passage is offered once after the portrait.
  Enter(37, {30});
  Choose(3);
  EXPECT_EQ(loc, 37);
  Choose(2);
  EXPECT_EQ(loc, 21);
  Choose(4, 1);
  EXPECT_EQ(loc, 21);
  EXPECT_EQ(Obj(30), 0);
  // Without the cape the skeleton falls apart under the hero; the glue puts
  // it together again.
  Enter(32, {13});
  Choose(2, 1);
  EXPECT_EQ(loc, 30);
  EXPECT_EQ(Obj(33), 1);
  Choose(2);
  EXPECT_EQ(loc, 33);
  Choose(1, 1);
  EXPECT_EQ(loc, 30);
  EXPECT_EQ(Obj(33), 0);
  Choose(2);
  EXPECT_EQ(loc, 31);
  // The balcony without the rope: off the ledge, into the straw.
  Enter(34, {});
  Choose(3, 3);
  EXPECT_EQ(loc, 15);
  // With the rope: down to the high ledge, rope kept.
  Enter(34, {5});
  Choose(3, 1);
  EXPECT_EQ(loc, 18);
  EXPECT_EQ(Obj(5), 1);
  // The portrait without the knife.
  Enter(35, {});
  Choose(2, 1);
  EXPECT_EQ(loc, 34);
  EXPECT_EQ(Obj(30), 0);
  // The snake scares the hero off without an instrument, and the trumpet
  // does no better.
  Enter(27, {});
  Choose(2, 1);
  EXPECT_EQ(loc, 15);
  Enter(27, {17});
  Choose(5);
  EXPECT_EQ(loc, 28);
  Continue(1);
  EXPECT_EQ(loc, 15);
  EXPECT_EQ(Obj(23), 0);
  // The flute without the basket: the snake slides back.
  Enter(27, {18});
  Choose(5);
  Continue(2);
  EXPECT_EQ(loc, 27);
  EXPECT_EQ(Obj(23), 0);
  // The key cannot be had with fingers; the jump lands at the pit bottom.
  Enter(26, {});
  Choose(3, 1);
  EXPECT_EQ(Obj(29), 0);
  Choose(2, 1);
  EXPECT_EQ(loc, 4);
  // The music room swap: the flute back on the floor, the cymbals taken.
  Enter(25, {18});
  Choose(4);
  EXPECT_EQ(Obj(18), 0);
  EXPECT_EQ(Obj(19), 1);
  EXPECT_EQ(loc, 25);
  // The stables swap: rope for pliers.
  Enter(17, {5});
  Choose(2);
  EXPECT_EQ(Obj(5), 0);
  EXPECT_EQ(Obj(4), 1);
  Choose(1);
  EXPECT_EQ(loc, 15);
  EXPECT_EQ(Obj(4), 1);
}

}  // namespace
