// Sound slots: one loaded WAV sound per slot, in one to four buffers that
// share its sample data so the sound can overlap itself.
#pragma once

#include <cstdint>
#include <cstdio>

namespace platform {
struct AudioBuffer;
}
struct SoundDevice;

constexpr int kSoundSlotCount = 256;
constexpr int kSoundBuffersPerSlot = 4;

struct SoundObject {
  int32_t bufferCount;  // 1..4; 0 = empty slot
  int32_t nextBuffer;   // buffer of the last play
  const char* fileName;  // valid only while a load runs
  SoundDevice* device;
  platform::AudioBuffer* buffers[kSoundBuffersPerSlot];
};

// Table of kSoundSlotCount slots; the commands use 0..127.
extern SoundObject* gSoundSlots;

void SoundObjectConstruct(SoundObject* slot);
// Loads a WAV file (a real path) with n buffers (limited to 1..4). 1 loaded,
// 0 failed with the slot empty.
int32_t SoundObjectLoad(SoundObject* slot, SoundDevice* device, const char* file, int32_t n);
// pan -10000..10000, volume 0..100, flags 0 (once) or 1 (loop). Buffer index
// used, or -1.
int32_t SoundObjectPlay(SoundObject* slot, int32_t pan, int32_t volume, uint32_t flags);
bool SoundObjectIsPlaying(SoundObject* slot, int32_t index);
// 1 when every buffer stopped and rewound; 0 otherwise and for an empty slot.
int32_t SoundObjectStop(SoundObject* slot);
void SoundObjectFree(SoundObject* slot);
// Sets every buffer to full volume (the argument is scaled by 0).
void SoundObjectSetVolume(SoundObject* slot, int32_t volume);
void SoundObjectClear(SoundObject* slot);

// Steps of a load (wav_reader.cpp).
int32_t SoundObjectReadWav(SoundObject* slot);
bool SoundObjectFillBuffer(SoundObject* slot, std::FILE* file, uint32_t size, int64_t position);
platform::AudioBuffer* SoundObjectPickBuffer(SoundObject* slot);
int32_t SoundObjectCreateBuffer(SoundObject* slot, uint32_t dataSize, int32_t samplesPerSec,
                                int32_t bitsPerSample, int32_t blockAlign, bool stereo);

// Start-up helper: new table of constructed slots in gSoundSlots and the
// shutdown step that frees them (last slot first) and deletes the table.
SoundObject* CreateSoundSlotsSingleton();
