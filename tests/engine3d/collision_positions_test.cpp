// Collision and picking read a compact copy of each frame's corner
// positions: the ray loop over it, four triangles at a time, gives
// RayTriangleDistance's distances bit for bit, and the copy follows the
// triangles when they are rebuilt.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "engine3d/collision_geometry.h"
#include "engine3d/object_collision.h"
#include "models/mesh_object.h"

namespace {

// A part of `total` triangles: v at position `at`, every other one a point
// (degenerate, never hit).
void SetTriangles(MeshObjectX& part, const float v[9], int at, int total) {
  FreeMeshObjectGL(&part, true);
  MeshFrame frame;
  for (int k = 0; k < total; ++k)
    for (int c = 0; c < 3; ++c) {
      MeshVertex m{};
      m.x = k == at ? v[3 * c] : 100.0f + float(k);
      m.y = k == at ? v[3 * c + 1] : 0.0f;
      m.z = k == at ? v[3 * c + 2] : 0.0f;
      GrowArrayAppend(frame.triangles, m);
    }
  GrowArrayAppend(part.frames, frame);
  part.frames.data[0].radius = 1e30f;
}

// The kernel's answer for the ray as RayPartDistance forms it (no engine:
// object space is world space).
float KernelDistance(const float v[9], const float o[3], const float d[3]) {
  float sq = d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
  float s = sq > 1e-7f ? 1.0f / float(std::sqrt(sq)) : 1.0f;
  float p[3] = {o[0] + d[0] * s, o[1] + d[1] * s, o[2] + d[2] * s};
  float t = RayTriangleDistance(v, v + 3, v + 6, o, p);
  return t > 0 || t < 0 ? t : 0.0f;  // a hit at the origin (even -0) is none
}

uint32_t Bits(float f) {
  uint32_t b;
  std::memcpy(&b, &f, 4);
  return b;
}

TEST(CollisionPositions, RayDistancesAreTheKernelsBitForBit) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<float> any(-4, 4);
  MeshObjectX part;
  int hits = 0, edges = 0;
  for (int i = 0; i < 20000; ++i) {
    float v[9], o[3], d[3];
    if (i % 2) {
      // Corners and rays on a coarse grid: rays through edges and corners.
      for (float& x : v) x = float(int(rng() % 9) - 4) * 0.5f;
      for (float& x : o) x = float(int(rng() % 9) - 4) * 0.5f;
      for (float& x : d) x = float(int(rng() % 5) - 2);
    } else {
      for (float& x : v) x = any(rng);
      for (float& x : o) x = any(rng);
      for (float& x : d) x = any(rng);
      if (i % 10 == 0) v[6] = v[0], v[7] = v[1], v[8] = v[2];  // degenerate
    }
    // Each position of a run of four and the single ones after it.
    SetTriangles(part, v, i % 6, 6);
    float expected = KernelDistance(v, o, d);
    float got = RayPartDistance(nullptr, part, 0, o[0], o[1], o[2], d[0], d[1], d[2]);
    ASSERT_EQ(Bits(got), Bits(expected)) << "case " << i;
    hits += expected != 0;
    edges += i % 2 && expected != 0;
  }
  EXPECT_GT(hits, 1000);
  EXPECT_GT(edges, 300) << hits;
}

TEST(CollisionPositions, CopyFollowsRebuiltTriangles) {
  MeshObjectX part;
  // One packed triangle in the plane z = 2 over x, y in [0, 2].
  GrowArrayAppend(part.palette, 0x00FFFFFFu);
  MeshFrame frame;
  for (const PackedVertex& p : {PackedVertex{0, 0, 2, 0, 0, 0, 0}, PackedVertex{2, 0, 2, 0, 0, 0, 0},
                                PackedVertex{0, 2, 2, 0, 0, 0, 0}})
    GrowArrayAppend(frame.packed, p);
  for (int a = 0; a < 3; ++a) frame.scale[a] = 1;
  GrowArrayAppend(part.frames, frame);
  part.BuildTriangleArrays();
  part.frames.data[0].radius = 100;
  EXPECT_FLOAT_EQ(RayPartDistance(nullptr, part, 0, 0.5f, 0.5f, 0, 0, 0, 1), 2);
  // Repacked at z = 5: the same storage, new positions.
  for (int i = 0; i < 3; ++i) part.frames.data[0].packed.data[i].z = 5;
  part.BuildTriangleArrays();
  EXPECT_FLOAT_EQ(RayPartDistance(nullptr, part, 0, 0.5f, 0.5f, 0, 0, 0, 1), 5);
  EXPECT_TRUE(CollidePartSphere(nullptr, part, 0, 0.5f, 0.5f, 0.5f, 5.2f));
  EXPECT_FALSE(CollidePartSphere(nullptr, part, 0, 0.5f, 0.5f, 0.5f, 2.2f));
  // A copied part answers from its own triangles.
  MeshObjectX copy;
  copy = part;
  copy.frames.data[0].radius = 100;
  for (int i = 0; i < 3; ++i) copy.frames.data[0].triangles.data[i].z = 7;
  EXPECT_FLOAT_EQ(RayPartDistance(nullptr, copy, 0, 0.5f, 0.5f, 0, 0, 0, 1), 7);
  EXPECT_FLOAT_EQ(RayPartDistance(nullptr, part, 0, 0.5f, 0.5f, 0, 0, 0, 1), 5);
}

}  // namespace
