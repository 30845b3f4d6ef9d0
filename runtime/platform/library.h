// Dynamic libraries: load by file name, look up exported functions.
#pragma once

namespace platform {

// Loads the library under the name exactly as given; null on failure.
void* OpenLibrary(const char* name);
// Address of an exported symbol; null when there is none.
void* LibrarySymbol(void* library, const char* name);
void CloseLibrary(void* library);

}  // namespace platform
