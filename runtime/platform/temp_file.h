// Private temporary files: a folder only this user can enter, and files
// created new without following links.
#pragma once

#include <cstdio>
#include <string>

namespace platform {

// Creates a fresh folder (mode 0700) named prefix + random suffix inside
// TempFolder(). Returns its path with a trailing '/', or "" on failure.
std::string MakePrivateFolder(const char* prefix);

// Removes an empty folder.
bool RemoveFolder(const std::string& path);

// Creates path for writing: fails when anything, a link included, already
// stands under that name; a link is never followed. Null on failure.
std::FILE* CreateExclusiveFile(const char* path);

// True when path names an existing regular file (links followed).
bool IsRegularFile(const char* path);
// True when path names an existing folder (links followed).
bool IsFolder(const char* path);

}  // namespace platform
