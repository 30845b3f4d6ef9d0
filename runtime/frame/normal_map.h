// Turns a height picture (heights in the blue bytes) into a normal map.
#pragma once

#include "frame/renderer.h"

// Replaces every pixel's R, G, B by the surface normal of the height field
// h = blue / 255 (Sobel slopes, the picture wrapping at its edges), each
// component mapped from -1..1 to 0..255; alpha is kept.
void ConvertToNormalMap(RgbaImage* image);
