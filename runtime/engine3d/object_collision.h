// Collision and picking of one object of the engine's table, placed by the
// current object matrix: sphere, oriented box, ray distance and pick cone.
// Queries are world space; each part moves them into object space once.
#pragma once

#include <cstdint>

class Lumenar3D;
class MeshObjectX;

// True when any part of the object touches the sphere.
bool CollideObjectSphere(Lumenar3D* engine, int32_t object, int32_t frame, float radius, float x,
                         float y, float z);
// True when any part touches the box centre ± axis1 ± axis2 ± axis3 (half
// axes, world space, not necessarily unit or orthogonal).
bool CollideObjectBox(Lumenar3D* engine, int32_t object, int32_t frame, const float centre[3],
                      const float axis1[3], const float axis2[3], const float axis3[3]);
// Distance along the ray to the nearest hit in front of the origin; without
// one, the negative distance of the nearest hit behind it; 0 for no hit.
float RayObjectDistance(Lumenar3D* engine, int32_t object, int32_t frame, float ox, float oy,
                        float oz, float dx, float dy, float dz);
// 1.0 when some part lies inside the cone with apex o, axis d and half-angle
// angleDegrees; else 0.0.
float PickObject(Lumenar3D* engine, int32_t object, int32_t frame, float ox, float oy, float oz,
                 float dx, float dy, float dz, float angleDegrees);

// The same tests for one part. A frame out of range or one with fewer than
// three triangle vertices is no hit. An object outside the table is no hit.
bool CollidePartSphere(Lumenar3D* engine, const MeshObjectX& part, int32_t frame, float radius,
                       float x, float y, float z);
bool CollidePartBox(Lumenar3D* engine, const MeshObjectX& part, int32_t frame, const float centre[3],
                    const float axis1[3], const float axis2[3], const float axis3[3]);
float RayPartDistance(Lumenar3D* engine, const MeshObjectX& part, int32_t frame, float ox, float oy,
                      float oz, float dx, float dy, float dz);
float PickPart(Lumenar3D* engine, const MeshObjectX& part, int32_t frame, float ox, float oy,
               float oz, float dx, float dy, float dz, float angleDegrees);
