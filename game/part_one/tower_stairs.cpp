// The tower stairs, the chute they turn into and the dark room below it.
#define GAME_SOURCE_FILE 1

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

// Halfway up the tower stairs: a narrow column of text beside the stairway.
double PartOneLoc35() {
  PROC;
  STMT; if (loaded != 35) {
    STMT; LoadPic("a35", 0);
    STMT; loaded = 35;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; PrintTxt(PartOneText("p1.loc35.line1"), 280, 90);
    STMT; PrintTxt(PartOneText("p1.loc35.line2"), 280, 110);
    STMT; PrintTxt(PartOneText("p1.loc35.line3"), 280, 130);
    STMT; PrintTxt(PartOneText("p1.loc35.line4"), 280, 150);
    STMT; PrintTxt(PartOneText("p1.loc35.line5"), 280, 170);
    STMT; PrintTxt(PartOneText("p1.loc35.line6"), 280, 190);
  }
  STMT; opt = ChoiceMenu(250, "Continue to the top", "Stop to catch your breath", "", "", "");
  STMT; if (opt == 1) loc = 38;
  STMT; if (opt == 2) loc = 36;
  return 0;
}

// The stairs give way to a chute: with the lantern it ends at the gorilla's
// gate, without it in the dark room. No menu; the shared pictures only.
double PartOneLoc36() {
  PROC;
  STMT; DrawPic(gfxdarkfall, 0, 0);
  STMT; DrawPic(gfxfall, 0, 0);
  STMT; WrapText(PartOneText("p1.loc36.chute"), 10);
  STMT; WaitContinue();
  STMT; if (At(obj, 7) == 0) {
    STMT; loc = 37;
  }
  STMT; if (At(obj, 7) == 1) {
    STMT; loc = 30;
  }
  return 0;
}

// The dark room: every way out leads back to the clearing.
double PartOneLoc37() {
  PROC;
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(gfxindark, 0, 0);
    STMT; WrapText(PartOneText("p1.dark.chuckle"), 10);
  }
  STMT; opt = ChoiceMenu(90, "Panic", "Grope around in the dark", "", "", "");
  STMT; if (opt > 0) {
    STMT; DrawPic(gfxindark, 0, 0);
    STMT; WrapText(PartOneText("p1.dark.panic"), 10);
    STMT; WaitContinue();
    STMT; loc = 1;
  }
  return 0;
}
