// Audio output: one device at 22050 Hz, 16-bit stereo, and our own mixer.
//
// Sound buffers behave like static secondary buffers of a DirectSound-style
// device: sample data of any PCM rate, 8 or 16 bits, mono or stereo; a buffer
// plays from its current position and keeps that position when stopped;
// duplicates share the sample data of their original; volume and pan are in
// hundredths of a decibel. Streams are pull sources (music, movie sound) that
// the mixer asks for 22050 Hz stereo frames.
//
// The mixer runs on the audio thread. Every call below that changes or reads
// mixer state takes the device lock itself; AudioLock/AudioUnlock group
// several calls into one step.
#pragma once

#include <cstdint>

namespace platform {

constexpr int kAudioRate = 22050;
constexpr int kAudioChannels = 2;

constexpr uint32_t kAudioStatusPlaying = 1;
constexpr uint32_t kAudioStatusLooping = 4;
constexpr uint32_t kAudioStatusLost = 2;

constexpr uint32_t kAudioPlayLooping = 1;

constexpr int32_t kAudioVolumeMin = -10000;  // silence
constexpr int32_t kAudioVolumeMax = 0;
constexpr int32_t kAudioPanLeft = -10000;
constexpr int32_t kAudioPanRight = 10000;

struct AudioBuffer;
struct AudioStream;

struct AudioFormat {
  int channels;       // 1 or 2
  int samplesPerSec;  // 1000..192000
  int bitsPerSample;  // 8 (unsigned) or 16 (signed)
  int blockAlign;     // bytes per frame
};

// Opens the default output device (SDL's driver choice, SDL_AUDIODRIVER
// honoured). False when there is none; the mixer then stays closed.
bool AudioOpen();
// Opens the mixer without an output device: nothing pulls frames except
// AudioRender. For programs that render audio themselves (and tests).
bool AudioOpenManual();
// Stops the device. Buffers and streams stay valid objects but are silent;
// release them before or after as their owners please.
void AudioClose();
bool AudioIsOpen();

void AudioLock();
void AudioUnlock();

// Mixes the next frames into out (interleaved stereo, 16-bit), advancing
// every playing buffer and stream. The audio thread calls this itself;
// with AudioOpenManual it is the only way time passes.
void AudioRender(int16_t* out, int frames);

// Static buffer of bytes bytes; withControls false makes a buffer whose
// volume and pan cannot be set (the calls fail). Null on a bad format, a
// zero size or no open mixer.
AudioBuffer* AudioCreateBuffer(const AudioFormat& format, uint32_t bytes, bool withControls);
// Second buffer over the same sample data, stopped at position 0, full
// volume, centre pan. Null on failure.
AudioBuffer* AudioDuplicateBuffer(AudioBuffer* original);
// Stops and frees one buffer; the sample data goes with the last buffer
// that shares it.
void AudioReleaseBuffer(AudioBuffer* buffer);

// Write access to the sample data, DirectSound style: up to two regions
// (the second is always empty here since the data is linear). False when
// the range lies outside the buffer.
bool AudioLockBuffer(AudioBuffer* buffer, uint32_t offset, uint32_t bytes, void** region1,
                     uint32_t* bytes1, void** region2, uint32_t* bytes2);
bool AudioUnlockBuffer(AudioBuffer* buffer, void* region1, uint32_t bytes1, void* region2,
                       uint32_t bytes2);

bool AudioGetStatus(AudioBuffer* buffer, uint32_t* status);
bool AudioPlay(AudioBuffer* buffer, uint32_t flags);
bool AudioStop(AudioBuffer* buffer);
bool AudioSetPosition(AudioBuffer* buffer, uint32_t bytePosition);
bool AudioGetPosition(AudioBuffer* buffer, uint32_t* bytePosition);
// Hundredths of a decibel, -10000..0; gain 10^(v/2000), -10000 is silent.
bool AudioSetVolume(AudioBuffer* buffer, int32_t volume);
bool AudioGetVolume(AudioBuffer* buffer, int32_t* volume);
// -10000 (right side silent) .. 0 .. 10000 (left side silent); the other
// side stays at full level.
bool AudioSetPan(AudioBuffer* buffer, int32_t pan);
bool AudioGetPan(AudioBuffer* buffer, int32_t* pan);
// Buffers are never lost with this mixer; succeeds for a valid buffer.
bool AudioRestore(AudioBuffer* buffer);

// Gain of a hundredths-of-a-decibel level (0 for -10000 and below).
double AudioLevelToGain(int32_t level);

// Pull source: fill writes up to frames stereo frames (16-bit, 22050 Hz)
// into out and returns how many it wrote; fewer ends the stream's output
// for this mix (the rest is silence). Called on the audio thread under the
// device lock.
typedef int (*AudioStreamFill)(void* user, int16_t* out, int frames);
AudioStream* AudioCreateStream(AudioStreamFill fill, void* user);
void AudioReleaseStream(AudioStream* stream);
// Linear gain of a stream (1 = as decoded; above 1 amplifies, clipped).
void AudioSetStreamGain(AudioStream* stream, double gain);
void AudioSetStreamPaused(AudioStream* stream, bool paused);

}  // namespace platform
