// The engine's object table: one ObjectSlot per object number, each owning
// its mesh parts and the GL texture names of a scene.
#pragma once

#include <cstdint>

#include "core/grow_array.h"
#include "models/mesh_object.h"

struct ObjectSlot {
  uint8_t inUse = 0;      // 1 = holds a finished object that may be drawn
  uint8_t multiPart = 0;  // 1 = the parts come from a scene file
  GrowArray<MeshObjectX> parts;
  GrowArray<uint32_t> textures;  // GL texture names owned by the slot

  ObjectSlot() = default;
  ObjectSlot(const ObjectSlot&) = delete;
  ObjectSlot& operator=(const ObjectSlot&) = delete;
  // Moving hands the parts and texture names over and leaves the source
  // empty, so that exactly one slot owns them.
  ObjectSlot(ObjectSlot&& other) noexcept;
  ObjectSlot& operator=(ObjectSlot&& other) noexcept;
  ~ObjectSlot();  // ClearObjectSlot with storage released
};

// Index of the slot whose object is being built; -1 = none.
extern int32_t gBuildObjectIndex;

// Empties a slot: every counted part is freed with FreeMeshObjectGL, the
// texture names are deleted, inUse, multiPart and both counts become 0.
// With freeStorage the part block (all its parts) and the texture block
// are released; without it they stay for a rebuild.
void ClearObjectSlot(ObjectSlot* slot, bool freeStorage);

// Makes room for n parts by the GrowArray rule (nothing while n is below
// the capacity); the counted parts move into the new block with their
// arrays copied and their GL names handed over. The count is unchanged.
void ReserveObjectSlots(GrowArray<MeshObjectX>& list, int32_t n);

// Makes destination a deep copy of source and returns it.
MeshObjectX* CopyMeshObjectArrays(MeshObjectX* destination, const MeshObjectX* source);

class Lumenar3D;

// Empties slot n of the engine's table (storage kept) and prepares it for
// building: one part with one frame whose built list opens with the marker
// of mode (0 list, 2 fan, 1 and any other value strip). The slot is not in
// use until ObjEnd. n outside the table does nothing.
void ObjStart(Lumenar3D* engine, int32_t n, int32_t mode);

// The run marker of a group mode: 0 list, 2 fan, any other value strip.
uint32_t MarkerOfMode(int32_t mode);

// A record all zero but for colour and r = g = b = 1.
MeshVertex MarkerVertex(uint32_t marker);

// Makes room for n slots in an object table by the GrowArray rule; new
// slots are empty, existing ones are moved.
void ReserveObjectTable(GrowArray<ObjectSlot>& table, int32_t n);
