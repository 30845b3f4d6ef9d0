#define GAME_SOURCE_FILE 0

#include "game/opening_screens.h"

#include <cmath>

#include "core/string_builtins.h"
#include "core/string_ops.h"
#include "frame/frame_function.h"
#include "frame/graphics_commands.h"
#include "game/fire_keys.h"
#include "game/game_state.h"
#include "game/pictures.h"
#include "game/text_print.h"
#include "game/volume_keys.h"
#include "input_audio/input_commands.h"
#include "input_audio/music.h"
#include "input_audio/sound_commands.h"
#include "game/procedure.h"

namespace {

// The press state of the device: the left button or touch on "DESKTOP" and
// "F200", else the number of fire keys held.
double ReadPress(double& mx, double& my, double& b1, double& b2) {
  if (StrEqualsCStr(info_Str, "DESKTOP") != 0 || StrEqualsCStr(info_Str, "F200") != 0) {
    MouseState(mx, my, b1, b2);
    return b1;
  }
  return FireKeys();
}

// Red 192, green level (whole part, modulo 256), blue 0.
double TitleBackground(double green) {
  double g = std::trunc(green);
  g -= 256 * std::floor(g / 256);
  return 192 + 256 * g;
}

}  // namespace

double CompoScreen() {
  PROC;
  LOCAL(done); LOCAL(mx); LOCAL(my); LOCAL(b1); LOCAL(b2);
  STMT; LoadPic("compo", 0);
  STMT; StretchSpriteCmd(0, 0, 0, 640 / resx, 480 / resx);
  STMT; GrabBackground();
  STMT; while (done == 0) {
    STMT; ShowScreen();
    STMT; done = ReadPress(mx, my, b1, b2);
  }
  STMT; while (done > 0) {
    STMT; ShowScreen();
    STMT; done = ReadPress(mx, my, b1, b2);
  }
  STMT; ClearScreen();
  return 0;
}

double LogoScreen() {
  PROC;
  LOCAL(alph);
  STMT; LoadPic("quillet", 0);
  STMT; LoadSoundCmd("aud/wendle.wav", 0, 1);
  STMT; PlaySoundCmd(0, 0, 1);
  STMT; alph = 0.01;
  do {
    STMT; SetAlphaMode(alph);
    STMT; DrawPic(0, 0, 0);
    STMT; ShowScreen();
    STMT; alph = alph + 0.01;
  } while (alph <= 1.0);
  STMT; SleepMs(2000);
  STMT; alph = 1.0;
  do {
    STMT; SetAlphaMode(alph);
    STMT; DrawPic(0, 0, 0);
    STMT; ShowScreen();
    STMT; alph = alph - 0.01;
  } while (alph >= 0.01);
  STMT; SetAlphaMode(0);
  return 0;
}

double TitleScreen() {
  PROC;
  LOCAL(col); LOCAL(coldif); LOCAL(loop);
  STMT; PlayMusic("aud/title.mp3");
  STMT; SetMusicVolume(mastervolume);
  STMT; LoadPic("biglogo", 0);
  STMT; col = 192;
  STMT; coldif = -32;
  STMT; for (loop = 1; loop <= 300; loop = loop + 1) {
    STMT; DrawRectCmd(0, 0, 640 / resx, 480 / resx, TitleBackground(col));
    STMT; DrawPic(0, 112, 24);
    STMT; ShowScreen();
    STMT; col = col + coldif;
    STMT; if (col > 192 || col < 64) {
      STMT; coldif = -coldif;
    }
  }
  STMT; LoadPic("kvtitle", 0);
  STMT; DrawPic(0, 0, 0);
  STMT; if (StrEqualsCStr(info_Str, "DESKTOP") != 0) {
    STMT; PrintTxt("Set Volume with 0 (silent) > 5 (loud)", -1, 440);
  }
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
  LOCAL(done); LOCAL(mx); LOCAL(my); LOCAL(b1); LOCAL(b2);
  STMT; while (done == 0) {
    STMT; ShowScreen();
    STMT; VolumeKeys();
    STMT; if (KeyState(1) != 0) {
      STMT; EndStatement();
    }
    STMT; done = ReadPress(mx, my, b1, b2);
  }
  STMT; while (done > 0) {
    STMT; ShowScreen();
    STMT; done = ReadPress(mx, my, b1, b2);
  }
  STMT; ClearScreen();
  STMT; StopMusic();
  return 0;
}
