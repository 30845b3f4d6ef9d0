#include "input_audio/sound_commands.h"

#include "core/number_truncate.h"
#include "core/shoebox.h"
#include "input_audio/sound_device.h"
#include "input_audio/sound_object.h"

namespace {

constexpr int kCommandSlots = 128;

// Slot numbers above 127 mean 127; negative ones name no slot.
int CommandSlot(double slot) {
  int32_t s = TruncInt32(slot);
  if (s < 0) return -1;
  return s > kCommandSlots - 1 ? kCommandSlots - 1 : s;
}

}  // namespace

void LoadSoundCmd(const BasicString& file, double slot, double buffers) {
  int s = CommandSlot(slot);
  if (s < 0 || !gSoundSlots) return;
  // The resolved path may take the whole path length of the archive.
  char path[kShoeboxPathSize];
  const char* name = file.c_str();
  if (ResolveShoeboxFile(gShoeboxes[0], name, path)) name = path;
  SoundObjectLoad(&gSoundSlots[s], gSoundDevice, name, TruncInt32(buffers));
}

double PlaySoundCmd(double slot, double pan, double volume) {
  int s = CommandSlot(slot);
  if (s < 0 || !gSoundSlots) return -1;
  if (!(pan == pan)) pan = 0;
  if (pan < -1) pan = -1;
  if (pan > 1) pan = 1;
  int32_t p = TruncInt32(pan * 10000);
  double v = volume * 100;
  if (!(v == v) || v < 0) v = 0;
  if (v > 100) v = 100;
  int32_t index = SoundObjectPlay(&gSoundSlots[s], p, TruncInt32(v), 0);
  if (index < 0) return -1;
  return s * 256 + index;
}

double SoundPlayingCmd(double channel) {
  if (!(channel >= 0) || !gSoundSlots) return 0;
  int64_t c = TruncInt64(channel);
  int64_t slot = c / 256;
  int32_t buffer = static_cast<int32_t>(c % 256);
  if (slot >= kSoundSlotCount) return 0;
  return SoundObjectIsPlaying(&gSoundSlots[slot], buffer) ? 1 : 0;
}

void StopAllSoundsCmd() {
  if (!gSoundSlots) return;
  for (int i = 0; i < kCommandSlots; ++i) SoundObjectStop(&gSoundSlots[i]);
}
