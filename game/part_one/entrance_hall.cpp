// The castle's entrance hall, and the same hall once the wide stairs have
// turned out to be guarded.
#define GAME_SOURCE_FILE 1

#include "game/choice_menu.h"
#include "game/game_state.h"
#include "game/page_texts.h"
#include "game/part_one/part_one_locations.h"
#include "game/pictures.h"
#include "game/word_wrap.h"
#include "game/procedure.h"

double PartOneLoc50() {
  PROC;
  STMT; if (loaded != 50) {
    STMT; LoadPic("a50", 0);
    STMT; loaded = 50;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc50.hall"), 10);
  }
  STMT; opt = ChoiceMenu(170, "Leave by the oak door", "Enter the passage", "Go down the dark stairs",
                         "Go up the wide stairs", "");
  STMT; if (opt == 1) loc = 15;
  STMT; if (opt == 2) loc = 49;
  STMT; if (opt == 3) loc = 51;
  STMT; if (opt == 4) loc = 52;
  return 0;
}

// Someone is coming down the wide stairs: the hall without them.
double PartOneLoc52() {
  PROC;
  STMT; if (loaded != 50) {
    STMT; LoadPic("a50", 0);
    STMT; loaded = 50;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc52.stairs"), 10);
  }
  STMT; opt = ChoiceMenu(130, "Leave by the oak door", "Enter the passage", "Go down the dark stairs", "",
                         "");
  STMT; if (opt == 1) loc = 15;
  STMT; if (opt == 2) loc = 49;
  STMT; if (opt == 3) loc = 51;
  return 0;
}
