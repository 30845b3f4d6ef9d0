// The .ddd model file: one mesh in packed form. Binary layout, all fields
// little-endian, no padding:
//   u32 magic 0x00C6B317, f64 version 1.02, u32 frameCount, u32 colourCount,
//   u32 texCoordCount, colourCount x u32 palette entries,
//   texCoordCount x (f32 u, f32 v), then per frame: u32 vertexCount,
//   f32 offset x, y, z, f32 scale x, y, z, vertexCount x 5 bytes
//   (x, y, z, normalIndex, colourIndex).
// A file that does not start with the magic is read as DDDA text.
#pragma once

#include <cstddef>
#include <cstdint>

#include "models/mesh_object.h"
#include "models/model_file_io.h"

class Lumenar3D;

constexpr uint32_t kDddMagic = 0x00C6B317u;
constexpr double kDddVersion = 1.02;

// A read in progress over the file's bytes.
struct DddReader {
  char path[kModelPathSize];  // the name as given, '/' turned into '\'
  const uint8_t* data;
  uint32_t size;
  uint32_t position;  // advanced by every read attempt
};

// Reads four bytes as a little-endian word into buffer (as a u32 or f32).
// 0 when fewer than four bytes are left; the position advances by 4 anyway.
uint8_t DddReadInt32(DddReader* reader, uint8_t buffer[4]);

// Loads the file into mesh (emptied first, and left empty when the load
// fails). Every count is checked against the bytes the file holds and every
// index against its table; a damaged file fails with "# read error" and the
// path in the error log. expandVertices also fills each frame's built list.
uint8_t ReadDdd(MeshObject* mesh, const char* path, bool expandVertices);

// The same on bytes already in memory; path names them in messages.
uint8_t ReadDddBytes(MeshObject* mesh, const uint8_t* data, size_t size, const char* path,
                     bool expandVertices);

// Writes mesh in the binary form. 1 when the whole file was written; 0 when
// it cannot be created or a write fails (no partial file is left).
uint8_t WriteDdd(const MeshObject* mesh, const char* path);

// Writes part 0 of slot n with WriteDdd; 0 when the slot has no part or the
// file was not written.
uint8_t SaveObject(Lumenar3D* engine, const char* path, int32_t n);
