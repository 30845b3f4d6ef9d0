// The engine's object table and the slot and part records it holds.
#include <gtest/gtest.h>

#include "engine3d/lumenar3d.h"
#include "models/mesh_object.h"
#include "models/object_slot.h"

namespace {

MeshVertex Vertex(float x, uint32_t colour) {
  MeshVertex v{};
  v.x = x;
  v.colour = colour;
  return v;
}

// Gives a part two frames with vertices, texture coordinates, a palette
// and shadow tables.
void FillPart(MeshObjectX& part, float tag) {
  for (int f = 0; f < 2; ++f) {
    MeshFrame frame;
    for (int i = 0; i < 5; ++i) GrowArrayAppend(frame.packed, PackedVertex{uint8_t(i), 1, 2, 3, 4, 5, 0});
    GrowArrayAppend(frame.built, Vertex(tag, StripMarker));
    for (int i = 0; i < 6; ++i) GrowArrayAppend(frame.triangles, Vertex(tag + i, 0x0000FF));
    frame.offset[0] = tag;
    frame.scale[2] = 2 * tag;
    GrowArrayAppend(part.frames, frame);
  }
  GrowArrayAppend(part.drawVertices, Vertex(tag, 0xFF00));
  GrowArrayAppend(part.texU, tag);
  GrowArrayAppend(part.texV, -tag);
  GrowArrayAppend(part.palette, 0x123456u);
  GrowArrayAppend(part.shadowEdges, EdgeNeighbour{7, 1});
  GrowArrayAppend(part.shadowFacing, uint8_t(1));
  part.normalsReady = 1;
  part.hasVertexColours = 1;
  part.paletteTexelScale = 0.25f;
}

// A slot holding a finished two-part object (no GL names: no context here).
void FillSlot(ObjectSlot& slot) {
  ReserveObjectSlots(slot.parts, 2);
  slot.parts.count = 2;
  FillPart(slot.parts.data[0], 1);
  FillPart(slot.parts.data[1], 2);
  slot.inUse = 1;
  slot.multiPart = 1;
}

template <typename T>
void ExpectReleased(const GrowArray<T>& a) {
  EXPECT_EQ(a.data, nullptr);
  EXPECT_EQ(a.count, 0);
  EXPECT_EQ(a.capacity, 0);
  EXPECT_EQ(a.growStep, 128);
  EXPECT_EQ(a.firstCapacity, 512);
}

TEST(EngineObject, TableHoldsEmptySlotsAndIsReleased) {
  OpenGLLumenar* renderer = reinterpret_cast<OpenGLLumenar*>(0x1000);  // stored, not used
  Lumenar3D* e = new Lumenar3D(renderer);
  EXPECT_EQ(e->objects.count, 4096);
  EXPECT_EQ(e->objects.capacity, 4224);
  for (int i = 0; i < e->objects.capacity; ++i) {
    const ObjectSlot& s = e->objects.data[i];
    ASSERT_EQ(s.inUse, 0) << i;
    ASSERT_EQ(s.multiPart, 0) << i;
    ASSERT_EQ(s.parts.data, nullptr) << i;
    ASSERT_EQ(s.parts.count, 0) << i;
    ASSERT_EQ(s.textures.data, nullptr) << i;
    ASSERT_EQ(s.textures.count, 0) << i;
    ASSERT_EQ(s.parts.growStep, 128);
    ASSERT_EQ(s.textures.firstCapacity, 512);
  }
  EXPECT_EQ(e->renderer, renderer);
  EXPECT_EQ(e->shadowPass, 0);
  EXPECT_EQ(e->transformIndex, 0);
  EXPECT_EQ(e->frameDecodeMode, 2);
  EXPECT_EQ(e->currentShader, kNoShader);
  for (const ShaderSlot& s : e->shaders) EXPECT_EQ(s.program | s.vertexShader | s.fragmentShader, 0u);

  // Objects in the first, a middle and the last slot of the block: the
  // engine's destruction releases them (a leak fails under the sanitiser).
  FillSlot(e->objects.data[0]);
  FillSlot(e->objects.data[2000]);
  FillSlot(e->objects.data[4223]);
  delete e;
}

TEST(ObjectSlot, ClearWithStorageReleasesEverything) {
  ObjectSlot slot;
  FillSlot(slot);
  ASSERT_EQ(slot.parts.capacity, 512);
  ClearObjectSlot(&slot, true);
  EXPECT_EQ(slot.inUse, 0);
  EXPECT_EQ(slot.multiPart, 0);
  ExpectReleased(slot.parts);
  ExpectReleased(slot.textures);
  ClearObjectSlot(&slot, true);  // an empty slot clears again without harm
  ExpectReleased(slot.parts);
}

TEST(ObjectSlot, ClearKeepingStorageEmptiesPartsForRebuild) {
  ObjectSlot slot;
  FillSlot(slot);
  MeshObjectX* block = slot.parts.data;
  MeshFrame* frames = block[0].frames.data;
  ClearObjectSlot(&slot, false);
  EXPECT_EQ(slot.inUse, 0);
  EXPECT_EQ(slot.multiPart, 0);
  EXPECT_EQ(slot.parts.count, 0);
  EXPECT_EQ(slot.parts.data, block);
  EXPECT_EQ(slot.parts.capacity, 512);
  const MeshObjectX& p = block[0];
  EXPECT_EQ(p.frames.count, 0);
  EXPECT_EQ(p.frames.data, frames);
  EXPECT_EQ(frames[0].packed.count, 0);
  EXPECT_EQ(frames[1].triangles.count, 0);
  EXPECT_NE(frames[0].packed.data, nullptr);
  EXPECT_EQ(p.texU.count + p.texV.count + p.palette.count + p.drawVertices.count, 0);
  EXPECT_EQ(p.shadowEdges.count + p.shadowFacing.count, 0);
  EXPECT_NE(p.shadowEdges.data, nullptr);
  EXPECT_EQ(p.normalsReady, 0u);

  // A rebuild reuses the kept storage.
  ReserveObjectSlots(slot.parts, 1);
  EXPECT_EQ(slot.parts.data, block);
  slot.parts.count = 1;
  MeshFrame empty;
  GrowArrayAppend(slot.parts.data[0].frames, empty);
  EXPECT_EQ(slot.parts.data[0].frames.data, frames);
  EXPECT_EQ(slot.parts.data[0].frames.count, 1);
}

TEST(ObjectSlot, MoveHandsOwnershipOver) {
  ObjectSlot a;
  FillSlot(a);
  MeshObjectX* block = a.parts.data;
  ObjectSlot b(std::move(a));
  EXPECT_EQ(b.parts.data, block);
  EXPECT_EQ(b.parts.count, 2);
  EXPECT_EQ(b.inUse, 1);
  EXPECT_EQ(a.parts.data, nullptr);
  EXPECT_EQ(a.inUse, 0);
  ObjectSlot c;
  FillSlot(c);
  c = std::move(b);  // c's own object is released first
  EXPECT_EQ(c.parts.data, block);
}

TEST(ObjectSlot, ReserveFollowsGrowthRuleAndKeepsParts) {
  GrowArray<MeshObjectX> list;
  ReserveObjectSlots(list, 1);
  EXPECT_EQ(list.capacity, 512);
  MeshObjectX* block = list.data;
  ReserveObjectSlots(list, 511);
  EXPECT_EQ(list.data, block);

  list.count = 2;
  FillPart(list.data[0], 3);
  FillPart(list.data[1], 4);
  list.data[1].vertexBufferA = 11;
  list.data[1].paletteTexture = 12;
  list.data[1].textureUnit1 = 5;
  ReserveObjectSlots(list, 512);  // n equal to the capacity takes a fresh block
  EXPECT_NE(list.data, block);
  EXPECT_EQ(list.capacity, 512);
  ReserveObjectSlots(list, 600);
  EXPECT_EQ(list.capacity, 640);
  EXPECT_EQ(list.count, 2);
  const MeshObjectX& p = list.data[1];
  ASSERT_EQ(p.frames.count, 2);
  EXPECT_EQ(p.frames.data[1].packed.count, 5);
  EXPECT_EQ(p.frames.data[1].triangles.count, 6);
  EXPECT_FLOAT_EQ(p.frames.data[1].triangles.data[5].x, 9);
  EXPECT_FLOAT_EQ(p.frames.data[0].offset[0], 4);
  EXPECT_FLOAT_EQ(p.frames.data[0].scale[2], 8);
  EXPECT_FLOAT_EQ(p.texV.data[0], -4);
  EXPECT_EQ(p.palette.data[0], 0x123456u);
  EXPECT_EQ(p.shadowEdges.data[0].neighbour, 7u);
  EXPECT_EQ(p.normalsReady, 1u);
  EXPECT_FLOAT_EQ(p.paletteTexelScale, 0.25f);
  EXPECT_EQ(p.vertexBufferA, 11u);  // handed over, not deleted
  EXPECT_EQ(p.paletteTexture, 12u);
  EXPECT_EQ(p.textureUnit1, 5);
  list.data[1].vertexBufferA = list.data[1].paletteTexture = 0;  // fake names: no GL here
  GrowArrayClear(list);
}

TEST(MeshObject, FreeMeshObjectGLWithoutBufferEntryPointsZeroesNames) {
  MeshObjectX part;
  FillPart(part, 1);
  part.vertexBufferA = 3;
  part.vertexBufferB = 4;
  FreeMeshObjectGL(&part, true);
  EXPECT_EQ(part.vertexBufferA, 0u);
  EXPECT_EQ(part.vertexBufferB, 0u);
  ExpectReleased(part.frames);
  ExpectReleased(part.texU);
  ExpectReleased(part.shadowEdges);
  ExpectReleased(part.shadowFacing);
  EXPECT_EQ(part.normalsReady, 0u);
}

TEST(MeshObject, CopyFrameCopiesArraysOffsetAndScaleOnly) {
  MeshFrame source, dest;
  for (int i = 0; i < 10; ++i) GrowArrayAppend(source.packed, PackedVertex{uint8_t(i), 0, 0, 0, 0, 0, 0});
  for (int i = 0; i < 30; ++i) GrowArrayAppend(source.triangles, Vertex(float(i), 0));
  for (int i = 0; i < 50; ++i) GrowArrayAppend(dest.packed, PackedVertex{99, 0, 0, 0, 0, 0, 0});
  GrowArrayAppend(dest.built, Vertex(1, 0));
  source.offset[1] = 3;
  source.scale[0] = 0.5f;
  source.radius = 9;
  dest.radius = 7;
  dest.centre[2] = 6;
  EXPECT_EQ(CopyFrame(&dest, &source), &dest);
  EXPECT_EQ(dest.packed.count, 10);
  EXPECT_EQ(dest.built.count, 0);
  EXPECT_EQ(dest.triangles.count, 30);
  EXPECT_EQ(dest.packed.data[9].x, 9);
  EXPECT_FLOAT_EQ(dest.triangles.data[29].x, 29);
  EXPECT_FLOAT_EQ(dest.offset[1], 3);
  EXPECT_FLOAT_EQ(dest.scale[0], 0.5f);
  EXPECT_FLOAT_EQ(dest.radius, 7);
  EXPECT_FLOAT_EQ(dest.centre[2], 6);
}

TEST(MeshObject, FreeMeshArraysKeepingStorageReusesFrames) {
  MeshObjectX mesh;
  FillPart(mesh, 1);
  MeshFrame third;
  GrowArrayAppend(mesh.frames, third);
  ASSERT_EQ(mesh.frames.count, 3);
  MeshFrame* frames = mesh.frames.data;
  FreeMeshArrays(&mesh, false);
  EXPECT_EQ(mesh.frames.count, 0);
  EXPECT_EQ(mesh.frames.data, frames);
  EXPECT_EQ(mesh.normalsReady, 0u);
  GrowArrayAppend(mesh.frames, third);
  EXPECT_EQ(mesh.frames.data, frames);
  EXPECT_EQ(mesh.frames.data[0].packed.count, 0);
}

}  // namespace
