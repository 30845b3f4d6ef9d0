// Plain file access for the runtime's file channels and file commands:
// unbuffered handles with one file pointer, folder listing and deletion.
// Names are taken as given (callers turn '\' into '/').
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

constexpr int kNoFile = -1;

// An existing regular file for reading; kNoFile when it does not open.
int OpenFileForReading(const char* name);
// Why an existing file cannot be read ("" when it opens and its first byte,
// if any, reads): the system's reason, such as "Permission denied".
std::string ReadProblem(const char* name);
// A new empty file for reading and writing (replaces an existing one).
int CreateFileForWriting(const char* name);
// False when closing reports an error (data that did not reach the file).
bool CloseFile(int file);
// Bytes transferred, or -1 on failure. Retries interrupted and partial
// transfers until count bytes moved or the file ends.
int64_t ReadFile(int file, void* buffer, int64_t count);
int64_t WriteFile(int file, const void* buffer, int64_t count);
bool SeekFileRelative(int file, int64_t offset);
// Current offset and total size; -1 on failure.
int64_t FileOffset(int file);
int64_t FileSize(int file);

// The path of an existing regular file whose name equals name, each folder
// and the file compared without regard to ASCII letter case where no exact
// match exists ('\' is taken as '/'). An exact match always wins. "" when
// no such file exists.
std::string MatchFileNameCase(const char* name);

// Removes a file (not a folder); false when it could not.
bool DeleteFile(const char* name);

struct FolderEntry {
  std::string name;
  bool isFolder;
};
// Entries of a folder: "." and ".." first, then the rest sorted by name
// without regard to ASCII letter case. Empty when the folder does not open.
std::vector<FolderEntry> ListFolder(const char* folder);

}  // namespace platform
