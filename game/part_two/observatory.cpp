// Locations 38 to 43: the control room under the observatory dome, the
// beam machine and its buttons, the catwalk outside, and the explosion.
#define GAME_SOURCE_FILE 2

#include "game/part_two/locations_17_44.h"

#include "frame/frame_function.h"
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

// Locations 38 to 41 share the control room's pictures.
void LoadControlRoom() {
  PROC;
  STMT; if (loaded != 38) {
    STMT; LoadPic("b38", 0);
    STMT; LoadPic("b38a", 1);
    STMT; LoadPic("b38b", 2);
    STMT; LoadPic("b38c", 3);
    STMT; loaded = 38;
  }
}

// The room as the machine stands: quiet, or humming once armed.
void DrawControlRoom() {
  PROC;
  STMT; if (At(obj, 32) == 0) {
    STMT; DrawPic(0, 0, 0);
  } else {
    STMT; DrawPic(1, 0, 0);
  }
}

}  // namespace

double PartTwoLoc38() {
  PROC;
  STMT; LoadControlRoom();
  STMT; DrawControlRoom();
  STMT; WrapText(PartTwoText("p2.loc38.page"), 10);
  STMT; WaitContinue();
  STMT; loc = 39;
  return 0;
}

double PartTwoLoc39() {
  PROC;
  STMT; LoadControlRoom();
  STMT; DrawControlRoom();
  STMT; WrapText(PartTwoText("p2.loc39.page"), 10);
  STMT; WaitContinue();
  STMT; loc = 40;
  return 0;
}

double PartTwoLoc40() {
  PROC;
  STMT; LoadControlRoom();
  STMT; if (screendrawn == 0) {
    STMT; DrawControlRoom();
    STMT; WrapText(PartTwoText("p2.loc40.page"), 10);
  }
  STMT; opt = ChoiceMenu(110, "Examine the machine", "Return to the passage",
                         "Go out onto the catwalk", "", "");
  STMT; if (opt == 1) {
    STMT; loc = 41;
  }
  STMT; if (opt == 2) {
    STMT; loc = 37;
  }
  STMT; if (opt == 3) {
    STMT; if (At(obj, 29) != 0) {
      STMT; loc = 42;
    } else {
      STMT; DrawControlRoom();
      STMT; WrapText(PartTwoText("p2.loc40.locked"), 10);
      STMT; WaitContinue();
    }
  }
  return 0;
}

double PartTwoLoc41() {
  PROC;
  STMT; LoadControlRoom();
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(3, 0, 0);
    STMT; WrapText(PartTwoText("p2.loc41.page"), 10);
  }
  STMT; opt = ChoiceMenu(130, "Press the red button", "Press the green button", "Explore further",
                         "", "");
  // The green button flips the state the buttons are read by: each press
  // takes one branch.
  STMT; if (opt == 1) {
    STMT; if (At(obj, 32) == 0) {
      STMT; DrawPic(0, 0, 0);
      STMT; WrapText(PartTwoText("p2.loc41.silent"), 10);
      STMT; WaitContinue();
    } else {
      STMT; DrawPic(2, 0, 0);
      STMT; WrapText(PartTwoText("p2.loc41.fire"), 10);
      STMT; WaitContinue();
      STMT; if (At(obj, 31) == 1) {
        STMT; loc = 43;
      } else {
        STMT; DrawPic(1, 0, 0);
        STMT; WrapText(PartTwoText("p2.loc41.warning"), 10);
        STMT; WaitContinue();
      }
    }
  }
  STMT; if (opt == 2) {
    STMT; if (At(obj, 32) == 0) {
      STMT; DrawPic(1, 0, 0);
      STMT; WrapText(PartTwoText("p2.loc41.humming"), 10);
      STMT; WaitContinue();
      STMT; At(obj, 32) = 1;
    } else {
      STMT; DrawPic(0, 0, 0);
      STMT; WrapText(PartTwoText("p2.loc41.safe"), 10);
      STMT; WaitContinue();
      STMT; At(obj, 32) = 0;
    }
  }
  STMT; if (opt == 3) {
    STMT; loc = 40;
  }
  return 0;
}

double PartTwoLoc42() {
  PROC;
  STMT; if (loaded != 42) {
    STMT; LoadPic("b42", 0);
    STMT; LoadPic("b42a", 1);
    STMT; loaded = 42;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(0, 0, 0);
    STMT; if (At(obj, 31) == 0) {
      STMT; WrapText(PartTwoText("p2.loc42.page"), 10);
    } else {
      STMT; DrawPic(1, 30, 330);
      STMT; WrapText(PartTwoText("p2.loc42.mirror"), 10);
    }
  }
  // Putting the mirror in the slot changes the state the menu is chosen
  // by: one choice.
  STMT; if (At(obj, 31) == 0) {
    STMT; if (At(obj, 12) == 0) {
      STMT; opt = ChoiceMenu(110, "Admire the view", "Enter the observatory", "", "", "");
    } else {
      STMT; opt = ChoiceMenu(110, "Admire the view", "Enter the observatory",
                             "Put the mirror in the slot", "", "");
    }
  } else {
    STMT; opt = ChoiceMenu(130, "Admire the view", "Enter the observatory", "", "", "");
  }
  STMT; if (opt == 1) {
    STMT; DrawPic(gfxsky, 0, 0);
    STMT; DrawPic(gfxfall, 0, 0);
    STMT; WrapText(PartTwoText("p2.loc42.wind"), 10);
    STMT; WaitContinue();
    STMT; loc = 36;
  }
  STMT; if (opt == 2) {
    STMT; loc = 39;
  }
  STMT; if (opt == 3) {
    STMT; At(obj, 31) = 1;
  }
  return 0;
}

double PartTwoLoc43() {
  PROC;
  STMT; if (loaded != 43) {
    STMT; LoadPic("b43", 0);
    STMT; LoadPic("b43a", 1);
    STMT; loaded = 43;
  }
  // Eight flashes of the whole screen, yellow then red.
  LOCAL(loop);
  STMT; for (loop = 1; loop <= 8; loop = loop + 1) {
    STMT; DrawRectCmd(0, 0, 640 / resx, 480 / resx, 65535);
    STMT; ShowScreen();
    STMT; SleepMs(80);
    STMT; DrawRectCmd(0, 0, 640 / resx, 480 / resx, 255);
    STMT; ShowScreen();
    STMT; SleepMs(80);
  }
  STMT; DrawPic(0, 0, 0);
  STMT; WrapText(PartTwoText("p2.loc43.explosion"), 10);
  STMT; WaitContinue();
  STMT; DrawPic(1, 0, 0);
  STMT; WrapText(PartTwoText("p2.loc43.pudding"), 10);
  STMT; WaitContinue();
  STMT; loc = 44;
  return 0;
}
