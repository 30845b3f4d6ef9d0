// The sound device: the one audio output of the runtime.
#pragma once

#include <cstdint>

namespace platform {
struct Window;
}

// Device capabilities as the mixer reports them.
struct SoundCaps {
  uint32_t size;  // set to sizeof(SoundCaps) before each query
  uint32_t flags;
  uint32_t minSampleRate;
  uint32_t maxSampleRate;
  uint32_t primaryRate;
  uint32_t primaryChannels;
  uint32_t primaryBits;
};

struct SoundDevice {
  // True while this device holds the open audio output (the mixer).
  bool directSound;
  SoundCaps caps;
};

extern SoundDevice* gSoundDevice;

void SoundDeviceConstruct(SoundDevice* device);
// Opens the output at 22050 Hz, 16-bit stereo. 1 on success, 0 when there
// is no audio device (sounds then fail to load and plays return -1).
int32_t SoundDeviceCreate(SoundDevice* device, platform::Window* window);
// Binds the device to the (possibly new) main window; nothing to do for our
// output beyond checking it exists.
void SoundDeviceSetCooperativeLevel(SoundDevice* device, platform::Window* window);
bool SoundDeviceGetCaps(SoundDevice* device);
// Closes the output; the device's destructor.
void SoundDeviceRelease(SoundDevice* device);

// Start-up helpers: new gSoundDevice (constructed) and the shutdown step
// that releases and deletes it.
SoundDevice* CreateSoundDeviceSingleton();
