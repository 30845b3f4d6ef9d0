// The check that a picture of the game arrived: the game cannot be played
// properly without its pictures, so a missing one ends it.
#pragma once

#include "core/basic_string.h"

// Returns when sprite slot sprite holds a picture. Otherwise ends the game
// with status 1 and a message on standard error, in a message box and in
// the error log: the temporary folder is full or cannot be written when
// that kept the picture from being unpacked, else the game's data is missing
// or damaged (naming the archive, the file and the reason).
void RequirePicture(double sprite, const BasicString& file);
