// The one-clawed hermit crab in the forest, who trades a flask of moonshine
// for the ring.
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

double PartOneLoc43() {
  PROC;
  STMT; if (loaded != 43) {
    STMT; LoadPic("a43", 0);
    STMT; loaded = 43;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc43.crab"), 180);
  }
  // The ring can be given once; any other state keeps the two-way menu, so
  // a menu runs on every frame.
  STMT; if (At(obj, 13) == 1 && At(obj, 24) == 0) {
    STMT; opt = ChoiceMenu(280, "Enter the forest", "Grin inanely", "Give him the ring", "", "");
  } else {
    STMT; opt = ChoiceMenu(280, "Enter the forest", "Grin inanely", "", "", "");
  }
  STMT; if (opt == 1) loc = 8;
  STMT; if (opt == 2) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc43.grin"), 180);
    STMT; WaitContinue();
  }
  STMT; if (opt == 3) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc43.ring"), 180);
    STMT; WaitContinue();
    STMT; At(obj, 24) = 1;
    STMT; loc = 8;
  }
  return 0;
}
