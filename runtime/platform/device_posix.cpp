#include "platform/device.h"

#include <sys/stat.h>

#include <cstdlib>

namespace platform {

std::string TouchscreenPath() {
  const char* p = std::getenv("ORVALE_TOUCHSCREEN");
  return (p && *p) ? p : "/dev/touchscreen/wm97xx";
}

bool PathPresent(const char* path) {
  if (path == nullptr || *path == 0) return false;
  struct stat st;
  return stat(path, &st) == 0;
}

}  // namespace platform
