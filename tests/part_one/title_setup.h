// What the main program loads before the title, for one device: the font
// strip with its kerning, the pointer and target pictures, the object list
// and the pictures several locations share. The play harnesses start from
// there as the main program would.
#pragma once

#include "core/basic_array.h"
#include "frame/frame_function.h"
#include "frame/graphics_commands.h"
#include "game/game_state.h"
#include "game/pictures.h"
#include "game/text_print.h"

namespace playsetup {

inline void LoadBeforeTitle(const char* device, double scale, const char* fontStrip, double cell) {
  info_Str = device;
  resx = scale;
  SetFrameLimit(400);
  LoadAnimCmd(fontStrip, kFontSprite, cell, cell);
  ArrayDim(kern, 96);
  BuildKernTable();
  ArrayDim(optwide, 6);
  LoadPic("mouse", 51);
  LoadPic("f200targ", 52);
  ArrayDim(obj, 50);
  LoadPic("gfxfall2", gfxdarkfall);
  LoadPic("gfxfall", gfxfall);
  LoadPic("gfxdark", gfxindark);
  LoadPic("gfxsky", gfxsky);
  LoadPic("gfxdngn", gfxdungeon);
  ClearScreen();
}

}  // namespace playsetup
