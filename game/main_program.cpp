#define GAME_SOURCE_FILE 0

#include "game/main_program.h"

#include <string>

#include "core/basic_array.h"
#include "core/runtime_error.h"
#include "core/shoebox.h"
#include "core/string_builtins.h"
#include "core/string_ops.h"
#include "frame/frame_function.h"
#include "frame/graphics_commands.h"
#include "frame/main_window.h"
#include "game/choice_menu.h"
#include "game/continue_prompt.h"
#include "game/data_check.h"
#include "game/game_state.h"
#include "game/location_table.h"
#include "game/opening_screens.h"
#include "game/picture_check.h"
#include "game/pictures.h"
#include "game/save_marker.h"
#include "game/text_print.h"
#include "game/volume_keys.h"
#include "game/word_wrap.h"
#include "input_audio/input_commands.h"
#include "input_audio/music.h"
#include "platform/device.h"
#include "platform/system.h"
#include "game/procedure.h"

namespace {

// Background of the part selection and the warning: dark red.
constexpr double kSelectionColour = 48;

// The highlight bar's grey level moves one step; the step turns at 50 and 250.
void PulseHighlight() {
  hicol = hicol + hicoldiff;
  if (hicol == 50 || hicol == 250) hicoldiff = 0 - hicoldiff;
}

}  // namespace

void RequireKnownDevice() {
  for (const char* known : {"DESKTOP", "GP2X", "F100", "F200"})
    if (StrEqualsCStr(info_Str, known) != 0) return;
  const std::string text = std::string("Unknown device \"") + StrCStr(info_Str) +
                           "\" in ORVALE_DEVICE. The game plays as DESKTOP, GP2X, F100 or F200 "
                           "(in any letter case), or as DESKTOP when ORVALE_DEVICE is not set.";
  // The window never opens, so this run's log starts here.
  DeleteErrorLog();
  AppendErrorLog(text.c_str());
  platform::ShowMessage("Kestrovar", text.c_str());
  EndProgramWithStatus(1);
}

double MainLoopPass() {
  PROC;
  STMT; if (LocationProcedure page = FindLocation(part, loc)) {
    STMT; page();
  } else {
    // Nothing to call: keep the window served and the loop paced.
    STMT; ShowScreen();
  }
  STMT; VolumeKeys();
  STMT; if (KeyState(1) != 0) return 1;
  STMT; if (opt > 0) {
    STMT; ClearScreen();
    STMT; screendrawn = 0;
    STMT; opt = 0;
    STMT; maxkern = 640;
  }
  STMT; PulseHighlight();
  STMT; if (loc == 999) return 1;
  return 0;
}

// Save marker: the unlock code offers both parts; anything else (also an
// empty or unreadable marker) is removed with a warning.
double ChoosePart() {
  PROC;
  STMT; if (SaveMarkerExists() == 1) {
    STMT; LoadPic("vorl", 0);
    STMT; LoadPic("kv", 1);
    LOCAL_STR(check_Str);
    STMT; check_Str = ReadSaveMarker();
    STMT; if (StrEqualsCStr(check_Str, kUnlockCode) != 0) {
      STMT; while (opt == 0) {
        STMT; DrawRectCmd(0, 0, 640 / resx, 480 / resx, kSelectionColour);
        STMT; DrawPic(1, -1, 25);
        STMT; DrawPic(0, -1, 100);
        STMT; opt = ChoiceMenu(350, "Play Part One", "Play Part Two", "", "", "");
        STMT; PulseHighlight();
      }
      STMT; part = opt;
      STMT; screendrawn = 0;
    } else {
      STMT; KillSaveMarkers();
      STMT; DrawRectCmd(0, 0, 640 / resx, 480 / resx, kSelectionColour);
      STMT; DrawPic(1, -1, 25);
      STMT; DrawPic(0, -1, 100);
      STMT; WrapText("I say, K.V., you'll never defeat Scarrow by trying to cheat. You need to "
                     "play Part One first.",
                     320);
      STMT; WaitContinue();
    }
  }
  return 0;
}

double MainProgram() {
  PROC;
  // Device: the handheld tells its models apart by the touchscreen.
  STMT; if (StrEqualsCStr(info_Str, "GP2X") != 0) {
    STMT; resx = 2;
    STMT; if (platform::PathPresent(platform::TouchscreenPath().c_str())) {
      STMT; info_Str = "F200";
    } else {
      STMT; info_Str = "F100";
    }
  }
  STMT; if (StrEqualsCStr(info_Str, "DESKTOP") == 0 && StrEqualsCStr(info_Str, "F100") == 0 &&
            StrEqualsCStr(info_Str, "F200") == 0) {
    STMT; EndStatement();
  }

  // Screen and runtime options.
  STMT; SetScreenCmd(640 / resx, 480 / resx, 1);
  STMT; SetSystemPointer(0);
  STMT; SetFrameLimit(60);
  STMT; SetShoebox("media.gfx", "media.aud");
  STMT; SetEscapeEnds(0);

  // Shared resources.
  STMT; if (resx == 1) {
    STMT; LoadAnimCmd("gfx/fontpc.png", kFontSprite, 20, 20);
    STMT; RequirePicture(kFontSprite, "gfx/fontpc.png");
  } else {
    STMT; LoadAnimCmd("gfx/fontgp.png", kFontSprite, 10, 10);
    STMT; RequirePicture(kFontSprite, "gfx/fontgp.png");
  }
  STMT; ArrayDim(kern, 96);
  STMT; BuildKernTable();
  STMT; ArrayDim(optwide, 6);
  STMT; LoadPic("mouse", 51);
  STMT; LoadPic("f200targ", 52);
  STMT; ArrayDim(obj, 50);
  STMT; LoadPic("gfxfall2", gfxdarkfall);
  STMT; LoadPic("gfxfall", gfxfall);
  STMT; LoadPic("gfxdark", gfxindark);
  STMT; LoadPic("gfxsky", gfxsky);
  STMT; LoadPic("gfxdngn", gfxdungeon);
  STMT; RequireSharedPictures();

  STMT; CompoScreen();
  STMT; LogoScreen();

  for (;;) {
    STMT; TitleScreen();
    STMT; loc = 1;
    STMT; hilite = 1;
    STMT; opt = 0;
    STMT; screendrawn = 0;
    STMT; hicol = 50;
    STMT; hicoldiff = 10;
    STMT; pressed = 0;
    STMT; loaded = 0;
    STMT; part = 1;

    STMT; ChoosePart();

    STMT; PlayMusic("aud/ingame.mp3");
    STMT; SetMusicVolume(mastervolume);
    STMT; if (LocationProcedure intro = FindIntro(part)) {
      STMT; intro();
    }

    // One pass per displayed frame.
    STMT; while (MainLoopPass() == 0) {
    }

    // Restart at the title with a fresh game.
    STMT; part = 1;
    STMT; loc = 1;
    STMT; loaded = 0;
    STMT; ArrayRedimKeep(obj, 0);
    STMT; ArrayRedimKeep(obj, 50);
  }
  return 0;
}
