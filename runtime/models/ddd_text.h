// DDDA, the text form of a model: "DDDA", a version (at most 1.1), then
//   T, T pairs u v;
//   G, G groups: red green blue N, N pairs vertexIndex texCoordIndex;
//   F, F frames: V, V vertices x y z (and nx ny nz from version 1.1 on).
// Tokens are separated by blanks; '#' starts a comment to the end of its
// line. Each group becomes one fan per frame in the group's colour.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "models/ddd_file.h"
#include "models/mesh_object.h"

constexpr int kDddTokenSize = 1024;
// Most a text model may expand to, all frames together: vertex records (a
// marker a group and one a reference) and triangle corners of its fans
// (three a triangle), 88 bytes each. A small file whose frames repeat long
// groups must not be able to ask for gigabytes.
constexpr int64_t kDddTextMaxRecords = int64_t(1) << 20;
constexpr int64_t kDddTextMaxCorners = int64_t(1) << 20;

struct DddTextVertex {
  float x, y, z;
  float nx, ny, nz;
};

struct DddTextGroup {
  int32_t red, green, blue;
  std::vector<int32_t> vertexIndices;
  std::vector<int32_t> texCoordIndices;
};

struct DddTextReader {
  char token[kDddTokenSize];
  std::vector<DddTextGroup> groups;
  std::vector<float> texCoords;  // u, v pairs
  std::vector<std::vector<DddTextVertex>> frames;
};

// Reads the next token into token and returns its number (the longest
// prefix strtof takes; 0 for none). token is "" when the input has no token
// left. A token longer than the buffer keeps its first kDddTokenSize - 1
// characters.
float ReadDddToken(char token[kDddTokenSize], DddReader* reader);

// Parses a DDDA file into reader. 0 when the file does not open, its first
// token is not "DDDA" or its version is above 1.1.
uint8_t LoadDddText(DddTextReader* reader, const char* path);
uint8_t LoadDddTextBytes(DddTextReader* reader, const uint8_t* data, size_t size);

// The text branch of ReadDdd on bytes in memory: parses, checks every
// vertex and texture index, fills the frames and packs them. On failure
// logs "# read error" and path and leaves the mesh empty; a model beyond
// the bounds above logs "Text model too large." first.
uint8_t ReadDddTextBytes(MeshObject* mesh, const uint8_t* data, size_t size, const char* path);
