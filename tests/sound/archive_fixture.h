// Writes a resource container holding the given members for the sound tests.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/pack_codec.h"

inline bool WriteContainer(const std::string& path,
                           const std::vector<std::pair<std::string, std::vector<uint8_t>>>& members) {
  auto codec = std::make_unique<PackCodec>();
  PackCodecInit(*codec, 1);
  std::vector<uint8_t> file;
  std::vector<uint8_t> directory;
  auto put32 = [](std::vector<uint8_t>& v, uint32_t x) {
    for (int i = 0; i < 4; ++i) v.push_back((x >> (8 * i)) & 0xFF);
  };
  for (const auto& [name, bytes] : members) {
    PackCodecReset(*codec);
    uint32_t n = PackCodecCompress(*codec, bytes.data(), static_cast<uint32_t>(bytes.size()));
    directory.push_back(static_cast<uint8_t>(name.size()));
    directory.insert(directory.end(), name.begin(), name.end());
    put32(directory, static_cast<uint32_t>(file.size()));
    put32(directory, n);
    file.insert(file.end(), codec->output, codec->output + n);
  }
  PackCodecReset(*codec);
  uint32_t directoryOffset = static_cast<uint32_t>(file.size());
  file.insert(file.end(), directory.begin(), directory.end());
  file.push_back(0);
  file.push_back('s');
  file.push_back('b');
  file.push_back('X');
  put32(file, directoryOffset);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
  return std::fclose(f) == 0 && ok;
}

inline std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  std::vector<uint8_t> v;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return v;
  uint8_t buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) v.insert(v.end(), buf, buf + n);
  std::fclose(f);
  return v;
}
