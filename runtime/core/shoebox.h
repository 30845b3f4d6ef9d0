// Shoebox: the packed resource archive every loader resolves its files
// through. A real file of the asked name always wins; otherwise the member
// of that base name is unpacked from the container into a temporary file
// whose path the loader opens at once.
//
// Container layout (little-endian, signed 32-bit integers):
//   member blocks   packed blocks of PackCodec mode 1
//   directory       entries: u8 nameLength (0 ends), name bytes, i32 offset,
//                   i32 size of the member block
//   trailer         last 7 bytes: "sbX", i32 directory offset
// Member names may carry folders separated by '\'; look-ups go by the base
// name, and the temporary file is named "sbx", two letters from the stored
// offset and size, then the member's base name (its extension kept).
// A negative directory offset counts back from the end of the file, and then
// so do the member offsets (the container may sit at the end of another file).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/basic_string.h"

constexpr int kShoeboxPathSize = 1024;
constexpr int kShoeboxTrailerSize = 7;

// Never filled: look-ups always read the container.
struct ShoeboxEntry {
  char name[256];
  int32_t offset;
  int32_t size;
  uint8_t reserved[4];
  ShoeboxEntry* next;
};

// Why the last look-up of a container gave no path.
enum ShoeboxProblem : uint8_t {
  kShoeboxFound = 0,       // it gave one
  kShoeboxNotFound,        // no such real file, and no container or no such member
  kShoeboxBadArchive,      // the container is missing, unreadable or not a container
  kShoeboxDamagedMember,   // the member's entry or packed bytes are damaged
  kShoeboxTempFull,        // the temporary folder has no room for the unpacked member
  kShoeboxTempNotWritable, // the temporary folder cannot be written
};

struct Shoebox {
  uint8_t usable;                         // 0 once the container proved missing or bad
  char containerPath[kShoeboxPathSize];   // "" = none
  char lastTempFile[kShoeboxPathSize];    // temporary file of the last extraction
  ShoeboxEntry* entryList;
  ShoeboxProblem lastProblem;             // of the last ResolveShoeboxFile
};

// The problem as a phrase for messages ("the temporary folder /tmp/ is
// full", "its member is damaged", ...); "" for kShoeboxFound.
std::string ShoeboxProblemText(ShoeboxProblem problem);

// [0] pictures, fonts, sounds, line and INI files, 3D data ("media.gfx");
// [1] music and movies ("media.aud"). Null until CreateShoeboxes.
extern Shoebox* gShoeboxes[2];

// Start-up: creates both containers empty and installs their release in
// the shutdown order. A second call does nothing.
void CreateShoeboxes();
// Shutdown step: empties the second then the first container (temporary
// files deleted) and frees both.
void ReleaseShoeboxes();

// Names the containers of both objects ("" = none) and makes them usable.
void SetShoebox(const BasicString& first, const BasicString& second);
void SetShoeboxContainer(Shoebox* box, const char* containerPath);

// Resolves name to a path the caller opens at once; the path stays valid
// until the next resolve or SetShoebox on the same object. Returns 1 with
// out set, or 0 (out "" for an empty name, a name not in the container, or
// a member that could not be unpacked or written). box may be null: then
// only real files are found.
int ResolveShoeboxFile(Shoebox* box, const char* name, char out[kShoeboxPathSize]);

// Directory parsing on bytes in memory, shared by the resolver and tools.
struct ShoeboxMember {
  char name[256];
  int32_t offset;  // as stored
  int32_t size;    // as stored
  int64_t start;   // absolute position of the block in the file
};

// Reads the trailer (the file's last 7 bytes). Fills the directory start and
// whether offsets count from the end; false when it is not "sbX" or the
// directory would lie outside the file.
bool ShoeboxReadTrailer(const uint8_t trailer[kShoeboxTrailerSize], int64_t fileSize,
                        int64_t* directoryStart, bool* fromEnd);

// Walks the directory bytes (from the directory start to the trailer) and
// calls visit for every entry until it returns false or the directory ends.
// Entries whose block lies outside the file come with valid = false.
// Returns the number of entries read.
using ShoeboxVisit = bool (*)(const ShoeboxMember& member, bool valid, void* user);
int ShoeboxWalkDirectory(const uint8_t* directory, size_t length, bool fromEnd, int64_t fileSize,
                         ShoeboxVisit visit, void* user);

// First entry whose name, without any folder ('/' or '\'), equals baseName
// ignoring ASCII case: members that differ only by folder cannot be told
// apart, the first wins. Returns 1
// with member filled, 0 when there is none, -1 when the first matching entry
// points outside the file.
int ShoeboxFindEntry(const uint8_t* directory, size_t length, bool fromEnd, int64_t fileSize,
                     const char* baseName, ShoeboxMember* member);

// The part of name after its last '/' or '\'.
const char* ShoeboxBaseName(const char* name);
