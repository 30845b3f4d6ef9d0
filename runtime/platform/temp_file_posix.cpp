#include "platform/temp_file.h"

#include "platform/system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace platform {

std::string MakePrivateFolder(const char* prefix) {
  std::string pattern = TempFolder() + (prefix ? prefix : "") + "XXXXXX";
  std::vector<char> buf(pattern.begin(), pattern.end());
  buf.push_back(0);
  if (!mkdtemp(buf.data())) return std::string();
  return std::string(buf.data()) + "/";
}

bool RemoveFolder(const std::string& path) { return rmdir(path.c_str()) == 0; }

std::FILE* CreateExclusiveFile(const char* path) {
  int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return nullptr;
  std::FILE* f = fdopen(fd, "wb");
  if (!f) {
    close(fd);
    unlink(path);
  }
  return f;
}

bool IsRegularFile(const char* path) {
  struct stat st;
  return path && stat(path, &st) == 0 && S_ISREG(st.st_mode);
}

bool IsFolder(const char* path) {
  struct stat st;
  return path && stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace platform
