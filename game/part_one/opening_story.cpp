// The opening story of Part One: Colonel Vorl's briefing and the flight to
// the forest, six pages before the clearing.
#define GAME_SOURCE_FILE 1

#include "core/basic_array.h"
#include "game/choice_menu.h"
#include "game/continue_prompt.h"
#include "game/element_access.h"
#include "game/game_state.h"
#include "game/page_texts.h"
#include "game/part_one/part_one_locations.h"
#include "game/pictures.h"
#include "game/text_print.h"
#include "game/word_wrap.h"
#include "game/procedure.h"

double PartOneIntro() {
  PROC;
  STMT; LoadPic("story01a", 0);
  STMT; LoadPic("story01b", 1);

  // The Colonel's office.
  STMT; DrawPic(0, 0, 0);
  STMT; WrapText(PartOneText("p1.intro.1"), 260);
  STMT; WaitContinue();

  STMT; DrawPic(0, 0, 0);
  STMT; WrapText(PartOneText("p1.intro.2"), 260);
  STMT; WrapText(PartOneText("p1.intro.3"), 330);
  STMT; WaitContinue();

  STMT; DrawPic(0, 0, 0);
  STMT; WrapText(PartOneText("p1.intro.4"), 260);
  STMT; WaitContinue();

  STMT; DrawPic(0, 0, 0);
  STMT; WrapText(PartOneText("p1.intro.5"), 260);
  STMT; WaitContinue();

  // Off to the forest.
  STMT; DrawPic(gfxsky, 0, 0);
  STMT; DrawPic(1, 0, 0);
  STMT; WrapText(PartOneText("p1.intro.6"), 10);
  STMT; PrintTxt(PartOneText("p1.intro.title"), -1, 120);
  STMT; WaitContinue();

  STMT; DrawPic(gfxsky, 0, 0);
  STMT; DrawPic(1, 0, 0);
  STMT; WrapText(PartOneText("p1.intro.7"), 10);
  STMT; WaitContinue();
  return 0;
}
