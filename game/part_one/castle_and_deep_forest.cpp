// The castle entrance by the moat and the deep forest around the clearing,
// where the rope lies under the snow.
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

// Castle entrance by the moat.
double PartOneLoc07() {
  PROC;
  STMT; if (loaded != 7) {
    STMT; LoadPic("a07", 0);
    STMT; loaded = 7;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc07"), 10);
  }
  STMT; opt = ChoiceMenu(150, "Follow the murky moat", "Go to the clearing", "Cross the stone bridge",
                         "", "");
  STMT; if (opt == 1) {
    STMT; loc = 14;
  }
  STMT; if (opt == 2) {
    STMT; loc = 1;
  }
  STMT; if (opt == 3) {
    STMT; loc = 15;
  }
  return 0;
}

// Deep in the forest.
double PartOneLoc08() {
  PROC;
  STMT; if (loaded != 8) {
    STMT; LoadPic("a08", 0);
    STMT; loaded = 8;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc08"), 180);
  }
  STMT; opt = ChoiceMenu(250, "Go to the clearing", "Explore further", "", "", "");
  STMT; if (opt == 1) {
    STMT; loc = 1;
  }
  STMT; if (opt == 2) {
    STMT; loc = 9;
  }
  return 0;
}

// Still deep in the forest.
double PartOneLoc09() {
  PROC;
  STMT; if (loaded != 8) {
    STMT; LoadPic("a08", 0);
    STMT; loaded = 8;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc09"), 180);
  }
  STMT; opt = ChoiceMenu(250, "Go to the clearing", "Explore further", "", "", "");
  STMT; if (opt == 1) {
    STMT; loc = 1;
  }
  STMT; if (opt == 2) {
    STMT; loc = 10;
  }
  return 0;
}

// Tibbet tires; with the shovel, a rope can be dug out of the snow.
double PartOneLoc10() {
  PROC;
  STMT; if (loaded != 8) {
    STMT; LoadPic("a08", 0);
    STMT; loaded = 8;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc10"), 180);
  }
  STMT; if (At(obj, 2) == 1 && At(obj, 14) == 0) {
    STMT; opt = ChoiceMenu(230, "Go to the clearing", "Explore further", "Clear some snow", "", "");
  } else {
    STMT; opt = ChoiceMenu(230, "Go to the clearing", "Explore further", "", "", "");
  }
  STMT; if (opt == 1) {
    STMT; loc = 1;
  }
  STMT; if (opt == 2) {
    STMT; loc = 8;
  }
  STMT; if (opt == 3) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc10.rope"), 170);
    STMT; At(obj, 14) = 1;
    STMT; WaitContinue();
  }
  return 0;
}
