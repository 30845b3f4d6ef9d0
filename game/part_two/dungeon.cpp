// Locations 1 and 2: the dungeon floor with its tongs, file and knife, and
// the dungeon's two ways out. Both draw picture set 1.
#define GAME_SOURCE_FILE 2

#include "game/choice_menu.h"
#include "game/element_access.h"
#include "game/game_state.h"
#include "game/part_two/part_two_locations.h"
#include "game/part_two/part_two_texts.h"
#include "game/pictures.h"
#include "game/text_print.h"
#include "game/word_wrap.h"
#include "game/procedure.h"

namespace {

// The dungeon with the items that still lie on its floor.
void LoadDungeon() {
  PROC;
  STMT; if (loaded != 1) {
    STMT; LoadPic("b01", 0);
    STMT; LoadPic("b01a", 1);
    STMT; LoadPic("b01b", 2);
    STMT; LoadPic("b01c", 3);
    STMT; loaded = 1;
  }
}

void DrawDungeon() {
  PROC;
  STMT; DrawPic(gfxdungeon, 0, 0);
  STMT; DrawPic(0, 0, 0);
  STMT; if (At(obj, 1) == 0) {
    STMT; DrawPic(1, 453, 421);
  }
  STMT; if (At(obj, 2) == 0) {
    STMT; DrawPic(2, 345, 430);
  }
  STMT; if (At(obj, 3) == 0) {
    STMT; DrawPic(3, 557, 439);
  }
  STMT; maxkern = 440;
}

}  // namespace

// Item swap: at most one of the tongs (1), the file (2) and the knife (3)
// is carried; every choice moves on to location 2.
double PartTwoLoc01() {
  PROC;
  STMT; LoadDungeon();
  STMT; if (screendrawn == 0) {
    STMT; DrawDungeon();
    STMT; WrapText(PartTwoText("p2.loc01.dungeon"), 10);
  }

  STMT; LOCAL(have);
  STMT; if (At(obj, 1) > 0) {
    STMT; have = 1;
  }
  STMT; if (At(obj, 2) > 0) {
    STMT; have = 2;
  }
  STMT; if (At(obj, 3) > 0) {
    STMT; have = 3;
  }

  STMT; LOCAL(pos); pos = 110;
  STMT; if (have != 1) {
    STMT; if (screendrawn == 0) {
      STMT; PrintTxt("a pair of tongs", 0, pos);
    }
    STMT; pos = pos + 20;
  }
  STMT; if (have != 2) {
    STMT; if (screendrawn == 0) {
      STMT; PrintTxt("a small file", 0, pos);
    }
    STMT; pos = pos + 20;
  }
  STMT; if (have != 3) {
    STMT; if (screendrawn == 0) {
      STMT; PrintTxt("a sharp knife", 0, pos);
    }
    STMT; pos = pos + 20;
  }
  STMT; pos = pos + 20;
  STMT; if (screendrawn == 0) {
    STMT; if (have == 1) {
      STMT; PrintTxt("You can swap the tongs", 0, pos);
    }
    STMT; if (have == 2) {
      STMT; PrintTxt("You can swap the file", 0, pos);
    }
    STMT; if (have == 3) {
      STMT; PrintTxt("You can swap the knife", 0, pos);
    }
  }
  STMT; pos = pos + 40;

  STMT; if (have == 0) {
    STMT; opt = ChoiceMenu(pos, "Take nothing", "Take the tongs", "Take the file", "Take the knife",
                           "");
  } else if (have == 1) {
    STMT; opt = ChoiceMenu(pos, "Keep the tongs", "Take the file", "Take the knife", "", "");
  } else if (have == 2) {
    STMT; opt = ChoiceMenu(pos, "Keep the file", "Take the tongs", "Take the knife", "", "");
  } else {
    STMT; opt = ChoiceMenu(pos, "Keep the knife", "Take the tongs", "Take the file", "", "");
  }

  STMT; if (opt > 0) {
    STMT; loc = 2;
    STMT; if (have != 0) {
      STMT; At(obj, have) = 0;
    }
    STMT; if (have == 0) {
      STMT; if (opt == 2) {
        STMT; At(obj, 1) = 1;
      }
      STMT; if (opt == 3) {
        STMT; At(obj, 2) = 1;
      }
      STMT; if (opt == 4) {
        STMT; At(obj, 3) = 1;
      }
    } else if (have == 1) {
      STMT; if (opt == 1) {
        STMT; At(obj, 1) = 1;
      }
      STMT; if (opt == 2) {
        STMT; At(obj, 2) = 1;
      }
      STMT; if (opt == 3) {
        STMT; At(obj, 3) = 1;
      }
    } else if (have == 2) {
      STMT; if (opt == 1) {
        STMT; At(obj, 2) = 1;
      }
      STMT; if (opt == 2) {
        STMT; At(obj, 1) = 1;
      }
      STMT; if (opt == 3) {
        STMT; At(obj, 3) = 1;
      }
    } else {
      STMT; if (opt == 1) {
        STMT; At(obj, 3) = 1;
      }
      STMT; if (opt == 2) {
        STMT; At(obj, 1) = 1;
      }
      STMT; if (opt == 3) {
        STMT; At(obj, 2) = 1;
      }
    }
  }
  return 0;
}

// A passage into the maze (cell 3) and a tunnel to the drain (14); no way
// back to location 1.
double PartTwoLoc02() {
  PROC;
  STMT; LoadDungeon();
  STMT; if (screendrawn == 0) {
    STMT; DrawDungeon();
    STMT; WrapText(PartTwoText("p2.loc02.exits"), 10);
  }
  STMT; opt = ChoiceMenu(150, "Enter the passage", "Enter the tunnel", "", "", "");
  STMT; if (opt == 1) {
    STMT; loc = 3;
    STMT; mazeloc = 3;
  }
  STMT; if (opt == 2) {
    STMT; loc = 14;
  }
  return 0;
}
