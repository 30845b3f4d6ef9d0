#include "platform/temp_file.h"

#include "platform/system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace platform {

namespace {

WriteTrouble TroubleOf(int error) {
  return (error == ENOSPC || error == EDQUOT || error == EFBIG) ? WriteTrouble::kFull
                                                                : WriteTrouble::kNotWritable;
}

}  // namespace

std::string MakePrivateFolder(const char* prefix, WriteTrouble* why) {
  std::string pattern = TempFolder() + (prefix ? prefix : "") + "XXXXXX";
  std::vector<char> buf(pattern.begin(), pattern.end());
  buf.push_back(0);
  if (why) *why = WriteTrouble::kNone;
  if (!mkdtemp(buf.data())) {
    if (why) *why = TroubleOf(errno);
    return std::string();
  }
  return std::string(buf.data()) + "/";
}

WriteTrouble WriteNewFile(const char* path, const void* bytes, size_t length) {
  int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return TroubleOf(errno);
  const char* p = static_cast<const char*>(bytes);
  size_t done = 0;
  int error = 0;
  while (done < length) {
    ssize_t n = write(fd, p + done, length - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = n < 0 ? errno : ENOSPC;
      break;
    }
    done += size_t(n);
  }
  if (close(fd) != 0 && errno != EINTR && !error) error = errno;
  if (!error) return WriteTrouble::kNone;
  unlink(path);
  return TroubleOf(error);
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
