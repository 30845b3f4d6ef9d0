#include "platform/user_data.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

namespace platform {

std::string UserDataFolder(const char* program) {
  std::string base;
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && xdg[0] == '/') {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') return "";
    base = std::string(home) + "/.local/share";
  }
  if (base.back() != '/') base += '/';
  return base + program + '/';
}

static bool IsFolder(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MakeFolders(const std::string& folder) {
  if (folder.empty()) return false;
  std::string path = folder;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  if (IsFolder(path)) return true;
  // Each prefix in turn, from the root down.
  for (size_t i = 1; i <= path.size(); ++i) {
    if (i < path.size() && path[i] != '/') continue;
    std::string prefix = path.substr(0, i);
    if (mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return IsFolder(path);
}

bool NonFolderPresent(const char* path) {
  if (path == nullptr || *path == 0) return false;
  struct stat st;
  return stat(path, &st) == 0 && !S_ISDIR(st.st_mode);
}

}  // namespace platform
