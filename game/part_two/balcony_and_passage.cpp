// Locations 33 to 37: gluing the skeleton, the balcony with its portraits,
// the toad's portrait, the fall into the straw and the dark passage.
#define GAME_SOURCE_FILE 2

#include "game/part_two/locations_17_44.h"

#include "frame/graphics_commands.h"
#include "game/choice_menu.h"
#include "game/continue_prompt.h"
#include "game/element_access.h"
#include "game/game_state.h"
#include "game/part_two/part_two_texts.h"
#include "game/pictures.h"
#include "game/word_wrap.h"
#include "game/procedure.h"

namespace {

// Locations 34 and 35 share the balcony's pictures.
void LoadBalcony() {
  PROC;
  STMT; if (loaded != 34) {
    STMT; LoadPic("b34", 0);
    STMT; LoadPic("b34a", 1);
    STMT; LoadPic("b18", 2);
    STMT; loaded = 34;
  }
}

}  // namespace

double PartTwoLoc33() {
  PROC;
  STMT; if (loaded != 33) {
    STMT; LoadPic("b33", 0);
    STMT; LoadPic("b33a", 1);
    STMT; loaded = 33;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartTwoText("p2.loc33.page"), 10);
  }
  STMT; opt = ChoiceMenu(110, "Continue to glue", "Wander off to explore", "", "", "");
  STMT; if (opt == 1) {
    STMT; DrawPic(1, 0, 0);
    STMT; WrapText(PartTwoText("p2.loc33.done"), 10);
    STMT; WaitContinue();
    STMT; At(obj, 33) = 0;
    STMT; loc = 30;
  }
  STMT; if (opt == 2) {
    STMT; loc = 27;
  }
  return 0;
}

double PartTwoLoc34() {
  PROC;
  STMT; LoadBalcony();
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartTwoText("p2.loc34.page"), 10);
  }
  STMT; if (At(obj, 5) == 0) {
    STMT; opt = ChoiceMenu(150, "Return to the museum", "Examine the portraits", "Jump to the ledge",
                           "", "");
  } else {
    STMT; opt = ChoiceMenu(150, "Return to the museum", "Examine the portraits", "Climb to the ledge",
                           "", "");
  }
  STMT; if (opt == 1) {
    STMT; DrawRectCmd(0, 0, 640 / resx, 480 / resx, 8421376);
    STMT; DrawPic(gfxfall, 0, 0);
    STMT; WrapText(PartTwoText("p2.loc34.museum"), 10);
    STMT; WaitContinue();
    STMT; loc = 30;
  }
  STMT; if (opt == 2) {
    STMT; loc = 35;
  }
  STMT; if (opt == 3) {
    STMT; if (At(obj, 5) == 0) {
      STMT; DrawPic(gfxsky, 0, 0);
      STMT; DrawPic(gfxfall, 0, 0);
      STMT; WrapText(PartTwoText("p2.loc34.jump"), 10);
      STMT; WaitContinue();
      STMT; loc = 36;
    } else {
      STMT; DrawPic(2, 0, 0);
      STMT; WrapText(PartTwoText("p2.loc34.rope"), 10);
      STMT; WaitContinue();
      STMT; loc = 18;
    }
  }
  return 0;
}

double PartTwoLoc35() {
  PROC;
  STMT; LoadBalcony();
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(1, 0, 0);
    STMT; WrapText(PartTwoText("p2.loc35.page"), 10);
  }
  STMT; opt = ChoiceMenu(130, "Explore further", "Release the catch", "", "", "");
  STMT; if (opt == 1) {
    STMT; loc = 34;
  }
  STMT; if (opt == 2) {
    STMT; if (At(obj, 3) == 0) {
      STMT; DrawPic(1, 0, 0);
      STMT; WrapText(PartTwoText("p2.loc35.out_of_reach"), 10);
      STMT; WaitContinue();
      STMT; loc = 34;
    } else {
      STMT; DrawPic(1, 0, 0);
      STMT; WrapText(PartTwoText("p2.loc35.knife"), 10);
      STMT; WaitContinue();
      STMT; loc = 37;
      STMT; At(obj, 30) = 1;
    }
  }
  return 0;
}

double PartTwoLoc36() {
  PROC;
  STMT; if (loaded != 36) {
    STMT; LoadPic("b36", 0);
    STMT; loaded = 36;
  }
  STMT; DrawPic(gfxsky, 0, 0);
  STMT; DrawPic(gfxfall, 0, 0);
  STMT; WrapText(PartTwoText("p2.loc36.falling"), 10);
  STMT; WaitContinue();
  STMT; DrawPic(gfxsky, 0, 0);
  STMT; DrawPic(0, 0, 0);
  STMT; WrapText(PartTwoText("p2.loc36.straw"), 10);
  STMT; WaitContinue();
  STMT; loc = 15;
  return 0;
}

double PartTwoLoc37() {
  PROC;
  STMT; if (loaded != 37) {
    STMT; LoadPic("b37", 0);
    STMT; loaded = 37;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; if (At(obj, 21) == 0) {
      STMT; WrapText(PartTwoText("p2.loc37.page"), 10);
    } else {
      STMT; WrapText(PartTwoText("p2.loc37.map"), 10);
    }
  }
  STMT; opt = ChoiceMenu(110, "Go to the left", "Go to the right", "Go straight on", "", "");
  STMT; if (opt == 1) {
    STMT; loc = 34;
  }
  STMT; if (opt == 2) {
    STMT; if (At(obj, 21) != 0) {
      STMT; loc = 38;
    } else {
      STMT; loc = 21;
    }
  }
  STMT; if (opt == 3) {
    STMT; loc = 37;
  }
  return 0;
}
