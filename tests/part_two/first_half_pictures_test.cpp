// The pictures of Part Two's first half follow their flags: each item's
// overlay is drawn while the item lies there, and the padlock, coffin and
// window pictures change with the events.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "first_half_support.h"
#include "game/game_state.h"
#include "play_harness.h"

namespace {

struct Box {
  int x, y, width, height;
};

// The page of location `where` with `flags` set, drawn and left as the
// background; the pixels in box.
uint64_t PageBox(double where, const std::vector<int>& flags, Box box) {
  // The sprites still hold the last picture set: no need to load it again.
  const double set = loaded;
  firsthalf::StartAt(where, flags);
  loaded = set;
  playtest::Show(2);
  return firsthalf::BoxHash(box.x, box.y, box.width, box.height);
}

TEST(PartTwoPictures, OverlaysAndEventPicturesFollowTheirFlags) {
  struct Case {
    const char* what;
    double where;
    std::vector<int> before, after;  // flags of the two pages compared
    Box box;                         // where the picture lies (within the screen)
  };
  const Case cases[] = {
      {"tongs on the dungeon floor", 1, {}, {1}, {453, 421, 187, 59}},
      {"file on the dungeon floor", 1, {}, {2}, {345, 430, 295, 50}},
      {"knife on the dungeon floor", 1, {}, {3}, {557, 439, 83, 41}},
      {"items seen from the dungeon exits", 2, {}, {1}, {453, 421, 187, 59}},
      {"padlock cut off the door", 4, {}, {7}, {250, 259, 390, 221}},
      {"basket in the store room", 5, {}, {8}, {301, 320, 339, 160}},
      {"barrel in the store room", 5, {}, {9}, {179, 320, 461, 160}},
      {"pegs in the store room", 5, {}, {10}, {480, 370, 160, 110}},
      {"bell on the cellar table", 10, {}, {11}, {518, 304, 122, 176}},
      {"mirror on the cellar table", 10, {}, {12}, {456, 315, 184, 165}},
      {"glue on the cellar table", 10, {}, {13}, {483, 361, 157, 119}},
      {"glue seen from the coffin", 11, {}, {13}, {483, 361, 157, 119}},
      {"coffin opened", 11, {}, {25}, {0, 280, 640, 200}},
      {"window levered open", 12, {}, {15}, {460, 201, 180, 279}},
      {"thread taken", 12, {}, {14}, {510, 380, 130, 100}},
      {"thread seen from the window", 13, {6}, {6, 14}, {510, 380, 130, 100}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const uint64_t before = PageBox(c.where, c.before, c.box);
    const uint64_t after = PageBox(c.where, c.after, c.box);
    EXPECT_NE(before, after);
    // The same state draws the same pixels again.
    EXPECT_EQ(PageBox(c.where, c.before, c.box), before);
  }
}

TEST(PartTwoPictures, SpiderStandsOnlyOnItsOwnPage) {
  const Box spider{140, 270, 500, 210};
  const uint64_t passage = PageBox(6, {}, spider);
  EXPECT_NE(PageBox(7, {}, spider), passage);
  EXPECT_NE(PageBox(7, {14}, spider), passage);
  EXPECT_EQ(loaded, 6);
}

}  // namespace
