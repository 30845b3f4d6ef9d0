// Locations 14 to 16: the ledge by the drain at the end of the dungeon's
// tunnel, and two views of the castle courtyard above it.
#define GAME_SOURCE_FILE 2

#include "game/choice_menu.h"
#include "game/game_state.h"
#include "game/part_two/part_two_locations.h"
#include "game/part_two/part_two_texts.h"
#include "game/pictures.h"
#include "game/word_wrap.h"
#include "game/procedure.h"

namespace {

void LoadCourtyard() {
  PROC;
  STMT; if (loaded != 15) {
    STMT; LoadPic("b15", 0);
    STMT; loaded = 15;
  }
}

}  // namespace

double PartTwoLoc14() {
  PROC;
  STMT; if (loaded != 14) {
    STMT; LoadPic("b14", 0);
    STMT; loaded = 14;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; maxkern = 480;
    STMT; WrapText(PartTwoText("p2.loc14.drain"), 40);
  }
  STMT; opt = ChoiceMenu(160, "Enter the dungeon", "Climb up the ladder", "", "", "");
  STMT; if (opt == 1) {
    STMT; loc = 1;
  }
  STMT; if (opt == 2) {
    STMT; loc = 15;
  }
  return 0;
}

double PartTwoLoc15() {
  PROC;
  STMT; LoadCourtyard();
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartTwoText("p2.loc15.courtyard"), 10);
  }
  STMT; opt = ChoiceMenu(110, "Go down the mousehole", "Enter the stable", "Explore the courtyard",
                         "", "");
  STMT; if (opt == 1) {
    STMT; loc = 14;
  }
  STMT; if (opt == 2) {
    STMT; loc = 17;
  }
  STMT; if (opt == 3) {
    STMT; loc = 16;
  }
  return 0;
}

double PartTwoLoc16() {
  PROC;
  STMT; LoadCourtyard();
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartTwoText("p2.loc16.door"), 10);
  }
  STMT; opt = ChoiceMenu(90, "Go down the mousehole", "Enter the stable", "Explore the courtyard",
                         "", "");
  STMT; if (opt == 1) {
    STMT; loc = 14;
  }
  STMT; if (opt == 2) {
    STMT; loc = 17;
  }
  STMT; if (opt == 3) {
    STMT; loc = 15;
  }
  return 0;
}
