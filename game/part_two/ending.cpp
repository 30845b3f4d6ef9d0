// Location 44: the ending. Three pages, the title music on the last, then
// back to the title screen.
#define GAME_SOURCE_FILE 2

#include "game/part_two/locations_17_44.h"

#include "game/continue_prompt.h"
#include "game/game_state.h"
#include "game/part_two/part_two_texts.h"
#include "game/pictures.h"
#include "game/text_print.h"
#include "game/word_wrap.h"
#include "input_audio/music.h"
#include "game/procedure.h"

double PartTwoLoc44() {
  PROC;
  STMT; if (loaded != 44) {
    STMT; LoadPic("story01a", 0);
    STMT; LoadPic("b44", 1);
    STMT; loaded = 44;
  }
  STMT; DrawPic(0, 0, 0);
  STMT; WrapText(PartTwoText("p2.loc44.phone"), 260);
  STMT; WrapText(PartTwoText("p2.loc44.praise"), 300);
  STMT; WaitContinue();
  STMT; DrawPic(0, 0, 0);
  STMT; WrapText(PartTwoText("p2.loc44.scarrow"), 260);
  STMT; WaitContinue();
  STMT; DrawPic(1, 0, 0);
  STMT; PrintTxt("THE END", -1, 200);
  STMT; StopMusic();
  STMT; PlayMusic("aud/title.mp3");
  STMT; SetMusicVolume(mastervolume);
  STMT; WaitContinue();
  STMT; StopMusic();
  STMT; loc = 999;
  return 0;
}
