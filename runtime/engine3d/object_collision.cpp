#include "engine3d/object_collision.h"

#include <cmath>
#include <cstring>

#include "engine3d/camera.h"
#include "engine3d/collision_geometry.h"
#include "engine3d/lumenar3d.h"
#include "models/mesh_object.h"
#include "models/object_slot.h"

namespace {

// World to object space for an orthonormal object matrix: the transposed
// rotation applied to the point less the translation.
struct WorldToObject {
  float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  explicit WorldToObject(Lumenar3D* e) {
    if (e) std::memcpy(m, CurrentModelMatrix(e), sizeof m);
  }
  void Point(const float p[3], float out[3]) const {
    float d[3] = {p[0] - m[12], p[1] - m[13], p[2] - m[14]};
    for (int k = 0; k < 3; ++k) out[k] = m[k * 4] * d[0] + m[k * 4 + 1] * d[1] + m[k * 4 + 2] * d[2];
  }
};

float Dot3(const float a[3], const float b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

float DistanceSquared(const float a[3], const float b[3]) {
  float d[3] = {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
  return Dot3(d, d);
}

// The frame to test, or null when it is out of range or has no triangle.
const MeshFrame* TestFrame(const MeshObjectX& part, int32_t frame) {
  if (frame < 0 || frame >= part.frames.count || !part.frames.data) return nullptr;
  const MeshFrame& f = part.frames.data[frame];
  if (f.triangles.count < 3 || !f.triangles.data) return nullptr;
  return &f;
}

const float* Position(const MeshFrame& f, int32_t i) { return &f.triangles.data[i].x; }

// Object slot of a number, or null outside the table.
const ObjectSlot* Slot(const Lumenar3D* e, int32_t object) {
  if (!e || object < 0 || object >= kObjectCount || object >= e->objects.count) return nullptr;
  return &e->objects.data[object];
}

// Unit direction when long enough, else the direction as given.
void UnitOrAsIs(float dx, float dy, float dz, float u[3]) {
  float sq = dx * dx + dy * dy + dz * dz;
  float s = sq > 1e-7f ? 1.0f / float(std::sqrt(sq)) : 1.0f;
  u[0] = dx * s;
  u[1] = dy * s;
  u[2] = dz * s;
}

}  // namespace

bool CollidePartSphere(Lumenar3D* e, const MeshObjectX& part, int32_t frame, float r, float x,
                       float y, float z) {
  const MeshFrame* f = TestFrame(part, frame);
  if (!f) return false;
  WorldToObject toObject(e);
  float c[3] = {x, y, z}, cObj[3];
  toObject.Point(c, cObj);
  float reach = r + f->radius;
  if (reach * reach < DistanceSquared(cObj, f->centre)) return false;
  if (r * r >= DistanceSquared(cObj, Position(*f, 0))) return true;
  int32_t n = f->triangles.count - f->triangles.count % 3;
  for (int32_t k = 0; k < n; k += 3) {
    float tri[9];
    for (int v = 0; v < 3; ++v)
      for (int a = 0; a < 3; ++a) tri[v * 3 + a] = Position(*f, k + v)[a];
    if (SphereHitsTriangle(tri, cObj, 3, r)) return true;
  }
  return false;
}

bool CollidePartBox(Lumenar3D* e, const MeshObjectX& part, int32_t frame, const float c[3],
                    const float a1[3], const float a2[3], const float a3[3]) {
  const MeshFrame* f = TestFrame(part, frame);
  if (!f) return false;
  WorldToObject toObject(e);
  float cObj[3];
  toObject.Point(c, cObj);
  // Reject only when the box's circumscribed sphere misses the bounding
  // sphere: the farthest corner lies at the longest of the four diagonals.
  float corner = 0;
  for (int s = 0; s < 4; ++s) {
    float s2 = (s & 1) ? -1.0f : 1.0f, s3 = (s & 2) ? -1.0f : 1.0f;
    float d[3];
    for (int k = 0; k < 3; ++k) d[k] = a1[k] + s2 * a2[k] + s3 * a3[k];
    corner = std::fmax(corner, Dot3(d, d));
  }
  float reach = float(std::sqrt(corner)) + f->radius;
  if (DistanceSquared(cObj, f->centre) > reach * reach) return false;
  float e3[3][3];
  const float* axes[3] = {a1, a2, a3};
  for (int k = 0; k < 3; ++k) {
    float end[3] = {c[0] + axes[k][0], c[1] + axes[k][1], c[2] + axes[k][2]}, endObj[3];
    toObject.Point(end, endObj);
    for (int a = 0; a < 3; ++a) e3[k][a] = endObj[a] - cObj[a];
  }
  int32_t n = f->triangles.count - f->triangles.count % 3;
  for (int32_t k = 0; k < n; k += 3)
    if (BoxHitsTriangle(cObj, e3[0], e3[1], e3[2], Position(*f, k), Position(*f, k + 1),
                        Position(*f, k + 2)))
      return true;
  return false;
}

float RayPartDistance(Lumenar3D* e, const MeshObjectX& part, int32_t frame, float ox, float oy,
                      float oz, float dx, float dy, float dz) {
  const MeshFrame* f = TestFrame(part, frame);
  if (!f) return 0;
  float u[3];
  UnitOrAsIs(dx, dy, dz, u);
  float o[3] = {ox, oy, oz}, p[3] = {ox + u[0], oy + u[1], oz + u[2]};
  WorldToObject toObject(e);
  float oObj[3], pObj[3];
  toObject.Point(o, oObj);
  toObject.Point(p, pObj);
  float bestPositive = 0, bestNegative = 0;
  int32_t n = f->triangles.count - f->triangles.count % 3;
  for (int32_t k = 0; k < n; k += 3) {
    float t = RayTriangleDistance(Position(*f, k), Position(*f, k + 1), Position(*f, k + 2), oObj,
                                  pObj);
    if (t > 0 && (bestPositive == 0 || t < bestPositive)) bestPositive = t;
    if (t < 0 && (bestNegative == 0 || t > bestNegative)) bestNegative = t;
  }
  return bestPositive != 0 ? bestPositive : bestNegative;
}

float PickPart(Lumenar3D* e, const MeshObjectX& part, int32_t frame, float ox, float oy, float oz,
               float dx, float dy, float dz, float angleDegrees) {
  const MeshFrame* f = TestFrame(part, frame);
  if (!f) return 0;
  float angle = angleDegrees * 0.017453292f;
  float cosA = float(std::cos(angle));
  float sinA = float(std::fabs(std::sin(angle)));
  float u[3];
  UnitOrAsIs(dx, dy, dz, u);
  float o[3] = {ox, oy, oz}, p[3] = {ox + u[0], oy + u[1], oz + u[2]};
  WorldToObject toObject(e);
  float oObj[3], pObj[3], axis[3];
  toObject.Point(o, oObj);
  toObject.Point(p, pObj);
  for (int k = 0; k < 3; ++k) axis[k] = pObj[k] - oObj[k];
  // Reject when the bounding sphere lies wholly outside the cone: its centre
  // is farther than R from the cone, measured to the side line when the
  // closest point lies on it, else to the apex.
  float axisSq = Dot3(axis, axis);
  if (cosA > 1e-6f && std::fabs(axisSq - 1.0f) < 1e-3f) {
    float w[3] = {f->centre[0] - oObj[0], f->centre[1] - oObj[1], f->centre[2] - oObj[2]};
    float s = Dot3(axis, w);
    float perp = float(std::sqrt(std::fmax(0.0f, Dot3(w, w) - s * s)));
    float along = s * cosA + perp * sinA;
    float distance = along >= 0 ? perp * cosA - s * sinA : float(std::sqrt(Dot3(w, w)));
    if (distance > f->radius) return 0;
  }
  int32_t n = f->triangles.count - f->triangles.count % 3;
  for (int32_t k = 0; k < n; k += 3)
    if (ConeHitsTriangle(axis, oObj, cosA, Position(*f, k), Position(*f, k + 1), Position(*f, k + 2)))
      return 1.0f;
  return 0;
}

bool CollideObjectSphere(Lumenar3D* e, int32_t object, int32_t frame, float radius, float x, float y,
                         float z) {
  const ObjectSlot* slot = Slot(e, object);
  if (!slot) return false;
  for (int32_t i = 0; i < slot->parts.count; ++i)
    if (CollidePartSphere(e, slot->parts.data[i], frame, radius, x, y, z)) return true;
  return false;
}

bool CollideObjectBox(Lumenar3D* e, int32_t object, int32_t frame, const float centre[3],
                      const float axis1[3], const float axis2[3], const float axis3[3]) {
  const ObjectSlot* slot = Slot(e, object);
  if (!slot) return false;
  for (int32_t i = 0; i < slot->parts.count; ++i)
    if (CollidePartBox(e, slot->parts.data[i], frame, centre, axis1, axis2, axis3)) return true;
  return false;
}

float RayObjectDistance(Lumenar3D* e, int32_t object, int32_t frame, float ox, float oy, float oz,
                        float dx, float dy, float dz) {
  const ObjectSlot* slot = Slot(e, object);
  if (!slot) return 0;
  float bestPositive = 0, bestNegative = 0;
  for (int32_t i = 0; i < slot->parts.count; ++i) {
    float t = RayPartDistance(e, slot->parts.data[i], frame, ox, oy, oz, dx, dy, dz);
    if (t > 0 && (bestPositive == 0 || t < bestPositive)) bestPositive = t;
    if (t < 0 && (bestNegative == 0 || t > bestNegative)) bestNegative = t;
  }
  return bestPositive != 0 ? bestPositive : bestNegative;
}

float PickObject(Lumenar3D* e, int32_t object, int32_t frame, float ox, float oy, float oz, float dx,
                 float dy, float dz, float angleDegrees) {
  const ObjectSlot* slot = Slot(e, object);
  if (!slot) return 0;
  for (int32_t i = 0; i < slot->parts.count; ++i)
    if (PickPart(e, slot->parts.data[i], frame, ox, oy, oz, dx, dy, dz, angleDegrees) != 0)
      return 1.0f;
  return 0;
}
