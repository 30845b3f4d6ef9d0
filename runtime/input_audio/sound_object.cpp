#include "input_audio/sound_object.h"

#include "core/runtime_error.h"
#include "input_audio/sound_device.h"
#include "platform/audio.h"

SoundObject* gSoundSlots = nullptr;

namespace {

bool DeviceLive(const SoundObject* slot) {
  return slot->device && slot->device->directSound;
}

// Stops and rewinds each buffer, ending at the first failure.
void StopAndRewindAll(SoundObject* slot) {
  if (!DeviceLive(slot)) return;
  for (int i = 0; i < slot->bufferCount && i < kSoundBuffersPerSlot; ++i) {
    platform::AudioBuffer* b = slot->buffers[i];
    if (!b) continue;
    if (!platform::AudioStop(b) || !platform::AudioSetPosition(b, 0)) break;
  }
}

void ReleaseBuffers(SoundObject* slot) {
  for (int i = 0; i < slot->bufferCount && i < kSoundBuffersPerSlot; ++i) {
    if (slot->buffers[i]) {
      platform::AudioReleaseBuffer(slot->buffers[i]);
      slot->buffers[i] = nullptr;
    }
  }
}

}  // namespace

void SoundObjectConstruct(SoundObject* slot) {
  slot->bufferCount = 0;
  slot->nextBuffer = 0;
  slot->fileName = nullptr;
  slot->device = nullptr;
  for (auto& b : slot->buffers) b = nullptr;
}

int32_t SoundObjectLoad(SoundObject* slot, SoundDevice* device, const char* file, int32_t n) {
  // One step under the device lock: the mixer never sees a half-made slot.
  platform::AudioLock();
  StopAndRewindAll(slot);
  ReleaseBuffers(slot);
  platform::AudioUnlock();
  // Buffers above the old count were never made; nothing else to release.
  for (auto& b : slot->buffers) b = nullptr;
  slot->nextBuffer = 0;
  slot->device = device;
  if (n < 1) n = 1;
  if (n > kSoundBuffersPerSlot) n = kSoundBuffersPerSlot;
  if (!device || !device->directSound || !file) {
    slot->bufferCount = 0;
    slot->fileName = nullptr;
    return 0;
  }
  slot->bufferCount = n;
  slot->fileName = file;
  if (!SoundObjectReadWav(slot)) {
    slot->bufferCount = 0;
    slot->fileName = nullptr;
    return 0;
  }
  for (int i = 1; i < n; ++i) slot->buffers[i] = platform::AudioDuplicateBuffer(slot->buffers[0]);
  return 1;
}

platform::AudioBuffer* SoundObjectPickBuffer(SoundObject* slot) {
  platform::AudioBuffer* b = slot->buffers[slot->nextBuffer];
  if (!b) return nullptr;
  uint32_t status = 0;
  if (!platform::AudioGetStatus(b, &status)) status = 0;
  if (status & platform::kAudioStatusPlaying) {
    if (slot->bufferCount == 1) return nullptr;
    slot->nextBuffer = (slot->nextBuffer + 1) % slot->bufferCount;
    b = slot->buffers[slot->nextBuffer];
    if (!b) return nullptr;
    uint32_t second = 0;
    if (platform::AudioGetStatus(b, &second)) status = second;
    if (status & platform::kAudioStatusPlaying) {
      // The oldest sound is cut.
      platform::AudioStop(b);
      platform::AudioSetPosition(b, 0);
    }
  }
  if ((status & platform::kAudioStatusLost) && !platform::AudioRestore(b)) return nullptr;
  return b;
}

int32_t SoundObjectPlay(SoundObject* slot, int32_t pan, int32_t volume, uint32_t flags) {
  if (!DeviceLive(slot) || slot->bufferCount <= 0) return -1;
  platform::AudioLock();
  int32_t result = -1;
  platform::AudioBuffer* b = SoundObjectPickBuffer(slot);
  if (b) {
    platform::AudioSetVolume(b, volume * 100 - 10000);
    platform::AudioSetPan(b, pan);
    if (platform::AudioPlay(b, flags)) result = slot->nextBuffer;
  }
  platform::AudioUnlock();
  return result;
}

bool SoundObjectIsPlaying(SoundObject* slot, int32_t index) {
  if (index < 0 || index >= slot->bufferCount || index >= kSoundBuffersPerSlot) return false;
  platform::AudioBuffer* b = slot->buffers[index];
  uint32_t status = 0;
  if (!b || !platform::AudioGetStatus(b, &status)) return false;
  return (status & platform::kAudioStatusPlaying) != 0;
}

int32_t SoundObjectStop(SoundObject* slot) {
  if (!DeviceLive(slot) || slot->bufferCount <= 0) return 0;
  platform::AudioLock();
  int32_t result = 1;
  for (int i = 0; i < slot->bufferCount && i < kSoundBuffersPerSlot; ++i) {
    platform::AudioBuffer* b = slot->buffers[i];
    if (!b) continue;
    if (!platform::AudioStop(b) || !platform::AudioSetPosition(b, 0)) {
      result = 0;
      break;
    }
  }
  platform::AudioUnlock();
  return result;
}

void SoundObjectFree(SoundObject* slot) {
  platform::AudioLock();
  StopAndRewindAll(slot);
  ReleaseBuffers(slot);
  platform::AudioUnlock();
  slot->nextBuffer = 0;
  slot->bufferCount = 0;
}

void SoundObjectSetVolume(SoundObject* slot, int32_t volume) {
  if (!DeviceLive(slot) || slot->bufferCount <= 0) return;
  int32_t level = volume * 0 / 100;
  platform::AudioLock();
  for (int i = 0; i < slot->bufferCount && i < kSoundBuffersPerSlot; ++i)
    if (slot->buffers[i]) platform::AudioSetVolume(slot->buffers[i], level);
  platform::AudioUnlock();
}

void SoundObjectClear(SoundObject* slot) {
  slot->bufferCount = 0;
  slot->nextBuffer = 0;
  slot->fileName = nullptr;
  slot->device = nullptr;
}

static void ReleaseSoundSlotsSingleton() {
  if (!gSoundSlots) return;
  for (int i = kSoundSlotCount - 1; i >= 0; --i) SoundObjectFree(&gSoundSlots[i]);
  delete[] gSoundSlots;
  gSoundSlots = nullptr;
}

SoundObject* CreateSoundSlotsSingleton() {
  if (!gSoundSlots) {
    gSoundSlots = new SoundObject[kSoundSlotCount];
    for (int i = 0; i < kSoundSlotCount; ++i) SoundObjectConstruct(&gSoundSlots[i]);
    SetShutdownStep(kShutdownSoundSlots, ReleaseSoundSlotsSingleton);
  }
  return gSoundSlots;
}
