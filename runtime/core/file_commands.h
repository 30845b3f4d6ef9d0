// Commands on whole files and folders. '\' in names becomes '/'.
#pragma once

#include "core/basic_string.h"

// 1.0 when name is an existing regular file that opens for reading.
double FileExists(const BasicString& name);
// Size in bytes; 0 when the file does not open.
double FileSizeOf(const BasicString& name);
// Deletes the file; silent when it cannot.
void KillFile(const BasicString& name);
// Copies source to destination in 4096-byte blocks; a failed copy leaves no
// destination. Silent in every case.
void CopyFileCmd(const BasicString& source, const BasicString& destination);
// Current folder with '/' separators and a trailing '/'.
BasicString GetCurrentDir();
double SetCurrentDir(const BasicString& name);
// "*" any run (also none), "?" any one character but '.', other characters
// themselves with ASCII letters matched without regard to case.
int MatchWildcard(const char* pattern, const char* name);
// Turns every '\' into '/' in place; returns the length.
double BackslashesToSlashes(BasicString& s);
