// The screens before the game: the opening picture, the logo with its sound
// and fade, and the title with its music and prompt.
#pragma once

// "compo" over the whole screen until a press and release. Yields 0.
double CompoScreen();

// "quillet" fading in and out to the logo sound (about 5.3 s). Yields 0.
double LogoScreen();

// Title music, 300 frames of the logo on a pulsing background, then the
// title picture, the volume hint and the continue prompt until a press and
// release; Escape while it waits for the press ends the program. Yields 0.
double TitleScreen();
