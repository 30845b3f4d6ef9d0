// orvale-pack: builds, lists and extracts resource archives.
//
//   orvale-pack create [--from-end] <archive> <folder>
//   orvale-pack list <archive>
//   orvale-pack extract <archive> <folder> [member...]
//
// Members are the regular files under the folder, named by their path
// relative to it with '\' between folders. --from-end writes the directory
// and member offsets counted back from the end of the archive, so the
// archive still reads when appended to another file.

#include "core/pack_codec.h"
#include "core/shoebox.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool ReadWholeFile(const fs::path& path, std::vector<uint8_t>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  in.seekg(0, std::ios::end);
  std::streamoff size = in.tellg();
  if (size < 0) return false;
  in.seekg(0, std::ios::beg);
  bytes.resize(size_t(size));
  return size == 0 || bool(in.read(reinterpret_cast<char*>(bytes.data()), size));
}

bool WriteWholeFile(const fs::path& path, const uint8_t* bytes, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  if (size) out.write(reinterpret_cast<const char*>(bytes), std::streamsize(size));
  out.close();
  return bool(out);
}

void PutI32(std::vector<uint8_t>& out, int32_t v) {
  uint32_t u = uint32_t(v);
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(u >> (8 * i)));
}

int Create(const std::string& archive, const std::string& folder, bool fromEnd) {
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    std::fprintf(stderr, "orvale-pack: %s is not a folder\n", folder.c_str());
    return 1;
  }
  std::vector<std::pair<std::string, fs::path>> files;
  for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    std::string rel = it->path().lexically_relative(folder).generic_string();
    if (rel.find('\\') != std::string::npos) {
      std::fprintf(stderr, "orvale-pack: %s: '\\' is not allowed in a member name\n", rel.c_str());
      return 1;
    }
    std::replace(rel.begin(), rel.end(), '/', '\\');
    if (rel.empty() || rel.size() > 255) {
      std::fprintf(stderr, "orvale-pack: %s: member names hold 1 to 255 bytes\n", rel.c_str());
      return 1;
    }
    files.emplace_back(rel, it->path());
  }
  if (ec) {
    std::fprintf(stderr, "orvale-pack: cannot read %s: %s\n", folder.c_str(), ec.message().c_str());
    return 1;
  }
  std::sort(files.begin(), files.end());
  // Look-ups go by base name without regard to case: only the first of
  // several members with the same base name can be reached.
  std::map<std::string, std::string> byBase;
  for (const auto& f : files) {
    std::string base = ShoeboxBaseName(f.first.c_str());
    for (char& ch : base) ch = char(std::tolower(static_cast<unsigned char>(ch)));
    auto [it, fresh] = byBase.emplace(base, f.first);
    if (!fresh)
      std::fprintf(stderr, "orvale-pack: warning: %s is hidden by %s (same base name)\n",
                   f.first.c_str(), it->second.c_str());
  }

  struct Placed {
    std::string name;
    int64_t offset;
    int64_t size;
  };
  std::vector<Placed> placed;
  std::vector<uint8_t> body;
  std::unique_ptr<PackCodec> codec(new PackCodec);
  PackCodecInit(*codec, 1);
  std::vector<uint8_t> bytes;
  for (const auto& [name, path] : files) {
    if (!ReadWholeFile(path, bytes)) {
      std::fprintf(stderr, "orvale-pack: cannot read %s\n", path.string().c_str());
      return 1;
    }
    if (bytes.size() > kPackMaxUnpackedSize) {
      std::fprintf(stderr, "orvale-pack: %s is larger than %u bytes\n", name.c_str(),
                   kPackMaxUnpackedSize);
      return 1;
    }
    uint32_t n = PackCodecCompress(*codec, bytes.data(), uint32_t(bytes.size()));
    if (n == 0) {
      std::fprintf(stderr, "orvale-pack: cannot pack %s\n", name.c_str());
      return 1;
    }
    placed.push_back({name, int64_t(body.size()), int64_t(n)});
    body.insert(body.end(), codec->output, codec->output + n);
    PackCodecReset(*codec);
  }

  int64_t directoryStart = int64_t(body.size());
  std::vector<uint8_t> directory;
  for (const Placed& p : placed) directory.resize(directory.size() + 1 + p.name.size() + 8);
  int64_t total = directoryStart + int64_t(directory.size()) + 1 + kShoeboxTrailerSize;
  if (total > INT32_MAX) {
    std::fprintf(stderr, "orvale-pack: the archive would exceed 2 GB\n");
    return 1;
  }
  int64_t base = fromEnd ? total : 0;
  directory.clear();
  for (const Placed& p : placed) {
    directory.push_back(uint8_t(p.name.size()));
    directory.insert(directory.end(), p.name.begin(), p.name.end());
    PutI32(directory, int32_t(p.offset - base));
    PutI32(directory, int32_t(p.size));
  }
  directory.push_back(0);
  body.insert(body.end(), directory.begin(), directory.end());
  body.insert(body.end(), {'s', 'b', 'X'});
  PutI32(body, int32_t(directoryStart - base));

  if (!WriteWholeFile(archive, body.data(), body.size())) {
    std::fprintf(stderr, "orvale-pack: cannot write %s\n", archive.c_str());
    std::remove(archive.c_str());
    return 1;
  }
  return 0;
}

struct Archive {
  std::vector<uint8_t> bytes;
  int64_t directoryStart = 0;
  bool fromEnd = false;
};

bool OpenArchive(const std::string& path, Archive& a) {
  if (!ReadWholeFile(path, a.bytes)) {
    std::fprintf(stderr, "orvale-pack: cannot read %s\n", path.c_str());
    return false;
  }
  int64_t size = int64_t(a.bytes.size());
  if (size < kShoeboxTrailerSize ||
      !ShoeboxReadTrailer(a.bytes.data() + size - kShoeboxTrailerSize, size, &a.directoryStart,
                          &a.fromEnd)) {
    std::fprintf(stderr, "orvale-pack: %s is not an archive (no \"sbX\" trailer)\n", path.c_str());
    return false;
  }
  return true;
}

struct Member {
  ShoeboxMember m;
  bool valid;
};

bool Collect(const ShoeboxMember& m, bool valid, void* user) {
  static_cast<std::vector<Member>*>(user)->push_back({m, valid});
  return true;
}

std::vector<Member> Members(const Archive& a) {
  std::vector<Member> list;
  int64_t size = int64_t(a.bytes.size());
  ShoeboxWalkDirectory(a.bytes.data() + a.directoryStart,
                       size_t(size - kShoeboxTrailerSize - a.directoryStart), a.fromEnd, size,
                       Collect, &list);
  return list;
}

int List(const std::string& path) {
  Archive a;
  if (!OpenArchive(path, a)) return 1;
  int status = 0;
  for (const Member& e : Members(a)) {
    if (!e.valid || e.m.size < 4) {
      std::printf("%-40s offset %d size %d  DAMAGED (outside the file)\n", e.m.name, e.m.offset,
                  e.m.size);
      status = 1;
      continue;
    }
    const uint8_t* p = a.bytes.data() + e.m.start;
    uint32_t unpacked = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                        uint32_t(p[3]) << 24;
    std::printf("%-40s offset %d size %d unpacked %u\n", e.m.name, e.m.offset, e.m.size, unpacked);
  }
  return status;
}

// A member name as a path under the target folder; refuses names that
// would leave it.
bool SafeRelativePath(const char* name, fs::path& out) {
  std::string s = name;
  std::replace(s.begin(), s.end(), '\\', '/');
  fs::path p(s);
  if (s.empty() || p.is_absolute() || p.has_root_name()) return false;
  for (const auto& part : p)
    if (part == ".." || part == "." || part.empty()) return false;
  out = p;
  return true;
}

int Extract(const std::string& path, const std::string& folder, int wantedCount, char** wanted) {
  Archive a;
  if (!OpenArchive(path, a)) return 1;
  std::unique_ptr<PackCodec> codec(new PackCodec);
  PackCodecInit(*codec, 1);
  int status = 0;
  std::vector<bool> seen(size_t(wantedCount), false);
  for (const Member& e : Members(a)) {
    if (wantedCount > 0) {
      bool hit = false;
      for (int i = 0; i < wantedCount; ++i)
        if (std::strcmp(wanted[i], e.m.name) == 0 ||
            std::strcmp(wanted[i], ShoeboxBaseName(e.m.name)) == 0)
          hit = true, seen[size_t(i)] = true;
      if (!hit) continue;
    }
    fs::path rel;
    if (!SafeRelativePath(e.m.name, rel)) {
      std::fprintf(stderr, "orvale-pack: %s: unsafe member name, skipped\n", e.m.name);
      status = 1;
      continue;
    }
    if (!e.valid ||
        !PackCodecDecompressChecked(*codec, a.bytes.data() + e.m.start, uint32_t(e.m.size))) {
      std::fprintf(stderr, "orvale-pack: %s: damaged member\n", e.m.name);
      status = 1;
      continue;
    }
    fs::path target = fs::path(folder) / rel;
    std::error_code ec;
    fs::create_directories(target.parent_path(), ec);
    if (!WriteWholeFile(target, codec->output, codec->outputLength)) {
      std::fprintf(stderr, "orvale-pack: cannot write %s\n", target.string().c_str());
      std::remove(target.string().c_str());
      status = 1;
    }
    PackCodecReset(*codec);
  }
  for (int i = 0; i < wantedCount; ++i)
    if (!seen[size_t(i)]) {
      std::fprintf(stderr, "orvale-pack: %s: no such member\n", wanted[i]);
      status = 1;
    }
  return status;
}

int Usage() {
  std::fprintf(stderr,
               "usage: orvale-pack create [--from-end] <archive> <folder>\n"
               "       orvale-pack list <archive>\n"
               "       orvale-pack extract <archive> <folder> [member...]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  std::string cmd = argv[1];
  if (cmd == "create") {
    bool fromEnd = std::strcmp(argv[2], "--from-end") == 0;
    int first = fromEnd ? 3 : 2;
    if (argc != first + 2) return Usage();
    return Create(argv[first], argv[first + 1], fromEnd);
  }
  if (cmd == "list" && argc == 3) return List(argv[2]);
  if (cmd == "extract" && argc >= 4) return Extract(argv[2], argv[3], argc - 4, argv + 4);
  return Usage();
}
