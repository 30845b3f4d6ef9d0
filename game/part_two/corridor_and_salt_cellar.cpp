// Locations 21 to 24: the corridor, the stairs to the nailed door, and the
// two ends of the salt cellar with the long ladder.
#define GAME_SOURCE_FILE 2

#include "game/part_two/locations_17_44.h"

#include "game/choice_menu.h"
#include "game/continue_prompt.h"
#include "game/element_access.h"
#include "game/game_state.h"
#include "game/part_two/part_two_texts.h"
#include "game/pictures.h"
#include "game/word_wrap.h"
#include "game/procedure.h"

namespace {

// Locations 23 and 24 share the cellar's pictures.
void LoadSaltCellar() {
  PROC;
  STMT; if (loaded != 23) {
    STMT; LoadPic("b23", 0);
    STMT; LoadPic("b23a", 1);
    STMT; LoadPic("b23b", 2);
    STMT; LoadPic("b23c", 3);
    STMT; loaded = 23;
  }
}

}  // namespace

double PartTwoLoc21() {
  PROC;
  STMT; if (loaded != 21) {
    STMT; LoadPic("b21", 0);
    STMT; LoadPic("b21a", 1);
    STMT; loaded = 21;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartTwoText("p2.loc21.page"), 10);
  }
  STMT; if (At(obj, 30) == 0) {
    STMT; opt = ChoiceMenu(130, "Go down the stairs", "Enter the library", "Enter the music room",
                           "", "");
  }
  STMT; if (At(obj, 30) == 1) {
    STMT; opt = ChoiceMenu(130, "Go down the stairs", "Enter the library", "Enter the music room",
                           "Enter the secret passage", "");
  }
  STMT; if (opt == 1) {
    STMT; loc = 22;
  }
  STMT; if (opt == 2) {
    STMT; loc = 19;
  }
  STMT; if (opt == 3) {
    STMT; loc = 25;
  }
  STMT; if (opt == 4) {
    STMT; DrawPic(1, 0, 0);
    STMT; WrapText(PartTwoText("p2.loc21.secret_passage"), 10);
    STMT; WaitContinue();
    STMT; At(obj, 30) = 0;
  }
  return 0;
}

double PartTwoLoc22() {
  PROC;
  STMT; if (loaded != 22) {
    STMT; LoadPic("b22", 0);
    STMT; LoadPic("b22a", 1);
    STMT; loaded = 22;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; if (At(obj, 27) == 0) {
      STMT; DrawPic(1, 440, 316);
      STMT; WrapText(PartTwoText("p2.loc22.page"), 10);
    } else {
      STMT; WrapText(PartTwoText("p2.loc22.open"), 10);
    }
  }
  // Pulling the nails opens the door the menu is chosen by: one choice.
  STMT; if (At(obj, 27) == 0) {
    STMT; opt = ChoiceMenu(110, "Pull out the nails", "Climb up the stairs", "", "", "");
    STMT; if (opt == 1) {
      STMT; if (At(obj, 4) == 0) {
        STMT; DrawPic(0, 0, 0);
        STMT; DrawPic(1, 440, 316);
        STMT; WrapText(PartTwoText("p2.loc22.no_tool"), 10);
        STMT; WaitContinue();
      } else {
        STMT; DrawPic(0, 0, 0);
        STMT; WrapText(PartTwoText("p2.loc22.pliers"), 10);
        STMT; WaitContinue();
        STMT; At(obj, 27) = 1;
      }
    }
    STMT; if (opt == 2) {
      STMT; loc = 21;
    }
  } else {
    STMT; opt = ChoiceMenu(70, "Go through the door", "Climb up the stairs", "", "", "");
    STMT; if (opt == 1) {
      STMT; loc = 23;
    }
    STMT; if (opt == 2) {
      STMT; loc = 21;
    }
  }
  return 0;
}

double PartTwoLoc23() {
  PROC;
  STMT; LoadSaltCellar();
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; DrawPic(1, 450, 310);
    STMT; if (At(obj, 28) == 0) {
      STMT; DrawPic(3, 75, 170);
      STMT; WrapText(PartTwoText("p2.loc23.page"), 10);
    } else {
      STMT; WrapText(PartTwoText("p2.loc23.no_ladder"), 10);
    }
  }
  STMT; if (At(obj, 28) == 0) {
    STMT; opt = ChoiceMenu(130, "Go through the doorway", "Explore the cellar", "Take the ladder",
                           "", "");
  } else {
    STMT; opt = ChoiceMenu(110, "Go through the doorway", "Explore the cellar", "", "", "");
  }
  STMT; if (opt == 1) {
    STMT; if (At(obj, 27) == 0) {
      STMT; DrawPic(0, 0, 0);
      STMT; DrawPic(1, 450, 310);
      STMT; WrapText(PartTwoText("p2.loc23.nailed"), 10);
      STMT; WaitContinue();
    } else {
      STMT; loc = 22;
    }
  }
  STMT; if (opt == 2) {
    STMT; loc = 24;
  }
  STMT; if (opt == 3) {
    STMT; At(obj, 28) = 1;
  }
  return 0;
}

double PartTwoLoc24() {
  PROC;
  STMT; LoadSaltCellar();
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; DrawPic(1, 537, 295);
    STMT; DrawPic(2, 453, 374);
    STMT; if (At(obj, 28) == 0) {
      STMT; DrawPic(3, 75, 170);
      STMT; WrapText(PartTwoText("p2.loc24.page"), 10);
    } else {
      STMT; WrapText(PartTwoText("p2.loc24.ladder"), 10);
    }
  }
  // Taking or leaving the ladder changes the state the menu is chosen by:
  // one choice.
  STMT; if (At(obj, 28) == 0) {
    STMT; opt = ChoiceMenu(90, "Go through the doorway", "Enter the dungeon", "Take the ladder", "",
                           "");
    STMT; if (opt == 1) {
      STMT; if (At(obj, 27) == 0) {
        STMT; DrawPic(0, 0, 0);
        STMT; DrawPic(1, 537, 295);
        STMT; DrawPic(2, 453, 374);
        STMT; DrawPic(3, 75, 170);
        STMT; WrapText(PartTwoText("p2.loc23.nailed"), 10);
        STMT; WaitContinue();
      } else {
        STMT; loc = 22;
      }
    }
    STMT; if (opt == 2) {
      STMT; loc = 1;
    }
    STMT; if (opt == 3) {
      STMT; At(obj, 28) = 1;
    }
  } else {
    STMT; opt = ChoiceMenu(110, "Go through the doorway", "Enter the dungeon", "", "", "");
    STMT; if (opt == 1) {
      STMT; if (At(obj, 27) == 0) {
        STMT; DrawPic(0, 0, 0);
        STMT; DrawPic(1, 537, 295);
        STMT; DrawPic(2, 453, 374);
        STMT; WrapText(PartTwoText("p2.loc23.nailed"), 10);
        STMT; WaitContinue();
      } else {
        STMT; loc = 22;
      }
    }
    STMT; if (opt == 2) {
      STMT; At(obj, 28) = 0;
      STMT; loc = 1;
    }
  }
  return 0;
}
