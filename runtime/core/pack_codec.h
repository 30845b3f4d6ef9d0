// PackCodec: turns a packed archive member back into the file's bytes and
// packs buffers into such blocks.
//
// Mode 1 (the archive format): u32 unpacked size, little-endian, then an
// LZO1X stream as lzo1x_1_compress writes it. Any other mode: the codec's own
// LZSS stream with a 2048-byte history (flag byte per 8 items; a match is two
// bytes b0 b1 with length (b0 & 15) + 2 and distance (b0 >> 4) * 128 + b1,
// b1 < 128; b0 = 0 ends the stream).
#pragma once

#include <cstdint>

// Largest unpacked size a block may claim.
constexpr uint32_t kPackMaxUnpackedSize = 256u * 1024 * 1024;

struct PackCodec {
  uint32_t buckets[64][64][16];  // LZSS match finder: newest position first
  uint8_t* output;
  uint32_t outputLength;
  uint8_t ring[2048];
  uint16_t ringPosition;
  uint32_t mode;
};

// Sets every field to its empty state (no output) with the given mode.
void PackCodecInit(PackCodec& codec, uint32_t mode);
// Frees the output; output null, length 0, ring position 0. Mode unchanged.
void PackCodecReset(PackCodec& codec);
// Decodes a block by the mode. Returns the bytes produced; 0 for a damaged
// or truncated block, a block under 4 bytes, or one that claims more than
// kPackMaxUnpackedSize (or more than its stream could hold).
uint32_t PackCodecDecompress(PackCodec& codec, const uint8_t* data, uint32_t size);
// Same, but tells an empty result from a failure: true when the whole block
// decoded (outputLength may then be 0).
bool PackCodecDecompressChecked(PackCodec& codec, const uint8_t* data, uint32_t size);
// Packs data by the mode; returns outputLength.
uint32_t PackCodecCompress(PackCodec& codec, const uint8_t* data, uint32_t size);
void PackCodecPutByte(PackCodec& codec, uint8_t byte);
void PackCodecInsertPosition(uint32_t (*buckets)[64][16], uint32_t key1, uint32_t key2,
                             uint32_t position);

// Worst-case size of a mode-1 block for an input of size bytes.
uint64_t PackCodecBound(uint32_t size);
