#include "game/data_check.h"

#include "game/game_state.h"
#include "game/picture_check.h"
#include "game/text_print.h"

void RequireSharedPictures() {
  struct Needed {
    double sprite;
    const char* file;
  };
  const Needed needed[] = {
      {kFontSprite, resx == 1 ? "gfx/fontpc.png" : "gfx/fontgp.png"},
      {51, "gfx/mouse.png"},
      {52, "gfx/f200targ.png"},
      {gfxdarkfall, "gfx/gfxfall2.png"},
      {gfxfall, "gfx/gfxfall.png"},
      {gfxindark, "gfx/gfxdark.png"},
      {gfxsky, "gfx/gfxsky.png"},
      {gfxdungeon, "gfx/gfxdngn.png"},
  };
  for (const Needed& n : needed) RequirePicture(n.sprite, n.file);
}
