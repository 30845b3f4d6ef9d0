// Start-up of the runtime: every singleton, the main window, the first
// screen mode, the default font and the "Loading..." frame.
#pragma once

#include <cstdint>

// Returns 0 in every case; when no window could be opened only the
// renderer exists (RuntimeStarted tells).
int RuntimeStartup(void* instance, void* previousInstance, const char* commandLine,
                   int showCommand, const char* caption);
// True once start-up ran through and the main window exists.
bool RuntimeStarted();
// The folder part of a program path: everything before the last '/' or
// '\' (scanning down to index 1); the whole path when there is none.
void ProgramFolderOf(const char* path, char* out, uint32_t outSize);
