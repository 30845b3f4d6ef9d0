#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace platform {

int OpenFileForReading(const char* name) {
  if (!name || !*name) return kNoFile;
  int fd;
  do {
    // Non-blocking, so that a pipe or device of that name cannot hold the
    // program up; only a regular file is kept, in blocking mode.
    fd = open(name, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return kNoFile;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return kNoFile;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

std::string ReadProblem(const char* name) {
  if (!name || !*name) return "no name";
  int fd;
  do {
    fd = open(name, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return std::strerror(errno);
  char byte;
  ssize_t n;
  do {
    n = read(fd, &byte, 1);
  } while (n < 0 && errno == EINTR);
  std::string why = n < 0 && errno != EAGAIN ? std::strerror(errno) : "";
  close(fd);
  return why;
}

int CreateFileForWriting(const char* name) {
  if (!name || !*name) return kNoFile;
  int fd;
  do {
    fd = open(name, O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  } while (fd < 0 && errno == EINTR);
  return fd < 0 ? kNoFile : fd;
}

bool CloseFile(int file) {
  return file >= 0 && close(file) == 0;
}

int64_t ReadFile(int file, void* buffer, int64_t count) {
  if (file < 0 || count < 0) return -1;
  int64_t done = 0;
  char* p = static_cast<char*>(buffer);
  while (done < count) {
    ssize_t n = read(file, p + done, size_t(count - done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (n == 0) break;
    done += n;
  }
  return done;
}

int64_t WriteFile(int file, const void* buffer, int64_t count) {
  if (file < 0 || count < 0) return -1;
  int64_t done = 0;
  const char* p = static_cast<const char*>(buffer);
  while (done < count) {
    ssize_t n = write(file, p + done, size_t(count - done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (n == 0) break;
    done += n;
  }
  return done;
}

bool SeekFileRelative(int file, int64_t offset) {
  return file >= 0 && lseek(file, off_t(offset), SEEK_CUR) >= 0;
}

int64_t FileOffset(int file) {
  if (file < 0) return -1;
  off_t at = lseek(file, 0, SEEK_CUR);
  return at < 0 ? -1 : int64_t(at);
}

int64_t FileSize(int file) {
  struct stat st;
  if (file < 0 || fstat(file, &st) != 0) return -1;
  return int64_t(st.st_size);
}

namespace {

bool EqualNoCase(const std::string& a, const char* b) {
  size_t n = std::strlen(b);
  if (a.size() != n) return false;
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
    if (x != y) return false;
  }
  return true;
}

bool IsRegular(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The entry of folder named like part: the exact name when it exists, else
// the first whose name differs only in letter case. "" when none.
std::string MatchEntry(const std::string& folder, const std::string& part, bool last) {
  std::string exact = folder + part;
  struct stat st;
  if (stat(exact.c_str(), &st) == 0 && (last ? S_ISREG(st.st_mode) : S_ISDIR(st.st_mode)))
    return part;
  DIR* d = opendir(folder.empty() ? "." : folder.c_str());
  if (!d) return "";
  std::string found;
  while (dirent* e = readdir(d)) {
    if (!EqualNoCase(part, e->d_name)) continue;
    if (fstatat(dirfd(d), e->d_name, &st, 0) != 0) continue;
    if (last ? !S_ISREG(st.st_mode) : !S_ISDIR(st.st_mode)) continue;
    // Several spellings: take the first by byte order, so the choice does
    // not depend on the folder's order.
    if (found.empty() || std::strcmp(e->d_name, found.c_str()) < 0) found = e->d_name;
  }
  closedir(d);
  return found;
}

}  // namespace

std::string MatchFileNameCase(const char* name) {
  if (!name || !*name) return "";
  std::string path = name;
  for (char& c : path)
    if (c == '\\') c = '/';
  if (IsRegular(path)) return path;
  std::string folder;
  size_t at = 0;
  if (path[0] == '/') {
    folder = "/";
    at = 1;
  }
  while (at <= path.size()) {
    size_t slash = path.find('/', at);
    bool last = slash == std::string::npos;
    std::string part = path.substr(at, last ? std::string::npos : slash - at);
    if (part.empty() || part == "." || part == "..") {
      if (last) return "";
      if (!part.empty()) folder += part + "/";
      at = slash + 1;
      continue;
    }
    std::string entry = MatchEntry(folder, part, last);
    if (entry.empty()) return "";
    if (last) return folder + entry;
    folder += entry + "/";
    at = slash + 1;
  }
  return "";
}

bool DeleteFile(const char* name) { return name && *name && unlink(name) == 0; }

static bool LessNoCase(const std::string& a, const std::string& b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
    if (x != y) return x < y;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

std::vector<FolderEntry> ListFolder(const char* folder) {
  std::vector<FolderEntry> out;
  DIR* d = opendir(folder && *folder ? folder : ".");
  if (!d) return out;
  std::vector<FolderEntry> rest;
  while (dirent* e = readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    bool isFolder = false;
    struct stat st;
    if (fstatat(dirfd(d), e->d_name, &st, 0) == 0) isFolder = S_ISDIR(st.st_mode);
    rest.push_back({name, isFolder});
  }
  closedir(d);
  std::sort(rest.begin(), rest.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return LessNoCase(a.name, b.name); });
  out.push_back({".", true});
  out.push_back({"..", true});
  out.insert(out.end(), rest.begin(), rest.end());
  return out;
}

}  // namespace platform
