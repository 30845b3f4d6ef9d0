// The adventure's own proportional font: the glyph-width table and line
// printing with the font strip in sprite 50.
#pragma once

#include "core/basic_string.h"

// Sprite slot of the font strip.
inline constexpr double kFontSprite = 50;

// Measures the advance of every glyph of the font strip into kern (96
// elements, index = character code - 32). Yields 0.
double BuildKernTable();

// Prints one line with its top at ty; tx = -1 centres it on the 640-wide
// screen, else tx is the left edge. Yields 0.
double PrintTxt(BasicString txt_Str, double tx, double ty);
