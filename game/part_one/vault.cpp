// The vault with the chained skeleton, and the end of Part One: the story's
// last pages, the save marker that unlocks Part Two and the way back to the
// title.
#define GAME_SOURCE_FILE 1

#include "frame/graphics_commands.h"
#include "game/choice_menu.h"
#include "game/continue_prompt.h"
#include "game/element_access.h"
#include "game/game_state.h"
#include "game/page_texts.h"
#include "game/part_one/part_one_locations.h"
#include "game/pictures.h"
#include "game/save_marker.h"
#include "game/text_print.h"
#include "game/word_wrap.h"
#include "input_audio/music.h"
#include "game/procedure.h"

double PartOneLoc51() {
  PROC;
  STMT; if (loaded != 51) {
    STMT; LoadPic("a51", 0);
    STMT; LoadPic("a51a", 1);
    STMT; LoadPic("a51b", 2);
    STMT; loaded = 51;
  }
  STMT; if (screendrawn == 0) {
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc51.vault"), 10);
  }
  STMT; if (At(obj, 5) == 1) {
    STMT; opt = ChoiceMenu(110, "Climb the steps", "Explore the vault", "Examine the skeleton",
                           "Unchain the skeleton", "");
  } else {
    STMT; opt = ChoiceMenu(110, "Climb the steps", "Explore the vault", "Examine the skeleton", "", "");
  }
  STMT; if (opt == 1) loc = 50;
  STMT; if (opt == 2) {
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc51.rattle"), 10);
    STMT; WaitContinue();
  }
  STMT; if (opt == 3) {
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc51.keys"), 10);
    STMT; WaitContinue();
  }
  STMT; if (opt == 4) {
    STMT; DrawPic(0, 0, 0);
    STMT; WrapText(PartOneText("p1.loc51.bone_number"), 10);
    STMT; WaitContinue();

    STMT; DrawPic(1, 0, 0);
    STMT; maxkern = 400;
    STMT; WrapText(PartOneText("p1.loc51.net"), 10);
    STMT; WaitContinue();

    STMT; DrawPic(gfxdungeon, 0, 0);
    STMT; DrawPic(2, 0, 0);
    STMT; WrapText(PartOneText("p1.loc51.cage"), 50);
    STMT; PrintTxt("Find out in part two.", 0, 270);
    STMT; WaitContinue();

    STMT; ClearScreen();
    STMT; StopMusic();
    STMT; PlayMusic("aud/title.mp3");
    STMT; SetMusicVolume(mastervolume);
    STMT; PrintTxt("To Be Continued....", -1, 230);
    STMT; WaitContinue();
    STMT; StopMusic();

    // The marker unlocks Part Two at the next start. Where neither the
    // program's folder nor the user's data folder takes it, the error log
    // says so and Part Two stays locked.
    STMT; WriteSaveMarker();
    STMT; loc = 999;
  }
  return 0;
}
