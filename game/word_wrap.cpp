#define GAME_SOURCE_FILE 0

#include "game/word_wrap.h"

#include "core/string_builtins.h"
#include "core/string_ops.h"
#include "game/element_access.h"
#include "game/game_state.h"
#include "game/text_print.h"
#include "game/procedure.h"

double WrapText(BasicString w_Str, double wy) {
  PROC; PARAM(w_Str); PARAM(wy);
  LOCAL(lastspace); LOCAL(testch); LOCAL(width); LOCAL(ch);
  STMT; while (StrNotEqualsCStr(w_Str, "") != 0) {
    STMT; lastspace = 0;
    STMT; testch = 0;
    STMT; width = 0;
    STMT; while (width < maxkern && testch != StrLengthNumber(w_Str)) {
      STMT; ch = AscCode(MidString(w_Str, testch, 1)) - 32;
      STMT; if (ch == 0) {
        STMT; lastspace = testch;
      }
      STMT; width = width + At(kern, ch);
      STMT; testch = testch + 1;
    }
    STMT; if (testch == StrLengthNumber(w_Str) && width < maxkern) {
      STMT; PrintTxt(w_Str, 0, wy);
      STMT; w_Str = "";
    } else if (lastspace > 0) {
      STMT; PrintTxt(MidString(w_Str, 0, lastspace), 0, wy);
      STMT; wy = wy + 20;
      STMT; w_Str = MidString(w_Str, lastspace + 1, StrLengthNumber(w_Str) - lastspace);
    } else {
      // No space to break at: a word wider than the margin is broken after
      // its last character that fits (at least one, so the text shrinks).
      STMT; testch = testch - 1;
      STMT; if (testch < 1) {
        STMT; testch = 1;
      }
      STMT; PrintTxt(MidString(w_Str, 0, testch), 0, wy);
      STMT; wy = wy + 20;
      STMT; w_Str = MidString(w_Str, testch, StrLengthNumber(w_Str) - testch);
    }
  }
  return 0;
}
