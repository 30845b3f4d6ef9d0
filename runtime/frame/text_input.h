// Line input on screen: the typed text is shown at (x, y) with a blinking
// cursor over the picture that was on screen when the input began.
#pragma once

#include "core/basic_string.h"

// Edits text in place until Enter: Backspace removes the last character,
// every other character is appended. The picture behind the text is held
// in virtual screen 3 while editing.
void InputLineCmd(BasicString& text, double x, double y);
// A line input started empty; out receives its number value.
void InputNumberCmd(double& out, double x, double y);
