// Reading a WAV file straight into buffer 0 of a sound slot.
#include <cstring>
#include <string>

#include "input_audio/sound_device.h"
#include "input_audio/sound_object.h"
#include "platform/audio.h"
#include "platform/system.h"

namespace {

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Skips a chunk payload; chunks are padded to an even size.
bool SkipChunk(std::FILE* f, uint32_t size) {
  uint64_t skip = static_cast<uint64_t>(size) + (size & 1u);
  return std::fseek(f, static_cast<long>(skip), SEEK_CUR) == 0;
}

bool ReadChunkHead(std::FILE* f, char id[4], uint32_t* size) {
  uint8_t head[8];
  if (std::fread(head, 1, 8, f) != 8) return false;
  std::memcpy(id, head, 4);
  *size = U32(head + 4);
  return true;
}

// Bytes from the current position to the end of the file, or -1.
int64_t BytesLeft(std::FILE* f) {
  long here = std::ftell(f);
  if (here < 0 || std::fseek(f, 0, SEEK_END) != 0) return -1;
  long end = std::ftell(f);
  if (end < 0 || std::fseek(f, here, SEEK_SET) != 0) return -1;
  return static_cast<int64_t>(end) - here;
}

}  // namespace

int32_t SoundObjectCreateBuffer(SoundObject* slot, uint32_t dataSize, int32_t samplesPerSec,
                                int32_t bitsPerSample, int32_t blockAlign, bool stereo) {
  platform::AudioFormat format;
  format.channels = stereo ? 2 : 1;
  format.samplesPerSec = samplesPerSec;
  format.bitsPerSample = bitsPerSample;
  format.blockAlign = blockAlign;
  platform::AudioBuffer* b = platform::AudioCreateBuffer(format, dataSize, true);
  // Without volume and pan control as a second try.
  if (!b) b = platform::AudioCreateBuffer(format, dataSize, false);
  if (!b) {
    slot->device = nullptr;
    return 0;
  }
  slot->buffers[0] = b;
  return 1;
}

bool SoundObjectFillBuffer(SoundObject* slot, std::FILE* file, uint32_t size, int64_t position) {
  if (position != -1 && std::fseek(file, static_cast<long>(position), SEEK_SET) != 0) return false;
  platform::AudioBuffer* b = slot->buffers[0];
  void* r1 = nullptr;
  void* r2 = nullptr;
  uint32_t n1 = 0, n2 = 0;
  if (!b || !platform::AudioLockBuffer(b, 0, size, &r1, &n1, &r2, &n2)) return false;
  bool ok = std::fread(r1, 1, n1, file) == n1;
  if (ok && n2 != 0) ok = std::fread(r2, 1, n2, file) == n2;
  bool unlocked = platform::AudioUnlockBuffer(b, r1, n1, r2, n2);
  return ok && unlocked;
}

int32_t SoundObjectReadWav(SoundObject* slot) {
  std::string path = platform::NativePath(slot->fileName);
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return 0;
  auto fail = [&](int32_t r) {
    std::fclose(f);
    return r;
  };

  // RIFF, size, WAVE, "fmt ", fmt size, then the 16-byte PCM format block.
  uint8_t head[36];
  if (std::fread(head, 1, 36, f) != 36) return fail(0);
  uint32_t fmtSize = U32(head + 16);
  uint16_t channels = U16(head + 22);
  uint32_t samplesPerSec = U32(head + 24);
  uint16_t blockAlign = U16(head + 32);
  uint16_t bitsPerSample = U16(head + 34);
  if (fmtSize < 16) return fail(0);
  // Longer format chunks (18, 30, 40 bytes ...) are skipped by their size.
  if (fmtSize > 16 && !SkipChunk(f, fmtSize - 16)) return fail(0);

  char id[4];
  uint32_t size = 0;
  if (!ReadChunkHead(f, id, &size)) return fail(0);
  if (std::memcmp(id, "fact", 4) == 0) {
    if (!SkipChunk(f, size) || !ReadChunkHead(f, id, &size)) return fail(0);
  }
  if (std::memcmp(id, "data", 4) != 0) return fail(0);
  // A data size beyond the end of the file is refused before anything is made.
  int64_t left = BytesLeft(f);
  if (left < 0 || static_cast<int64_t>(size) > left) return fail(0);

  if (!SoundObjectCreateBuffer(slot, size, static_cast<int32_t>(samplesPerSec), bitsPerSample,
                               blockAlign, channels > 1))
    return fail(0);
  if (!SoundObjectFillBuffer(slot, f, size, -1)) {
    // A buffer made before a failed fill does not outlive the load.
    platform::AudioReleaseBuffer(slot->buffers[0]);
    slot->buffers[0] = nullptr;
    return fail(0);
  }
  return fail(1);
}
