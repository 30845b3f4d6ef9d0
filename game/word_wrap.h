// Left-aligned page text broken at spaces before the margin maxkern.
#pragma once

#include "core/basic_string.h"

// Prints w_Str from the line top wy downward, 20 units a line. Yields 0.
double WrapText(BasicString w_Str, double wy);
