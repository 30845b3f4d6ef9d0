#include "models/object_loading.h"

#include <cstring>

#include "engine3d/lumenar3d.h"
#include "models/ddd_file.h"
#include "models/mesh_packing.h"
#include "models/model_file_io.h"
#include "models/object_slot.h"
#include "models/scene_file.h"

uint8_t LoadObject(Lumenar3D* engine, const char* path, int32_t n) {
  if (!engine || n < 0 || n >= engine->objects.count) return 0;
  ObjectSlot& slot = engine->objects.data[n];
  ClearObjectSlot(&slot, true);
  uint8_t head[4];
  int got = 0;
  if (ReadModelFileHead(path, head, 4, &got) && got == 4 && std::memcmp(head, ";DDW", 4) == 0) {
    uint32_t key = engine->renderer ? engine->renderer->spriteColourKey : 0x8000FFu;
    return LoadScene(path, &slot, key);
  }
  ReserveObjectSlots(slot.parts, 1);
  slot.parts.count = 1;
  MeshObjectX& part = slot.parts.data[0];
  if (!ReadDdd(&part, path, false) || part.frames.count < 1 ||
      part.frames.data[0].packed.count < 1) {
    // Nothing half-made stays behind.
    FreeMeshObjectGL(&part, true);
    return 0;
  }
  slot.inUse = 1;
  slot.multiPart = 0;
  part.BuildTriangleArrays();
  ComputeBoundingSpheres(&part);
  return 1;
}
