#include "game/data_check.h"

#include <string>

#include "core/runtime_error.h"
#include "frame/graphics_commands.h"
#include "game/game_state.h"
#include "game/text_print.h"
#include "platform/system.h"

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
  for (const Needed& n : needed) {
    double w = 0, h = 0;
    GetSpriteSizeCmd(n.sprite, w, h);
    if (w > 0 && h > 0) continue;
    const std::string archive = platform::CurrentFolder() + "/media.gfx";
    const std::string text = "The game's data is missing or damaged: " + archive +
                             " could not supply " + n.file +
                             ". Reinstall the game or build it again.";
    AppendErrorLog(text.c_str());
    platform::ShowMessage("Kestrovar", text.c_str());
    EndProgramWithStatus(1);
  }
}
