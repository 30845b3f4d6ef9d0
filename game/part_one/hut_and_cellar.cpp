// The hut with its garlic, the trapdoor in its floor and the dark cellar
// below.
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

namespace {

void LoadHutSet(ProcedureScope& procScope_) {
  STMT; if (loaded != 11) {
    STMT; LoadPic("a11", 0);
    STMT; LoadPic("a11a", 1);
    STMT; loaded = 11;
  }
}

}  // namespace

// Inside the hut.
double PartOneLoc11() {
  PROC;
  STMT; LoadHutSet(procScope_);
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; if (At(obj, 6) == 0) {
      STMT; DrawPic(1, 602, 239);
      STMT; WrapText(PartOneText("p1.loc11.long"), 10);
    } else {
      STMT; WrapText(PartOneText("p1.loc11.short"), 10);
    }
  }
  // Taking the garlic changes the flag that picks the menu: one branch a call.
  STMT; if (At(obj, 6) == 0) {
    STMT; opt = ChoiceMenu(150, "Go to the clearing", "Explore the hut", "Take the garlic", "", "");
    STMT; if (opt == 1) {
      STMT; loc = 1;
    }
    STMT; if (opt == 2) {
      STMT; loc = 12;
    }
    STMT; if (opt == 3) {
      STMT; At(obj, 6) = 1;
    }
  } else {
    STMT; opt = ChoiceMenu(110, "Go to the clearing", "Explore the hut", "", "", "");
    STMT; if (opt == 1) {
      STMT; loc = 1;
    }
    STMT; if (opt == 2) {
      STMT; loc = 12;
    }
  }
  return 0;
}

// The trapdoor: without a lantern into the dark cellar, with one past it.
double PartOneLoc12() {
  PROC;
  STMT; LoadHutSet(procScope_);
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; if (At(obj, 6) == 0) {
      STMT; DrawPic(1, 602, 239);
    }
    STMT; WrapText(PartOneText("p1.loc12"), 40);
  }
  STMT; opt = ChoiceMenu(100, "Go to the clearing", "Go down to the cellar", "", "", "");
  STMT; if (opt == 1) {
    STMT; loc = 1;
  }
  STMT; if (opt == 2) {
    STMT; if (At(obj, 7) == 0) {
      STMT; loc = 13;
    }
    STMT; if (At(obj, 7) == 1) {
      STMT; loc = 30;
    }
  }
  return 0;
}

// The dark cellar: nothing to do but go back up.
double PartOneLoc13() {
  PROC;
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(gfxindark, 0, 0);
    STMT; WrapText(PartOneText("p1.dark.chuckle"), 10);
  }
  STMT; opt = ChoiceMenu(90, "Return to the hut", "Panic", "Grope around in the dark", "", "");
  STMT; if (opt == 1) {
    STMT; loc = 11;
  }
  STMT; if (opt == 2 || opt == 3) {
    STMT; DrawPic(gfxindark, 0, 0);
    STMT; WrapText(PartOneText("p1.dark.panic"), 10);
    STMT; WaitContinue();
    STMT; loc = 11;
  }
  return 0;
}
