// Locations 18 to 20: the high ledge, the library with its lamp and
// bookcase, and the secret room behind the bookcase.
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

double PartTwoLoc18() {
  PROC;
  STMT; if (loaded != 18) {
    STMT; LoadPic("b18", 0);
    STMT; loaded = 18;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartTwoText("p2.loc18.page"), 10);
  }
  STMT; opt = ChoiceMenu(130, "Enter the library", "Enter the tower", "Look down", "", "");
  STMT; if (opt == 1) {
    STMT; loc = 19;
  }
  STMT; if (opt == 2) {
    STMT; loc = 12;
  }
  STMT; if (opt == 3) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(gfxfall, 0, 0);
    STMT; WrapText(PartTwoText("p2.loc18.look_down"), 10);
    STMT; WaitContinue();
    STMT; loc = 36;
  }
  return 0;
}

double PartTwoLoc19() {
  PROC;
  STMT; if (loaded != 19) {
    STMT; LoadPic("b19", 0);
    STMT; LoadPic("b19a", 1);
    STMT; loaded = 19;
  }
  STMT; if (screendrawn == 0) {
    STMT; if (At(obj, 35) == 0) {
      STMT; DrawPic(0, 0, 0);
      STMT; WrapText(PartTwoText("p2.loc19.page"), 10);
    } else {
      STMT; DrawPic(1, 0, 0);
      STMT; WrapText(PartTwoText("p2.loc19.open"), 10);
    }
  }
  // Opening the bookcase changes the state the menu is chosen by, so the
  // two states are one choice.
  STMT; if (At(obj, 35) == 0) {
    STMT; opt = ChoiceMenu(90, "Read the book", "Examine the shelves", "Switch on the lamp",
                           "Enter the corridor", "Climb out the window");
    STMT; if (opt == 1) {
      STMT; DrawPic(0, 0, 0);
      STMT; WrapText(PartTwoText("p2.loc19.book"), 10);
      STMT; WaitContinue();
    }
    STMT; if (opt == 2) {
      STMT; if (At(obj, 20) == 0) {
        STMT; DrawPic(0, 0, 0);
        STMT; WrapText(PartTwoText("p2.loc19.crack"), 10);
        STMT; WaitContinue();
      }
      STMT; if (At(obj, 20) == 1) {
        STMT; DrawPic(1, 0, 0);
        STMT; WrapText(PartTwoText("p2.loc19.swing"), 10);
        STMT; WaitContinue();
        STMT; loc = 20;
        STMT; At(obj, 35) = 1;
      }
    }
    STMT; if (opt == 3) {
      STMT; DrawPic(0, 0, 0);
      STMT; WrapText(PartTwoText("p2.loc19.lamp"), 10);
      STMT; WaitContinue();
      STMT; At(obj, 20) = 1;
    }
    STMT; if (opt == 4) {
      STMT; loc = 21;
    }
    STMT; if (opt == 5) {
      STMT; loc = 18;
    }
  } else {
    STMT; opt = ChoiceMenu(130, "Read the book", "Enter the secret room", "Enter the corridor",
                           "Climb out the window", "");
    STMT; if (opt == 1) {
      STMT; DrawPic(1, 0, 0);
      STMT; WrapText(PartTwoText("p2.loc19.book"), 10);
      STMT; WaitContinue();
    }
    STMT; if (opt == 2) {
      STMT; loc = 20;
    }
    STMT; if (opt == 3) {
      STMT; loc = 21;
    }
    STMT; if (opt == 4) {
      STMT; loc = 18;
    }
  }
  return 0;
}

double PartTwoLoc20() {
  PROC;
  STMT; if (loaded != 20) {
    STMT; LoadPic("b20", 0);
    STMT; LoadPic("b20a", 1);
    STMT; loaded = 20;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; if (At(obj, 21) == 0) {
      STMT; DrawPic(1, 292, 426);
      STMT; WrapText(PartTwoText("p2.loc20.page"), 10);
    } else {
      STMT; WrapText(PartTwoText("p2.loc20.no_map"), 10);
    }
  }
  STMT; if (At(obj, 21) == 0) {
    STMT; opt = ChoiceMenu(130, "Explore the room", "Return to the library", "Climb down the steps",
                           "Take the map", "");
  } else {
    STMT; opt = ChoiceMenu(110, "Explore the room", "Return to the library", "Climb down the steps",
                           "", "");
  }
  STMT; if (opt == 1) {
    STMT; ClearScreen();
    STMT; WrapText(PartTwoText("p2.loc20.dark"), 10);
    STMT; WaitContinue();
    STMT; loc = 3;
    STMT; mazeloc = 15;
  }
  STMT; if (opt == 2) {
    STMT; loc = 19;
  }
  STMT; if (opt == 3) {
    STMT; loc = 3;
    STMT; mazeloc = 15;
  }
  STMT; if (opt == 4) {
    STMT; At(obj, 21) = 1;
  }
  return 0;
}
