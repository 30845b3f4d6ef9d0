// The gorilla at the wrought-iron gate: glum until it gets the feather.
#define GAME_SOURCE_FILE 1

#include "frame/graphics_commands.h"
#include "game/choice_menu.h"
#include "game/continue_prompt.h"
#include "game/element_access.h"
#include "game/game_state.h"
#include "game/page_texts.h"
#include "game/part_one/part_one_locations.h"
#include "game/pictures.h"
#include "game/word_wrap.h"
#include "game/procedure.h"

// Gorilla at the gate. Giving the feather makes the gorilla happy, which
// picks the other half of the page: the halves are exclusive, so the menu
// runs once a frame.
double PartOneLoc30() {
  PROC;
  STMT; if (loaded != 30) {
    STMT; LoadPic("a30", 0);
    STMT; LoadPic("a30a", 1);
    STMT; loaded = 30;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
  }
  STMT; if (At(obj, 21) == 0) {
    STMT; if (screendrawn == 0) {
      STMT; WrapText(PartOneText("p1.loc30.gorilla"), 10);
    }
    STMT; if (At(obj, 20) == 1) {
      STMT; opt = ChoiceMenu(110, "Return to the hut", "Panic", "Tell a few gorilla jokes",
                             "Go through the gate", "Give the gorilla the feather");
    } else {
      STMT; opt = ChoiceMenu(110, "Return to the hut", "Panic", "Tell a few gorilla jokes",
                             "Go through the gate", "");
    }
    STMT; if (opt == 1) loc = 11;
    STMT; if (opt == 2 || opt == 3) {
      STMT; ClearScreen();
      STMT; WrapText(PartOneText("p1.dark.panic"), 10);
      STMT; WaitContinue();
      STMT; loc = 11;
    }
    STMT; if (opt == 4) loc = 31;
    STMT; if (opt == 5) {
      STMT; At(obj, 21) = 1;
      STMT; loc = 40;
    }
  } else {
    STMT; if (screendrawn == 0) {
      STMT; DrawPic(1, 201, 311);
      STMT; WrapText(PartOneText("p1.loc30.happy"), 10);
    }
    STMT; opt = ChoiceMenu(110, "Return to the hut", "Panic", "Tell a few gorilla jokes",
                           "Go through the gate", "");
    STMT; if (opt == 1) loc = 11;
    STMT; if (opt == 2 || opt == 3) {
      STMT; ClearScreen();
      STMT; WrapText(PartOneText("p1.dark.panic"), 10);
      STMT; WaitContinue();
      STMT; loc = 11;
    }
    STMT; if (opt == 4) loc = 40;
  }
  return 0;
}

// The unhappy gorilla: the gate stays shut until the feather cheers it up.
double PartOneLoc31() {
  PROC;
  STMT; if (loaded != 30) {
    STMT; LoadPic("a30", 0);
    STMT; LoadPic("a30a", 1);
    STMT; loaded = 30;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc31.unhappy"), 10);
  }
  STMT; if (At(obj, 20) == 1) {
    STMT; opt = ChoiceMenu(110, "Return to the hut", "Panic", "Tell a few gorilla jokes",
                           "Go through the gate", "Give the gorilla the feather");
  } else {
    STMT; opt = ChoiceMenu(110, "Return to the hut", "Panic", "Tell a few gorilla jokes",
                           "Go through the gate", "");
  }
  STMT; if (opt == 1) loc = 11;
  STMT; if (opt == 2 || opt == 3) {
    STMT; ClearScreen();
    STMT; WrapText(PartOneText("p1.dark.panic"), 10);
    STMT; WaitContinue();
    STMT; loc = 11;
  }
  STMT; if (opt == 4) loc = 31;
  STMT; if (opt == 5) {
    STMT; At(obj, 21) = 1;
    STMT; loc = 40;
  }
  return 0;
}
