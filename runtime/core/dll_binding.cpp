#include "core/dll_binding.h"

#include <string>

#include "core/debug_support.h"
#include "core/project_settings.h"
#include "core/runtime_error.h"
#include "platform/library.h"

GrowArray<BasicString> gLoadedLibraryNames;
GrowArray<void*> gLoadedLibraryHandles;

void BindDllFunction(BasicString& libraryName, const BasicString& functionName, void** out) {
  *out = nullptr;
  std::string asGiven = libraryName.c_str();
  for (uint32_t i = 0; i < StrLength(libraryName); ++i) {
    char c = libraryName.buffer[i];
    if (c >= 'A' && c <= 'Z') libraryName.buffer[i] = char(c - 'A' + 'a');
  }

  void* handle = nullptr;
  for (int32_t i = 0; i < gLoadedLibraryNames.count; ++i) {
    const BasicString& name = gLoadedLibraryNames.data[i];
    if (name.length == libraryName.length &&
        std::char_traits<char>::compare(name.c_str(), libraryName.c_str(), name.length) == 0) {
      handle = gLoadedLibraryHandles.data[i];
      break;
    }
  }
  if (!handle) {
    handle = platform::OpenLibrary(asGiven.c_str());
    if (!handle) {
      if (gProjectSettings.debugMode) {
        std::string text = "Failed to load: ";
        text += libraryName.c_str();
        DebugSendText(text.c_str());
      }
      return;
    }
    GrowArrayAppend(gLoadedLibraryHandles, handle);
    GrowArrayAppend(gLoadedLibraryNames, libraryName);
    SetExitStep(kExitLibraries, UnloadBoundLibraries);
  }
  *out = platform::LibrarySymbol(handle, functionName.c_str());
}

void UnloadBoundLibraries() {
  for (int32_t i = gLoadedLibraryHandles.count - 1; i >= 0; --i)
    platform::CloseLibrary(gLoadedLibraryHandles.data[i]);
  GrowArrayClear(gLoadedLibraryHandles);
  GrowArrayClear(gLoadedLibraryNames);
}
