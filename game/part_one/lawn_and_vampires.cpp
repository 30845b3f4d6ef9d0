// The plant that grabs, the snowy lawn with the hungry cat, the steps down
// to the moat and the passage with the mechanical vampires.
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

// Caught by the plant; only Tibbet gets the player loose.
double PartOneLoc46() {
  PROC;
  STMT; if (loaded != 46) {
    STMT; LoadPic("a46", 0);
    STMT; LoadPic("a46a", 1);
    STMT; loaded = 46;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc46.caught"), 10);
  }
  STMT; opt = ChoiceMenu(110, "Make a run for it", "Ask Tibbet for help", "", "", "");
  STMT; if (opt == 1) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc46.run"), 10);
    STMT; WaitContinue();
  }
  STMT; if (opt == 2) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(1, 0, 0);
    STMT; WrapText(PartOneText("p1.loc46.freed"), 10);
    STMT; WaitContinue();
    STMT; loc = 45;
  }
  return 0;
}

// Snowy lawn with the cat: the red herring gets the player past it.
double PartOneLoc47() {
  PROC;
  STMT; if (loaded != 47) {
    STMT; LoadPic("a47", 0);
    STMT; loaded = 47;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc47.lawn"), 10);
  }
  STMT; if (At(obj, 17) == 1 && At(obj, 18) == 0) {
    STMT; opt = ChoiceMenu(110, "Beat a retreat", "Leap past the cat", "Offer some milk", "", "");
  } else if (At(obj, 17) == 0 && At(obj, 18) == 1) {
    STMT; opt = ChoiceMenu(110, "Beat a retreat", "Leap past the cat", "Offer the red herring", "", "");
  } else {
    STMT; opt = ChoiceMenu(110, "Beat a retreat", "Leap past the cat", "", "", "");
  }
  STMT; if (opt == 1) loc = 45;
  STMT; if (opt == 2) loc = 16;
  STMT; if (opt == 3 && At(obj, 17) == 1) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc47.milk"), 10);
    STMT; WaitContinue();
    STMT; loc = 16;
  }
  STMT; if (opt == 3 && At(obj, 18) == 1) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc47.herring"), 10);
    STMT; WaitContinue();
    STMT; loc = 48;
  }
  return 0;
}

// The lawn by the steps to the moat, where the old bucket is filled. With
// only the bucket its option stands in row 3 and is renumbered to 4.
double PartOneLoc48() {
  PROC;
  STMT; if (loaded != 48) {
    STMT; LoadPic("a48", 0);
    STMT; loaded = 48;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc48.steps"), 10);
  }
  STMT; if (At(obj, 1) == 1 && At(obj, 11) == 1) {
    STMT; opt = ChoiceMenu(130, "Enter the conservatory", "Go for a swim", "Fill the bottle",
                           "Fill the bucket", "");
  } else if (At(obj, 1) == 1) {
    STMT; opt = ChoiceMenu(130, "Enter the conservatory", "Go for a swim", "Fill the bottle", "", "");
  } else if (At(obj, 11) == 1) {
    STMT; opt = ChoiceMenu(130, "Enter the conservatory", "Go for a swim", "Fill the bucket", "", "");
    STMT; if (opt == 3) opt = 4;
  } else {
    STMT; opt = ChoiceMenu(130, "Enter the conservatory", "Go for a swim", "", "", "");
  }
  STMT; if (opt == 1) loc = 45;
  STMT; if (opt == 2) loc = 16;
  STMT; if (opt == 3) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc48.bottle"), 10);
    STMT; WaitContinue();
  }
  STMT; if (opt == 4) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc48.bucket"), 10);
    STMT; WaitContinue();
    STMT; At(obj, 28) = 1;
  }
  return 0;
}

// Passage with the mechanical vampires. Throwing the murky water destroys
// them, which picks the remains page: the two pages are exclusive, so the
// menu runs once a frame. With only the water its option stands in row 3
// and is renumbered to 4.
double PartOneLoc49() {
  PROC;
  STMT; if (loaded != 49) {
    STMT; LoadPic("a49", 0);
    STMT; LoadPic("a49a", 1);
    STMT; loaded = 49;
  }
  STMT; if (At(obj, 29) == 0) {
    STMT; if (screendrawn == 0) {
      STMT; DrawPic(0, 0, 0);
      STMT; WrapText(PartOneText("p1.loc49.vampires"), 10);
    }
    STMT; if (At(obj, 6) == 1 && At(obj, 28) == 1) {
      STMT; opt = ChoiceMenu(110, "Retreat down the passage", "Look menacing", "Hold up the garlic",
                             "Throw the murky water", "");
    } else if (At(obj, 6) == 1) {
      STMT; opt = ChoiceMenu(110, "Retreat down the passage", "Look menacing", "Hold up the garlic", "",
                             "");
    } else if (At(obj, 28) == 1) {
      STMT; opt = ChoiceMenu(110, "Retreat down the passage", "Look menacing", "Throw the murky water",
                             "", "");
      STMT; if (opt == 3) opt = 4;
    } else {
      STMT; opt = ChoiceMenu(110, "Retreat down the passage", "Look menacing", "", "", "");
    }
    STMT; if (opt == 1) loc = 44;
    STMT; if (opt == 2) {
      STMT; DrawPic(0, 0, 0);
      STMT; WrapText(PartOneText("p1.loc49.menacing"), 10);
      STMT; WaitContinue();
    }
    STMT; if (opt == 3) {
      STMT; DrawPic(0, 0, 0);
      STMT; WrapText(PartOneText("p1.loc49.garlic"), 10);
      STMT; WaitContinue();
    }
    STMT; if (opt == 4) {
      STMT; DrawPic(1, 0, 0);
      STMT; WrapText(PartOneText("p1.loc49.water"), 10);
      STMT; WaitContinue();
      STMT; At(obj, 29) = 1;
    }
  } else {
    STMT; if (screendrawn == 0) {
      STMT; DrawPic(1, 0, 0);
      STMT; WrapText(PartOneText("p1.loc49.remains"), 10);
    }
    STMT; opt = ChoiceMenu(110, "Enter the hall", "Go down the passage", "", "", "");
    STMT; if (opt == 1) loc = 50;
    STMT; if (opt == 2) loc = 44;
  }
  return 0;
}
