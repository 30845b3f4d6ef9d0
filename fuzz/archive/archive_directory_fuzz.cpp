// Feeds arbitrary bytes to the archive reader as a whole container file:
// the trailer, the directory walk, member bounds and unpacking, in memory
// and through the resolver on a real file.
#include "core/pack_codec.h"
#include "core/shoebox.h"
#include "platform/temp_file.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

PackCodec* gCodec = nullptr;
const uint8_t* gFile = nullptr;
size_t gFileSize = 0;

bool Visit(const ShoeboxMember& m, bool valid, void*) {
  if (std::strlen(m.name) > 255) std::abort();
  if (!valid) return true;
  if (m.start < 0 || m.size < 0 || uint64_t(m.start) + uint64_t(m.size) > gFileSize) std::abort();
  PackCodecDecompressChecked(*gCodec, gFile + m.start, uint32_t(m.size));
  PackCodecReset(*gCodec);
  return true;
}

std::string gFolder;

void RemoveFuzzFolder() {
  std::remove((gFolder + "box.gfx").c_str());
  platform::RemoveFolder(gFolder);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!gCodec) {
    gCodec = new PackCodec;
    PackCodecInit(*gCodec, 1);
    gFolder = platform::MakePrivateFolder("fuzz-archive-");
    if (!gFolder.empty()) std::atexit(RemoveFuzzFolder);
    CreateShoeboxes();
  }
  gFile = data;
  gFileSize = size;
  int64_t fileSize = int64_t(size);
  if (size >= size_t(kShoeboxTrailerSize)) {
    int64_t start = 0;
    bool fromEnd = false;
    if (ShoeboxReadTrailer(data + size - kShoeboxTrailerSize, fileSize, &start, &fromEnd)) {
      if (start < 0 || start > fileSize - kShoeboxTrailerSize) std::abort();
      const uint8_t* dir = data + start;
      size_t dirLength = size_t(fileSize - kShoeboxTrailerSize - start);
      ShoeboxWalkDirectory(dir, dirLength, fromEnd, fileSize, Visit, nullptr);
      ShoeboxMember m;
      ShoeboxFindEntry(dir, dirLength, fromEnd, fileSize, "title.png", &m);
    }
  }

  // The same bytes through the resolver, as a container on disk.
  if (gFolder.empty()) return 0;
  std::string container = gFolder + "box.gfx";
  if (std::FILE* f = std::fopen(container.c_str(), "wb")) {
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
    SetShoebox(container.c_str(), "");
    char out[kShoeboxPathSize];
    // Ask for the first entry's name when the input has one.
    std::string name = "title.png";
    if (size > 8) name.assign(reinterpret_cast<const char*>(data) + 1, data[0] % 8);
    ResolveShoeboxFile(gShoeboxes[0], name.c_str(), out);
    ResolveShoeboxFile(gShoeboxes[0], "x", out);  // deletes the last temporary file
  }
  return 0;
}
