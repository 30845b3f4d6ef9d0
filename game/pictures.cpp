#define GAME_SOURCE_FILE 0

#include "game/pictures.h"

#include "core/string_ops.h"
#include "frame/graphics_commands.h"
#include "game/game_state.h"
#include "game/picture_check.h"
#include "game/procedure.h"

double LoadPic(BasicString file_Str, double num) {
  PROC; PARAM(file_Str); PARAM(num);
  LOCAL_STR(filename_Str);
  STMT; filename_Str = StrConcat(StrConcat("gfx/", file_Str), ".png");
  STMT; LoadSpriteCmd(filename_Str, num);
  STMT; RequirePicture(num, filename_Str);
  return 0;
}

double DrawPic(double num, double x, double y) {
  PROC; PARAM(num); PARAM(x); PARAM(y);
  LOCAL(sx); LOCAL(sy);
  STMT; GetSpriteSizeCmd(num, sx, sy);
  STMT; if (x == -1) {
    STMT; x = (640 - sx) * 0.5;
  }
  STMT; if (resx == 1) {
    STMT; DrawSpriteCmd(num, x, y);
  } else {
    STMT; StretchSpriteCmd(num, x * 0.5, y * 0.5, sx * 0.5, sy * 0.5);
  }
  return 0;
}
