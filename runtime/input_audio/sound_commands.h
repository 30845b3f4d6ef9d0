// Command-layer entry points for sound effects.
#pragma once

#include "core/basic_string.h"

// Loads a WAV file (resolved through the first archive) into slot 0..127
// with 1..4 overlap buffers. A negative slot loads nothing.
void LoadSoundCmd(const BasicString& file, double slot, double buffers);
// pan -1..1, volume 0..1. Channel slot x 256 + buffer index, or -1.
double PlaySoundCmd(double slot, double pan, double volume);
// 1 while the channel's buffer plays, else 0.
double SoundPlayingCmd(double channel);
void StopAllSoundsCmd();
