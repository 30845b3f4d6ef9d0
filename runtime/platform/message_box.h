// Laying out the text of a message box so that the box fits a small screen.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace platform {

// Pixel width of one line of text.
using TextWidth = std::function<int(std::string_view)>;

// Breaks text into lines no wider than maxWidth, at blanks; the text's own
// line ends stay. A word wider than a line (a long path) stands on a line
// of its own and, only where it cannot fit even there, is cut after a '/'
// (else between two characters) as often as needed.
std::string BreakMessageLines(std::string_view text, int maxWidth, const TextWidth& width);

// The text as ShowMessage puts it into its box: broken into lines that keep
// the box within a 640 x 480 screen, measured with the box's own font on the
// display when it can be read there, else at 60 characters a line.
std::string MessageBoxLines(std::string_view text);

}  // namespace platform
