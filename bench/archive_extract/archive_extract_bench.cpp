// Extracting every member of a ~20 MB archive of picture-like data through
// the resolver, against the floor: lzo1x_decompress_safe on the member
// already in memory plus one write per member.
#include <lzo/lzo1x.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/pack_codec.h"
#include "core/shoebox.h"
#include "platform/temp_file.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Member {
  std::string name;
  size_t offset;
  size_t size;
  uint32_t unpacked;
};

// An RGBA picture: gradients, a flat shape and grain; LZO packs it to a
// little under half.
std::vector<uint8_t> Picture(int w, int h, uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> px(size_t(w) * size_t(h) * 4);
  int cx = int(rng() % uint32_t(w)), cy = int(rng() % uint32_t(h)), r = 50 + int(rng() % 200);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &px[(size_t(y) * size_t(w) + size_t(x)) * 4];
      bool inside = (x - cx) * (x - cx) + (y - cy) * (y - cy) < r * r;
      uint32_t grain = (rng() & 7) == 0 ? rng() & 3 : 0;
      p[0] = uint8_t(inside ? 200 : (x * 255 / w) + grain);
      p[1] = uint8_t(inside ? 40 : (y * 255 / h));
      p[2] = uint8_t(inside ? 90 : ((x + y) / 8) + grain);
      p[3] = 255;
    }
  return px;
}

void PutI32(std::vector<uint8_t>& out, int32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(uint32_t(v) >> (8 * i)));
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

}  // namespace

int main() {
  std::string folder = platform::MakePrivateFolder("bench-archive-");
  if (folder.empty()) {
    std::fprintf(stderr, "cannot make a temporary folder\n");
    return 1;
  }
  std::string archivePath = folder + "media.gfx";

  // Build the archive.
  std::vector<uint8_t> archive;
  std::vector<Member> members;
  std::unique_ptr<PackCodec> codec(new PackCodec);
  PackCodecInit(*codec, 1);
  for (uint32_t i = 0; archive.size() < 20u * 1024 * 1024; ++i) {
    std::vector<uint8_t> pic = Picture(1024, 768, i);
    uint32_t n = PackCodecCompress(*codec, pic.data(), uint32_t(pic.size()));
    members.push_back({"pic" + std::to_string(i) + ".png", archive.size(), n, uint32_t(pic.size())});
    archive.insert(archive.end(), codec->output, codec->output + n);
    PackCodecReset(*codec);
  }
  int32_t directory = int32_t(archive.size());
  for (const Member& m : members) {
    archive.push_back(uint8_t(m.name.size()));
    archive.insert(archive.end(), m.name.begin(), m.name.end());
    PutI32(archive, int32_t(m.offset));
    PutI32(archive, int32_t(m.size));
  }
  archive.push_back(0);
  archive.insert(archive.end(), {'s', 'b', 'X'});
  PutI32(archive, directory);
  if (std::FILE* f = std::fopen(archivePath.c_str(), "wb")) {
    std::fwrite(archive.data(), 1, archive.size(), f);
    std::fclose(f);
  }
  uint64_t unpackedTotal = 0;
  for (const Member& m : members) unpackedTotal += m.unpacked;

  CreateShoeboxes();
  SetShoebox(archivePath.c_str(), "");
  if (lzo_init() != LZO_E_OK) return 1;
  std::vector<uint8_t> out(32u * 1024 * 1024);
  std::string floorPath = folder + "floor.bin";

  double bestRuntime = 1e9, bestFloor = 1e9;
  for (int round = 0; round < 7; ++round) {
    auto t0 = Clock::now();
    for (const Member& m : members) {
      char path[kShoeboxPathSize];
      if (!ResolveShoeboxFile(gShoeboxes[0], m.name.c_str(), path)) {
        std::fprintf(stderr, "resolve failed for %s\n", m.name.c_str());
        return 1;
      }
    }
    char none[kShoeboxPathSize];
    ResolveShoeboxFile(gShoeboxes[0], "", none);  // deletes the last member file
    auto t1 = Clock::now();
    for (const Member& m : members) {
      lzo_uint produced = out.size();
      if (lzo1x_decompress_safe(archive.data() + m.offset + 4, m.size - 4, out.data(), &produced,
                                nullptr) != LZO_E_OK) {
        std::fprintf(stderr, "floor decompress failed\n");
        return 1;
      }
      // A fresh file each time, the last one deleted, as the resolver does:
      // rewriting one file in place would make the floor pay for truncation.
      std::remove(floorPath.c_str());
      floorPath = folder + "floor" + m.name;
      std::FILE* f = std::fopen(floorPath.c_str(), "wb");
      if (!f) return 1;
      std::fwrite(out.data(), 1, produced, f);
      std::fclose(f);
    }
    std::remove(floorPath.c_str());
    auto t2 = Clock::now();
    bestRuntime = std::min(bestRuntime, Seconds(t1 - t0));
    bestFloor = std::min(bestFloor, Seconds(t2 - t1));
  }
  ReleaseShoeboxes();
  std::remove(archivePath.c_str());
  platform::RemoveFolder(folder);

  std::printf("archive %.1f MB, %zu members, %.1f MB unpacked\n", archive.size() / 1048576.0,
              members.size(), unpackedTotal / 1048576.0);
  std::printf("runtime %.1f ms, floor %.1f ms, ratio %.3f (goal <= 1.25)\n", bestRuntime * 1e3,
              bestFloor * 1e3, bestRuntime / bestFloor);
  return 0;
}
