// The path by the stream and the stepping stones halfway across, where the
// bottle is filled and the ring found.
#define GAME_SOURCE_FILE 1

#include "core/basic_array.h"
#include "game/choice_menu.h"
#include "game/continue_prompt.h"
#include "game/element_access.h"
#include "game/game_state.h"
#include "game/page_texts.h"
#include "game/part_one/part_one_locations.h"
#include "game/pictures.h"
#include "game/word_wrap.h"
#include "game/procedure.h"

// Path by the stream.
double PartOneLoc23() {
  PROC;
  STMT; if (loaded != 23) {
    STMT; LoadPic("a23", 0);
    STMT; loaded = 23;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc23"), 10);
  }
  STMT; opt = ChoiceMenu(150, "Cross the stepping stones", "Follow the stream", "Follow the twisty path",
                         "", "");
  STMT; if (opt == 1) {
    STMT; loc = 24;
  }
  STMT; if (opt == 2) {
    STMT; loc = 19;
  }
  STMT; if (opt == 3) {
    STMT; loc = 25;
  }
  return 0;
}

// Halfway across the stream on the stepping stones.
double PartOneLoc24() {
  PROC;
  STMT; if (loaded != 24) {
    STMT; LoadPic("a24", 0);
    STMT; loaded = 24;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc24"), 10);
  }
  // Filling the bottle changes the flag that picks the menu: one branch a call.
  STMT; if (At(obj, 1) == 1 && At(obj, 12) == 0) {
    STMT; opt = ChoiceMenu(150, "Continue across the stream", "Turn back to the near bank",
                           "Fill your bottle with water", "", "");
    STMT; if (opt == 3) {
      STMT; At(obj, 12) = 1;
      STMT; DrawPic(gfxsky, 0, 0);
      STMT; DrawPic(0, 0, 0);
      STMT; WrapText(PartOneText("p1.loc24.fill"), 10);
      STMT; At(obj, 13) = 1;
      STMT; WaitContinue();
    }
  } else {
    STMT; opt = ChoiceMenu(150, "Continue across the stream", "Turn back to the near bank", "", "",
                           "");
  }
  STMT; if (opt == 1) {
    STMT; loc = 20;
  }
  STMT; if (opt == 2) {
    STMT; loc = 23;
  }
  return 0;
}
