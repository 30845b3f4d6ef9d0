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

// The frame's corner positions, three floats a corner, and the number of
// whole triangles among them.
struct Corners {
  const float* p;
  int32_t triangles;
};

Corners FrameCorners(const MeshFrame& f) { return {TrianglePositions(f), f.triangles.count / 3}; }

struct V3 {
  float x, y, z;
};

V3 Load(const float* p) { return {p[0], p[1], p[2]}; }
V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

// Four lanes of f32 and their comparison masks.
typedef float F4 __attribute__((vector_size(16)));
typedef int32_t M4 __attribute__((vector_size(16)));

void KeepNearest(float r, float& bestPositive, float& bestNegative) {
  if (r > 0 && (bestPositive == 0 || r < bestPositive)) bestPositive = r;
  if (r < 0 && (bestNegative == 0 || r > bestNegative)) bestNegative = r;
}

// RayTriangleDistance over every triangle of a corner array, keeping the
// nearest hit in front of p1 and the nearest behind it. Four triangles go
// through the kernel's arithmetic side by side, operation for operation and
// in its order, so every distance is the one the kernel gives; a lane the
// kernel would stop early only computes a few values nobody reads.
void NearestRayHits(const Corners& c, const float p1[3], const float p2[3], float& bestPositive,
                    float& bestNegative) {
  const V3 o = Load(p1);
  const V3 D = Load(p2) - o;
  int32_t k = 0;
  for (; k + 4 <= c.triangles; k += 4) {
    const float* t = c.p + 9 * size_t(k);
    auto lanes = [t](int i) { return F4{t[i], t[i + 9], t[i + 18], t[i + 27]}; };
    F4 ax = lanes(0), ay = lanes(1), az = lanes(2);
    F4 ux = lanes(3) - ax, uy = lanes(4) - ay, uz = lanes(5) - az;
    F4 vx = lanes(6) - ax, vy = lanes(7) - ay, vz = lanes(8) - az;
    F4 nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
    F4 denom = nx * D.x + ny * D.y + nz * D.z;
    F4 r = -(nx * (o.x - ax) + ny * (o.y - ay) + nz * (o.z - az)) / denom;
    F4 wx = (o.x + D.x * r) - ax, wy = (o.y + D.y * r) - ay, wz = (o.z + D.z * r) - az;
    F4 uu = ux * ux + uy * uy + uz * uz, uv = ux * vx + uy * vy + uz * vz;
    F4 vv = vx * vx + vy * vy + vz * vz;
    F4 wu = wx * ux + wy * uy + wz * uz, wv = wx * vx + wy * vy + wz * vz;
    F4 den = uv * uv - uu * vv;
    F4 s = (uv * wv - vv * wu) / den;
    F4 tt = (uv * wu - uu * wv) / den;
    M4 miss = ((nx == 0) & (ny == 0) & (nz == 0)) | (denom == 0) | (s < 0) | (s > 1) | (tt < 0) |
              (s + tt > 1);
    if ((miss[0] & miss[1] & miss[2] & miss[3]) != 0) continue;
    for (int i = 0; i < 4; ++i)
      if (!miss[i]) KeepNearest(r[i], bestPositive, bestNegative);
  }
  for (; k < c.triangles; ++k) {
    const float* t = c.p + 9 * size_t(k);
    KeepNearest(RayTriangleDistance(t, t + 3, t + 6, p1, p2), bestPositive, bestNegative);
  }
}

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
  Corners corners = FrameCorners(*f);
  if (r * r >= DistanceSquared(cObj, corners.p)) return true;
  for (int32_t k = 0; k < corners.triangles; ++k)
    if (SphereHitsTriangle(corners.p + 9 * size_t(k), cObj, 3, r)) return true;
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
  Corners corners = FrameCorners(*f);
  for (int32_t k = 0; k < corners.triangles; ++k) {
    const float* t = corners.p + 9 * size_t(k);
    if (BoxHitsTriangle(cObj, e3[0], e3[1], e3[2], t, t + 3, t + 6)) return true;
  }
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
  NearestRayHits(FrameCorners(*f), oObj, pObj, bestPositive, bestNegative);
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
  Corners corners = FrameCorners(*f);
  for (int32_t k = 0; k < corners.triangles; ++k) {
    const float* t = corners.p + 9 * size_t(k);
    if (ConeHitsTriangle(axis, oObj, cosA, t, t + 3, t + 6)) return 1.0f;
  }
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
