// The game's main program: runs after start-up and ends only through the
// program end.
#pragma once

// Detects the device, sets the screen, loads the shared pictures and the
// font, shows the opening screens and runs the adventure, returning to the
// title after Escape or the end of a part. Never returns.
double MainProgram();
