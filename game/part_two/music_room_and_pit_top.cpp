// Locations 25 and 26: the music room, where the hero may carry one of
// three instruments (the piano stays), and the top of the pit with the key.
#define GAME_SOURCE_FILE 2

#include "game/part_two/locations_17_44.h"

#include "core/basic_string.h"
#include "game/choice_menu.h"
#include "game/continue_prompt.h"
#include "game/element_access.h"
#include "game/game_state.h"
#include "game/part_two/part_two_texts.h"
#include "game/pictures.h"
#include "game/text_print.h"
#include "game/word_wrap.h"
#include "game/procedure.h"

namespace {

struct Instrument {
  double flag;
  double sprite, x, y;  // overlay while it lies in the room
  const char* line;     // listed while it lies here
  const char* swap;     // printed while it is carried
  const char* take;     // menu label while it lies here
};

constexpr Instrument kInstruments[] = {
    {17, 1, 46, 270, "a trumpet", "You can swap the trumpet", "Take the trumpet"},
    {18, 2, 240, 420, "a flute", "You can swap the flute", "Take the flute"},
    {19, 3, 535, 370, "a pair of cymbals", "You can swap the cymbals", "Take the cymbals"},
};

// The room with the overlay of every instrument still lying there.
void DrawMusicRoom() {
  PROC;
  STMT; DrawPic(0, 0, 0);
  for (const Instrument& item : kInstruments) {
    STMT; if (At(obj, item.flag) == 0) {
      STMT; DrawPic(item.sprite, item.x, item.y);
    }
  }
}

}  // namespace

double PartTwoLoc25() {
  PROC;
  STMT; if (loaded != 25) {
    STMT; LoadPic("b25", 0);
    STMT; LoadPic("b25a", 1);
    STMT; LoadPic("b25b", 2);
    STMT; LoadPic("b25c", 3);
    STMT; loaded = 25;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawMusicRoom();
    STMT; WrapText(PartTwoText("p2.loc25.page"), 10);
  }

  LOCAL(have);
  STMT; have = 0;
  for (const Instrument& item : kInstruments) {
    STMT; if (At(obj, item.flag) > 0) {
      STMT; have = item.flag;
    }
  }

  // The piano heads the list whatever is carried.
  STMT; if (screendrawn == 0) {
    STMT; PrintTxt("a piano", 0, 80);
  }
  LOCAL(pos);
  STMT; pos = 100;
  for (const Instrument& item : kInstruments) {
    STMT; if (have != item.flag) {
      STMT; if (screendrawn == 0) {
        STMT; PrintTxt(item.line, 0, pos);
      }
      STMT; pos = pos + 20;
    }
  }
  STMT; pos = pos + 20;
  for (const Instrument& item : kInstruments) {
    STMT; if (screendrawn == 0 && have == item.flag) {
      STMT; PrintTxt(item.swap, 0, pos);
    }
  }
  STMT; pos = pos + 40;

  // Leaving, the piano, then a take for every instrument in the room.
  BasicString option[5] = {"Leave the music room", "Take the piano", "", "", ""};
  double takes[5] = {0, 0, 0, 0, 0};
  int rows = 2;
  for (const Instrument& item : kInstruments) {
    if (have != item.flag) {
      option[rows] = item.take;
      takes[rows] = item.flag;
      rows = rows + 1;
    }
  }
  STMT; opt = ChoiceMenu(pos, option[0], option[1], option[2], option[3], option[4]);

  STMT; if (opt == 1) {
    STMT; loc = 21;
  }
  STMT; if (opt == 2) {
    STMT; At(obj, 16) = 1;
  }
  STMT; if (have != 0 && opt > 2) {
    STMT; At(obj, have) = 0;
  }
  STMT; if (opt > 2 && opt < rows + 1) {
    STMT; At(obj, takes[static_cast<int>(opt) - 1]) = 1;
  }

  // The piano is asked for and refused in the same call.
  STMT; if (At(obj, 16) == 1) {
    STMT; DrawMusicRoom();
    STMT; WrapText(PartTwoText("p2.loc25.piano"), 10);
    STMT; WaitContinue();
    STMT; At(obj, 16) = 0;
  }
  return 0;
}

double PartTwoLoc26() {
  PROC;
  STMT; if (loaded != 26) {
    STMT; LoadPic("b26", 0);
    STMT; LoadPic("b26a", 1);
    STMT; loaded = 26;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; if (At(obj, 29) == 0) {
      STMT; DrawPic(1, 370, 255);
      STMT; WrapText(PartTwoText("p2.loc26.page"), 10);
    } else {
      STMT; WrapText(PartTwoText("p2.loc26.no_key"), 10);
    }
  }
  STMT; if (At(obj, 29) == 0) {
    STMT; opt = ChoiceMenu(150, "Climb down the ladder", "Jump across the pit", "Take the key", "",
                           "");
  } else {
    STMT; opt = ChoiceMenu(130, "Climb down the ladder", "Jump across the pit", "", "", "");
  }
  STMT; if (opt == 1) {
    STMT; loc = 4;
  }
  STMT; if (opt == 2) {
    STMT; DrawPic(gfxdarkfall, 0, 0);
    STMT; DrawPic(gfxfall, 0, 0);
    STMT; WrapText(PartTwoText("p2.loc26.jump"), 10);
    STMT; WaitContinue();
    STMT; loc = 4;
  }
  STMT; if (opt == 3) {
    STMT; if (At(obj, 1) == 0) {
      STMT; DrawPic(0, 0, 0);
      STMT; DrawPic(1, 370, 255);
      STMT; WrapText(PartTwoText("p2.loc26.fingers"), 10);
      STMT; WaitContinue();
    } else {
      STMT; DrawPic(0, 0, 0);
      STMT; WrapText(PartTwoText("p2.loc26.tongs"), 10);
      STMT; WaitContinue();
      STMT; At(obj, 29) = 1;
    }
  }
  return 0;
}
