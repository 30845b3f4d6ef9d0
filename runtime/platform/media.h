// Media decoding (music and movies): any container and codec FFmpeg reads.
// Sound comes out as 22050 Hz 16-bit stereo for the mixer, pictures as RGBA.
// A decoder keeps its file open until it is closed, so a temporary file can
// be deleted by its maker while it plays.
#pragma once

#include <cstdint>

namespace platform {

struct MediaAudio;
struct MediaVideo;

// Opens the first audio track of a file. Null when the file cannot be read
// or has no audio track.
MediaAudio* MediaAudioOpen(const char* path);
void MediaAudioClose(MediaAudio* audio);
// Length of the file in milliseconds; 0 when unknown.
double MediaAudioLengthMs(MediaAudio* audio);
// Back to the start.
bool MediaAudioRewind(MediaAudio* audio);
// Decodes up to frames stereo frames into out; fewer (0 included) at the end.
int MediaAudioRead(MediaAudio* audio, int16_t* out, int frames);

// Opens a file for its pictures. Null when the file cannot be read at all
// (a file with sound only opens; it has no picture).
MediaVideo* MediaVideoOpen(const char* path);
void MediaVideoClose(MediaVideo* video);
// Picture size; 0 x 0 when there is no picture or its size is unknown.
void MediaVideoSize(MediaVideo* video, int* width, int* height);
double MediaVideoStartMs(MediaVideo* video);
double MediaVideoLengthMs(MediaVideo* video);
bool MediaVideoRewind(MediaVideo* video);
// Decodes the next picture: RGBA rows top-down, width x height of
// MediaVideoSize, valid until the next call. False at the end.
bool MediaVideoNextFrame(MediaVideo* video, const uint8_t** rgba, double* timeMs);

}  // namespace platform
