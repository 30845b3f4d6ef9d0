// Locations 10 and 11: the cold cellar with its table (bell, mirror, glue)
// and the coffin of Count Brabble. Every way into the cellar passes the
// table, where the smell of a broken egg drives a player without the pegs
// back into the maze.
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

namespace {

void LoadCellar() {
  PROC;
  STMT; if (loaded != 10) {
    STMT; LoadPic("b10", 0);
    STMT; LoadPic("b10a", 1);
    STMT; LoadPic("b10b", 2);
    STMT; LoadPic("b10c", 3);
    STMT; LoadPic("b10d", 4);
    STMT; LoadPic("b10e", 5);
    STMT; loaded = 10;
  }
}

// The items on the table: bell (11), mirror (12), glue (13), while they lie.
void DrawTableItems() {
  PROC;
  STMT; if (At(obj, 11) == 0) {
    STMT; DrawPic(3, 518, 304);
  }
  STMT; if (At(obj, 12) == 0) {
    STMT; DrawPic(4, 456, 315);
  }
  STMT; if (At(obj, 13) == 0) {
    STMT; DrawPic(5, 483, 361);
  }
}

// The coffin shut or, once the Count has fled (flag 25), open.
void DrawCellar() {
  PROC;
  STMT; if (At(obj, 25) == 0) {
    STMT; DrawPic(0, 0, 0);
  } else {
    STMT; DrawPic(1, 0, 0);
  }
  STMT; DrawTableItems();
  STMT; maxkern = 600;
}

}  // namespace

// Item swap on the table, moving on to the coffin (11); before it the
// rotten-egg check (flag 34 without the pegs, flag 10).
double PartTwoLoc10() {
  PROC;
  STMT; LoadCellar();
  STMT; if (screendrawn == 0) {
    STMT; DrawCellar();
    STMT; WrapText(PartTwoText("p2.loc10.cellar"), 10);
  }
  STMT; if (At(obj, 34) == 1 && At(obj, 10) == 0) {
    STMT; WrapText(PartTwoText("p2.loc10.smell"), 70);
    STMT; WaitContinue();
    STMT; loc = 3;
    STMT; mazeloc = 8;
    return 0;
  }

  STMT; LOCAL(pos); pos = 70;
  STMT; if (At(obj, 34) == 1 && At(obj, 10) == 1) {
    STMT; if (screendrawn == 0) {
      STMT; WrapText(PartTwoText("p2.loc10.peg"), pos);
    }
    STMT; pos = pos + 60;
  }
  STMT; if (screendrawn == 0) {
    STMT; WrapText("On a nearby table you can see:", pos);
  }
  STMT; LOCAL(have);
  STMT; if (At(obj, 11) > 0) {
    STMT; have = 11;
  }
  STMT; if (At(obj, 12) > 0) {
    STMT; have = 12;
  }
  STMT; if (At(obj, 13) > 0) {
    STMT; have = 13;
  }
  STMT; pos = pos + 20;
  STMT; if (have != 11) {
    STMT; if (screendrawn == 0) {
      STMT; PrintTxt("a silver bell", 0, pos);
    }
    STMT; pos = pos + 20;
  }
  STMT; if (have != 12) {
    STMT; if (screendrawn == 0) {
      STMT; PrintTxt("a small mirror", 0, pos);
    }
    STMT; pos = pos + 20;
  }
  STMT; if (have != 13) {
    STMT; if (screendrawn == 0) {
      STMT; PrintTxt("a tube of glue", 0, pos);
    }
    STMT; pos = pos + 20;
  }
  STMT; pos = pos + 20;
  STMT; if (screendrawn == 0) {
    STMT; if (have == 11) {
      STMT; PrintTxt("You can swap the bell", 0, pos);
    }
    STMT; if (have == 12) {
      STMT; PrintTxt("You can swap the mirror", 0, pos);
    }
    STMT; if (have == 13) {
      STMT; PrintTxt("You can swap the glue", 0, pos);
    }
  }
  STMT; pos = pos + 40;

  STMT; if (have == 0) {
    STMT; opt = ChoiceMenu(pos, "Take nothing", "Take the bell", "Take the mirror", "Take the glue",
                           "");
  } else if (have == 11) {
    STMT; opt = ChoiceMenu(pos, "Keep the bell", "Take the mirror", "Take the glue", "", "");
  } else if (have == 12) {
    STMT; opt = ChoiceMenu(pos, "Keep the mirror", "Take the bell", "Take the glue", "", "");
  } else {
    STMT; opt = ChoiceMenu(pos, "Keep the glue", "Take the bell", "Take the mirror", "", "");
  }

  STMT; if (opt > 0) {
    STMT; loc = 11;
    STMT; if (have != 0) {
      STMT; At(obj, have) = 0;
    }
    STMT; if (have == 0) {
      STMT; if (opt == 2) {
        STMT; At(obj, 11) = 1;
      }
      STMT; if (opt == 3) {
        STMT; At(obj, 12) = 1;
      }
      STMT; if (opt == 4) {
        STMT; At(obj, 13) = 1;
      }
    } else if (have == 11) {
      STMT; if (opt == 1) {
        STMT; At(obj, 11) = 1;
      }
      STMT; if (opt == 2) {
        STMT; At(obj, 12) = 1;
      }
      STMT; if (opt == 3) {
        STMT; At(obj, 13) = 1;
      }
    } else if (have == 12) {
      STMT; if (opt == 1) {
        STMT; At(obj, 12) = 1;
      }
      STMT; if (opt == 2) {
        STMT; At(obj, 11) = 1;
      }
      STMT; if (opt == 3) {
        STMT; At(obj, 13) = 1;
      }
    } else {
      STMT; if (opt == 1) {
        STMT; At(obj, 13) = 1;
      }
      STMT; if (opt == 2) {
        STMT; At(obj, 11) = 1;
      }
      STMT; if (opt == 3) {
        STMT; At(obj, 12) = 1;
      }
    }
  }
  return 0;
}

namespace {

// The bell-rope opens the floor: down to location 23.
void BellRopeFall() {
  PROC;
  STMT; DrawPic(gfxdarkfall, 0, 0);
  STMT; DrawPic(gfxfall, 0, 0);
  STMT; maxkern = 640;
  STMT; WrapText(PartTwoText("p2.loc11.fall"), 10);
  STMT; WaitContinue();
  STMT; loc = 23;
}

}  // namespace

// The coffin: opening it wakes the Count (flag 25 once the egg, flag 24,
// breaks); then the cape (flag 26) lies in it.
double PartTwoLoc11() {
  PROC;
  STMT; LoadCellar();
  STMT; if (screendrawn == 0) {
    STMT; DrawCellar();
    STMT; if (At(obj, 25) == 0) {
      STMT; WrapText(PartTwoText("p2.loc11.asleep"), 10);
    } else if (At(obj, 26) == 0) {
      STMT; WrapText(PartTwoText("p2.loc11.cape"), 10);
    } else {
      STMT; WrapText(PartTwoText("p2.loc11.empty"), 10);
    }
  }

  // The egg sets flag 25: the branches stay apart, so the same choice is not
  // read again by the menu of the open coffin.
  STMT; if (At(obj, 25) == 0) {
    STMT; opt = ChoiceMenu(170, "Climb up the steps", "Enter the maze", "Open the coffin",
                           "Tug the bell-rope", "");
    STMT; if (opt == 1) {
      STMT; loc = 12;
    }
    STMT; if (opt == 2) {
      STMT; loc = 3;
      STMT; mazeloc = 8;
    }
    STMT; if (opt == 3) {
      STMT; DrawPic(1, 0, 0);
      STMT; DrawTableItems();
      STMT; DrawPic(2, 360, 220);
      STMT; WrapText(PartTwoText("p2.loc11.coffin"), 10);
      STMT; if (At(obj, 24) == 0) {
        // The Count tugs the bell-rope: the fall follows in this call.
        STMT; WrapText(PartTwoText("p2.loc11.rope"), 90);
        STMT; WaitContinue();
        STMT; opt = 4;
      } else {
        STMT; WrapText(PartTwoText("p2.loc11.egg"), 90);
        STMT; WaitContinue();
        STMT; At(obj, 25) = 1;
        STMT; At(obj, 34) = 1;
        STMT; loc = 10;
      }
    }
    STMT; if (opt == 4) {
      STMT; BellRopeFall();
    }
  } else {
    STMT; if (At(obj, 26) == 0) {
      STMT; opt = ChoiceMenu(170, "Climb up the steps", "Enter the maze", "Tug the bell-rope",
                             "Take the cape", "");
    } else {
      STMT; opt = ChoiceMenu(130, "Climb up the steps", "Enter the maze", "Tug the bell-rope", "",
                             "");
    }
    STMT; if (opt == 1) {
      STMT; loc = 12;
    }
    STMT; if (opt == 2) {
      STMT; loc = 3;
      STMT; mazeloc = 8;
    }
    STMT; if (opt == 3) {
      STMT; BellRopeFall();
    }
    STMT; if (opt == 4) {
      STMT; At(obj, 26) = 1;
    }
  }
  return 0;
}
