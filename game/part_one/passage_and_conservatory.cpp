// The passage with the high-voltage switch and the conservatory whose
// temperature it sets.
#define GAME_SOURCE_FILE 1

#include "game/choice_menu.h"
#include "game/continue_prompt.h"
#include "game/element_access.h"
#include "game/game_state.h"
#include "game/page_texts.h"
#include "game/part_one/part_one_locations.h"
#include "game/pictures.h"
#include "game/word_wrap.h"
#include "game/procedure.h"

// Passage with the switch; each throw turns the conservatory's heating over.
double PartOneLoc44() {
  PROC;
  STMT; if (loaded != 44) {
    STMT; LoadPic("a44", 0);
    STMT; LoadPic("a44a", 1);
    STMT; LoadPic("a44b", 2);
    STMT; LoadPic("a44c", 3);
    STMT; loaded = 44;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; DrawPic(1 + At(obj, 26), 143, 352);
    STMT; WrapText(PartOneText("p1.loc44.passage"), 10);
  }
  STMT; opt = ChoiceMenu(110, "Throw the switch", "Enter the kitchen", "Go through the exit",
                         "Go along the passage", "");
  STMT; if (opt == 1) {
    STMT; At(obj, 26) = 1 - At(obj, 26);
    STMT; DrawPic(0, 0, 0);
    STMT; DrawPic(3, 129, 233);
    STMT; WrapText(PartOneText("p1.loc44.shock"), 10);
    STMT; WaitContinue();
  }
  STMT; if (opt == 2) loc = 33;
  STMT; if (opt == 3) loc = 45;
  STMT; if (opt == 4) loc = 49;
  return 0;
}

// The conservatory: hot with a lively plant, or chilly once the switch is
// thrown, when the garden door leads out to the lawn.
double PartOneLoc45() {
  PROC;
  STMT; if (loaded != 45) {
    STMT; LoadPic("a45", 0);
    STMT; loaded = 45;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc45.conservatory"), 10);
    STMT; if (At(obj, 26) == 0) {
      STMT; WrapText("It seems hot in here!", 170);
    }
    STMT; if (At(obj, 26) == 1) {
      STMT; WrapText("It seems chilly in here!", 170);
    }
  }
  STMT; opt = ChoiceMenu(210, "Examine the plant", "Enter the Hollowmere", "Enter the garden", "", "");
  STMT; if (At(obj, 26) == 0) {
    STMT; if (opt == 1) loc = 46;
    STMT; if (opt == 2) loc = 44;
    STMT; if (opt == 3) loc = 46;
  } else {
    STMT; if (opt == 1) {
      STMT; DrawPic(gfxsky, 0, 0);
      STMT; DrawPic(0, 0, 0);
      STMT; WrapText(PartOneText("p1.loc45.sluggish"), 10);
      STMT; WaitContinue();
    }
    STMT; if (opt == 2) loc = 44;
    STMT; if (opt == 3) loc = 47;
  }
  return 0;
}
