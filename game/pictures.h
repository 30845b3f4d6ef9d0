// Loading and drawing the adventure's pictures in 640 x 480 units.
#pragma once

#include "core/basic_string.h"

// Loads "gfx/" + file_Str + ".png" into sprite slot num. A picture that
// does not load ends the game (RequirePicture). Yields 0.
double LoadPic(BasicString file_Str, double num);

// Draws sprite num with its top-left corner at (x, y); x = -1 centres it
// across the 640-wide screen. On the handheld (resx not 1) position and size
// are halved. Yields 0.
double DrawPic(double num, double x, double y);
