#include "core/shoebox.h"

#include "core/pack_codec.h"
#include "core/runtime_error.h"
#include "platform/files.h"
#include "platform/system.h"
#include "platform/temp_file.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

Shoebox* gShoeboxes[2] = {nullptr, nullptr};

namespace {

// Directories longer than this are read only this far.
constexpr int64_t kMaxDirectoryBytes = 16 * 1024 * 1024;

// Folder of this process's extracted members, made on first use.
std::string gMemberFolder;

int32_t ReadI32(const uint8_t* p) {
  return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                 uint32_t(p[3]) << 24);
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool SameNameIgnoringCase(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b)
    if (Lower(*a) != Lower(*b)) return false;
  return *a == *b;
}

void DeleteLastTempFile(Shoebox* box) {
  if (box->lastTempFile[0]) std::remove(box->lastTempFile);
  box->lastTempFile[0] = 0;
}

void FreeEntries(Shoebox* box) {
  while (ShoeboxEntry* e = box->entryList) {
    box->entryList = e->next;
    delete e;
  }
}

void EmptyShoebox(Shoebox* box) {
  box->usable = 1;
  DeleteLastTempFile(box);
  FreeEntries(box);
  box->containerPath[0] = 0;
}

bool CopyName(char* out, const char* text) {
  size_t n = std::strlen(text);
  if (n >= size_t(kShoeboxPathSize)) return false;
  std::memcpy(out, text, n + 1);
  return true;
}

bool ReadExactly(std::FILE* f, int64_t position, void* buf, size_t n) {
  if (std::fseek(f, long(position), SEEK_SET) != 0) return false;
  return std::fread(buf, 1, n, f) == n;
}

void RemoveMemberFolder() {
  for (Shoebox* box : gShoeboxes)
    if (box) DeleteLastTempFile(box);
  if (!gMemberFolder.empty()) {
    platform::RemoveFolder(gMemberFolder);
    gMemberFolder.clear();
  }
}

const std::string& MemberFolder(platform::WriteTrouble* why) {
  *why = platform::WriteTrouble::kNone;
  if (gMemberFolder.empty()) {
    gMemberFolder = platform::MakePrivateFolder("orvale-", why);
    // Programs that end without the runtime's shutdown leave nothing behind.
    static bool cleanupInstalled = false;
    if (!gMemberFolder.empty() && !cleanupInstalled) {
      cleanupInstalled = true;
      std::atexit(RemoveMemberFolder);
    }
  }
  return gMemberFolder;
}

// One line in the error log naming the archive and what is wrong with it.
void LogArchiveProblem(const Shoebox* box, const std::string& what) {
  AppendErrorLog(("Archive " + std::string(box->containerPath) + ": " + what).c_str());
}

// The archive cannot serve any member: said once, then it is skipped.
void MarkUnusable(Shoebox* box, const char* why) {
  LogArchiveProblem(box, why);
  box->usable = 0;
  box->lastProblem = kShoeboxBadArchive;
}

struct FindState {
  const char* baseName;
  ShoeboxMember* member;
  int result;
};

bool FindVisit(const ShoeboxMember& m, bool valid, void* user) {
  auto* st = static_cast<FindState*>(user);
  if (!SameNameIgnoringCase(ShoeboxBaseName(m.name), st->baseName)) return true;
  *st->member = m;
  st->result = valid ? 1 : -1;
  return false;
}

ShoeboxProblem ProblemOf(platform::WriteTrouble trouble) {
  return trouble == platform::WriteTrouble::kFull ? kShoeboxTempFull : kShoeboxTempNotWritable;
}

// Unpacks the member into a new file under path; nothing stays on failure.
platform::WriteTrouble WriteMember(const char* path, const uint8_t* bytes, uint32_t length) {
  std::remove(path);
  return platform::WriteNewFile(path, bytes, length);
}

}  // namespace

const char* ShoeboxBaseName(const char* name) {
  const char* base = name;
  for (const char* p = name; *p; ++p)
    if (*p == '/' || *p == '\\') base = p + 1;
  return base;
}

bool ShoeboxReadTrailer(const uint8_t trailer[kShoeboxTrailerSize], int64_t fileSize,
                        int64_t* directoryStart, bool* fromEnd) {
  if (fileSize < kShoeboxTrailerSize || std::memcmp(trailer, "sbX", 3) != 0) return false;
  int32_t offset = ReadI32(trailer + 3);
  int64_t start = offset >= 0 ? int64_t(offset) : fileSize + offset;
  if (start < 0 || start > fileSize - kShoeboxTrailerSize) return false;
  *directoryStart = start;
  *fromEnd = offset < 0;
  return true;
}

int ShoeboxWalkDirectory(const uint8_t* directory, size_t length, bool fromEnd, int64_t fileSize,
                         ShoeboxVisit visit, void* user) {
  int count = 0;
  size_t at = 0;
  while (at < length) {
    size_t nameLength = directory[at];
    if (nameLength == 0) break;
    if (length - at < 1 + nameLength + 8) break;  // a cut-off entry ends the directory
    ShoeboxMember m;
    std::memcpy(m.name, directory + at + 1, nameLength);
    m.name[nameLength] = 0;
    at += 1 + nameLength;
    m.offset = ReadI32(directory + at);
    m.size = ReadI32(directory + at + 4);
    at += 8;
    m.start = (fromEnd ? fileSize : 0) + int64_t(m.offset);
    bool valid = m.size >= 0 && m.start >= 0 && m.start + int64_t(m.size) <= fileSize;
    ++count;
    if (!visit(m, valid, user)) break;
  }
  return count;
}

int ShoeboxFindEntry(const uint8_t* directory, size_t length, bool fromEnd, int64_t fileSize,
                     const char* baseName, ShoeboxMember* member) {
  FindState st{baseName, member, 0};
  ShoeboxWalkDirectory(directory, length, fromEnd, fileSize, FindVisit, &st);
  return st.result;
}

void CreateShoeboxes() {
  if (gShoeboxes[0]) return;
  for (Shoebox*& box : gShoeboxes) {
    box = new Shoebox;
    box->usable = 1;
    box->containerPath[0] = 0;
    box->lastTempFile[0] = 0;
    box->entryList = nullptr;
    box->lastProblem = kShoeboxFound;
  }
  SetShoebox(BasicString(), BasicString());
  SetShutdownStep(kShutdownArchives, ReleaseShoeboxes);
}

void ReleaseShoeboxes() {
  for (int i = 1; i >= 0; --i) {
    if (!gShoeboxes[i]) continue;
    EmptyShoebox(gShoeboxes[i]);
    delete gShoeboxes[i];
    gShoeboxes[i] = nullptr;
  }
  RemoveMemberFolder();
}

void SetShoeboxContainer(Shoebox* box, const char* containerPath) {
  if (!box) return;
  EmptyShoebox(box);
  if (containerPath && !CopyName(box->containerPath, containerPath)) box->containerPath[0] = 0;
}

void SetShoebox(const BasicString& first, const BasicString& second) {
  if (!gShoeboxes[0]) {
    CreateShoeboxes();  // names them "" first
  }
  SetShoeboxContainer(gShoeboxes[0], first.c_str());
  SetShoeboxContainer(gShoeboxes[1], second.c_str());
}

std::string ShoeboxProblemText(ShoeboxProblem problem) {
  switch (problem) {
    case kShoeboxFound: return "";
    case kShoeboxNotFound: return "it is neither a file nor a member of the archive";
    case kShoeboxBadArchive: return "the archive is missing or damaged";
    case kShoeboxDamagedMember: return "its member in the archive is damaged";
    case kShoeboxTempFull: return "the temporary folder " + platform::TempFolder() + " is full";
    case kShoeboxTempNotWritable:
      return "the temporary folder " + platform::TempFolder() + " cannot be written";
  }
  return "";
}

int ResolveShoeboxFile(Shoebox* box, const char* name, char out[kShoeboxPathSize]) {
  if (box) {
    DeleteLastTempFile(box);
    box->lastProblem = kShoeboxNotFound;
  }
  if (!name || !*name) {
    out[0] = 0;
    return 0;
  }

  std::string native = platform::NativePath(name);
  if (platform::IsRegularFile(native.c_str())) {
    if (std::FILE* f = std::fopen(native.c_str(), "rb")) {
      std::fclose(f);
      if (!CopyName(out, name)) {
        out[0] = 0;
        return 0;
      }
      if (box) box->lastProblem = kShoeboxFound;
      return 1;
    }
  }
  // Names written on systems that ignore letter case: a real file whose
  // name differs only in case still wins over the container.
  std::string matched = platform::MatchFileNameCase(native.c_str());
  if (!matched.empty()) {
    if (std::FILE* f = std::fopen(matched.c_str(), "rb")) {
      std::fclose(f);
      if (CopyName(out, matched.c_str())) {
        if (box) box->lastProblem = kShoeboxFound;
        return 1;
      }
      out[0] = 0;
      return 0;
    }
  }

  if (!box) return 0;
  if (!box->usable) {
    if (box->containerPath[0]) box->lastProblem = kShoeboxBadArchive;
    return 0;
  }
  if (!box->containerPath[0]) {
    box->usable = 0;
    return 0;
  }
  const std::string container = platform::NativePath(box->containerPath);
  if (platform::IsFolder(container.c_str())) {  // start-up names the program's folder
    box->usable = 0;
    return 0;
  }
  std::FILE* f = std::fopen(container.c_str(), "rb");
  if (!f) {
    MarkUnusable(box, "cannot be opened (missing or unreadable)");
    return 0;
  }
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(f, std::fclose);
  int64_t fileSize = -1;
  if (std::fseek(f, 0, SEEK_END) == 0) fileSize = std::ftell(f);

  uint8_t trailer[kShoeboxTrailerSize];
  int64_t directoryStart = 0;
  bool fromEnd = false;
  if (fileSize < kShoeboxTrailerSize) {
    MarkUnusable(box, fileSize == 0 ? "is empty" : "is too short to be an archive");
    return 0;
  }
  if (!ReadExactly(f, fileSize - kShoeboxTrailerSize, trailer, sizeof trailer) ||
      !ShoeboxReadTrailer(trailer, fileSize, &directoryStart, &fromEnd)) {
    MarkUnusable(box, "has no archive trailer or a damaged directory offset (cut short?)");
    return 0;
  }

  int64_t directoryLength = fileSize - kShoeboxTrailerSize - directoryStart;
  if (directoryLength > kMaxDirectoryBytes) directoryLength = kMaxDirectoryBytes;
  std::vector<uint8_t> directory(static_cast<size_t>(directoryLength));
  if (!ReadExactly(f, directoryStart, directory.data(), directory.size())) {
    MarkUnusable(box, "its directory cannot be read");
    out[0] = 0;
    return 0;
  }

  const char* baseName = ShoeboxBaseName(name);
  if (!*baseName) {
    out[0] = 0;
    return 0;
  }
  ShoeboxMember member;
  int found = ShoeboxFindEntry(directory.data(), directory.size(), fromEnd, fileSize,
                               baseName, &member);
  if (found < 0 || (found > 0 && uint64_t(member.size) > PackCodecBound(kPackMaxUnpackedSize))) {
    LogArchiveProblem(box, std::string("member ") + member.name +
                               " lies outside the file or is too large (damaged directory)");
    box->lastProblem = kShoeboxDamagedMember;
  }
  if (found <= 0 || uint64_t(member.size) > PackCodecBound(kPackMaxUnpackedSize)) {
    out[0] = 0;
    return 0;
  }

  size_t blockSize = static_cast<size_t>(member.size);
  std::unique_ptr<uint8_t[]> block(new uint8_t[blockSize ? blockSize : 1]);  // not zeroed
  if (!ReadExactly(f, member.start, block.get(), blockSize)) {
    LogArchiveProblem(box, std::string("member ") + member.name + " cannot be read");
    box->lastProblem = kShoeboxDamagedMember;
    out[0] = 0;
    return 0;
  }
  closer.reset();

  // The codec's match table is large: keep it off the stack.
  std::unique_ptr<PackCodec> codec(new PackCodec);
  PackCodecInit(*codec, 1);
  bool ok = PackCodecDecompressChecked(*codec, block.get(), uint32_t(blockSize));
  if (!ok) {
    LogArchiveProblem(box, std::string("member ") + member.name + " is damaged");
    box->lastProblem = kShoeboxDamagedMember;
  }
  std::string path;
  if (ok) {
    platform::WriteTrouble trouble;
    const std::string& folder = MemberFolder(&trouble);
    if (folder.empty()) {
      box->lastProblem = ProblemOf(trouble);
      LogArchiveProblem(box, std::string("member ") + member.name + " cannot be unpacked: " +
                                 ShoeboxProblemText(box->lastProblem));
      ok = false;
    }
    char letters[3] = {char('A' + (uint32_t(member.offset) & 0xFF) % 26),
                       char('A' + (uint32_t(member.size) & 0xFF) % 26), 0};
    path = folder + "sbx" + letters + ShoeboxBaseName(member.name);
    if (ok && path.size() >= size_t(kShoeboxPathSize)) {
      box->lastProblem = kShoeboxTempNotWritable;
      ok = false;
    }
    if (ok) {
      trouble = WriteMember(path.c_str(), codec->output, codec->outputLength);
      if (trouble != platform::WriteTrouble::kNone) {
        box->lastProblem = ProblemOf(trouble);
        LogArchiveProblem(box, std::string("member ") + member.name + " cannot be unpacked: " +
                                   ShoeboxProblemText(box->lastProblem));
        ok = false;
      }
    }
  }
  PackCodecReset(*codec);
  if (!ok) {
    out[0] = 0;
    return 0;
  }
  std::memcpy(box->lastTempFile, path.c_str(), path.size() + 1);
  std::memcpy(out, path.c_str(), path.size() + 1);
  box->lastProblem = kShoeboxFound;
  return 1;
}
