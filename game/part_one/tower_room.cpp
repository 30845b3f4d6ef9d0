// The room at the top of the tower with its feather, and the ledge outside
// its window.
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

// Room at the top of the stairs. Taking the feather changes the menu only
// from the next frame: one menu runs a frame.
double PartOneLoc38() {
  PROC;
  STMT; if (loaded != 38) {
    STMT; LoadPic("a38", 0);
    STMT; LoadPic("a38a", 1);
    STMT; loaded = 38;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; if (At(obj, 20) == 0) {
      STMT; DrawPic(1, 5, 363);
      STMT; WrapText(PartOneText("p1.loc38.feather"), 10);
    } else {
      STMT; WrapText(PartOneText("p1.loc38.room"), 10);
    }
  }
  STMT; if (At(obj, 20) == 1) {
    STMT; opt = ChoiceMenu(170, "Go down the stairs", "Climb onto the ledge", "Leap from the window", "", "");
  } else if (At(obj, 20) == 0) {
    STMT; opt = ChoiceMenu(170, "Go down the stairs", "Climb onto the ledge", "Leap from the window",
                           "Take the feather", "");
  }
  STMT; if (opt == 1) loc = 36;
  STMT; if (opt == 2) loc = 39;
  STMT; if (opt == 3) loc = 16;
  STMT; if (opt == 4) {
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc38.take"), 10);
    STMT; WaitContinue();
    STMT; At(obj, 20) = 1;
  }
  return 0;
}

// The narrow ledge: the wind sends the player down into the moat.
double PartOneLoc39() {
  PROC;
  STMT; DrawPic(gfxsky, 0, 0);
  STMT; DrawPic(gfxfall, 0, 0);
  STMT; WrapText(PartOneText("p1.loc39.ledge"), 10);
  STMT; WaitContinue();
  STMT; loc = 16;
  return 0;
}
