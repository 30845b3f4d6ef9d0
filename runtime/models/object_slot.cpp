#include "models/object_slot.h"

#include <GL/gl.h>

#include <utility>

#include "engine3d/lumenar3d.h"

int32_t gBuildObjectIndex = -1;

namespace {

// The new capacity for n elements, or 0 when the block is big enough.
template <typename T>
int32_t GrownCapacity(const GrowArray<T>& a, int32_t n) {
  if (a.capacity > n) return 0;
  if (a.firstCapacity >= n) return a.firstCapacity;
  int64_t step = a.growStep > 0 ? a.growStep : 1;
  return int32_t(step * (int64_t(n) / step + 1));
}

template <typename T>
void TakeArray(GrowArray<T>& to, GrowArray<T>& from) {
  to.data = from.data;
  to.count = from.count;
  to.capacity = from.capacity;
  to.growStep = from.growStep;
  to.firstCapacity = from.firstCapacity;
  from.data = nullptr;
  from.count = 0;
  from.capacity = 0;
}

}  // namespace

ObjectSlot::ObjectSlot(ObjectSlot&& other) noexcept { *this = std::move(other); }

ObjectSlot& ObjectSlot::operator=(ObjectSlot&& other) noexcept {
  if (this == &other) return *this;
  ClearObjectSlot(this, true);
  inUse = other.inUse;
  multiPart = other.multiPart;
  TakeArray(parts, other.parts);
  TakeArray(textures, other.textures);
  other.inUse = 0;
  other.multiPart = 0;
  return *this;
}

ObjectSlot::~ObjectSlot() { ClearObjectSlot(this, true); }

void ClearObjectSlot(ObjectSlot* slot, bool freeStorage) {
  if (!slot) return;
  for (int32_t i = 0; i < slot->parts.count; ++i)
    FreeMeshObjectGL(&slot->parts.data[i], freeStorage);
  // Destroying the block destroys every constructed part, last first.
  if (freeStorage && slot->parts.data) GrowArrayClear(slot->parts);
  slot->inUse = 0;
  slot->parts.count = 0;
  slot->multiPart = 0;
  if (slot->textures.count > 0 && slot->textures.data)
    glDeleteTextures(slot->textures.count, slot->textures.data);
  if (freeStorage) GrowArrayClear(slot->textures);
  slot->textures.count = 0;
}

MeshObjectX* CopyMeshObjectArrays(MeshObjectX* destination, const MeshObjectX* source) {
  if (destination && source) *destination = *source;
  return destination;
}

void ReserveObjectSlots(GrowArray<MeshObjectX>& list, int32_t n) {
  int32_t cap = GrownCapacity(list, n);
  if (!cap) return;
  MeshObjectX* block = new MeshObjectX[size_t(cap)];
  if (list.data) {
    for (int32_t i = 0; i < list.count; ++i) {
      MeshObjectX& old = list.data[i];
      CopyMeshObjectArrays(&block[i], &old);
      // The copy now owns the GL names: destroying the old part must not
      // delete them.
      old.vertexBufferA = old.vertexBufferB = old.paletteTexture = 0;
    }
    delete[] list.data;
  }
  list.data = block;
  list.capacity = cap;
}

void ReserveObjectTable(GrowArray<ObjectSlot>& table, int32_t n) {
  int32_t cap = GrownCapacity(table, n);
  if (!cap) return;
  ObjectSlot* block = new ObjectSlot[size_t(cap)];
  if (table.data) {
    for (int32_t i = 0; i < table.count; ++i) block[i] = std::move(table.data[i]);
    delete[] table.data;
  }
  table.data = block;
  table.capacity = cap;
}

uint32_t MarkerOfMode(int32_t mode) {
  if (mode == 0) return ListMarker;
  if (mode == 2) return FanMarker;
  return StripMarker;
}

MeshVertex MarkerVertex(uint32_t marker) {
  MeshVertex v{};
  v.colour = marker;
  v.r = v.g = v.b = 1.0f;
  return v;
}

void ObjStart(Lumenar3D* engine, int32_t n, int32_t mode) {
  if (!engine || n < 0 || n >= engine->objects.count) return;
  ObjectSlot& slot = engine->objects.data[n];
  ClearObjectSlot(&slot, false);
  ReserveObjectSlots(slot.parts, 1);
  gBuildObjectIndex = n;
  ReserveObjectSlots(slot.parts, 1);
  slot.parts.count = 1;
  MeshObjectX& part = slot.parts.data[0];
  MeshFrame empty;
  InitFrameRecord(&empty);
  GrowArrayAppend(part.frames, empty);
  GrowArrayAppend(part.frames.data[0].built, MarkerVertex(MarkerOfMode(mode)));
}
