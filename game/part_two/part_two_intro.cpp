// The opening story of Part Two: from the cage over the brazier to the
// dungeon floor.
#define GAME_SOURCE_FILE 2

#include "game/continue_prompt.h"
#include "game/game_state.h"
#include "game/part_two/part_two_locations.h"
#include "game/part_two/part_two_texts.h"
#include "game/pictures.h"
#include "game/word_wrap.h"
#include "game/procedure.h"

double PartTwoIntro() {
  PROC;
  // Loaded on every run; loaded stays as it is, so location 1 loads its own.
  STMT; LoadPic("story02a", 0);
  STMT; LoadPic("story02b", 1);
  STMT; LoadPic("a51b", 2);
  STMT; LoadPic("b01", 3);
  STMT; LoadPic("b01a", 4);
  STMT; LoadPic("b01b", 5);
  STMT; LoadPic("b01c", 6);

  STMT; DrawPic(0, 0, 0);
  STMT; WrapText(PartTwoText("p2.intro.1"), 10);
  STMT; WaitContinue();

  STMT; DrawPic(0, 0, 0);
  STMT; WrapText(PartTwoText("p2.intro.2"), 10);
  STMT; WaitContinue();

  STMT; DrawPic(0, 0, 0);
  STMT; DrawPic(1, 140, 330);
  STMT; WrapText(PartTwoText("p2.intro.3"), 10);
  STMT; WaitContinue();

  STMT; DrawPic(0, 0, 0);
  STMT; WrapText(PartTwoText("p2.intro.4"), 10);
  STMT; WaitContinue();

  // The cage over the brazier, the dungeon's items on the floor below.
  STMT; DrawPic(gfxdungeon, 0, 0);
  STMT; DrawPic(2, 0, 0);
  STMT; DrawPic(4, 453, 421);
  STMT; DrawPic(5, 345, 430);
  STMT; DrawPic(6, 557, 439);
  STMT; maxkern = 440;
  STMT; WrapText(PartTwoText("p2.intro.5"), 10);
  STMT; WaitContinue();

  // The lock opens.
  STMT; DrawPic(gfxdungeon, 0, 0);
  STMT; DrawPic(3, 0, 0);
  STMT; DrawPic(4, 453, 421);
  STMT; DrawPic(5, 345, 430);
  STMT; DrawPic(6, 557, 439);
  STMT; WrapText(PartTwoText("p2.intro.6"), 10);
  STMT; WaitContinue();
  return 0;
}
