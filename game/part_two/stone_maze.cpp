// Location 3: the 4 x 4 stone maze. mazeloc holds the cell (4 x row +
// column + 1, row 0 in the north); a move changes only mazeloc, and four
// moves at the edge leave for other locations. Every page that sends the
// player here sets mazeloc with loc.
#define GAME_SOURCE_FILE 2

#include <cmath>

#include "core/math_builtins.h"
#include "game/choice_menu.h"
#include "game/game_state.h"
#include "game/part_two/part_two_locations.h"
#include "game/part_two/part_two_texts.h"
#include "game/pictures.h"
#include "game/word_wrap.h"
#include "game/procedure.h"

double PartTwoLoc03() {
  PROC;
  STMT; if (loaded != 3) {
    STMT; LoadPic("b03", 0);
    STMT; LoadPic("b03a", 1);
    STMT; loaded = 3;
  }
  STMT; if (screendrawn == 0) {
    // The two cell pictures alternate like a chessboard: (cell + row) mod 2.
    STMT; LOCAL(alt); alt = ModDouble(mazeloc + std::trunc((mazeloc - 1) * 0.25), 2);
    STMT; DrawPic(alt, 0, 0);
    STMT; WrapText(PartTwoText("p2.loc03.maze"), 50);
  }

  // Cells against the outer wall; one branch per cell, so one choice makes
  // one move.
  STMT; if (mazeloc == 1) {
    STMT; opt = ChoiceMenu(130, "Go south", "Go east", "", "", "");
    STMT; if (opt == 1) {
      STMT; mazeloc = 5;
    }
    STMT; if (opt == 2) {
      STMT; mazeloc = 2;
    }
  } else if (mazeloc == 2) {
    STMT; opt = ChoiceMenu(130, "Go south", "Go east", "Go west", "", "");
    STMT; if (opt == 1) {
      STMT; mazeloc = 6;
    }
    STMT; if (opt == 2) {
      STMT; mazeloc = 3;
    }
    STMT; if (opt == 3) {
      STMT; mazeloc = 1;
    }
  } else if (mazeloc == 4) {
    STMT; opt = ChoiceMenu(130, "Go south", "Go west", "", "", "");
    STMT; if (opt == 1) {
      STMT; mazeloc = 8;
    }
    STMT; if (opt == 2) {
      STMT; mazeloc = 3;
    }
  } else if (mazeloc == 5) {
    STMT; opt = ChoiceMenu(130, "Go north", "Go south", "Go east", "", "");
    STMT; if (opt == 1) {
      STMT; mazeloc = 1;
    }
    STMT; if (opt == 2) {
      STMT; mazeloc = 9;
    }
    STMT; if (opt == 3) {
      STMT; mazeloc = 6;
    }
  } else if (mazeloc == 12) {
    STMT; opt = ChoiceMenu(130, "Go north", "Go south", "Go west", "", "");
    STMT; if (opt == 1) {
      STMT; mazeloc = 8;
    }
    STMT; if (opt == 2) {
      STMT; mazeloc = 16;
    }
    STMT; if (opt == 3) {
      STMT; mazeloc = 11;
    }
  } else if (mazeloc == 13) {
    STMT; opt = ChoiceMenu(130, "Go north", "Go east", "", "", "");
    STMT; if (opt == 1) {
      STMT; mazeloc = 9;
    }
    STMT; if (opt == 2) {
      STMT; mazeloc = 14;
    }
  } else if (mazeloc == 14) {
    STMT; opt = ChoiceMenu(130, "Go north", "Go east", "Go west", "", "");
    STMT; if (opt == 1) {
      STMT; mazeloc = 10;
    }
    STMT; if (opt == 2) {
      STMT; mazeloc = 15;
    }
    STMT; if (opt == 3) {
      STMT; mazeloc = 13;
    }
  } else if (mazeloc == 16) {
    STMT; opt = ChoiceMenu(130, "Go north", "Go west", "", "", "");
    STMT; if (opt == 1) {
      STMT; mazeloc = 12;
    }
    STMT; if (opt == 2) {
      STMT; mazeloc = 15;
    }
  } else {
    // Open on all four sides; the exits of cells 3, 8, 9 and 15 lead out.
    STMT; opt = ChoiceMenu(130, "Go north", "Go south", "Go east", "Go west", "");
    STMT; if (opt == 1) {
      STMT; if (mazeloc == 3) {
        STMT; loc = 1;
      } else {
        STMT; mazeloc = mazeloc - 4;
      }
    }
    STMT; if (opt == 2) {
      STMT; if (mazeloc == 15) {
        STMT; loc = 4;
      } else {
        STMT; mazeloc = mazeloc + 4;
      }
    }
    STMT; if (opt == 3) {
      STMT; if (mazeloc == 8) {
        STMT; loc = 10;
      } else {
        STMT; mazeloc = mazeloc + 1;
      }
    }
    STMT; if (opt == 4) {
      STMT; if (mazeloc == 9) {
        STMT; loc = 6;
      } else {
        STMT; mazeloc = mazeloc - 1;
      }
    }
  }
  return 0;
}
