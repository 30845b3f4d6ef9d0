// The game's main program: runs after start-up and ends only through the
// program end.
#pragma once

// Before the window opens: a device name (info_Str) that the game does not
// play ends the program with status 1, saying so on standard error, in a
// message box and in the error log, and naming the names it plays.
void RequireKnownDevice();

// Detects the device, sets the screen, loads the shared pictures and the
// font, shows the opening screens and runs the adventure, returning to the
// title after Escape or the end of a part. Never returns.
double MainProgram();

// One pass of the frame loop: the procedure of (part, loc), the volume keys,
// Escape, the reset after a choice and the highlight pulse. Yields 1 when
// the game returns to the title (Escape or loc 999), else 0.
double MainLoopPass();

// The start of a game after the title: with the save marker holding the
// unlock code, the part-selection page sets part from the player's choice;
// with any other marker, the marker is deleted and a warning shown (part
// stays 1); without one nothing happens. Yields 0.
double ChoosePart();
