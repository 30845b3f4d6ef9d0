// Locations 4 and 5: the bottom of the pit with the padlocked store-room
// door, and the store room with its basket, barrel and pegs.
#define GAME_SOURCE_FILE 2

#include "game/choice_menu.h"
#include "game/continue_prompt.h"
#include "game/element_access.h"
#include "game/game_state.h"
#include "game/part_two/part_two_locations.h"
#include "game/part_two/part_two_texts.h"
#include "game/pictures.h"
#include "game/text_print.h"
#include "game/word_wrap.h"
#include "game/procedure.h"

// The padlock (flag 7) and the ladder to the ledge (flag 28) decide the
// menu; the file (flag 2) cuts the padlock off.
double PartTwoLoc04() {
  PROC;
  STMT; if (loaded != 4) {
    STMT; LoadPic("b04", 0);
    STMT; LoadPic("b04a", 1);
    STMT; loaded = 4;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(gfxdungeon, 0, 0);
    STMT; if (At(obj, 7) == 0) {
      STMT; DrawPic(0, 250, 259);
      STMT; WrapText(PartTwoText("p2.loc04.padlocked"), 10);
    } else {
      STMT; DrawPic(1, 250, 259);
      STMT; WrapText(PartTwoText("p2.loc04.open"), 10);
    }
  }

  // Cutting the padlock sets flag 7: the branches stay apart, so the same
  // choice is not read again by the menu of the open door.
  STMT; if (At(obj, 7) == 0) {
    STMT; if (At(obj, 28) == 0) {
      STMT; if (At(obj, 2) == 0) {
        STMT; opt = ChoiceMenu(130, "Return to the maze", "Enter the store", "", "", "");
      } else {
        STMT; opt = ChoiceMenu(130, "Return to the maze", "Enter the store", "Cut the padlock off",
                               "", "");
      }
    } else {
      STMT; if (At(obj, 2) == 0) {
        STMT; opt = ChoiceMenu(130, "Return to the maze", "Enter the store", "Climb to the ledge",
                               "", "");
      } else {
        STMT; opt = ChoiceMenu(130, "Return to the maze", "Enter the store", "Cut the padlock off",
                               "Climb to the ledge", "");
      }
      // Without the file the ladder stands third: it keeps its number 4.
      STMT; if (At(obj, 2) == 0 && opt == 3) {
        STMT; opt = 4;
      }
    }
    STMT; if (opt == 1) {
      STMT; loc = 3;
      STMT; mazeloc = 15;
    }
    STMT; if (opt == 2) {
      STMT; DrawPic(gfxdungeon, 0, 0);
      STMT; DrawPic(0, 250, 259);
      STMT; WrapText(PartTwoText("p2.loc04.padlock"), 10);
      STMT; WaitContinue();
    }
    STMT; if (opt == 3) {
      STMT; DrawPic(gfxdungeon, 0, 0);
      STMT; DrawPic(1, 250, 259);
      STMT; WrapText(PartTwoText("p2.loc04.cut"), 10);
      STMT; WaitContinue();
      STMT; At(obj, 7) = 1;
      STMT; loc = 5;
    }
    STMT; if (opt == 4) {
      STMT; loc = 26;
    }
  } else {
    STMT; if (At(obj, 28) == 0) {
      STMT; opt = ChoiceMenu(130, "Return to the maze", "Enter the store", "", "", "");
    } else {
      STMT; opt = ChoiceMenu(130, "Return to the maze", "Enter the store", "Climb to the ledge", "",
                             "");
    }
    STMT; if (opt == 1) {
      STMT; loc = 3;
      STMT; mazeloc = 15;
    }
    STMT; if (opt == 2) {
      STMT; loc = 5;
    }
    STMT; if (opt == 3) {
      STMT; loc = 26;
    }
  }
  return 0;
}

// Item swap that stays in the room: at most one of the basket (8), the
// barrel (9) and the pegs (10) is carried; only leaving goes back to 4.
double PartTwoLoc05() {
  PROC;
  STMT; if (loaded != 5) {
    STMT; LoadPic("b05", 0);
    STMT; LoadPic("b05a", 1);
    STMT; LoadPic("b05b", 2);
    STMT; LoadPic("b05c", 3);
    STMT; loaded = 5;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; if (At(obj, 8) == 0) {
      STMT; DrawPic(1, 301, 320);
    }
    STMT; if (At(obj, 9) == 0) {
      STMT; DrawPic(2, 179, 320);
    }
    STMT; if (At(obj, 10) == 0) {
      STMT; DrawPic(3, 480, 370);
    }
    STMT; WrapText(PartTwoText("p2.loc05.store"), 10);
  }

  STMT; LOCAL(have);
  STMT; if (At(obj, 8) > 0) {
    STMT; have = 8;
  }
  STMT; if (At(obj, 9) > 0) {
    STMT; have = 9;
  }
  STMT; if (At(obj, 10) > 0) {
    STMT; have = 10;
  }

  STMT; LOCAL(pos); pos = 50;
  STMT; if (have != 8) {
    STMT; if (screendrawn == 0) {
      STMT; if (At(obj, 23) == 0) {
        STMT; PrintTxt("a wicker basket", 0, pos);
      } else {
        STMT; PrintTxt("a hissing wicker basket", 0, pos);
      }
    }
    STMT; pos = pos + 20;
  }
  STMT; if (have != 9) {
    STMT; if (screendrawn == 0) {
      STMT; PrintTxt("a barrel", 0, pos);
    }
    STMT; pos = pos + 20;
  }
  STMT; if (have != 10) {
    STMT; if (screendrawn == 0) {
      STMT; PrintTxt("some wooden pegs", 0, pos);
    }
    STMT; pos = pos + 20;
  }
  STMT; pos = pos + 20;
  STMT; if (screendrawn == 0) {
    STMT; if (have == 8) {
      STMT; PrintTxt("You can swap the basket", 0, pos);
    }
    STMT; if (have == 9) {
      STMT; PrintTxt("You can swap the barrel", 0, pos);
    }
    STMT; if (have == 10) {
      STMT; PrintTxt("You can swap the pegs", 0, pos);
    }
  }
  STMT; pos = pos + 40;

  STMT; if (have == 0) {
    STMT; opt = ChoiceMenu(pos, "Leave the store room", "Take the basket", "Take the barrel",
                           "Take the pegs", "");
  } else if (have == 8) {
    STMT; opt = ChoiceMenu(pos, "Leave the store room", "Take the barrel", "Take the pegs", "", "");
  } else if (have == 9) {
    STMT; opt = ChoiceMenu(pos, "Leave the store room", "Take the basket", "Take the pegs", "", "");
  } else {
    STMT; opt = ChoiceMenu(pos, "Leave the store room", "Take the basket", "Take the barrel", "",
                           "");
  }

  STMT; if (opt == 1) {
    STMT; loc = 4;
  }
  // A take drops the carried item here; loc stays, so the room is drawn
  // again with the new list.
  STMT; if (opt > 1) {
    STMT; if (have != 0) {
      STMT; At(obj, have) = 0;
    }
    STMT; if (have == 0) {
      STMT; if (opt == 2) {
        STMT; At(obj, 8) = 1;
      }
      STMT; if (opt == 3) {
        STMT; At(obj, 9) = 1;
      }
      STMT; if (opt == 4) {
        STMT; At(obj, 10) = 1;
      }
    } else if (have == 8) {
      STMT; if (opt == 2) {
        STMT; At(obj, 9) = 1;
      }
      STMT; if (opt == 3) {
        STMT; At(obj, 10) = 1;
      }
    } else if (have == 9) {
      STMT; if (opt == 2) {
        STMT; At(obj, 8) = 1;
      }
      STMT; if (opt == 3) {
        STMT; At(obj, 10) = 1;
      }
    } else {
      STMT; if (opt == 2) {
        STMT; At(obj, 8) = 1;
      }
      STMT; if (opt == 3) {
        STMT; At(obj, 9) = 1;
      }
    }
  }
  return 0;
}
