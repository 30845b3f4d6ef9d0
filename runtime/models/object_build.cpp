#include "models/object_build.h"

#include "engine3d/lumenar3d.h"
#include "models/mesh_packing.h"
#include "models/object_slot.h"

namespace {

// The built list of the object being built, or null when none is.
GrowArray<MeshVertex>* BuildList(Lumenar3D* engine) {
  if (!engine || gBuildObjectIndex < 0 || gBuildObjectIndex >= engine->objects.count) return nullptr;
  ObjectSlot& slot = engine->objects.data[gBuildObjectIndex];
  if (slot.parts.count < 1 || slot.parts.data[0].frames.count < 1) return nullptr;
  return &slot.parts.data[0].frames.data[0].built;
}

}  // namespace

void ObjStartGroup(Lumenar3D* engine, int32_t mode) {
  if (GrowArray<MeshVertex>* built = BuildList(engine))
    GrowArrayAppend(*built, MarkerVertex(MarkerOfMode(mode)));
}

void ObjAddVertex(Lumenar3D* engine, float x, float y, float z, float u, float v,
                  uint32_t colour) {
  GrowArray<MeshVertex>* built = BuildList(engine);
  if (!built) return;
  MeshVertex r{};
  r.x = x;
  r.y = y;
  r.z = z;
  r.u = u;
  r.v = v;
  r.colour = colour;
  SetVertexColour(&r, colour);
  // Appends grow by a quarter at least, so that large objects do not copy
  // their list over and over.
  if (built->count + 1 >= built->capacity && built->count >= built->firstCapacity)
    GrowArrayReserve(*built, built->count + built->count / 4);
  GrowArrayAppend(*built, r);
}

void ObjEnd(Lumenar3D* engine) {
  if (!engine || gBuildObjectIndex < 0) return;
  if (gBuildObjectIndex >= engine->objects.count) {
    gBuildObjectIndex = -1;
    return;
  }
  ObjectSlot& slot = engine->objects.data[gBuildObjectIndex];
  slot.inUse = 1;
  slot.multiPart = 0;
  if (slot.parts.count < 1) {
    gBuildObjectIndex = -1;
    return;
  }
  MeshObjectX& part = slot.parts.data[0];
  if (part.frames.count < 1 || part.frames.data[0].built.count <= 2) {
    FreeMeshObjectGL(&part, false);
    gBuildObjectIndex = -1;
    return;
  }
  ComputeNormalsAndBounds(&part);
  if (engine->frameDecodeMode == 1)
    DecodeFrames(&part, true, false, false);
  else if (engine->frameDecodeMode == 2)
    DecodeFrames(&part, true, true, false);
  part.BuildTriangleArrays();
  ComputeBoundingSpheres(&part);
  gBuildObjectIndex = -1;
}
