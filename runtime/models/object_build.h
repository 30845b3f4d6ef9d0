// Building an object vertex by vertex in the slot that ObjStart prepared
// (object_slot.h): runs of triangles, vertices, and the finish that packs
// them and makes the object drawable.
#pragma once

#include <cstdint>

class Lumenar3D;

// Opens a run: mode 0 list, 2 fan, 1 and every other value strip.
void ObjStartGroup(Lumenar3D* engine, int32_t mode);

// Appends a vertex; colour 0x00BBGGRR, or a run marker to open a run.
void ObjAddVertex(Lumenar3D* engine, float x, float y, float z, float u, float v,
                  uint32_t colour);

// Finishes the object: packs it, computes normals by the engine's
// frameDecodeMode, builds the triangle lists and bounding spheres. The slot
// is in use afterwards (with an empty part when too few records were added).
void ObjEnd(Lumenar3D* engine);
