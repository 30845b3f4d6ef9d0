// Movies: played over the main window, fitted to its client area, in a loop
// of their own that ends at the end of the movie, on a key or on a click.
#pragma once

#include "core/basic_string.h"

struct MovieRect {
  int left;
  int top;
  int right;
  int bottom;
};

// Largest rectangle of the source's proportions inside the client area,
// centred. A source without a size (no picture) gives an empty rectangle at
// the centre.
MovieRect FitMovieRect(int sourceWidth, int sourceHeight, int clientWidth, int clientHeight);

// Plays file (resolved through the second archive). With loop set it starts
// again at its end and runs until a key or button. 0, or 3 when the file
// cannot be resolved or opened.
double PlayMovie(const BasicString& file, bool loop);
double PlayMovieLooped(const BasicString& file);
double PlayMovieOnce(const BasicString& file);
