// Builds WAV files for the sound tests.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct WavSpec {
  int channels = 2;
  int rate = 22050;
  int bits = 16;
  uint32_t fmtSize = 16;         // 18 and 40 add zero extension bytes
  bool factChunk = false;
  bool listChunk = false;        // a LIST chunk between fmt and data
  int64_t declaredData = -1;     // data size written in the head; -1 = actual
  std::vector<uint8_t> data;
};

inline void PutU16(std::vector<uint8_t>& v, uint32_t x) {
  v.push_back(x & 0xFF);
  v.push_back((x >> 8) & 0xFF);
}
inline void PutU32(std::vector<uint8_t>& v, uint32_t x) {
  PutU16(v, x & 0xFFFF);
  PutU16(v, x >> 16);
}
inline void PutTag(std::vector<uint8_t>& v, const char* t) { v.insert(v.end(), t, t + 4); }

inline std::vector<uint8_t> WavBytes(const WavSpec& s) {
  std::vector<uint8_t> v;
  PutTag(v, "RIFF");
  PutU32(v, 0);
  PutTag(v, "WAVE");
  PutTag(v, "fmt ");
  PutU32(v, s.fmtSize);
  int align = s.channels * s.bits / 8;
  PutU16(v, 1);
  PutU16(v, s.channels);
  PutU32(v, s.rate);
  PutU32(v, s.rate * align);
  PutU16(v, align);
  PutU16(v, s.bits);
  for (uint32_t i = 16; i < s.fmtSize; ++i) v.push_back(0);
  if (s.factChunk) {
    PutTag(v, "fact");
    PutU32(v, 4);
    PutU32(v, static_cast<uint32_t>(s.data.size() / align));
  }
  if (s.listChunk) {
    PutTag(v, "LIST");
    PutU32(v, 12);
    PutTag(v, "INFO");
    PutTag(v, "ISFT");
    PutU32(v, 0);
  }
  PutTag(v, "data");
  PutU32(v, s.declaredData >= 0 ? static_cast<uint32_t>(s.declaredData)
                                : static_cast<uint32_t>(s.data.size()));
  v.insert(v.end(), s.data.begin(), s.data.end());
  uint32_t riff = static_cast<uint32_t>(v.size() - 8);
  for (int i = 0; i < 4; ++i) v[4 + i] = (riff >> (8 * i)) & 0xFF;
  return v;
}

inline void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

// 16-bit stereo frames: left = l, right = r, repeated.
inline std::vector<uint8_t> Stereo16(int frames, int16_t l, int16_t r) {
  std::vector<uint8_t> v;
  for (int i = 0; i < frames; ++i) {
    PutU16(v, static_cast<uint16_t>(l));
    PutU16(v, static_cast<uint16_t>(r));
  }
  return v;
}

// 16-bit stereo ramp: frame i holds (i * 7 - 9000, 5000 - i * 3), distinct
// values to catch offsets and swapped sides.
inline std::vector<uint8_t> Ramp16(int frames) {
  std::vector<uint8_t> v;
  for (int i = 0; i < frames; ++i) {
    PutU16(v, static_cast<uint16_t>(static_cast<int16_t>(i * 7 - 9000)));
    PutU16(v, static_cast<uint16_t>(static_cast<int16_t>(5000 - i * 3)));
  }
  return v;
}
