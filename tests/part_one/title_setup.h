// What the main program does before the title and when a part starts, as
// the play harnesses need it.
#pragma once

#include "core/basic_array.h"
#include "frame/frame_function.h"
#include "frame/graphics_commands.h"
#include "game/game_state.h"
#include "game/pictures.h"
#include "game/text_print.h"

namespace playsetup {

// What it loads before the title, for one device: the font strip with its
// kerning, the pointer and target pictures, the object list and the
// pictures several locations share.
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

// The start of a part as the main program makes it after the title: loc 1,
// no items, the menu state reset.
inline void StartPart(double newPart) {
  ClearScreen();
  ArrayRedimKeep(obj, 0);
  ArrayRedimKeep(obj, 50);
  loc = 1;
  hilite = 1;
  opt = 0;
  screendrawn = 0;
  hicol = 50;
  hicoldiff = 10;
  pressed = 0;
  loaded = 0;
  maxkern = 640;
  mazeloc = 0;
  part = newPart;
}

}  // namespace playsetup
