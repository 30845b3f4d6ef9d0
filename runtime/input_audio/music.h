// One looping music track. It loops by time: the start notes when the track
// will end, and RestartMusicIfDue (run by the frame function, the waits and
// the movie loop) starts it again once that time has passed.
#pragma once

#include "core/basic_string.h"

namespace platform {
struct MediaAudio;
struct AudioStream;
}

// The player of the current track.
struct MusicWindow {
  platform::MediaAudio* decoder;  // keeps the file open while the track plays
  platform::AudioStream* stream;  // decoded sound into the mixer
  int32_t volume;                 // 1000 = normal
};

extern MusicWindow* gMusicWindow;  // null when there is no music
extern double gMusicEndTime;       // frame-clock ms of the next restart; 0 = none

// Stops the current track, then plays file (resolved through the second
// archive) from its start at volume 1000. An unresolvable name leaves no
// music playing.
void PlayMusic(const BasicString& file);
void StopMusic();
// v x 1000 on the media volume scale (1 normal, 0 silent, not limited).
void SetMusicVolume(double v);
void RestartMusicIfDue();
// Rewinds and plays the current track at once.
void MusicRestartCallback();

// Length the loop uses for a track: its length, at least 500 ms.
double MusicLoopLengthMs(platform::MediaAudio* decoder);
