// The boat under the castle window, the kitchen shelves and the kitchen
// with its werewolf chef.
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

namespace {

// The kitchen items, drawn over either kitchen picture of set 33 while they
// lie on the shelves.
const SwapItem kKitchenItems[] = {
    {17, 1, 186, 206, "some bottles of milk", -1, nullptr, "You can swap the milk", "Keep the milk",
     "Take some milk"},
    {18, 2, 133, 244, "a red herring", -1, nullptr, "You can swap the red herring", "Keep the herring",
     "Take the herring"},
    {19, 3, 97, 248, "a pepper pot", -1, nullptr, "You can swap the pepper pot", "Keep the pepper pot",
     "Take the pepper pot"},
};
const ItemSwapPage kKitchenShelves = {kKitchenItems, 3, 0, 20, "Take nothing", false, 34, nullptr};

}  // namespace

// Boat under the window: up the rope into the kitchen, or a jump that ends
// in the moat.
double PartOneLoc32() {
  PROC;
  STMT; if (loaded != 32) {
    STMT; LoadPic("a32", 0);
    STMT; LoadPic("a32a", 1);
    STMT; LoadPic("a33", 2);
    STMT; LoadPic("a33a", 3);
    STMT; LoadPic("a33b", 4);
    STMT; LoadPic("a33c", 5);
    STMT; loaded = 32;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc32.boat"), 10);
  }
  STMT; if (At(obj, 14) == 1) {
    STMT; opt = ChoiceMenu(130, "Leave the boat", "Jump up to the window", "Climb up using the rope", "", "");
  } else {
    STMT; opt = ChoiceMenu(130, "Leave the boat", "Jump up to the window", "", "", "");
  }
  STMT; if (opt == 1) loc = 17;
  STMT; if (opt == 2) {
    STMT; DrawPic(1, 0, 0);
    STMT; WrapText(PartOneText("p1.loc32.jump"), 10);
    STMT; WaitContinue();
    STMT; loc = 17;
  }
  STMT; if (opt == 3) {
    STMT; DrawPic(2, 0, 0);
    STMT; if (At(obj, 17) == 0) {
      STMT; DrawPic(3, 186, 206);
    }
    STMT; if (At(obj, 18) == 0) {
      STMT; DrawPic(4, 133, 244);
    }
    STMT; if (At(obj, 19) == 0) {
      STMT; DrawPic(5, 97, 248);
    }
    STMT; WrapText(PartOneText("p1.loc32.climb"), 10);
    STMT; WaitContinue();
    STMT; loc = 33;
  }
  return 0;
}

// Kitchen shelves: take one of the milk, the red herring and the pepper pot.
double PartOneLoc33() {
  PROC;
  STMT; if (loaded != 33) {
    STMT; LoadPic("a33", 0);
    STMT; LoadPic("a33a", 1);
    STMT; LoadPic("a33b", 2);
    STMT; LoadPic("a33c", 3);
    STMT; LoadPic("a34", 4);
    STMT; loaded = 33;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; ItemSwapOverlays(procScope_, kKitchenShelves);
    STMT; WrapText("On some shelves you find:", 10);
  }
  STMT; ItemSwapMenu(procScope_, kKitchenShelves, 30);
  return 0;
}

// Kitchen with the werewolf chef. The flask puts him to sleep, which picks
// the other half of the page: the halves are exclusive, so the menu runs
// once a frame.
double PartOneLoc34() {
  PROC;
  STMT; if (loaded != 33) {
    STMT; LoadPic("a33", 0);
    STMT; LoadPic("a33a", 1);
    STMT; LoadPic("a33b", 2);
    STMT; LoadPic("a33c", 3);
    STMT; LoadPic("a34", 4);
    STMT; loaded = 33;
  }
  STMT; if (At(obj, 25) == 0) {
    STMT; if (screendrawn == 0) {
      STMT; DrawPic(4, 0, 0);
      STMT; ItemSwapOverlays(procScope_, kKitchenShelves);
      STMT; WrapText(PartOneText("p1.loc34.awake"), 10);
    }
    STMT; if (At(obj, 24) == 1) {
      STMT; opt = ChoiceMenu(70, "Leave by the window", "Enter the dark passage", "Go up the stone steps",
                             "Give him the flask", "");
    } else {
      STMT; opt = ChoiceMenu(70, "Leave by the window", "Enter the dark passage", "Go up the stone steps",
                             "", "");
    }
    STMT; if (opt == 1) loc = 32;
    STMT; if (opt == 2) {
      STMT; DrawPic(4, 0, 0);
      STMT; ItemSwapOverlays(procScope_, kKitchenShelves);
      STMT; WrapText(PartOneText("p1.loc34.chased"), 10);
      STMT; WaitContinue();
      STMT; loc = 35;
    }
    STMT; if (opt == 3) loc = 35;
    STMT; if (opt == 4) {
      STMT; DrawPic(0, 0, 0);
      STMT; ItemSwapOverlays(procScope_, kKitchenShelves);
      STMT; WrapText(PartOneText("p1.loc34.flask"), 10);
      STMT; WaitContinue();
      STMT; At(obj, 25) = 1;
    }
  } else {
    STMT; if (screendrawn == 0) {
      STMT; DrawPic(0, 0, 0);
      STMT; ItemSwapOverlays(procScope_, kKitchenShelves);
      STMT; WrapText(PartOneText("p1.loc34.asleep"), 10);
    }
    STMT; opt = ChoiceMenu(70, "Leave by the window", "Enter the dark passage", "Go up the stone steps",
                           "", "");
    STMT; if (opt == 1) loc = 32;
    STMT; if (opt == 2) loc = 44;
    STMT; if (opt == 3) loc = 35;
  }
  return 0;
}
