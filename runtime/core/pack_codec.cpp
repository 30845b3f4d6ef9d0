#include "core/pack_codec.h"

#include <lzo/lzo1x.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr uint32_t kEmptySlot = 0xFFFFFFFFu;
constexpr uint32_t kWindow = 2047;
constexpr uint32_t kMinMatch = 3;
constexpr uint32_t kMaxMatch = 17;

// LZO1X encodes a long run with one byte per 255 bytes of output, so no
// stream unpacks to more than this many bytes per byte of input.
constexpr uint64_t kLzoMaxRatio = 256;

alignas(16) unsigned char gLzoWork[LZO1X_1_MEM_COMPRESS];

bool LzoReady() {
  static const bool ready = lzo_init() == LZO_E_OK;
  return ready;
}

void FreeOutput(PackCodec& c) {
  std::free(c.output);
  c.output = nullptr;
  c.outputLength = 0;
}

uint32_t ReadU32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void WriteU32(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
  p[2] = uint8_t(v >> 16);
  p[3] = uint8_t(v >> 24);
}

bool DecompressLzo(PackCodec& c, const uint8_t* data, uint32_t size) {
  if (!data || size < 4 || !LzoReady()) return false;
  uint32_t n = ReadU32(data);
  uint32_t streamSize = size - 4;
  if (n > kPackMaxUnpackedSize || uint64_t(n) > uint64_t(streamSize) * kLzoMaxRatio) return false;
  c.output = static_cast<uint8_t*>(std::malloc(n ? n : 1));
  if (!c.output) return false;
  lzo_uint produced = n;
  int rc = lzo1x_decompress_safe(data + 4, streamSize, c.output, &produced, nullptr);
  c.outputLength = uint32_t(produced);
  // A stream that stops short of its size word or has bytes left over is
  // as damaged as one the decoder rejects.
  return rc == LZO_E_OK && produced == n;
}

uint32_t CompressLzo(PackCodec& c, const uint8_t* data, uint32_t size) {
  if (!LzoReady()) return 0;
  uint64_t bound = PackCodecBound(size);
  c.output = static_cast<uint8_t*>(std::malloc(size_t(bound)));
  if (!c.output) return 0;
  WriteU32(c.output, size);
  static const uint8_t kNothing = 0;
  lzo_uint packed = 0;
  int rc = lzo1x_1_compress(data ? data : &kNothing, size, c.output + 4, &packed, gLzoWork);
  if (rc != LZO_E_OK) {
    FreeOutput(c);
    return 0;
  }
  c.outputLength = uint32_t(4 + packed);
  return c.outputLength;
}

void PutRingByte(PackCodec& c, uint8_t b) {
  c.ring[c.ringPosition] = b;
  c.ringPosition = uint16_t((c.ringPosition + 1) & 0x7FF);
}

bool DecompressLzss(PackCodec& c, const uint8_t* data, uint32_t size) {
  uint32_t in = 0;
  while (in < size) {
    uint8_t flags = data[in++];
    for (int bit = 7; bit >= 0; --bit) {
      if (!(flags & (1u << bit))) {
        if (in >= size) goto truncated;
        if (c.outputLength >= kPackMaxUnpackedSize) goto truncated;
        PackCodecPutByte(c, data[in++]);
        continue;
      }
      if (in >= size) goto truncated;
      uint8_t b0 = data[in++];
      if (b0 == 0) return true;
      if (in >= size) goto truncated;
      uint8_t b1 = data[in++];
      uint32_t distance = (uint32_t(b0 & 0xF0) << 3) + b1;
      uint32_t length = (b0 & 0x0Fu) + 2;
      if (c.outputLength + uint64_t(length) > kPackMaxUnpackedSize) goto truncated;
      for (uint32_t i = 0; i < length; ++i)
        PackCodecPutByte(c, c.ring[(c.ringPosition - distance) & 0x7FF]);
    }
  }
truncated:
  // No end item before the data ran out.
  return false;
}

// One LZSS item set: the flag byte and up to 8 items of 1 or 2 bytes.
struct ItemSet {
  uint8_t bytes[17];
  int used = 1;
  int items = 0;
};

void FlushItemSet(PackCodec& c, ItemSet& set) {
  for (int i = 0; i < set.used; ++i) PackCodecPutByte(c, set.bytes[i]);
  set.bytes[0] = 0;
  set.used = 1;
  set.items = 0;
}

void AddLiteral(PackCodec& c, ItemSet& set, uint8_t b) {
  set.bytes[set.used++] = b;
  if (++set.items == 8) FlushItemSet(c, set);
}

void AddMatch(PackCodec& c, ItemSet& set, uint8_t b0, uint8_t b1, bool end) {
  set.bytes[0] |= uint8_t(0x80 >> set.items);
  set.bytes[set.used++] = b0;
  if (!end) set.bytes[set.used++] = b1;
  if (++set.items == 8 || end) FlushItemSet(c, set);
}

uint32_t MatchLength(const uint8_t* data, uint32_t size, uint32_t from, uint32_t p) {
  uint32_t limit = size - p < kMaxMatch ? size - p : kMaxMatch;
  uint32_t n = 0;
  while (n < limit && data[from + n] == data[p + n]) ++n;
  return n;
}

void InsertAt(PackCodec& c, const uint8_t* data, uint32_t size, uint32_t p) {
  if (p + 1 < size) PackCodecInsertPosition(c.buckets, data[p], data[p + 1], p);
}

uint32_t CompressLzss(PackCodec& c, const uint8_t* data, uint32_t size) {
  for (auto& row : c.buckets)
    for (auto& bucket : row)
      for (uint32_t& slot : bucket) slot = kEmptySlot;
  ItemSet set;
  set.bytes[0] = 0;
  uint32_t p = 0;
  if (size > 0) {
    AddLiteral(c, set, data[0]);
    InsertAt(c, data, size, 0);
    p = 1;
  }
  while (p < size) {
    uint32_t w = p > kWindow ? p - kWindow : 0;
    uint32_t bestLength = 0, bestPos = 0;
    if (p + 1 < size) {
      const uint32_t* bucket = c.buckets[data[p] & 63][data[p + 1] & 63];
      uint32_t last = p;
      for (int i = 0; i < 16 && bestLength < kMaxMatch; ++i) {
        uint32_t cand = bucket[i];
        if (cand == kEmptySlot || cand < w) break;
        last = cand;
        uint32_t len = MatchLength(data, size, cand, p);
        if (len > bestLength) bestLength = len, bestPos = cand;
      }
      for (uint32_t cand = last; cand-- > w && bestLength < kMaxMatch;) {
        uint32_t len = MatchLength(data, size, cand, p);
        if (len > bestLength) bestLength = len, bestPos = cand;
      }
    }
    if (bestLength < kMinMatch) {
      AddLiteral(c, set, data[p]);
      InsertAt(c, data, size, p);
      ++p;
      continue;
    }
    uint32_t distance = p - bestPos;
    uint8_t b0 = uint8_t(((distance >> 3) & 0xF0) | (bestLength - 2));
    uint8_t b1 = uint8_t(distance & 0x7F);
    AddMatch(c, set, b0, b1, false);
    for (uint32_t i = 0; i < bestLength; ++i) InsertAt(c, data, size, p + i);
    p += bestLength;
  }
  AddMatch(c, set, 0, 0, true);
  return c.outputLength;
}

}  // namespace

void PackCodecInit(PackCodec& codec, uint32_t mode) {
  codec.output = nullptr;
  codec.outputLength = 0;
  codec.ringPosition = 0;
  std::memset(codec.ring, 0, sizeof codec.ring);
  codec.mode = mode;
}

void PackCodecReset(PackCodec& codec) {
  FreeOutput(codec);
  codec.ringPosition = 0;
  std::memset(codec.ring, 0, sizeof codec.ring);
}

bool PackCodecDecompressChecked(PackCodec& codec, const uint8_t* data, uint32_t size) {
  PackCodecReset(codec);
  if (codec.mode == 1) return DecompressLzo(codec, data, size);
  if (!data) return false;
  return DecompressLzss(codec, data, size);
}

uint32_t PackCodecDecompress(PackCodec& codec, const uint8_t* data, uint32_t size) {
  return PackCodecDecompressChecked(codec, data, size) ? codec.outputLength : 0;
}

uint32_t PackCodecCompress(PackCodec& codec, const uint8_t* data, uint32_t size) {
  PackCodecReset(codec);
  if (codec.mode == 1) return CompressLzo(codec, data, size);
  if (!data && size) return 0;
  return CompressLzss(codec, data, size);
}

void PackCodecPutByte(PackCodec& codec, uint8_t byte) {
  if (codec.outputLength % 1024 == 0) {
    size_t grown = size_t(codec.outputLength / 1024) * 1024 + 1032;
    auto* block = static_cast<uint8_t*>(std::malloc(grown));
    if (!block) std::abort();
    if (codec.output) std::memcpy(block, codec.output, codec.outputLength);
    std::free(codec.output);
    codec.output = block;
  }
  codec.output[codec.outputLength++] = byte;
  PutRingByte(codec, byte);
}

void PackCodecInsertPosition(uint32_t (*buckets)[64][16], uint32_t key1, uint32_t key2,
                             uint32_t position) {
  uint32_t* bucket = buckets[key1 & 63][key2 & 63];
  std::memmove(bucket + 1, bucket, 15 * sizeof(uint32_t));
  bucket[0] = position;
}

uint64_t PackCodecBound(uint32_t size) {
  // lzo1x_1_compress's documented worst case, plus the size word.
  return 4 + uint64_t(size) + size / 16 + 64 + 3;
}
