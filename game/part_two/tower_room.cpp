// Locations 12 and 13: the room at the top of the tower, with the silk
// thread on its floor and a window that the crowbar levers open.
#define GAME_SOURCE_FILE 2

#include "game/choice_menu.h"
#include "game/continue_prompt.h"
#include "game/element_access.h"
#include "game/game_state.h"
#include "game/part_two/part_two_locations.h"
#include "game/part_two/part_two_texts.h"
#include "game/pictures.h"
#include "game/word_wrap.h"
#include "game/procedure.h"

namespace {

void LoadTowerRoom() {
  PROC;
  STMT; if (loaded != 12) {
    STMT; LoadPic("b12", 0);
    STMT; LoadPic("b12a", 1);
    STMT; LoadPic("b12b", 2);
    STMT; LoadPic("b12c", 3);
    STMT; loaded = 12;
  }
}

// The thread on the floor until it is taken (flag 14).
void DrawThread() {
  PROC;
  STMT; if (At(obj, 14) == 0) {
    STMT; DrawPic(3, 510, 380);
  }
}

}  // namespace

// Four states: the window shut or open (flag 15), the thread lying or
// carried (flag 14).
double PartTwoLoc12() {
  PROC;
  STMT; LoadTowerRoom();
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; if (At(obj, 15) == 0) {
      STMT; DrawPic(1, 480, 201);
    } else {
      STMT; DrawPic(2, 460, 201);
    }
    STMT; DrawThread();
    STMT; if (At(obj, 15) == 0) {
      STMT; if (At(obj, 14) == 0) {
        STMT; WrapText(PartTwoText("p2.loc12.shut_thread"), 10);
      } else {
        STMT; WrapText(PartTwoText("p2.loc12.shut"), 10);
      }
    } else {
      STMT; if (At(obj, 14) == 0) {
        STMT; WrapText(PartTwoText("p2.loc12.open_thread"), 10);
      } else {
        STMT; WrapText(PartTwoText("p2.loc12.open"), 10);
      }
    }
  }

  STMT; if (At(obj, 15) == 0) {
    STMT; if (At(obj, 14) == 0) {
      STMT; opt = ChoiceMenu(130, "Go down the steps", "Examine the window", "Take the thread", "",
                             "");
    } else {
      STMT; opt = ChoiceMenu(110, "Go down the steps", "Examine the window", "", "", "");
    }
  } else {
    STMT; if (At(obj, 14) == 0) {
      STMT; opt = ChoiceMenu(150, "Go down the steps", "Climb onto the ledge", "Take the thread", "",
                             "");
    } else {
      STMT; opt = ChoiceMenu(130, "Go down the steps", "Climb onto the ledge", "", "", "");
    }
  }
  STMT; if (opt == 1) {
    STMT; loc = 10;
  }
  STMT; if (opt == 2) {
    STMT; if (At(obj, 15) == 0) {
      STMT; loc = 13;
    } else {
      STMT; loc = 18;
    }
  }
  STMT; if (opt == 3) {
    STMT; At(obj, 14) = 1;
  }
  return 0;
}

// Offered only while the window is shut. Without the crowbar (flag 6) a
// message page back to the room; with it a menu.
double PartTwoLoc13() {
  PROC;
  STMT; LoadTowerRoom();
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; DrawPic(1, 480, 201);
    STMT; DrawThread();
    STMT; WrapText(PartTwoText("p2.loc13.window"), 10);
  }
  STMT; if (At(obj, 6) == 0) {
    STMT; WaitContinue();
    STMT; loc = 12;
    return 0;
  }
  STMT; opt = ChoiceMenu(110, "Lever the window open", "Go down the steps", "Examine the room", "",
                         "");
  STMT; if (opt == 1) {
    // The crowbar stays carried.
    STMT; DrawPic(0, 0, 0);
    STMT; DrawPic(2, 460, 201);
    STMT; DrawThread();
    STMT; WrapText(PartTwoText("p2.loc13.lever"), 10);
    STMT; WaitContinue();
    STMT; At(obj, 15) = 1;
    STMT; loc = 12;
  }
  STMT; if (opt == 2) {
    STMT; loc = 10;
  }
  STMT; if (opt == 3) {
    STMT; loc = 12;
  }
  return 0;
}
