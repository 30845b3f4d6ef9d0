// Derived data of a mesh: packing the built vertices into 8-bit form,
// smooth vertex normals (and tangent directions) and bounding spheres.
#pragma once

#include "models/mesh_object.h"

// Packs every frame's built list into packed records: per-axis quantisation,
// palette look-up (colours are added as needed), normal indexes and, from
// frame 0, the texture coordinates. Empties the built lists; normalsReady 0.
// A palette is addressed through its first 256 entries: once those are
// taken, a further colour takes the nearest one already there.
void ComputeNormalsAndBounds(MeshObject* mesh);

// Smooth normals (while normalsReady is 0) and tangent directions (while
// frame 0's first vertex has none) from the triangles of the packed
// vertices, then rebuilds the triangle lists. mergeByPosition shares sums
// between vertices with equal packed positions. Each frame sums its own
// triangles.
void DecodeFrames(MeshObject* mesh, bool computeNormals, bool mergeByPosition,
                  bool computeTangents);

// Centre (mean of the triangle corners) and radius of every frame.
void ComputeBoundingSpheres(MeshObject* mesh);
