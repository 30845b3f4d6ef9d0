// Locations 30 to 32: the tail of the big dinosaur skeleton, halfway up its
// backbone, and its head, from where the hero jumps.
#define GAME_SOURCE_FILE 2

#include "game/part_two/locations_17_44.h"

#include "frame/graphics_commands.h"
#include "game/choice_menu.h"
#include "game/continue_prompt.h"
#include "game/element_access.h"
#include "game/game_state.h"
#include "game/part_two/part_two_texts.h"
#include "game/pictures.h"
#include "game/word_wrap.h"
#include "game/procedure.h"

double PartTwoLoc30() {
  PROC;
  STMT; if (loaded != 30) {
    STMT; LoadPic("b30", 0);
    STMT; LoadPic("b30a", 1);
    STMT; loaded = 30;
  }
  STMT; if (screendrawn == 0) {
    STMT; if (At(obj, 33) == 0) {
      STMT; DrawPic(0, 0, 0);
      STMT; WrapText(PartTwoText("p2.loc30.page"), 10);
    } else {
      STMT; DrawPic(1, 0, 0);
      STMT; WrapText(PartTwoText("p2.loc30.bones"), 10);
    }
  }
  STMT; if (At(obj, 33) == 0) {
    STMT; opt = ChoiceMenu(130, "Go to the display cases", "Climb up the skeleton", "Explore further",
                           "", "");
    STMT; if (opt == 1) {
      STMT; loc = 29;
    }
    STMT; if (opt == 2) {
      STMT; loc = 31;
    }
    STMT; if (opt == 3) {
      STMT; loc = 27;
    }
  } else if (At(obj, 13) == 0) {
    STMT; opt = ChoiceMenu(130, "Go to the display cases", "Explore further", "", "", "");
    STMT; if (opt == 1) {
      STMT; loc = 29;
    }
    STMT; if (opt == 2) {
      STMT; loc = 27;
    }
  } else {
    STMT; opt = ChoiceMenu(130, "Go to the display cases", "Glue the bones together",
                           "Explore further", "", "");
    STMT; if (opt == 1) {
      STMT; loc = 29;
    }
    STMT; if (opt == 2) {
      STMT; loc = 33;
    }
    STMT; if (opt == 3) {
      STMT; loc = 27;
    }
  }
  return 0;
}

double PartTwoLoc31() {
  PROC;
  STMT; if (loaded != 31) {
    STMT; LoadPic("b31", 0);
    STMT; loaded = 31;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartTwoText("p2.loc31.page"), 10);
  }
  STMT; opt = ChoiceMenu(110, "Jump off the skeleton", "Climb up the skeleton", "", "", "");
  STMT; if (opt == 1) {
    STMT; loc = 30;
  }
  STMT; if (opt == 2) {
    STMT; loc = 32;
  }
  return 0;
}

double PartTwoLoc32() {
  PROC;
  STMT; if (loaded != 32) {
    STMT; LoadPic("b32", 0);
    STMT; LoadPic("b32a", 1);
    STMT; loaded = 32;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartTwoText("p2.loc32.page"), 10);
  }
  STMT; opt = ChoiceMenu(130, "Jump off the skeleton", "Jump to the balcony", "", "", "");
  STMT; if (opt > 0) {
    STMT; if (opt == 2 && At(obj, 26) == 1) {
      STMT; DrawPic(1, 0, 0);
      STMT; WrapText(PartTwoText("p2.loc32.glide"), 10);
      STMT; WaitContinue();
      STMT; loc = 34;
      STMT; At(obj, 33) = 1;
    } else {
      STMT; DrawRectCmd(0, 0, 640 / resx, 480 / resx, 8421376);
      STMT; DrawPic(gfxfall, 0, 0);
      STMT; WrapText(PartTwoText("p2.loc32.tumble"), 10);
      STMT; WaitContinue();
      STMT; loc = 30;
      STMT; At(obj, 33) = 1;
    }
  }
  return 0;
}
