// The old mine: its entrance with the lantern, pick-axe and sack, the shaft,
// the pit and the bottom of the well with the coin and the bucket.
#define GAME_SOURCE_FILE 1

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

const SwapItem kMineItems[] = {
    {7, 1, 99, 371, "an old lantern", -1, nullptr, "You can swap the lantern", "Keep the lantern",
     "Take the lantern"},
    {8, 2, 198, 270, "a pick-axe", -1, nullptr, "You can swap the pick-axe", "Keep the pick-axe",
     "Take the pick-axe"},
    {9, 3, 425, 271, "an empty sack", -1, nullptr, "You can swap the sack", "Keep the empty sack",
     "Take the empty sack"},
};
const ItemSwapPage kMineEntrance = {kMineItems, 3, 0, 20, "Take nothing", false, 26, nullptr};

}  // namespace

// Mine entrance: take one of the lantern, the pick-axe and the sack.
double PartOneLoc25() {
  PROC;
  STMT; if (loaded != 25) {
    STMT; LoadPic("a25", 0);
    STMT; LoadPic("a25a", 1);
    STMT; LoadPic("a25b", 2);
    STMT; LoadPic("a25c", 3);
    STMT; loaded = 25;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; ItemSwapOverlays(procScope_, kMineEntrance);
    STMT; WrapText(PartOneText("p1.loc25.entrance"), 10);
    STMT; PrintTxt("Here you find:", 0, 50);
  }
  STMT; ItemSwapMenu(procScope_, kMineEntrance, 70);
  return 0;
}

// Mine entrance: the ways on.
double PartOneLoc26() {
  PROC;
  STMT; if (loaded != 25) {
    STMT; LoadPic("a25", 0);
    STMT; LoadPic("a25a", 1);
    STMT; LoadPic("a25b", 2);
    STMT; LoadPic("a25c", 3);
    STMT; loaded = 25;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; ItemSwapOverlays(procScope_, kMineEntrance);
    STMT; WrapText(PartOneText("p1.loc26.ways"), 10);
  }
  STMT; opt = ChoiceMenu(110, "Go to the stream", "Enter the forest", "Enter the mine", "", "");
  STMT; if (opt == 1) loc = 23;
  STMT; if (opt == 2) loc = 20;
  STMT; if (opt == 3) loc = 27;
  return 0;
}

// Mine shaft: without the lantern every way ends in the pit.
double PartOneLoc27() {
  PROC;
  STMT; if (loaded != 27) {
    STMT; LoadPic("a27", 0);
    STMT; loaded = 27;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
  }
  STMT; if (At(obj, 7) == 0) {
    STMT; if (screendrawn == 0) {
      STMT; WrapText(PartOneText("p1.loc27.dark"), 10);
    }
    STMT; opt = ChoiceMenu(90, "Leave the mine", "Explore for a while", "", "", "");
    STMT; if (opt > 0) loc = 28;
  } else {
    STMT; if (screendrawn == 0) {
      STMT; WrapText(PartOneText("p1.loc27.lit"), 10);
    }
    STMT; opt = ChoiceMenu(130, "Leave the mine", "Explore the mine", "Examine the pit", "", "");
    STMT; if (opt == 1) loc = 25;
    STMT; if (opt == 2) loc = 29;
    STMT; if (opt == 3) loc = 28;
  }
  return 0;
}

// Down the pit and out through the old exit.
double PartOneLoc28() {
  PROC;
  STMT; if (loaded != 28) {
    STMT; LoadPic("a28", 0);
    STMT; loaded = 28;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc28.fall"), 10);
    STMT; WrapText(PartOneText("p1.loc28.exit"), 110);
  }
  STMT; opt = ChoiceMenu(210, "Make for the exit", "Sulk, then make for the exit", "", "", "");
  STMT; if (opt > 0) loc = 20;
  return 0;
}

// Bottom of the well: the coin and the bucket, one of them carried once
// taken; a take stays here.
double PartOneLoc29() {
  PROC;
  STMT; if (loaded != 29) {
    STMT; LoadPic("a29", 0);
    STMT; LoadPic("a29a", 1);
    STMT; LoadPic("a29b", 2);
    STMT; loaded = 29;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; if (At(obj, 10) == 0) {
      STMT; DrawPic(1, 300, 400);
    }
    STMT; if (At(obj, 11) == 0) {
      STMT; DrawPic(2, 380, 340);
    }
    STMT; WrapText(PartOneText("p1.loc29.well"), 10);
  }
  STMT; LOCAL(have);
  STMT; if (At(obj, 10) == 1) {
    STMT; have = 10;
  }
  STMT; if (At(obj, 11) == 1) {
    STMT; have = 11;
  }
  STMT; if (have == 0) {
    STMT; if (screendrawn == 0) {
      STMT; WrapText(PartOneText("p1.loc29.both"), 110);
    }
    STMT; opt = ChoiceMenu(170, "Retrace your steps", "Take the gold coin", "Take the old bucket", "", "");
    STMT; if (opt == 1) loc = 27;
    STMT; if (opt == 2) At(obj, 10) = 1;
    STMT; if (opt == 3) At(obj, 11) = 1;
  } else if (have == 10) {
    STMT; if (screendrawn == 0) {
      STMT; WrapText(PartOneText("p1.loc29.bucket"), 110);
      STMT; WrapText("You can swap the gold coin.", 170);
    }
    STMT; opt = ChoiceMenu(210, "Retrace your steps", "Take the old bucket", "", "", "");
    STMT; if (opt == 1) loc = 27;
    STMT; if (opt == 2) {
      STMT; At(obj, 10) = 0;
      STMT; At(obj, 11) = 1;
    }
  } else if (have == 11) {
    STMT; if (screendrawn == 0) {
      STMT; WrapText(PartOneText("p1.loc29.coin"), 110);
      STMT; WrapText("You can swap the bucket.", 170);
    }
    STMT; opt = ChoiceMenu(210, "Retrace your steps", "Take the gold coin", "", "", "");
    STMT; if (opt == 1) loc = 27;
    STMT; if (opt == 2) {
      STMT; At(obj, 10) = 1;
      STMT; At(obj, 11) = 0;
    }
  }
  return 0;
}
