#define GAME_SOURCE_FILE 0

#include "game/volume_keys.h"

#include <cmath>

#include "core/string_ops.h"
#include "game/game_state.h"
#include "input_audio/input_commands.h"
#include "input_audio/music.h"
#include "game/procedure.h"

namespace {

// The six levels are kept as whole steps 0 to 5 and the volume derived from
// the step, so stepping never drifts and never leaves 0 to 1.
double StepOf(double volume) {
  double step = std::round(volume * 5);
  if (!(step > 0)) return 0;
  return step > 5 ? 5 : step;
}

double LevelOf(double step) {
  if (step < 0) step = 0;
  if (step > 5) step = 5;
  return step / 5;
}

}  // namespace

double VolumeKeys() {
  PROC;
  LOCAL(oldmv);
  STMT; oldmv = mastervolume;
  STMT; if (StrEqualsCStr(info_Str, "DESKTOP") != 0) {
    STMT; if (KeyState(11) == 1 || KeyState(82) == 1) {
      STMT; mastervolume = 0;
    }
    STMT; if (KeyState(2) == 1 || KeyState(79) == 1) {
      STMT; mastervolume = 0.2;
    }
    STMT; if (KeyState(3) == 1 || KeyState(80) == 1) {
      STMT; mastervolume = 0.4;
    }
    STMT; if (KeyState(4) == 1 || KeyState(81) == 1) {
      STMT; mastervolume = 0.6;
    }
    STMT; if (KeyState(5) == 1 || KeyState(75) == 1) {
      STMT; mastervolume = 0.8;
    }
    STMT; if (KeyState(6) == 1 || KeyState(76) == 1) {
      STMT; mastervolume = 1;
    }
  } else {
    STMT; LOCAL(volpressed);
    STMT; if (KeyState(201) == 1) {
      STMT; if (mastervolume < 1) {
        STMT; mastervolume = LevelOf(StepOf(mastervolume) + 1);
      }
      STMT; volpressed = 1;
      STMT; while (volpressed == 1) {
        STMT; volpressed = KeyState(201);
      }
    }
    STMT; if (KeyState(209) == 1) {
      STMT; if (mastervolume > 0) {
        STMT; mastervolume = LevelOf(StepOf(mastervolume) - 1);
      }
      STMT; volpressed = 1;
      STMT; while (volpressed == 1) {
        STMT; volpressed = KeyState(209);
      }
    }
  }
  STMT; if (mastervolume != oldmv) {
    STMT; SetMusicVolume(mastervolume);
  }
  return 0;
}
