// The lone tree with the mechanical owl, the skeleton key up in its trunk
// and the view from the top.
#define GAME_SOURCE_FILE 1

#include "core/basic_array.h"
#include "game/choice_menu.h"
#include "game/continue_prompt.h"
#include "game/element_access.h"
#include "game/game_state.h"
#include "game/page_texts.h"
#include "game/part_one/part_one_locations.h"
#include "game/pictures.h"
#include "game/text_print.h"
#include "game/word_wrap.h"
#include "game/procedure.h"

namespace {

// The tree's picture set, shared by the three pages.
void LoadTreeSet(ProcedureScope& procScope_) {
  STMT; if (loaded != 4) {
    STMT; LoadPic("a04", 0);
    STMT; LoadPic("a04a", 1);
    STMT; LoadPic("a04b", 2);
    STMT; loaded = 4;
  }
}

}  // namespace

// The lone tree; the owl flies off at the first choice made here.
double PartOneLoc04() {
  PROC;
  STMT; LoadTreeSet(procScope_);
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; if (At(obj, 0) == 0) {
      STMT; DrawPic(1, 500, 220);
    }
    STMT; WrapText(PartOneText("p1.loc04.tree"), 10);
  }
  // Every choice below sets the owl flag: the branches must not both run.
  STMT; if (At(obj, 0) == 0) {
    STMT; if (screendrawn == 0) {
      STMT; maxkern = 400;
      STMT; WrapText(PartOneText("p1.loc04.owl"), 110);
    }
    STMT; opt = ChoiceMenu(270, "Go to the clearing", "Climb the tree", "Follow the mechanical owl",
                           "", "");
    STMT; if (opt > 0) {
      STMT; At(obj, 0) = 1;
      STMT; if (opt == 1) {
        STMT; loc = 1;
      }
      STMT; if (opt == 2) {
        STMT; loc = 5;
      }
      STMT; if (opt == 3) {
        STMT; loc = 14;
      }
    }
  } else {
    STMT; opt = ChoiceMenu(270, "Go to the clearing", "Climb the tree", "", "", "");
    STMT; if (opt == 1) {
      STMT; loc = 1;
    }
    STMT; if (opt == 2) {
      STMT; loc = 5;
    }
  }
  return 0;
}

// Up the tree, where the skeleton key lies in a hole in the trunk.
double PartOneLoc05() {
  PROC;
  STMT; LoadTreeSet(procScope_);
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; DrawPic(2, 500, 220);
    STMT; if (At(obj, 5) == 0) {
      STMT; WrapText(PartOneText("p1.loc05.key"), 10);
    } else {
      STMT; WrapText(PartOneText("p1.loc05.nokey"), 10);
    }
  }
  // Taking the key changes the flag that picks the menu: one branch a call.
  STMT; if (At(obj, 5) == 0) {
    STMT; opt = ChoiceMenu(190, "Take the skeleton key", "Climb back down", "Admire the view", "", "");
    STMT; if (opt == 1) {
      STMT; At(obj, 5) = 1;
    }
    STMT; if (opt == 2) {
      STMT; loc = 4;
    }
    STMT; if (opt == 3) {
      STMT; loc = 6;
    }
  } else {
    STMT; opt = ChoiceMenu(150, "Climb back down", "Admire the view", "", "", "");
    STMT; if (opt == 1) {
      STMT; loc = 4;
    }
    STMT; if (opt == 2) {
      STMT; loc = 6;
    }
  }
  return 0;
}

// The view from the top: one page, then back to the branch.
double PartOneLoc06() {
  PROC;
  STMT; LoadTreeSet(procScope_);
  STMT; DrawPic(gfxsky, 0, 0);
  STMT; DrawPic(0, 0, 0);
  STMT; DrawPic(2, 500, 220);
  STMT; WrapText(PartOneText("p1.loc06.view"), 10);
  STMT; WaitContinue();
  STMT; loc = 5;
  return 0;
}
