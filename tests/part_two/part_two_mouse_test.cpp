// Part Two played on the desktop with the mouse: the opening story and the
// whole route to the explosion, every click on its option's row. (The
// ending's pages, with the title music playing, are answered by the button
// tests.)
#include <gtest/gtest.h>

#include "game/game_state.h"
#include "part_two_route.h"
#include "play_harness.h"

namespace {

TEST(PartTwoMouse, OpeningStoryAndRouteToTheEnding) {
  playtest::StartGame(2);
  playtest::RunIntro(6);
  ASSERT_EQ(loc, 1);
  // The last step, the beam fired into the mirror, is played on its own.
  for (size_t i = 0; i + 1 < parttwo::kRouteSteps; ++i) {
    const parttwo::Step& s = parttwo::kRoute[i];
    if (s.menuY > 0) {
      playtest::Choose(s.menuY, s.row, s.continues);
    } else {
      playtest::Continue(s.continues);
    }
    ASSERT_EQ(loc, s.loc) << "step " << i << " (" << s.what << ")";
    if (s.mazeloc != 0) ASSERT_EQ(mazeloc, s.mazeloc) << "step " << i << " (" << s.what << ")";
  }
  playtest::Choose(130, 1, 1);  // the red button: the firing page
  ASSERT_EQ(loc, 43);
  // The explosion: sixteen flash frames, each of which the harness answers
  // as a prompt (a press and a release take two frames), then its two pages.
  const int before = playtest::Frames();
  playtest::Continue(8 + 2);
  EXPECT_EQ(loc, 44);
  EXPECT_GE(playtest::Frames() - before, 16 + 4);
}

}  // namespace
