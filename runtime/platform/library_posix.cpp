#include "platform/library.h"

#include <dlfcn.h>

namespace platform {

void* OpenLibrary(const char* name) {
  if (!name || !*name) return nullptr;
  return dlopen(name, RTLD_NOW | RTLD_LOCAL);
}

void* LibrarySymbol(void* library, const char* name) {
  if (!library) return nullptr;
  return dlsym(library, name ? name : "");
}

void CloseLibrary(void* library) {
  if (library) dlclose(library);
}

}  // namespace platform
