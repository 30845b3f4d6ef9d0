// Music volume from the keyboard: keys 0 to 5 on the desktop, Page Up and
// Page Down on the handheld; six exact levels 0, 0.2 .. 1.
#pragma once

// Reads the volume keys once and hands a changed level to the music player.
// Yields 0.
double VolumeKeys();
