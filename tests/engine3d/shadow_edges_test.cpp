// The shadow edge table built through hash tables against the table of the
// all-pairs scan it replaces, on closed, open, split, non-manifold and
// near-coincident meshes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "engine3d/lumenar3d.h"
#include "engine3d/shade_textures.h"
#include "models/mesh_object.h"
#include "models/object_build.h"
#include "models/object_slot.h"

namespace {

// The former build: every corner searches all packed vertices for its key,
// every open edge scans every edge of every later triangle, and a later
// match overwrites an earlier one.
std::vector<uint32_t> AllPairsTable(const MeshObjectX& mesh) {
  const MeshFrame& f = mesh.frames.data[0];
  int32_t triangles = f.triangles.count / 3;
  std::vector<uint32_t> edges(size_t(3 * triangles), kNoNeighbour);
  std::vector<uint32_t> key(size_t(3 * triangles), kNoNeighbour);
  for (int32_t i = 0; i < 3 * triangles; ++i) {
    const MeshVertex& v = f.triangles.data[i];
    for (int32_t p = 0; p < f.packed.count; ++p) {
      const PackedVertex& q = f.packed.data[p];
      float x = (float(q.x) - f.offset[0]) * f.scale[0];
      float y = (float(q.y) - f.offset[1]) * f.scale[1];
      float z = (float(q.z) - f.offset[2]) * f.scale[2];
      if (std::abs(x - v.x) < 1e-5f && std::abs(y - v.y) < 1e-5f && std::abs(z - v.z) < 1e-5f) {
        key[size_t(i)] = uint32_t(p);
        break;
      }
    }
  }
  for (int32_t a = 0; a + 1 < triangles; ++a)
    for (int k = 0; k < 3; ++k) {
      if (edges[size_t(a * 3 + k)] != kNoNeighbour) continue;
      uint32_t k0 = key[size_t(a * 3 + k)], k1 = key[size_t(a * 3 + (k + 1) % 3)];
      for (int32_t b = a + 1; b < triangles; ++b)
        for (int j = 0; j < 3; ++j) {
          uint32_t j0 = key[size_t(b * 3 + j)], j1 = key[size_t(b * 3 + (j + 1) % 3)];
          if ((j0 == k0 && j1 == k1) || (j0 == k1 && j1 == k0)) {
            edges[size_t(a * 3 + k)] = uint32_t(b);
            edges[size_t(b * 3 + j)] = uint32_t(a);
          }
        }
    }
  return edges;
}

std::vector<uint32_t> HashedTable(MeshObjectX& mesh) {
  GrowArrayClear(mesh.shadowEdges);
  BuildEdgeNeighbours(mesh);
  std::vector<uint32_t> edges;
  for (int32_t i = 0; i < mesh.shadowEdges.count; ++i) {
    EXPECT_EQ(mesh.shadowEdges.data[i].silhouette, 0);
    edges.push_back(mesh.shadowEdges.data[i].neighbour);
  }
  return edges;
}

// Palette of the hand-made meshes: colour index 0 is white, 1 to 3 open
// list, strip and fan runs.
constexpr uint8_t kWhite = 0, kList = 1, kStrip = 2, kFan = 3;

struct Packed {
  uint8_t x, y, z, colour;
};

// A one-frame part from packed records, its triangles walked as drawing
// walks them.
void MakePart(MeshObjectX& part, const std::vector<Packed>& records, float scale, float offset = 0) {
  FreeMeshObjectGL(&part, true);
  for (uint32_t c : {0x00FFFFFFu, ListMarker, StripMarker, FanMarker}) GrowArrayAppend(part.palette, c);
  MeshFrame frame;
  for (const Packed& r : records) GrowArrayAppend(frame.packed, PackedVertex{r.x, r.y, r.z, 0, 0, 0, r.colour});
  for (int a = 0; a < 3; ++a) {
    frame.scale[a] = scale;
    frame.offset[a] = offset;
  }
  GrowArrayAppend(part.frames, frame);
  part.BuildTriangleArrays();
}

TEST(ShadowEdges, ClosedSphereMatchesTheAllPairsScan) {
  Lumenar3D e(nullptr);
  e.frameDecodeMode = 0;
  ObjStart(&e, 0, 0);
  const int rings = 8, segments = 10;
  auto point = [&](int i, int j, float* p) {
    float t = 3.14159265f * float(i) / rings, f = 6.2831853f * float(j % segments) / segments;
    p[0] = std::sin(t) * std::cos(f);
    p[1] = std::cos(t);
    p[2] = std::sin(t) * std::sin(f);
  };
  for (int i = 0; i < rings; ++i)
    for (int j = 0; j < segments; ++j) {
      float a[3], b[3], c[3], d[3];
      point(i, j, a);
      point(i + 1, j, b);
      point(i + 1, j + 1, c);
      point(i, j + 1, d);
      for (const float* v : {a, b, c, a, c, d}) ObjAddVertex(&e, v[0], v[1], v[2], 0, 0, 0xFFFFFF);
    }
  ObjEnd(&e);
  MeshObjectX& part = e.objects.data[0].parts.data[0];
  ASSERT_EQ(part.frames.data[0].triangles.count, 3 * rings * segments * 2);
  std::vector<uint32_t> table = HashedTable(part);
  EXPECT_EQ(table, AllPairsTable(part));
  // The poles fold their triangles flat; away from them every edge of a
  // closed sphere is shared.
  int shared = 0;
  for (uint32_t n : table) shared += n != kNoNeighbour;
  EXPECT_GT(shared, int(table.size()) * 9 / 10);
}

TEST(ShadowEdges, OpenStripsFansAndSplitCornersMatch) {
  MeshObjectX part;
  // A strip of a ribbon (open edges along both sides), a fan that reuses
  // the ribbon's corners under another colour index position, and a list
  // triangle on its own.
  std::vector<Packed> r = {{0, 0, 0, kStrip}};
  for (uint8_t i = 0; i < 8; ++i) {
    r.push_back({uint8_t(i * 10), 0, 0, kWhite});
    r.push_back({uint8_t(i * 10), 10, 0, kWhite});
  }
  r.push_back({0, 0, 0, kFan});
  r.push_back({0, 10, 0, kWhite});  // same place as packed record 2
  for (uint8_t i = 0; i < 5; ++i) r.push_back({uint8_t(i * 10), 30, uint8_t(i), kWhite});
  r.push_back({0, 0, 0, kList});
  r.push_back({200, 200, 200, kWhite});
  r.push_back({210, 200, 200, kWhite});
  r.push_back({200, 210, 200, kWhite});
  MakePart(part, r, 0.5f);
  ASSERT_GT(part.frames.data[0].triangles.count, 0);
  std::vector<uint32_t> table = HashedTable(part);
  EXPECT_EQ(table, AllPairsTable(part));
  EXPECT_EQ(table.back(), kNoNeighbour);  // the lone triangle is all open
}

TEST(ShadowEdges, NonManifoldAndDegenerateEdgesMatch) {
  MeshObjectX part;
  // Four triangles on one edge (0,0,0)-(10,0,0), one of them listed twice,
  // and a triangle with two corners in one place.
  std::vector<Packed> r = {{0, 0, 0, kList}};
  const uint8_t apex[4][3] = {{0, 10, 0}, {0, 0, 10}, {0, 250, 3}, {0, 10, 0}};
  for (const auto& a : apex) {
    r.push_back({0, 0, 0, kWhite});
    r.push_back({10, 0, 0, kWhite});
    r.push_back({a[0], a[1], a[2], kWhite});
  }
  for (const Packed& p : std::vector<Packed>{{5, 5, 5, kWhite}, {5, 5, 5, kWhite}, {10, 0, 0, kWhite},
                                             {10, 0, 0, kWhite}, {5, 5, 5, kWhite}, {5, 5, 5, kWhite}})
    r.push_back(p);
  MakePart(part, r, 1.0f);
  EXPECT_EQ(HashedTable(part), AllPairsTable(part));
}

TEST(ShadowEdges, CornersWithinTheToleranceTakeTheFirstVertex) {
  // A quantum of 4e-6: positions one or two quanta apart are within 1e-5
  // of each other and share the key of the first packed record among them.
  for (float scale : {4e-6f, 6e-6f, 1e-5f, 3e-5f}) {
    MeshObjectX part;
    std::mt19937 rng(7);
    std::vector<Packed> r = {{0, 0, 0, kList}};
    for (int i = 0; i < 600; ++i)
      r.push_back({uint8_t(rng() % 6), uint8_t(rng() % 6), uint8_t(rng() % 3), kWhite});
    MakePart(part, r, scale, -1000.0f);
    EXPECT_EQ(HashedTable(part), AllPairsTable(part)) << "scale " << scale;
  }
}

TEST(ShadowEdges, RandomMeshesAndOddCornersMatch) {
  std::mt19937 rng(29);
  for (int round = 0; round < 12; ++round) {
    MeshObjectX part;
    std::vector<Packed> r;
    int n = 200 + int(rng() % 400);
    for (int i = 0; i < n; ++i) {
      uint8_t colour = rng() % 12 == 0 ? uint8_t(1 + rng() % 3) : kWhite;
      r.push_back({uint8_t(rng() % 5), uint8_t(rng() % 5), uint8_t(rng() % 4), colour});
    }
    MakePart(part, r, round % 2 ? 0.25f : 3e-6f);
    // Corners moved off every packed position or made not a number have no
    // key; such corners still pair up with each other.
    MeshFrame& f = part.frames.data[0];
    for (int32_t i = 0; i < f.triangles.count; i += 7) {
      if (i % 2) f.triangles.data[i].x += 1000.0f;
      else f.triangles.data[i].y = std::numeric_limits<float>::quiet_NaN();
    }
    EXPECT_EQ(HashedTable(part), AllPairsTable(part)) << "round " << round;
  }
}

TEST(ShadowEdges, HugeAndNonFinitePackedPositionsMatch) {
  MeshObjectX part;
  std::vector<Packed> r = {{0, 0, 0, kStrip}};
  for (uint8_t i = 0; i < 40; ++i) r.push_back({uint8_t(i % 7), uint8_t(i / 7), uint8_t(i % 3), kWhite});
  MakePart(part, r, 1e38f, 0.5f);  // far corners overflow to infinity
  EXPECT_EQ(HashedTable(part), AllPairsTable(part));
  MakePart(part, r, std::numeric_limits<float>::quiet_NaN());
  EXPECT_EQ(HashedTable(part), AllPairsTable(part));
}

TEST(ShadowEdges, TheTableIsBuiltOnce) {
  MeshObjectX part;
  MakePart(part, {{0, 0, 0, kList}, {0, 0, 0, kWhite}, {1, 0, 0, kWhite}, {0, 1, 0, kWhite}}, 1.0f);
  BuildEdgeNeighbours(part);
  ASSERT_EQ(part.shadowEdges.count, 3);
  part.shadowEdges.data[0].neighbour = 42;
  BuildEdgeNeighbours(part);
  EXPECT_EQ(part.shadowEdges.data[0].neighbour, 42u);
}

}  // namespace
