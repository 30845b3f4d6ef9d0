#define GAME_SOURCE_FILE 0

#include "game/text_print.h"

#include <cmath>

#include "core/string_builtins.h"
#include "frame/graphics_commands.h"
#include "game/element_access.h"
#include "game/game_state.h"
#include "game/procedure.h"

double BuildKernTable() {
  PROC;
  LOCAL(ch); LOCAL(chx); LOCAL(chy);
  STMT; At(kern, 0) = 20;
  STMT; for (ch = 1; ch <= 95; ch = ch + 1) {
    STMT; DrawRectCmd(0, 0, 25, 25, 16777215);
    STMT; DrawAnimCmd(kFontSprite, ch, 0, 0);
    STMT; chx = 20 / resx;
    STMT; chy = 0;
    // Even rows of each column, from the right edge leftwards, up to the
    // first pixel that is not pure white.
    STMT; while (chx > 0 && GetPixelCmd(chx, chy) == 16777215) {
      STMT; chy = chy + 2;
      STMT; if (chy >= 20 / resx) {
        STMT; chx = chx - 1;
        STMT; chy = 0;
      }
    }
    STMT; At(kern, ch) = resx * chx + 2;
  }
  return 0;
}

double PrintTxt(BasicString txt_Str, double tx, double ty) {
  PROC; PARAM(txt_Str); PARAM(tx); PARAM(ty);
  LOCAL(loop); LOCAL(cr); LOCAL(add);
  STMT; if (tx == -1) {
    STMT; add = 0;
    STMT; for (loop = 0; loop <= StrLengthNumber(txt_Str) - 1; loop = loop + 1) {
      STMT; cr = AscCode(MidString(txt_Str, loop, 1)) - 32;
      STMT; add = add + At(kern, cr);
    }
    STMT; tx = std::trunc((640 - add) * 0.5);
  }
  STMT; for (loop = 0; loop <= StrLengthNumber(txt_Str) - 1; loop = loop + 1) {
    STMT; cr = AscCode(MidString(txt_Str, loop, 1)) - 32;
    STMT; if (resx == 1) {
      STMT; DrawAnimCmd(kFontSprite, cr, tx, ty);
    } else {
      STMT; DrawAnimCmd(kFontSprite, cr, tx * 0.5, ty * 0.5);
    }
    STMT; tx = tx + At(kern, cr);
  }
  return 0;
}
