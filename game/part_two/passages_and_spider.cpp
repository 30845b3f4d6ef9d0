// Locations 6 to 9, west of the maze: the dusty passage, the spider that
// blocks it until it has the silk thread, the low passage by the pit and
// the fall into the pit.
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

// The passage, the spider and the spider with the thread: set 6, shared by
// locations 6 and 7.
void LoadPassage() {
  PROC;
  STMT; if (loaded != 6) {
    STMT; LoadPic("b06", 0);
    STMT; LoadPic("b06a", 1);
    STMT; LoadPic("b06b", 2);
    STMT; loaded = 6;
  }
}

}  // namespace

double PartTwoLoc06() {
  PROC;
  STMT; LoadPassage();
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartTwoText("p2.loc06.passage"), 10);
  }
  STMT; opt = ChoiceMenu(110, "Go along the passage", "Enter the maze", "", "", "");
  STMT; if (opt == 1) {
    // The spider bars the way until it has the thread (flag 22).
    STMT; if (At(obj, 22) == 0) {
      STMT; loc = 7;
    }
    STMT; if (At(obj, 22) == 1) {
      STMT; loc = 8;
    }
  }
  STMT; if (opt == 2) {
    STMT; loc = 3;
    STMT; mazeloc = 9;
  }
  return 0;
}

// With the silk thread (flag 14) the spider can be given it (flag 22).
double PartTwoLoc07() {
  PROC;
  STMT; LoadPassage();
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; DrawPic(1, 140, 270);
    STMT; if (At(obj, 14) == 0) {
      STMT; WrapText(PartTwoText("p2.loc07.web"), 10);
    } else {
      STMT; WrapText(PartTwoText("p2.loc07.spider"), 10);
    }
  }
  STMT; if (At(obj, 14) == 0) {
    STMT; opt = ChoiceMenu(90, "Get out quick", "Ignore the spider", "", "", "");
  } else {
    STMT; opt = ChoiceMenu(70, "Get out quick", "Ignore the spider", "Give him the thread", "", "");
  }
  STMT; if (opt == 1) {
    STMT; loc = 3;
    STMT; mazeloc = 9;
  }
  STMT; if (opt == 2) {
    STMT; DrawPic(0, 0, 0);
    STMT; DrawPic(1, 140, 270);
    STMT; WrapText(PartTwoText("p2.loc07.ignore"), 10);
    STMT; WaitContinue();
    STMT; loc = 3;
    STMT; mazeloc = 9;
  }
  STMT; if (opt == 3) {
    // The thread stays carried.
    STMT; DrawPic(0, 0, 0);
    STMT; DrawPic(2, 30, 320);
    STMT; WrapText(PartTwoText("p2.loc07.thread"), 10);
    STMT; WaitContinue();
    STMT; At(obj, 22) = 1;
    STMT; loc = 8;
  }
  return 0;
}

double PartTwoLoc08() {
  PROC;
  STMT; if (loaded != 8) {
    STMT; LoadPic("b08", 0);
    STMT; loaded = 8;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartTwoText("p2.loc08.passage"), 10);
  }
  STMT; opt = ChoiceMenu(110, "Climb up the steps", "Go along the passage", "Look into the pit", "",
                         "");
  STMT; if (opt == 1) {
    STMT; loc = 27;
  }
  STMT; if (opt == 2) {
    STMT; loc = 6;
  }
  STMT; if (opt == 3) {
    STMT; loc = 9;
  }
  return 0;
}

// A page without a menu: drawn once per visit, then the pit bottom.
double PartTwoLoc09() {
  PROC;
  STMT; DrawPic(gfxdarkfall, 0, 0);
  STMT; DrawPic(gfxfall, 0, 0);
  STMT; WrapText(PartTwoText("p2.loc09.fall"), 10);
  STMT; WaitContinue();
  STMT; loc = 4;
  return 0;
}
