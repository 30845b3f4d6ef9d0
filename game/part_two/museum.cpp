// Locations 27 to 29: the museum entrance with its snake, a tune played to
// the snake, and the display cases with the dinosaur egg.
#define GAME_SOURCE_FILE 2

#include "game/part_two/locations_17_44.h"

#include "game/choice_menu.h"
#include "game/continue_prompt.h"
#include "game/element_access.h"
#include "game/game_state.h"
#include "game/part_two/part_two_texts.h"
#include "game/pictures.h"
#include "game/word_wrap.h"
#include "game/procedure.h"

namespace {

// The three locations share the museum's pictures.
void LoadMuseum() {
  PROC;
  STMT; if (loaded != 27) {
    STMT; LoadPic("b27", 0);
    STMT; LoadPic("b27a", 1);
    STMT; LoadPic("b27b", 2);
    STMT; LoadPic("b27c", 3);
    STMT; loaded = 27;
  }
}

// The egg in its case until it is taken.
void DrawEgg() {
  PROC;
  STMT; if (At(obj, 24) == 0) {
    STMT; DrawPic(3, 442, 296);
  }
}

// The museum with the snake out among the cases.
void DrawSnake() {
  PROC;
  STMT; DrawPic(0, 0, 0);
  STMT; DrawPic(1, 236, 220);
  STMT; DrawEgg();
}

}  // namespace

double PartTwoLoc27() {
  PROC;
  STMT; LoadMuseum();
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; DrawEgg();
    STMT; if (At(obj, 23) == 0) {
      STMT; WrapText(PartTwoText("p2.loc27.page"), 10);
    } else {
      STMT; WrapText(PartTwoText("p2.loc27.quiet"), 10);
    }
  }
  STMT; if (At(obj, 23) == 0) {
    LOCAL(have);
    STMT; have = At(obj, 17) + At(obj, 18) + At(obj, 19);
    STMT; if (have != 0) {
      STMT; opt = ChoiceMenu(190, "Go down the steps", "Examine the displays", "Explore further",
                             "Go through the exit", "Play a tune");
    } else {
      STMT; opt = ChoiceMenu(190, "Go down the steps", "Examine the displays", "Explore further",
                             "Go through the exit", "");
    }
    STMT; if (opt == 1) {
      STMT; loc = 8;
    }
    STMT; if (opt == 2 || opt == 3) {
      STMT; DrawSnake();
      STMT; WrapText(PartTwoText("p2.loc27.snake"), 10);
      STMT; WaitContinue();
      STMT; loc = 15;
    }
    STMT; if (opt == 4) {
      STMT; loc = 15;
    }
    STMT; if (opt == 5) {
      STMT; loc = 28;
    }
  } else {
    STMT; opt = ChoiceMenu(130, "Go down the steps", "Examine the displays", "Explore further",
                           "Go through the exit", "");
    STMT; if (opt == 1) {
      STMT; loc = 8;
    }
    STMT; if (opt == 2) {
      STMT; loc = 29;
    }
    STMT; if (opt == 3) {
      STMT; loc = 30;
    }
    STMT; if (opt == 4) {
      STMT; loc = 15;
    }
  }
  return 0;
}

double PartTwoLoc28() {
  PROC;
  STMT; LoadMuseum();
  STMT; if (At(obj, 17) == 1) {
    STMT; DrawSnake();
    STMT; WrapText(PartTwoText("p2.loc28.trumpet"), 10);
    STMT; WaitContinue();
    STMT; loc = 15;
  }
  STMT; if (At(obj, 18) == 1) {
    STMT; DrawSnake();
    STMT; WrapText(PartTwoText("p2.loc28.flute"), 10);
    STMT; WaitContinue();
    STMT; if (At(obj, 8) == 0) {
      STMT; DrawPic(0, 0, 0);
      STMT; DrawEgg();
      STMT; WrapText(PartTwoText("p2.loc28.music_stops"), 10);
      STMT; WaitContinue();
      STMT; loc = 27;
    }
    STMT; if (At(obj, 8) == 1) {
      STMT; DrawPic(0, 0, 0);
      STMT; DrawPic(2, 245, 225);
      STMT; DrawEgg();
      STMT; WrapText(PartTwoText("p2.loc28.basket"), 10);
      STMT; WaitContinue();
      STMT; At(obj, 23) = 1;
      STMT; loc = 27;
    }
  }
  STMT; if (At(obj, 19) == 1) {
    STMT; DrawSnake();
    STMT; WrapText(PartTwoText("p2.loc28.cymbals"), 10);
    STMT; WaitContinue();
    STMT; loc = 15;
  }
  // Only reached with an instrument; without one, back to the entrance
  // rather than spin here without a frame.
  STMT; if (At(obj, 17) + At(obj, 18) + At(obj, 19) == 0) {
    STMT; loc = 27;
  }
  return 0;
}

double PartTwoLoc29() {
  PROC;
  STMT; LoadMuseum();
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; if (At(obj, 24) == 0) {
      STMT; DrawEgg();
      STMT; WrapText(PartTwoText("p2.loc29.page"), 10);
    } else {
      STMT; WrapText(PartTwoText("p2.loc29.no_egg"), 10);
    }
  }
  STMT; if (At(obj, 24) == 0) {
    STMT; opt = ChoiceMenu(90, "Explore further", "Go to the steps", "Take the egg", "", "");
  } else {
    STMT; opt = ChoiceMenu(70, "Explore further", "Go to the steps", "", "", "");
  }
  STMT; if (opt == 1) {
    STMT; loc = 30;
  }
  STMT; if (opt == 2) {
    STMT; loc = 27;
  }
  STMT; if (opt == 3) {
    STMT; At(obj, 24) = 1;
  }
  return 0;
}
