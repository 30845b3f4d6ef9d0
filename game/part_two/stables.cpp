// Location 17: the stables, where the hero may carry one of three tools.
#define GAME_SOURCE_FILE 2

#include "game/part_two/locations_17_44.h"

#include "core/basic_string.h"
#include "game/choice_menu.h"
#include "game/element_access.h"
#include "game/game_state.h"
#include "game/part_two/part_two_texts.h"
#include "game/pictures.h"
#include "game/text_print.h"
#include "game/word_wrap.h"
#include "game/procedure.h"

namespace {

struct Tool {
  double flag;
  double sprite, x, y;  // overlay while it lies on the floor
  const char* line;     // listed while it lies here
  const char* swap;     // printed while it is carried
  const char* take;     // menu label while it lies here
};

constexpr Tool kTools[] = {
    {4, 1, 6, 428, "a pair of pliers", "You can swap the pliers", "Take the pliers"},
    {5, 2, 197, 369, "a rope", "You can swap the rope", "Take the rope"},
    {6, 3, 408, 410, "a crowbar", "You can swap the crowbar", "Take the crowbar"},
};

}  // namespace

double PartTwoLoc17() {
  PROC;
  STMT; if (loaded != 17) {
    STMT; LoadPic("b17", 0);
    STMT; LoadPic("b17a", 1);
    STMT; LoadPic("b17b", 2);
    STMT; LoadPic("b17c", 3);
    STMT; loaded = 17;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    for (const Tool& tool : kTools) {
      STMT; if (At(obj, tool.flag) == 0) {
        STMT; DrawPic(tool.sprite, tool.x, tool.y);
      }
    }
    STMT; WrapText(PartTwoText("p2.loc17.page"), 10);
  }

  // The tool in hand; the page keeps at most one.
  LOCAL(have);
  STMT; have = 0;
  for (const Tool& tool : kTools) {
    STMT; if (At(obj, tool.flag) > 0) {
      STMT; have = tool.flag;
    }
  }

  // What lies on the floor, one line each, then the swap line.
  LOCAL(pos);
  STMT; pos = 70;
  for (const Tool& tool : kTools) {
    STMT; if (have != tool.flag) {
      STMT; if (screendrawn == 0) {
        STMT; PrintTxt(tool.line, 0, pos);
      }
      STMT; pos = pos + 20;
    }
  }
  STMT; pos = pos + 20;
  for (const Tool& tool : kTools) {
    STMT; if (screendrawn == 0 && have == tool.flag) {
      STMT; PrintTxt(tool.swap, 0, pos);
    }
  }
  STMT; pos = pos + 40;

  // Leaving first, then a take for every tool on the floor.
  BasicString option[5] = {"Return to the yard", "", "", "", ""};
  double takes[5] = {0, 0, 0, 0, 0};
  int rows = 1;
  for (const Tool& tool : kTools) {
    if (have != tool.flag) {
      option[rows] = tool.take;
      takes[rows] = tool.flag;
      rows = rows + 1;
    }
  }
  STMT; opt = ChoiceMenu(pos, option[0], option[1], option[2], option[3], option[4]);

  STMT; if (opt == 1) {
    STMT; loc = 15;
  }
  STMT; if (have != 0 && opt > 1) {
    STMT; At(obj, have) = 0;
  }
  STMT; if (opt > 1 && opt < rows + 1) {
    STMT; At(obj, takes[static_cast<int>(opt) - 1]) = 1;
  }
  return 0;
}
