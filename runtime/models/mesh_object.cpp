#include "models/mesh_object.h"

#include <GL/gl.h>

#include "frame/gl_entry_points.h"

namespace {

// Empties an array; with freeStorage its block is released as well.
template <typename T>
void EmptyArray(GrowArray<T>& a, bool freeStorage) {
  if (freeStorage)
    GrowArrayClear(a);
  else
    a.count = 0;
}

// Makes dst hold copies of src's counted elements, growing dst by the
// GrowArray rule when its block is too small.
template <typename T>
void CopyGrowArray(GrowArray<T>& dst, const GrowArray<T>& src) {
  if (&dst == &src) return;
  dst.count = 0;
  if (src.count > 0) GrowArrayReserve(dst, src.count);
  for (int32_t i = 0; i < src.count; ++i) dst.data[i] = src.data[i];
  dst.count = src.count;
}

}  // namespace

MeshFrame& MeshFrame::operator=(const MeshFrame& source) {
  CopyFrame(this, &source);
  return *this;
}

MeshFrame::~MeshFrame() { FreeFrameArrays(this); }

void InitFrameRecord(MeshFrame* frame) {
  if (!frame) return;
  frame->packed.count = 0;
  frame->built.count = 0;
  frame->triangles.count = 0;
  frame->positions.count = 0;
}

void FreeFrameArrays(MeshFrame* frame) {
  if (!frame) return;
  GrowArrayClear(frame->triangles);
  GrowArrayClear(frame->built);
  GrowArrayClear(frame->packed);
  GrowArrayClear(frame->positions);
}

MeshFrame* CopyFrame(MeshFrame* destination, const MeshFrame* source) {
  if (!destination || !source || destination == source) return destination;
  CopyGrowArray(destination->packed, source->packed);
  CopyGrowArray(destination->built, source->built);
  CopyGrowArray(destination->triangles, source->triangles);
  destination->positions.count = 0;
  for (int a = 0; a < 3; ++a) {
    destination->offset[a] = source->offset[a];
    destination->scale[a] = source->scale[a];
  }
  return destination;
}

MeshObject::~MeshObject() { FreeMeshArrays(this, true); }

void FreeMeshArrays(MeshObject* mesh, bool freeStorage) {
  if (!mesh) return;
  EmptyArray(mesh->texU, freeStorage);
  EmptyArray(mesh->texV, freeStorage);
  EmptyArray(mesh->palette, freeStorage);
  EmptyArray(mesh->drawVertices, freeStorage);
  for (int32_t i = 0; i < mesh->frames.count; ++i) {
    MeshFrame& f = mesh->frames.data[i];
    EmptyArray(f.built, freeStorage);
    EmptyArray(f.packed, freeStorage);
    EmptyArray(f.triangles, freeStorage);
    EmptyArray(f.positions, freeStorage);
  }
  // Destroying the frame block also releases the arrays of frames beyond
  // the count.
  EmptyArray(mesh->frames, freeStorage);
  mesh->normalsReady = 0;
}

void FreeMeshObjectGL(MeshObjectX* part, bool freeStorage) {
  if (!part) return;
  FreeMeshArrays(part, freeStorage);
  EmptyArray(part->shadowEdges, freeStorage);
  EmptyArray(part->shadowFacing, freeStorage);
  if (pglDeleteBuffersARB) {
    if (part->vertexBufferA) pglDeleteBuffersARB(1, &part->vertexBufferA);
    if (part->vertexBufferB) pglDeleteBuffersARB(1, &part->vertexBufferB);
  }
  if (part->paletteTexture) {
    glDeleteTextures(1, &part->paletteTexture);
    part->paletteTexture = 0;
  }
  part->vertexBufferA = 0;
  part->vertexBufferB = 0;
}

MeshObjectX::~MeshObjectX() {
  FreeMeshObjectGL(this, true);
  GrowArrayClear(shadowFacing);
  GrowArrayClear(shadowEdges);
}

MeshObjectX& MeshObjectX::operator=(const MeshObjectX& source) {
  if (this == &source) return *this;
  CopyGrowArray(frames, source.frames);
  CopyGrowArray(drawVertices, source.drawVertices);
  CopyGrowArray(texU, source.texU);
  CopyGrowArray(texV, source.texV);
  CopyGrowArray(palette, source.palette);
  CopyGrowArray(shadowEdges, source.shadowEdges);
  CopyGrowArray(shadowFacing, source.shadowFacing);
  normalsReady = source.normalsReady;
  hasVertexColours = source.hasVertexColours;
  vertexBufferA = source.vertexBufferA;
  vertexBufferB = source.vertexBufferB;
  paletteTexture = source.paletteTexture;
  paletteTexelScale = source.paletteTexelScale;
  textureUnit1 = source.textureUnit1;
  textureUnit2 = source.textureUnit2;
  return *this;
}
