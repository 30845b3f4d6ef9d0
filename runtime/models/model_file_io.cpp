#include "models/model_file_io.h"

#include <cstring>
#include <string>

#include "platform/files.h"
#include "platform/system.h"
#include "platform/temp_file.h"

namespace {

// Opens the file named by path, or one whose name differs only in case.
int OpenModelFile(const char* path) {
  if (!path || !*path || std::strlen(path) >= size_t(kModelPathSize)) return platform::kNoFile;
  std::string native = platform::NativePath(path);
  int file = platform::OpenFileForReading(native.c_str());
  if (file != platform::kNoFile) return file;
  std::string matched = platform::MatchFileNameCase(native.c_str());
  if (matched.empty()) return platform::kNoFile;
  return platform::OpenFileForReading(matched.c_str());
}

}  // namespace

bool ReadModelFile(const char* path, std::vector<uint8_t>& bytes) {
  bytes.clear();
  int file = OpenModelFile(path);
  if (file == platform::kNoFile) return false;
  int64_t size = platform::FileSize(file);
  bool ok = size >= 0 && size <= int64_t(UINT32_MAX);
  if (ok) {
    bytes.resize(size_t(size));
    ok = size == 0 || platform::ReadFile(file, bytes.data(), size) == size;
  }
  platform::CloseFile(file);
  if (!ok) bytes.clear();
  return ok;
}

bool ReadModelFileHead(const char* path, uint8_t* out, int n, int* got) {
  *got = 0;
  int file = OpenModelFile(path);
  if (file == platform::kNoFile) return false;
  int64_t read = platform::ReadFile(file, out, n);
  *got = read > 0 ? int(read) : 0;
  platform::CloseFile(file);
  return true;
}

bool WriteModelFile(const char* path, const std::vector<uint8_t>& bytes) {
  if (!path || !*path || std::strlen(path) >= size_t(kModelPathSize)) return false;
  std::string native = platform::NativePath(path);
  // Only a regular file is replaced; a device or folder is left alone.
  if (platform::IsRegularFile(native.c_str())) platform::DeleteFile(native.c_str());
  int file = platform::CreateFileForWriting(native.c_str());
  if (file == platform::kNoFile) return false;
  bool ok = platform::WriteFile(file, bytes.data(), int64_t(bytes.size())) == int64_t(bytes.size());
  ok = platform::CloseFile(file) && ok;
  if (!ok && platform::IsRegularFile(native.c_str())) platform::DeleteFile(native.c_str());
  return ok;
}
