// Lost in the dense forest: three pages that "Press on" walks and "Turn
// back" starts again; the compass shows the way to the hermit crab.
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

namespace {

// The compass points the way while it is carried and the flask is not.
bool CompassPoints() { return At(obj, 23) == 1 && At(obj, 24) == 0; }

}  // namespace

// Lost in the forest.
double PartOneLoc20() {
  PROC;
  STMT; if (loaded != 8) {
    STMT; LoadPic("a08", 0);
    STMT; loaded = 8;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc20"), 180);
    STMT; if (CompassPoints()) {
      STMT; WrapText(PartOneText("p1.forest.compass"), 260);
    }
  }
  STMT; opt = ChoiceMenu(300, "Press on", "Turn back", "", "", "");
  STMT; if (opt == 1) {
    STMT; loc = 21;
  }
  STMT; if (opt == 2) {
    STMT; loc = 20;
  }
  return 0;
}

// Still lost in the forest.
double PartOneLoc21() {
  PROC;
  STMT; if (loaded != 8) {
    STMT; LoadPic("a08", 0);
    STMT; loaded = 8;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc21"), 180);
    STMT; if (CompassPoints()) {
      STMT; WrapText(PartOneText("p1.forest.compass"), 260);
    }
  }
  STMT; opt = ChoiceMenu(300, "Press on", "Turn back", "", "", "");
  STMT; if (opt == 1) {
    STMT; loc = 22;
  }
  STMT; if (opt == 2) {
    STMT; loc = 20;
  }
  return 0;
}

// Still lost in the dense forest: pressing on with the compass finds the
// hermit crab, without it the way leads back to the deep forest.
double PartOneLoc22() {
  PROC;
  STMT; if (loaded != 8) {
    STMT; LoadPic("a08", 0);
    STMT; loaded = 8;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc22"), 180);
    STMT; if (CompassPoints()) {
      STMT; WrapText(PartOneText("p1.forest.compass"), 260);
    }
  }
  STMT; opt = ChoiceMenu(300, "Press on", "Turn back", "", "", "");
  STMT; if (opt == 1) {
    STMT; if (CompassPoints()) {
      STMT; loc = 43;
    } else {
      STMT; loc = 8;
    }
  }
  STMT; if (opt == 2) {
    STMT; loc = 20;
  }
  return 0;
}
