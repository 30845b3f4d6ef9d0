#include "models/ddd_text.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "core/runtime_error.h"
#include "models/mesh_packing.h"
#include "models/object_slot.h"

namespace {

bool IsBlank(uint8_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Moves past the rest of a comment line, its line feed included.
void SkipComment(DddReader* r) {
  const void* lf = std::memchr(r->data + r->position, '\n', r->size - r->position);
  r->position = lf ? uint32_t(static_cast<const uint8_t*>(lf) - r->data) + 1 : r->size;
}

// Moves past blanks and comments; true when a token follows.
bool SkipBlanks(DddReader* r) {
  while (r->position < r->size) {
    uint8_t c = r->data[r->position];
    if (c == '#') {
      ++r->position;
      SkipComment(r);
    } else if (IsBlank(c)) {
      ++r->position;
    } else {
      return true;
    }
  }
  return false;
}

int32_t Truncate(float v) {
  if (!(v == v)) return 0;
  if (v >= 2147483647.0f) return 2147483647;
  if (v <= -2147483648.0f) return -2147483647 - 1;
  return int32_t(v);
}

struct Parser {
  DddTextReader* out;
  DddReader r;

  bool AtEnd() { return !SkipBlanks(&r); }
  float Number() { return ReadDddToken(out->token, &r); }
  int32_t Integer() { return Truncate(Number()); }
};

uint8_t Parse(DddTextReader* reader, const uint8_t* data, size_t size) {
  reader->groups.clear();
  reader->texCoords.clear();
  reader->frames.clear();
  if (size > UINT32_MAX) return 0;
  Parser p{reader, DddReader{}};
  p.r.data = data;
  p.r.size = uint32_t(size);
  p.r.position = 0;
  ReadDddToken(reader->token, &p.r);
  if (std::strcmp(reader->token, "DDDA") != 0) return 0;
  float version = p.Number();
  if (version > 1.1f) return 0;
  bool normals = version >= 1.1f;

  // Every list stops where the input ends, whatever its count said.
  int32_t t = p.Integer();
  for (int32_t i = 0; i < t && !p.AtEnd(); ++i) {
    float u = p.Number();
    float v = p.Number();
    reader->texCoords.push_back(u);
    reader->texCoords.push_back(v);
  }
  int32_t g = p.Integer();
  for (int32_t i = 0; i < g && !p.AtEnd(); ++i) {
    DddTextGroup group;
    group.red = p.Integer();
    group.green = p.Integer();
    group.blue = p.Integer();
    int32_t n = p.Integer();
    for (int32_t k = 0; k < n && !p.AtEnd(); ++k) {
      group.vertexIndices.push_back(p.Integer());
      group.texCoordIndices.push_back(p.Integer());
    }
    reader->groups.push_back(std::move(group));
  }
  int32_t f = p.Integer();
  for (int32_t i = 0; i < f && !p.AtEnd(); ++i) {
    std::vector<DddTextVertex> frame;
    int32_t v = p.Integer();
    for (int32_t k = 0; k < v && !p.AtEnd(); ++k) {
      DddTextVertex x{};
      x.x = p.Number();
      x.y = p.Number();
      x.z = p.Number();
      if (normals) {
        x.nx = p.Number();
        x.ny = p.Number();
        x.nz = p.Number();
      }
      frame.push_back(x);
    }
    reader->frames.push_back(std::move(frame));
  }
  return 1;
}

uint8_t Fail(MeshObject* mesh, const char* path) {
  AppendErrorLog("# read error");
  AppendErrorLog(path ? path : "");
  FreeMeshArrays(mesh, true);
  return 0;
}

}  // namespace

float ReadDddToken(char token[kDddTokenSize], DddReader* reader) {
  token[0] = 0;
  if (!SkipBlanks(reader)) return 0.0f;
  int length = 0;
  while (reader->position < reader->size) {
    uint8_t c = reader->data[reader->position++];
    if (c == '#') {
      SkipComment(reader);
      break;
    }
    if (IsBlank(c)) break;
    // Characters past the buffer are read and dropped.
    if (length < kDddTokenSize - 1) token[length++] = char(c);
  }
  token[length] = 0;
  return std::strtof(token, nullptr);
}

uint8_t LoadDddTextBytes(DddTextReader* reader, const uint8_t* data, size_t size) {
  return Parse(reader, data, size);
}

uint8_t LoadDddText(DddTextReader* reader, const char* path) {
  std::vector<uint8_t> bytes;
  if (!ReadModelFile(path, bytes)) {
    reader->groups.clear();
    reader->texCoords.clear();
    reader->frames.clear();
    return 0;
  }
  return Parse(reader, bytes.data(), bytes.size());
}

uint8_t ReadDddTextBytes(MeshObject* mesh, const uint8_t* data, size_t size, const char* path) {
  FreeMeshArrays(mesh, true);
  DddTextReader* reader = new DddTextReader;
  uint8_t ok = Parse(reader, data, size);
  // Records per frame: one marker a group and one record a reference; the
  // fan of n references makes n - 2 triangles.
  int64_t perFrame = 0, cornersPerFrame = 0;
  if (ok) {
    for (const DddTextGroup& g : reader->groups) {
      int64_t n = int64_t(g.vertexIndices.size());
      perFrame += 1 + n;
      if (n > 2) cornersPerFrame += 3 * (n - 2);
    }
    int64_t frames = int64_t(reader->frames.size());
    if (frames > 0 &&
        (perFrame > kDddTextMaxRecords / frames || cornersPerFrame > kDddTextMaxCorners / frames)) {
      AppendErrorLog("Text model too large.");
      ok = 0;
    }
  }
  // Every reference must name a vertex of every frame and, when the file has
  // texture coordinates, one of its pairs.
  int64_t pairs = int64_t(reader->texCoords.size() / 2);
  for (size_t fi = 0; ok && fi < reader->frames.size(); ++fi) {
    int64_t vertices = int64_t(reader->frames[fi].size());
    for (const DddTextGroup& g : reader->groups)
      for (size_t k = 0; ok && k < g.vertexIndices.size(); ++k) {
        if (g.vertexIndices[k] < 0 || g.vertexIndices[k] >= vertices) ok = 0;
        if (pairs > 0 && (g.texCoordIndices[k] < 0 || g.texCoordIndices[k] >= pairs)) ok = 0;
      }
  }
  if (!ok) {
    delete reader;
    return Fail(mesh, path);
  }
  GrowArrayReserve(mesh->frames, int32_t(reader->frames.size()));
  for (size_t fi = 0; fi < reader->frames.size(); ++fi) {
    const std::vector<DddTextVertex>& vertices = reader->frames[fi];
    MeshFrame& frame = mesh->frames.data[mesh->frames.count++];
    InitFrameRecord(&frame);
    GrowArrayReserve(frame.built, int32_t(perFrame));
    for (const DddTextGroup& g : reader->groups) {
      GrowArrayAppend(frame.built, MarkerVertex(FanMarker));
      uint32_t colour = uint32_t(g.red & 255) | uint32_t(g.green & 255) << 8 |
                        uint32_t(g.blue & 255) << 16;
      for (size_t k = 0; k < g.vertexIndices.size(); ++k) {
        const DddTextVertex& s = vertices[size_t(g.vertexIndices[k])];
        MeshVertex v{};
        v.x = s.x;
        v.y = s.y;
        v.z = s.z;
        v.nx = s.nx;
        v.ny = s.ny;
        v.nz = s.nz;
        if (pairs > 0) {
          v.u = reader->texCoords[2 * size_t(g.texCoordIndices[k])];
          v.v = reader->texCoords[2 * size_t(g.texCoordIndices[k]) + 1];
        }
        v.colour = colour;
        SetVertexColour(&v, colour);
        GrowArrayAppend(frame.built, v);
      }
    }
  }
  delete reader;
  ComputeNormalsAndBounds(mesh);
  // Packed, the expanded records are not needed again.
  for (int32_t fi = 0; fi < mesh->frames.count; ++fi) GrowArrayClear(mesh->frames.data[fi].built);
  return 1;
}
