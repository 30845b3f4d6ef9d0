// The moat bank with the boat, the woodpile and the misty glade.
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

// The moat bank with the boat; logs from the woodpile roll it into the moat.
double PartOneLoc17() {
  PROC;
  STMT; if (loaded != 17) {
    STMT; LoadPic("a17", 0);
    STMT; LoadPic("a17a", 1);
    STMT; loaded = 17;
  }
  // The launch sets the flag that picks the page: one branch a call.
  STMT; if (At(obj, 16) == 0) {
    STMT; if (screendrawn == 0) {
      STMT; DrawPic(gfxsky, 0, 0);
      STMT; DrawPic(0, 0, 0);
      STMT; WrapText(PartOneText("p1.loc17.bank"), 10);
    }
    STMT; opt = ChoiceMenu(150, "Follow the murky moat", "Enter the forest", "Launch the boat", "", "");
    STMT; if (opt == 1) {
      STMT; loc = 7;
    }
    STMT; if (opt == 2) {
      STMT; loc = 19;
    }
    STMT; if (opt == 3) {
      STMT; if (At(obj, 15) == 0) {
        STMT; DrawPic(gfxsky, 0, 0);
        STMT; DrawPic(0, 0, 0);
        STMT; WrapText(PartOneText("p1.loc17.fail"), 10);
        STMT; WaitContinue();
      } else {
        STMT; DrawPic(gfxsky, 0, 0);
        STMT; DrawPic(0, 0, 0);
        STMT; WrapText(PartOneText("p1.loc17.launch"), 10);
        STMT; WaitContinue();
        STMT; At(obj, 16) = 1;
      }
    }
  } else {
    STMT; if (screendrawn == 0) {
      STMT; DrawPic(gfxsky, 0, 0);
      STMT; DrawPic(1, 0, 0);
      STMT; WrapText(PartOneText("p1.loc17.moat"), 10);
    }
    STMT; opt = ChoiceMenu(150, "Follow the murky moat", "Enter the forest", "Enter the boat", "", "");
    STMT; if (opt == 1) {
      STMT; loc = 7;
    }
    STMT; if (opt == 2) {
      STMT; loc = 19;
    }
    STMT; if (opt == 3) {
      STMT; loc = 32;
    }
  }
  return 0;
}

// The woodpile; with the axe, logs can be chopped once.
double PartOneLoc18() {
  PROC;
  STMT; if (loaded != 18) {
    STMT; LoadPic("a18", 0);
    STMT; loaded = 18;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc18"), 10);
  }
  STMT; if (At(obj, 3) == 1 && At(obj, 15) == 0) {
    STMT; opt = ChoiceMenu(110, "Explore the forest", "Follow the tracks", "Chop some wood", "", "");
  } else {
    STMT; opt = ChoiceMenu(110, "Explore the forest", "Follow the tracks", "", "", "");
  }
  STMT; if (opt == 1) {
    STMT; loc = 8;
  }
  STMT; if (opt == 2) {
    STMT; loc = 1;
  }
  STMT; if (opt == 3) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc18.chop"), 10);
    STMT; At(obj, 15) = 1;
    STMT; WaitContinue();
  }
  return 0;
}

// The misty glade by the stream.
double PartOneLoc19() {
  PROC;
  STMT; if (loaded != 19) {
    STMT; LoadPic("a19", 0);
    STMT; loaded = 19;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc19"), 10);
  }
  STMT; opt = ChoiceMenu(110, "Go up stream", "Go down stream", "Enter the forest", "", "");
  STMT; if (opt == 1) {
    STMT; loc = 20;
  }
  STMT; if (opt == 2) {
    STMT; loc = 23;
  }
  STMT; if (opt == 3) {
    STMT; loc = 18;
  }
  return 0;
}
