#include "core/file_commands.h"

#include <string>

#include "platform/files.h"
#include "platform/system.h"

static std::string Native(const BasicString& name) { return platform::NativePath(StrCStr(name)); }

double FileExists(const BasicString& name) {
  int f = platform::OpenFileForReading(Native(name).c_str());
  if (f == platform::kNoFile) return 0.0;
  platform::CloseFile(f);
  return 1.0;
}

double FileSizeOf(const BasicString& name) {
  int f = platform::OpenFileForReading(Native(name).c_str());
  if (f == platform::kNoFile) return 0.0;
  int64_t size = platform::FileSize(f);
  platform::CloseFile(f);
  return size < 0 ? 0.0 : double(size);
}

void KillFile(const BasicString& name) { platform::DeleteFile(Native(name).c_str()); }

void CopyFileCmd(const BasicString& source, const BasicString& destination) {
  int in = platform::OpenFileForReading(Native(source).c_str());
  if (in == platform::kNoFile) return;
  int64_t size = platform::FileSize(in);
  std::string dest = Native(destination);
  // Unlinking first keeps the data of a source that is the destination
  // itself: the open handle still reads it.
  platform::DeleteFile(dest.c_str());
  int out = platform::CreateFileForWriting(dest.c_str());
  if (out == platform::kNoFile) {
    platform::CloseFile(in);
    return;
  }
  char block[4096];
  bool failed = size < 0;
  for (int64_t left = size; left > 0 && !failed; left -= int64_t(sizeof block)) {
    int64_t n = left < int64_t(sizeof block) ? left : int64_t(sizeof block);
    failed = platform::ReadFile(in, block, n) != n || platform::WriteFile(out, block, n) != n;
  }
  platform::CloseFile(in);
  platform::CloseFile(out);
  if (failed) platform::DeleteFile(dest.c_str());
}

BasicString GetCurrentDir() {
  std::string dir = platform::NativePath(platform::CurrentFolder().c_str());
  if (dir.empty() || dir.back() != '/') dir += '/';
  return BasicString(dir.c_str());
}

double SetCurrentDir(const BasicString& name) {
  if (name.length == 0) return 0.0;
  return platform::SetCurrentFolder(Native(name)) ? 1.0 : 0.0;
}

static char Fold(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }

int MatchWildcard(const char* pattern, const char* name) {
  if (!pattern) pattern = "";
  if (!name) name = "";
  const char* p = pattern;
  const char* n = name;
  const char* starPattern = nullptr;  // pattern position after the last '*' run
  const char* starName = nullptr;     // name position where that run began
  while (*n) {
    if (*p == '*') {
      while (*p == '*') ++p;
      if (!*p) return 1;
      starPattern = p;
      starName = n;
      continue;
    }
    bool same = *p && (*p == '?' ? *n != '.' : Fold(*p) == Fold(*n));
    if (same) {
      ++p;
      ++n;
      continue;
    }
    if (!starPattern) return 0;
    p = starPattern;
    n = ++starName;
  }
  while (*p == '*') ++p;
  return *p ? 0 : 1;
}

double BackslashesToSlashes(BasicString& s) {
  for (uint32_t i = 0; i < s.length; ++i)
    if (s.buffer[i] == '\\') s.buffer[i] = '/';
  return double(s.length);
}
