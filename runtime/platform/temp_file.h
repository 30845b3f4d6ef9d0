// Private temporary files: a folder only this user can enter, and files
// created new without following links.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace platform {

// Why a file or folder could not be written.
enum class WriteTrouble {
  kNone,
  kFull,         // no space left (or the user's quota is used up)
  kNotWritable,  // any other refusal: permissions, read-only file system...
};

// Creates a fresh folder (mode 0700) named prefix + random suffix inside
// TempFolder(). Returns its path with a trailing '/', or "" on failure
// (why says what kept it, when given).
std::string MakePrivateFolder(const char* prefix, WriteTrouble* why = nullptr);

// Writes bytes as a new file at path as CreateExclusiveFile makes it; on
// failure nothing stays and the result says why.
WriteTrouble WriteNewFile(const char* path, const void* bytes, size_t length);

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
