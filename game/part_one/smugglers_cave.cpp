// Through the gorilla's gate into the smugglers' cave with its powder keg
// and compass, and the crack in its wall.
#define GAME_SOURCE_FILE 1

#include "game/choice_menu.h"
#include "game/continue_prompt.h"
#include "game/element_access.h"
#include "game/game_state.h"
#include "game/page_texts.h"
#include "game/part_one/item_swap_page.h"
#include "game/part_one/part_one_locations.h"
#include "game/pictures.h"
#include "game/text_print.h"
#include "game/word_wrap.h"
#include "game/procedure.h"

// The happy gorilla lets the player through the gate. No menu.
double PartOneLoc40() {
  PROC;
  STMT; if (loaded != 30) {
    STMT; LoadPic("a30", 0);
    STMT; LoadPic("a30a", 1);
    STMT; loaded = 30;
  }
  STMT; DrawPic(0, 0, 0);
  STMT; DrawPic(1, 201, 311);
  STMT; WrapText(PartOneText("p1.loc40.through"), 10);
  STMT; WaitContinue();
  STMT; loc = 41;
  return 0;
}

namespace {

// With the compass carried the keg is offered as "some powder keg".
const SwapItem kCaveItems[] = {
    {22, 1, 464, 357, "a powder keg", -1, nullptr, "You can swap the powder keg", "Keep the powder keg",
     "Take the powder keg"},
    {23, 2, 160, 433, "a compass", -1, nullptr, "You can swap the compass", "Keep the compass",
     "Take the compass"},
};
const SwapItem kCaveItemsCompassCarried[] = {
    {22, 1, 464, 357, "a powder keg", -1, nullptr, "You can swap the powder keg", "Keep the powder keg",
     "Take some powder keg"},
    {23, 2, 160, 433, "a compass", -1, nullptr, "You can swap the compass", "Keep the compass",
     "Take the compass"},
};
const ItemSwapPage kCave = {kCaveItems, 2, 0, 20, "Take nothing", false, 42, nullptr};
const ItemSwapPage kCaveCompassCarried = {kCaveItemsCompassCarried, 2, 0, 20, "Take nothing", false, 42,
                                          nullptr};

}  // namespace

// The smugglers' cave: take the powder keg or the compass.
double PartOneLoc41() {
  PROC;
  STMT; if (loaded != 41) {
    STMT; LoadPic("a41", 0);
    STMT; LoadPic("a41a", 1);
    STMT; LoadPic("a41b", 2);
    STMT; loaded = 41;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; ItemSwapOverlays(procScope_, kCave);
    STMT; WrapText(PartOneText("p1.loc41.cave"), 10);
  }
  STMT; if (At(obj, 23) == 1) {
    STMT; ItemSwapMenu(procScope_, kCaveCompassCarried, 110);
  } else {
    STMT; ItemSwapMenu(procScope_, kCave, 110);
  }
  return 0;
}

// The crack in the cave wall, out to daylight or back into the cellar.
double PartOneLoc42() {
  PROC;
  STMT; if (loaded != 41) {
    STMT; LoadPic("a41", 0);
    STMT; LoadPic("a41a", 1);
    STMT; LoadPic("a41b", 2);
    STMT; loaded = 41;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; ItemSwapOverlays(procScope_, kCave);
    STMT; WrapText(PartOneText("p1.loc42.crack"), 10);
  }
  STMT; opt = ChoiceMenu(90, "Enter the cellar", "Go toward the light", "", "", "");
  STMT; if (opt == 1) loc = 30;
  STMT; if (opt == 2) loc = 7;
  return 0;
}
