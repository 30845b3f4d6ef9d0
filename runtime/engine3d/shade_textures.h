// Toon shade textures and the per-mesh tables of the shadow volumes.
#pragma once

#include <cstdint>

#include "core/grow_array.h"
#include "models/mesh_object.h"

class Lumenar3D;

// Brightness ramp of toon shading; the 16 default bytes fill it when a
// shade texture is built while it is empty.
extern GrowArray<uint8_t> gShadeRamp;

// Palette rows by ramp columns, built once per mesh.
void BuildShadeTexture(MeshObjectX& mesh);
// Replaces the ramp (count < 1: the single byte 255) and drops every shade
// texture of the object table so the next toon draw follows the new ramp.
void SetShadeRamp(Lumenar3D& e, const uint8_t* bytes, int32_t count);
// For every triangle edge of frame 0, the triangle sharing it.
void BuildEdgeNeighbours(MeshObjectX& mesh);
// Marks the triangles facing the light (a point in object space) and the
// silhouette edges between facing and averted triangles.
void FlagSilhouetteEdges(MeshObjectX& mesh, const MeshVertex* triangles, const float lightPos[3]);
// Whether the triangle, clockwise seen from its front, faces the point.
bool TriangleFacesPoint(const MeshVertex* corners, const float point[3]);
