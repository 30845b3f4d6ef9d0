// The forest clearing, the log cabin with its four tools and the cabin's
// owner coming home.
#define GAME_SOURCE_FILE 1

#include "core/basic_array.h"
#include "game/choice_menu.h"
#include "game/element_access.h"
#include "game/game_state.h"
#include "game/page_texts.h"
#include "game/part_one/item_swap_page.h"
#include "game/part_one/part_one_locations.h"
#include "game/pictures.h"
#include "game/text_print.h"
#include "game/word_wrap.h"
#include "game/procedure.h"

namespace {

const SwapItem kCabinItems[] = {
    {1, 1, 323, 446, "an empty bottle", 12, "a bottle of spa water", "You can swap the bottle",
     "Keep the bottle", "Take the bottle"},
    {2, 2, 265, 432, "a shovel", -1, nullptr, "You can swap the shovel", "Keep the shovel",
     "Take the shovel"},
    {3, 3, 215, 438, "an axe", -1, nullptr, "You can swap the axe", "Keep the axe", "Take the axe"},
    {4, 4, 351, 456, "a hacksaw", -1, nullptr, "You can swap the hacksaw", "Keep the hacksaw",
     "Take the hacksaw"},
};

const ItemSwapPage kCabin = {kCabinItems, 4, 0, 20, "Take nothing", false, 3, nullptr};

}  // namespace

// Forest clearing.
double PartOneLoc01() {
  PROC;
  STMT; if (loaded != 1) {
    STMT; LoadPic("a01", 0);
    STMT; LoadPic("a01a", 1);
    STMT; loaded = 1;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; if (At(obj, 0) == 0) {
      STMT; DrawPic(1, 320, 220);
    }
    STMT; WrapText(PartOneText("p1.loc01"), 10);
  }
  STMT; opt = ChoiceMenu(330, "Go to the hut", "Examine the tree", "Follow the tracks",
                         "Explore the forest", "");
  STMT; if (opt == 1) {
    STMT; loc = 2;
  }
  STMT; if (opt == 2) {
    STMT; loc = 4;
  }
  STMT; if (opt == 3) {
    STMT; loc = 7;
  }
  STMT; if (opt == 4) {
    STMT; loc = 8;
  }
  return 0;
}

// Outside the log cabin: the bottle, the shovel, the axe and the hacksaw.
double PartOneLoc02() {
  PROC;
  STMT; if (loaded != 2) {
    STMT; LoadPic("a02", 0);
    STMT; LoadPic("a02a", 1);
    STMT; LoadPic("a02b", 2);
    STMT; LoadPic("a02c", 3);
    STMT; LoadPic("a02d", 4);
    STMT; loaded = 2;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; ItemSwapOverlays(procScope_, kCabin);
    STMT; PrintTxt(PartOneText("p1.loc02.cabin"), 0, 10);
    STMT; PrintTxt("You can see:", 0, 30);
  }
  STMT; ItemSwapMenu(procScope_, kCabin, 50);
  return 0;
}

// The cabin's owner comes back: the tools still lying there are drawn.
double PartOneLoc03() {
  PROC;
  STMT; if (loaded != 2) {
    STMT; LoadPic("a02", 0);
    STMT; LoadPic("a02a", 1);
    STMT; LoadPic("a02b", 2);
    STMT; LoadPic("a02c", 3);
    STMT; LoadPic("a02d", 4);
    STMT; loaded = 2;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; ItemSwapOverlays(procScope_, kCabin);
    STMT; WrapText(PartOneText("p1.loc03"), 10);
  }
  STMT; opt = ChoiceMenu(90, "Hide in the forest", "Follow the track", "Enter the hut", "", "");
  STMT; if (opt == 1) {
    STMT; loc = 8;
  }
  STMT; if (opt == 2) {
    STMT; loc = 7;
  }
  STMT; if (opt == 3) {
    STMT; loc = 11;
  }
  return 0;
}
