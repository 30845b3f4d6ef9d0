#define GAME_SOURCE_FILE 0

#include "game/continue_prompt.h"

#include "core/string_ops.h"
#include "frame/frame_function.h"
#include "frame/graphics_commands.h"
#include "game/fire_keys.h"
#include "game/game_state.h"
#include "game/text_print.h"
#include "game/volume_keys.h"
#include "input_audio/input_commands.h"
#include "game/procedure.h"

double WaitContinue() {
  PROC;
  LOCAL(done); LOCAL(mx); LOCAL(my); LOCAL(b1); LOCAL(b2);
  STMT; if (StrEqualsCStr(info_Str, "DESKTOP") != 0) {
    STMT; PrintTxt("Click to Continue", -1, 460);
  }
  STMT; if (StrEqualsCStr(info_Str, "F100") != 0) {
    STMT; PrintTxt("Press Fire to Continue", -1, 460);
  }
  STMT; if (StrEqualsCStr(info_Str, "F200") != 0) {
    STMT; PrintTxt("Tap Screen to Continue", -1, 460);
  }
  STMT; GrabBackground();
  STMT; while (done == 0) {
    STMT; ShowScreen();
    STMT; VolumeKeys();
    STMT; if (StrEqualsCStr(info_Str, "DESKTOP") != 0 || StrEqualsCStr(info_Str, "F200") != 0) {
      STMT; MouseState(mx, my, b1, b2);
      STMT; done = b1;
    } else {
      STMT; done = FireKeys();
    }
  }
  STMT; while (done > 0) {
    STMT; ShowScreen();
    STMT; if (StrEqualsCStr(info_Str, "DESKTOP") != 0 || StrEqualsCStr(info_Str, "F200") != 0) {
      STMT; MouseState(mx, my, b1, b2);
      STMT; done = b1;
    } else {
      STMT; done = FireKeys();
    }
  }
  STMT; ClearScreen();
  return 0;
}
