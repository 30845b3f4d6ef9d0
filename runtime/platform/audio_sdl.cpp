// SDL2 audio output with our own mixer (see audio.h).
#include "platform/audio.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

namespace platform {

namespace {

struct SampleData {
  uint8_t* bytes;
  uint32_t size;
  AudioFormat format;
  uint32_t frames;
  int refs;
};

}  // namespace

struct AudioBuffer {
  SampleData* data;
  bool controls;
  bool playing;
  bool looping;
  double position;  // in source frames
  int32_t volume;
  int32_t pan;
};

struct AudioStream {
  AudioStreamFill fill;
  void* user;
  double gain;
  bool paused;
};

namespace {

std::recursive_mutex gMixLock;
bool gOpen = false;
SDL_AudioDeviceID gDevice = 0;
std::vector<AudioBuffer*> gBuffers;
std::vector<AudioStream*> gStreams;
std::vector<float> gAccum;
std::vector<int16_t> gStreamScratch;

using Guard = std::lock_guard<std::recursive_mutex>;

bool ValidFormat(const AudioFormat& f) {
  if (f.channels != 1 && f.channels != 2) return false;
  if (f.bitsPerSample != 8 && f.bitsPerSample != 16) return false;
  if (f.samplesPerSec < 1000 || f.samplesPerSec > 192000) return false;
  return f.blockAlign == f.channels * f.bitsPerSample / 8;
}

bool Known(AudioBuffer* b) {
  return b && std::find(gBuffers.begin(), gBuffers.end(), b) != gBuffers.end();
}

inline float SampleAt(const SampleData* d, uint32_t frame, int channel) {
  const uint8_t* p = d->bytes + static_cast<size_t>(frame) * d->format.blockAlign;
  int ch = d->format.channels == 2 ? channel : 0;
  if (d->format.bitsPerSample == 8) return (static_cast<float>(p[ch]) - 128.0f) * 256.0f;
  int16_t v;
  std::memcpy(&v, p + ch * 2, 2);
  return static_cast<float>(v);
}

void MixBuffer(AudioBuffer* b, float* acc, int frames) {
  const SampleData* d = b->data;
  if (d->frames == 0) {
    b->playing = false;
    return;
  }
  double gain = AudioLevelToGain(b->volume);
  double left = gain * (b->pan > 0 ? AudioLevelToGain(-b->pan) : 1.0);
  double right = gain * (b->pan < 0 ? AudioLevelToGain(b->pan) : 1.0);
  const double step = static_cast<double>(d->format.samplesPerSec) / kAudioRate;
  const float gl = static_cast<float>(left), gr = static_cast<float>(right);
  for (int i = 0; i < frames; ++i) {
    if (b->position >= d->frames) {
      if (b->looping) {
        b->position = std::fmod(b->position, static_cast<double>(d->frames));
      } else {
        // A one-shot buffer stops at its end with its cursor back at the start.
        b->playing = false;
        b->position = 0;
        return;
      }
    }
    uint32_t idx = static_cast<uint32_t>(b->position);
    float frac = static_cast<float>(b->position - idx);
    uint32_t next = idx + 1 < d->frames ? idx + 1 : (b->looping ? 0 : idx);
    float l = SampleAt(d, idx, 0), r = SampleAt(d, idx, 1);
    if (frac != 0.0f) {
      l += (SampleAt(d, next, 0) - l) * frac;
      r += (SampleAt(d, next, 1) - r) * frac;
    }
    acc[2 * i] += l * gl;
    acc[2 * i + 1] += r * gr;
    b->position += step;
  }
}

void MixStream(AudioStream* s, float* acc, int frames) {
  if (s->paused || !s->fill) return;
  gStreamScratch.assign(static_cast<size_t>(frames) * 2, 0);
  int got = s->fill(s->user, gStreamScratch.data(), frames);
  got = std::clamp(got, 0, frames);
  const float g = static_cast<float>(s->gain);
  for (int i = 0; i < got * 2; ++i) acc[i] += gStreamScratch[i] * g;
}

void RenderLocked(int16_t* out, int frames) {
  gAccum.assign(static_cast<size_t>(frames) * 2, 0.0f);
  for (AudioBuffer* b : gBuffers)
    if (b->playing) MixBuffer(b, gAccum.data(), frames);
  for (AudioStream* s : gStreams) MixStream(s, gAccum.data(), frames);
  for (int i = 0; i < frames * 2; ++i) {
    float v = std::nearbyint(gAccum[i]);
    out[i] = static_cast<int16_t>(std::clamp(v, -32768.0f, 32767.0f));
  }
}

void Callback(void*, Uint8* stream, int len) {
  Guard g(gMixLock);
  int frames = len / 4;
  if (!gOpen) {
    std::memset(stream, 0, len);
    return;
  }
  RenderLocked(reinterpret_cast<int16_t*>(stream), frames);
}

}  // namespace

double AudioLevelToGain(int32_t level) {
  if (level <= kAudioVolumeMin) return 0.0;
  if (level >= 0) return 1.0;
  return std::pow(10.0, level / 2000.0);
}

bool AudioOpen() {
  Guard g(gMixLock);
  if (gOpen) return true;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  SDL_AudioSpec want{}, have{};
  want.freq = kAudioRate;
  want.format = AUDIO_S16SYS;
  want.channels = kAudioChannels;
  want.samples = 1024;
  want.callback = Callback;
  gDevice = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (gDevice == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  gOpen = true;
  SDL_PauseAudioDevice(gDevice, 0);
  // A program that ends without closing the audio would leave the mixing
  // thread running over the mixer's state while it is torn down.
  static const bool closeAtExit = std::atexit(AudioClose) == 0;
  (void)closeAtExit;
  return true;
}

bool AudioOpenManual() {
  Guard g(gMixLock);
  if (gOpen) return gDevice == 0;
  gOpen = true;
  return true;
}

void AudioClose() {
  SDL_AudioDeviceID dev;
  {
    Guard g(gMixLock);
    if (!gOpen) return;
    gOpen = false;
    dev = gDevice;
    gDevice = 0;
    for (AudioBuffer* b : gBuffers) b->playing = false;
  }
  if (dev != 0) {
    SDL_CloseAudioDevice(dev);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
}

bool AudioIsOpen() {
  Guard g(gMixLock);
  return gOpen;
}

void AudioLock() { gMixLock.lock(); }
void AudioUnlock() { gMixLock.unlock(); }

void AudioRender(int16_t* out, int frames) {
  Guard g(gMixLock);
  if (frames <= 0) return;
  if (!gOpen) {
    std::memset(out, 0, static_cast<size_t>(frames) * 4);
    return;
  }
  RenderLocked(out, frames);
}

AudioBuffer* AudioCreateBuffer(const AudioFormat& format, uint32_t bytes, bool withControls) {
  Guard g(gMixLock);
  if (!gOpen || !ValidFormat(format) || bytes == 0) return nullptr;
  uint8_t* mem = static_cast<uint8_t*>(std::calloc(bytes, 1));
  if (!mem) return nullptr;
  if (format.bitsPerSample == 8) std::memset(mem, 0x80, bytes);
  auto* d = new SampleData{mem, bytes, format, bytes / static_cast<uint32_t>(format.blockAlign), 1};
  auto* b = new AudioBuffer{d, withControls, false, false, 0.0, 0, 0};
  gBuffers.push_back(b);
  return b;
}

AudioBuffer* AudioDuplicateBuffer(AudioBuffer* original) {
  Guard g(gMixLock);
  if (!gOpen || !Known(original)) return nullptr;
  original->data->refs++;
  auto* b = new AudioBuffer{original->data, original->controls, false, false, 0.0, 0, 0};
  gBuffers.push_back(b);
  return b;
}

void AudioReleaseBuffer(AudioBuffer* buffer) {
  Guard g(gMixLock);
  auto it = std::find(gBuffers.begin(), gBuffers.end(), buffer);
  if (it == gBuffers.end()) return;
  gBuffers.erase(it);
  if (--buffer->data->refs == 0) {
    std::free(buffer->data->bytes);
    delete buffer->data;
  }
  delete buffer;
}

bool AudioLockBuffer(AudioBuffer* buffer, uint32_t offset, uint32_t bytes, void** region1,
                     uint32_t* bytes1, void** region2, uint32_t* bytes2) {
  Guard g(gMixLock);
  if (!Known(buffer)) return false;
  uint32_t size = buffer->data->size;
  if (offset >= size || bytes == 0 || bytes > size - offset) return false;
  *region1 = buffer->data->bytes + offset;
  *bytes1 = bytes;
  if (region2) *region2 = nullptr;
  if (bytes2) *bytes2 = 0;
  return true;
}

bool AudioUnlockBuffer(AudioBuffer* buffer, void* region1, uint32_t bytes1, void*, uint32_t) {
  Guard g(gMixLock);
  if (!Known(buffer)) return false;
  const uint8_t* p = static_cast<const uint8_t*>(region1);
  const uint8_t* base = buffer->data->bytes;
  return p >= base && p + bytes1 <= base + buffer->data->size;
}

bool AudioGetStatus(AudioBuffer* buffer, uint32_t* status) {
  Guard g(gMixLock);
  if (!Known(buffer)) return false;
  *status = (buffer->playing ? kAudioStatusPlaying : 0) |
            (buffer->playing && buffer->looping ? kAudioStatusLooping : 0);
  return true;
}

bool AudioPlay(AudioBuffer* buffer, uint32_t flags) {
  Guard g(gMixLock);
  if (!gOpen || !Known(buffer)) return false;
  buffer->playing = true;
  buffer->looping = (flags & kAudioPlayLooping) != 0;
  return true;
}

bool AudioStop(AudioBuffer* buffer) {
  Guard g(gMixLock);
  if (!Known(buffer)) return false;
  buffer->playing = false;
  return true;
}

bool AudioSetPosition(AudioBuffer* buffer, uint32_t bytePosition) {
  Guard g(gMixLock);
  if (!Known(buffer) || bytePosition > buffer->data->size) return false;
  buffer->position = bytePosition / static_cast<uint32_t>(buffer->data->format.blockAlign);
  return true;
}

bool AudioGetPosition(AudioBuffer* buffer, uint32_t* bytePosition) {
  Guard g(gMixLock);
  if (!Known(buffer)) return false;
  uint32_t frame = std::min(static_cast<uint32_t>(buffer->position), buffer->data->frames);
  *bytePosition = frame * static_cast<uint32_t>(buffer->data->format.blockAlign);
  return true;
}

bool AudioSetVolume(AudioBuffer* buffer, int32_t volume) {
  Guard g(gMixLock);
  if (!Known(buffer) || !buffer->controls) return false;
  if (volume < kAudioVolumeMin || volume > kAudioVolumeMax) return false;
  buffer->volume = volume;
  return true;
}

bool AudioGetVolume(AudioBuffer* buffer, int32_t* volume) {
  Guard g(gMixLock);
  if (!Known(buffer) || !buffer->controls) return false;
  *volume = buffer->volume;
  return true;
}

bool AudioSetPan(AudioBuffer* buffer, int32_t pan) {
  Guard g(gMixLock);
  if (!Known(buffer) || !buffer->controls) return false;
  if (pan < kAudioPanLeft || pan > kAudioPanRight) return false;
  buffer->pan = pan;
  return true;
}

bool AudioGetPan(AudioBuffer* buffer, int32_t* pan) {
  Guard g(gMixLock);
  if (!Known(buffer) || !buffer->controls) return false;
  *pan = buffer->pan;
  return true;
}

bool AudioRestore(AudioBuffer* buffer) {
  Guard g(gMixLock);
  return Known(buffer);
}

AudioStream* AudioCreateStream(AudioStreamFill fill, void* user) {
  Guard g(gMixLock);
  auto* s = new AudioStream{fill, user, 1.0, false};
  gStreams.push_back(s);
  return s;
}

void AudioReleaseStream(AudioStream* stream) {
  Guard g(gMixLock);
  auto it = std::find(gStreams.begin(), gStreams.end(), stream);
  if (it == gStreams.end()) return;
  gStreams.erase(it);
  delete stream;
}

void AudioSetStreamGain(AudioStream* stream, double gain) {
  Guard g(gMixLock);
  if (std::find(gStreams.begin(), gStreams.end(), stream) == gStreams.end()) return;
  stream->gain = gain < 0 ? 0 : gain;
}

void AudioSetStreamPaused(AudioStream* stream, bool paused) {
  Guard g(gMixLock);
  if (std::find(gStreams.begin(), gStreams.end(), stream) == gStreams.end()) return;
  stream->paused = paused;
}

}  // namespace platform
