// Drawing the objects of the engine's table: frame blending, frustum
// culling, vertex arrays (in buffer objects where the driver has them) and
// the three effect-light modes: bump mapping, toon shading with an outline
// and stencil shadow volumes.
#pragma once

#include <cstdint>

#include "core/grow_array.h"

class Lumenar3D;
class MeshObjectX;

// Draws object n (nothing outside the table or when it has no part).
// range = false blends nextFrame over frame by tween; range = true walks
// from frame to nextFrame, tween being the position along the way.
void DrawObject(Lumenar3D& e, uint32_t object, int32_t frame, int32_t nextFrame, float tween,
                bool range);
// Draws one part; textureNames, when given, stands in for the sprite table.
void DrawMeshFrame(Lumenar3D& e, MeshObjectX& mesh, int32_t frame, int32_t nextFrame, float tween,
                   bool range, const GrowArray<uint32_t>* textureNames);
// The frames a draw blends: vertex = B + (A - B) x t, indexes clamped to
// frameCount.
struct FrameChoice {
  int32_t a, b;
  float t;
};
FrameChoice ChooseFrames(int32_t frame, int32_t nextFrame, float tween, bool range,
                         int32_t frameCount);
