// The moat bank, the stone bridge with its bear and the fall into the moat.
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

// The moat bank by the bridge.
double PartOneLoc14() {
  PROC;
  STMT; if (loaded != 14) {
    STMT; LoadPic("a14", 0);
    STMT; loaded = 14;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc14"), 10);
  }
  STMT; opt = ChoiceMenu(110, "Follow the murky moat", "Go toward the bridge", "Enter the forest", "",
                         "");
  STMT; if (opt == 1) {
    STMT; loc = 17;
  }
  STMT; if (opt == 2) {
    STMT; loc = 7;
  }
  STMT; if (opt == 3) {
    STMT; loc = 18;
  }
  return 0;
}

// The stone bridge and the bear: neither choice gets across.
double PartOneLoc15() {
  PROC;
  STMT; if (loaded != 15) {
    STMT; LoadPic("a15", 0);
    STMT; LoadPic("a15a", 1);
    STMT; loaded = 15;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc15"), 10);
  }
  STMT; opt = ChoiceMenu(110, "Make a run for it", "Ask to be let past", "", "", "");
  STMT; if (opt == 1) {
    STMT; loc = 7;
  }
  STMT; if (opt == 2) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(1, 0, 0);
    STMT; WrapText(PartOneText("p1.loc15.bear"), 10);
    STMT; WaitContinue();
    STMT; loc = 16;
  }
  return 0;
}

// Fallen into the moat: one page, then out onto the bank.
double PartOneLoc16() {
  PROC;
  STMT; if (loaded != 16) {
    STMT; LoadPic("a16", 0);
    STMT; loaded = 16;
  }
  STMT; DrawPic(0, 0, 0);
  STMT; WrapText(PartOneText("p1.loc16"), 10);
  STMT; WaitContinue();
  STMT; loc = 14;
  return 0;
}
