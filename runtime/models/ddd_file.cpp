#include "models/ddd_file.h"

#include <cstring>
#include <vector>

#include "core/runtime_error.h"
#include "engine3d/lumenar3d.h"
#include "models/ddd_text.h"
#include "models/object_slot.h"
#include "models/unit_normals.h"

namespace {

constexpr uint32_t kHeaderSize = 24;
constexpr uint32_t kFrameHeaderSize = 28;
constexpr uint32_t kPackedRecordSize = 5;

uint32_t WordOf(const uint8_t b[4]) {
  return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

float FloatOf(const uint8_t b[4]) {
  uint32_t w = WordOf(b);
  float f;
  std::memcpy(&f, &w, 4);
  return f;
}

bool ReadWord(DddReader* r, uint32_t* out) {
  uint8_t b[4];
  if (!DddReadInt32(r, b)) return false;
  *out = WordOf(b);
  return true;
}

bool ReadFloat(DddReader* r, float* out) {
  uint8_t b[4];
  if (!DddReadInt32(r, b)) return false;
  *out = FloatOf(b);
  return true;
}

bool ReadDouble(DddReader* r, double* out) {
  uint32_t lo, hi;
  if (!ReadWord(r, &lo) || !ReadWord(r, &hi)) return false;
  uint64_t bits = uint64_t(hi) << 32 | lo;
  std::memcpy(out, &bits, 8);
  return true;
}

uint32_t Left(const DddReader* r) { return r->position <= r->size ? r->size - r->position : 0; }

void PutWord(std::vector<uint8_t>& out, uint32_t w) {
  for (int i = 0; i < 4; ++i) out.push_back(uint8_t(w >> (8 * i)));
}

void PutFloat(std::vector<uint8_t>& out, float f) {
  uint32_t w;
  std::memcpy(&w, &f, 4);
  PutWord(out, w);
}

void PutDouble(std::vector<uint8_t>& out, double d) {
  uint64_t bits;
  std::memcpy(&bits, &d, 8);
  PutWord(out, uint32_t(bits));
  PutWord(out, uint32_t(bits >> 32));
}

void CopyPath(char out[kModelPathSize], const char* path) {
  size_t n = 0;
  for (; path && path[n] && n + 1 < size_t(kModelPathSize); ++n)
    out[n] = path[n] == '/' ? '\\' : path[n];
  out[n] = 0;
}

// The failure path: messages, mesh emptied.
uint8_t Fail(MeshObject* mesh, const char* path) {
  AppendErrorLog("# read error");
  AppendErrorLog(path ? path : "");
  FreeMeshArrays(mesh, true);
  return 0;
}

void UseExactGrowth(GrowArray<float>& a) { a.growStep = a.firstCapacity = 1; }

// The binary form after its magic.
uint8_t ReadBinary(MeshObject* mesh, DddReader* r, const char* path, bool expandVertices) {
  double version = 0;
  uint32_t frameCount = 0, colourCount = 0, texCoordCount = 0;
  if (!ReadDouble(r, &version) || !ReadWord(r, &frameCount) || !ReadWord(r, &colourCount) ||
      !ReadWord(r, &texCoordCount))
    return Fail(mesh, path);
  if (version != kDddVersion) {
    AppendErrorLog("Wrong .ddd version.");
    return Fail(mesh, path);
  }
  // Every count must fit in the bytes that are left before anything is
  // reserved for it.
  uint64_t tables = uint64_t(colourCount) * 4 + uint64_t(texCoordCount) * 8;
  if (tables > Left(r) || uint64_t(frameCount) * kFrameHeaderSize > Left(r) - tables)
    return Fail(mesh, path);

  mesh->palette.growStep = mesh->palette.firstCapacity = 1;
  GrowArrayReserve(mesh->palette, int32_t(colourCount));
  for (uint32_t i = 0; i < colourCount; ++i) {
    uint32_t c;
    if (!ReadWord(r, &c)) return Fail(mesh, path);
    mesh->palette.data[mesh->palette.count++] = c;
  }
  UseExactGrowth(mesh->texU);
  UseExactGrowth(mesh->texV);
  GrowArrayReserve(mesh->texU, int32_t(texCoordCount));
  GrowArrayReserve(mesh->texV, int32_t(texCoordCount));
  for (uint32_t i = 0; i < texCoordCount; ++i) {
    float u, v;
    if (!ReadFloat(r, &u) || !ReadFloat(r, &v)) return Fail(mesh, path);
    mesh->texU.data[mesh->texU.count++] = u;
    mesh->texV.data[mesh->texV.count++] = v;
  }

  mesh->frames.growStep = mesh->frames.firstCapacity = 1;
  GrowArrayReserve(mesh->frames, int32_t(frameCount));
  for (uint32_t fi = 0; fi < frameCount; ++fi) {
    uint32_t vertexCount = 0;
    if (!ReadWord(r, &vertexCount)) return Fail(mesh, path);
    // Every packed vertex needs its texture pair; spare pairs are kept.
    if (vertexCount > texCoordCount) return Fail(mesh, path);
    if (uint64_t(vertexCount) * kPackedRecordSize + 24 > Left(r)) return Fail(mesh, path);
    // The new frame is filled in place; a failure empties the whole mesh.
    MeshFrame& w = mesh->frames.data[mesh->frames.count];
    InitFrameRecord(&w);
    for (int a = 0; a < 3; ++a)
      if (!ReadFloat(r, &w.offset[a])) return Fail(mesh, path);
    for (int a = 0; a < 3; ++a)
      if (!ReadFloat(r, &w.scale[a])) return Fail(mesh, path);
    mesh->frames.count++;
    GrowArrayReserve(w.packed, int32_t(vertexCount));
    const uint8_t* rec = r->data + r->position;
    r->position += vertexCount * kPackedRecordSize;
    for (uint32_t i = 0; i < vertexCount; ++i, rec += kPackedRecordSize) {
      if (rec[3] >= kUnitNormalCount || rec[4] >= colourCount) return Fail(mesh, path);
      w.packed.data[i] = PackedVertex{rec[0], rec[1], rec[2], rec[3], 0, 0, rec[4]};
    }
    w.packed.count = int32_t(vertexCount);
    if (expandVertices) {
      GrowArrayClear(w.built);
      w.built.growStep = w.built.firstCapacity = 1;
      GrowArrayReserve(w.built, int32_t(vertexCount));
      for (uint32_t i = 0; i < vertexCount; ++i) {
        MeshVertex v{};
        ExpandPackedVertex(*mesh, w, int32_t(i), &v);
        w.built.data[i] = v;
      }
      w.built.count = int32_t(vertexCount);
    }
  }
  mesh->normalsReady = 1;
  return 1;
}

}  // namespace

uint8_t DddReadInt32(DddReader* reader, uint8_t buffer[4]) {
  uint32_t at = reader->position;
  reader->position = at + 4 < at ? UINT32_MAX : at + 4;
  if (at > reader->size || reader->size - at < 4) return 0;
  // Bytes are taken in file order: the word is little-endian on any host.
  std::memcpy(buffer, reader->data + at, 4);
  return 1;
}

uint8_t ReadDddBytes(MeshObject* mesh, const uint8_t* data, size_t size, const char* path,
                     bool expandVertices) {
  if (!mesh) return 0;
  FreeMeshArrays(mesh, true);
  if (size > UINT32_MAX) return Fail(mesh, path);
  DddReader r;
  CopyPath(r.path, path);
  r.data = data;
  r.size = uint32_t(size);
  r.position = 0;
  uint32_t magic = 0;
  if (!ReadWord(&r, &magic) || magic != kDddMagic)
    return ReadDddTextBytes(mesh, data, size, path);
  return ReadBinary(mesh, &r, path, expandVertices);
}

uint8_t ReadDdd(MeshObject* mesh, const char* path, bool expandVertices) {
  if (!mesh) return 0;
  FreeMeshArrays(mesh, true);
  std::vector<uint8_t> bytes;
  if (!ReadModelFile(path, bytes)) return 0;
  return ReadDddBytes(mesh, bytes.data(), bytes.size(), path, expandVertices);
}

uint8_t WriteDdd(const MeshObject* mesh, const char* path) {
  if (!mesh) return 0;
  std::vector<uint8_t> out;
  size_t size = kHeaderSize + 4 * size_t(mesh->palette.count) + 8 * size_t(mesh->texU.count);
  for (int32_t fi = 0; fi < mesh->frames.count; ++fi)
    size += kFrameHeaderSize + kPackedRecordSize * size_t(mesh->frames.data[fi].packed.count);
  out.reserve(size);
  PutWord(out, kDddMagic);
  PutDouble(out, kDddVersion);
  PutWord(out, uint32_t(mesh->frames.count));
  PutWord(out, uint32_t(mesh->palette.count));
  PutWord(out, uint32_t(mesh->texU.count));
  for (int32_t i = 0; i < mesh->palette.count; ++i) PutWord(out, mesh->palette.data[i]);
  for (int32_t i = 0; i < mesh->texU.count; ++i) {
    PutFloat(out, mesh->texU.data[i]);
    PutFloat(out, i < mesh->texV.count ? mesh->texV.data[i] : 0.0f);
  }
  for (int32_t fi = 0; fi < mesh->frames.count; ++fi) {
    const MeshFrame& f = mesh->frames.data[fi];
    PutWord(out, uint32_t(f.packed.count));
    for (int a = 0; a < 3; ++a) PutFloat(out, f.offset[a]);
    for (int a = 0; a < 3; ++a) PutFloat(out, f.scale[a]);
    for (int32_t i = 0; i < f.packed.count; ++i) {
      const PackedVertex& p = f.packed.data[i];
      const uint8_t rec[kPackedRecordSize] = {p.x, p.y, p.z, p.normalIndex, p.colourIndex};
      out.insert(out.end(), rec, rec + kPackedRecordSize);
    }
  }
  return WriteModelFile(path, out) ? 1 : 0;
}

uint8_t SaveObject(Lumenar3D* engine, const char* path, int32_t n) {
  if (!engine || n < 0 || n >= engine->objects.count) return 0;
  const ObjectSlot& slot = engine->objects.data[n];
  if (slot.parts.count < 1) return 0;
  return WriteDdd(&slot.parts.data[0], path);
}
