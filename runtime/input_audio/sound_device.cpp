#include "input_audio/sound_device.h"

#include "core/runtime_error.h"
#include "platform/audio.h"

SoundDevice* gSoundDevice = nullptr;

void SoundDeviceConstruct(SoundDevice* device) {
  device->directSound = false;
  device->caps = SoundCaps{};
}

int32_t SoundDeviceCreate(SoundDevice* device, platform::Window*) {
  if (device->directSound) return 1;
  if (!platform::AudioOpen()) return 0;
  device->directSound = true;
  SoundDeviceGetCaps(device);
  return 1;
}

void SoundDeviceSetCooperativeLevel(SoundDevice* device, platform::Window*) {
  if (!device || !device->directSound) return;
  // The mixer is not tied to a window: there is nothing to rebind.
}

bool SoundDeviceGetCaps(SoundDevice* device) {
  device->caps.size = sizeof(SoundCaps);
  if (!device->directSound) return false;
  device->caps.flags = 0;
  device->caps.minSampleRate = 1000;
  device->caps.maxSampleRate = 192000;
  device->caps.primaryRate = platform::kAudioRate;
  device->caps.primaryChannels = platform::kAudioChannels;
  device->caps.primaryBits = 16;
  return true;
}

void SoundDeviceRelease(SoundDevice* device) {
  if (!device || !device->directSound) return;
  platform::AudioClose();
  device->directSound = false;
}

static void ReleaseSoundDeviceSingleton() {
  if (!gSoundDevice) return;
  SoundDeviceRelease(gSoundDevice);
  delete gSoundDevice;
  gSoundDevice = nullptr;
}

SoundDevice* CreateSoundDeviceSingleton() {
  if (!gSoundDevice) {
    gSoundDevice = new SoundDevice;
    SoundDeviceConstruct(gSoundDevice);
    SetShutdownStep(kShutdownSoundDevice, ReleaseSoundDeviceSingleton);
  }
  return gSoundDevice;
}
