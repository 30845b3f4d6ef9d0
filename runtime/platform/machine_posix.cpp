#include "platform/machine.h"

#include <dlfcn.h>
#include <sys/statvfs.h>

#include <cstring>

namespace platform {

bool GlFunctionExists(const char* name) {
  if (!name || !*name) return false;
  return dlsym(RTLD_DEFAULT, name) != nullptr;
}

bool VolumeSerial(uint32_t* serial) {
  struct statvfs st;
  if (statvfs("/", &st) != 0) return false;
  uint64_t id = st.f_fsid;
  uint32_t folded = uint32_t(id) ^ uint32_t(id >> 32);
  if (folded == 0) return false;
  if (serial) *serial = folded;
  return true;
}

}  // namespace platform
