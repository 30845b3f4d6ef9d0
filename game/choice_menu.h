// The page menu: "Do you want to:" and up to five options.
#pragma once

#include "core/basic_string.h"

// One frame of the menu with the heading at y o. Yields the chosen row 1 to
// 5 at once, or presents the frame and yields 0. An empty option text ends
// the list.
double ChoiceMenu(double o, BasicString o1_Str, BasicString o2_Str, BasicString o3_Str,
                  BasicString o4_Str, BasicString o5_Str);
