// Building objects vertex by vertex: runs of triangles, packing and
// quantisation, the palette, smooth normals and bounding spheres.
#include <cmath>

#include "model_fixture.h"
#include "models/mesh_packing.h"
#include "models/unit_normals.h"

namespace {

struct P {
  float x, y, z;
};

// Builds an object in slot n from a group mode and corner positions.
void Build(Lumenar3D* e, int n, int mode, const std::vector<P>& corners, uint32_t colour = 0xFFFFFF) {
  ObjStart(e, n, mode);
  for (const P& c : corners) ObjAddVertex(e, c.x, c.y, c.z, c.x / 4, c.y / 4, colour);
  ObjEnd(e);
}

// The corner positions of triangle list records.
std::vector<P> Corners(const GrowArray<MeshVertex>& t) {
  std::vector<P> out;
  for (int32_t i = 0; i < t.count; ++i) out.push_back({t.data[i].x, t.data[i].y, t.data[i].z});
  return out;
}

void ExpectCorners(const GrowArray<MeshVertex>& t, const std::vector<P>& want) {
  std::vector<P> got = Corners(t);
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    EXPECT_NEAR(got[i].x, want[i].x, 1e-5) << i;
    EXPECT_NEAR(got[i].y, want[i].y, 1e-5) << i;
    EXPECT_NEAR(got[i].z, want[i].z, 1e-5) << i;
  }
}

// Corners on the 0..255 grid survive 8-bit quantisation exactly.
const P A{0, 0, 0}, B{255, 0, 0}, C{0, 255, 0}, D{255, 255, 255}, E{0, 0, 255};

}  // namespace

using ObjectBuilding = ModelFixture;

TEST_F(ObjectBuilding, RunsBecomeTriangles) {
  struct Case {
    int mode;
    std::vector<P> corners;
    std::vector<P> triangles;
  } cases[] = {
      {1, {A, B, C, D}, {A, B, C, C, B, D}},                // strip keeps one winding
      {1, {A, B, C, D, E}, {A, B, C, C, B, D, C, D, E}},
      {7, {A, B, C, D}, {A, B, C, C, B, D}},                // unknown modes open strips
      {2, {A, B, C, D}, {A, B, C, A, C, D}},                // fan around its first vertex
      {2, {A, B, C, D, E}, {A, B, C, A, C, D, A, D, E}},
      {0, {A, B, C, D, E, B, C}, {A, B, C, D, E, B}},       // list: the seventh is dropped
  };
  for (const Case& c : cases) {
    Build(engine_, 3, c.mode, c.corners);
    ASSERT_EQ(Slot(3).inUse, 1);
    EXPECT_EQ(Slot(3).multiPart, 0);
    EXPECT_EQ(gBuildObjectIndex, -1);
    ASSERT_EQ(Part(3).frames.count, 1);
    ExpectCorners(Part(3).frames.data[0].triangles, c.triangles);
    ExpectCorners(Part(3).drawVertices, c.triangles);
  }
}

TEST_F(ObjectBuilding, GroupsAndMarkerColoursOpenRuns) {
  // A strip, then a fan opened by a group, then a list opened by a marker
  // colour: each run forms its own triangles.
  ObjStart(engine_, 0, 1);
  for (P p : {A, B, C}) ObjAddVertex(engine_, p.x, p.y, p.z, 0, 0, 0x0000FF);
  ObjStartGroup(engine_, 2);
  for (P p : {D, A, B, C}) ObjAddVertex(engine_, p.x, p.y, p.z, 0, 0, 0x00FF00);
  ObjAddVertex(engine_, 9, 9, 9, 0, 0, ListMarker);
  for (P p : {E, D, C, A}) ObjAddVertex(engine_, p.x, p.y, p.z, 0, 0, 0xFF0000);
  ObjEnd(engine_);
  ExpectCorners(Part(0).drawVertices, {A, B, C, D, A, B, D, B, C, E, D, C});
  const MeshVertex& red = Part(0).drawVertices.data[0];
  EXPECT_FLOAT_EQ(red.r, 1.0f);
  EXPECT_FLOAT_EQ(red.g, 0.0f);
  EXPECT_FLOAT_EQ(red.b, 0.0f);
  EXPECT_EQ(Part(0).hasVertexColours, 1u);
}

TEST_F(ObjectBuilding, TooFewVerticesLeaveAnEmptyPartInUse) {
  Build(engine_, 5, 1, {A});
  EXPECT_EQ(Slot(5).inUse, 1);
  ASSERT_EQ(Slot(5).parts.count, 1);
  EXPECT_EQ(Part(5).frames.count, 0);
  EXPECT_EQ(Part(5).drawVertices.count, 0);
  ObjAddVertex(engine_, 1, 2, 3, 0, 0, 0);  // nothing is being built
  EXPECT_EQ(Part(5).frames.count, 0);
  ObjEnd(engine_);
  EXPECT_EQ(gBuildObjectIndex, -1);
}

TEST_F(ObjectBuilding, StartPreparesOneFrameWithTheModeMarker) {
  for (auto [mode, marker] : {std::pair{0, ListMarker}, {1, StripMarker}, {2, FanMarker}, {7, StripMarker}}) {
    Build(engine_, 2, 0, {A, B, C});
    ObjStart(engine_, 2, mode);
    EXPECT_EQ(Slot(2).inUse, 0);
    EXPECT_EQ(gBuildObjectIndex, 2);
    ASSERT_EQ(Part(2).frames.count, 1);
    const GrowArray<MeshVertex>& built = Part(2).frames.data[0].built;
    ASSERT_EQ(built.count, 1);
    EXPECT_EQ(built.data[0].colour, marker);
    EXPECT_EQ(built.data[0].r, 1.0f);
    EXPECT_EQ(built.data[0].x, 0.0f);
    EXPECT_EQ(Part(2).palette.count, 0);
  }
  ObjStart(engine_, 4096, 1);  // outside the table: nothing
  EXPECT_EQ(gBuildObjectIndex, 2);
}

TEST_F(ObjectBuilding, QuantisationKeepsTheWorkedExamples) {
  MeshObjectX mesh;
  GrowArrayAppend(mesh.frames, MeshFrame());
  auto pack = [&](std::vector<float> xs, float y) {
    MeshFrame& f = mesh.frames.data[0];
    f.built.count = 0;
    for (float x : xs) {
      MeshVertex v{};
      v.x = x;
      v.y = y;
      GrowArrayAppend(f.built, v);
    }
    ComputeNormalsAndBounds(&mesh);
    std::vector<int> q;
    for (int32_t i = 0; i < f.packed.count; ++i) q.push_back(f.packed.data[i].x);
    return q;
  };
  MeshFrame& f = mesh.frames.data[0];
  EXPECT_EQ(pack({0, 100, 101, 510}, 0), (std::vector<int>{0, 50, 50, 255}));
  EXPECT_EQ(f.scale[0], 2.0f);
  EXPECT_EQ(f.offset[0], 0.0f);

  EXPECT_EQ(pack({2, 4}, 7.5f), (std::vector<int>{0, 254}));
  EXPECT_EQ(f.scale[0], float(2.0 / 255.0));
  EXPECT_EQ(f.offset[0], -255.0f);
  // One y for all: scale 1, offset -y, and y expands back exactly.
  EXPECT_EQ(f.scale[1], 1.0f);
  EXPECT_EQ(f.offset[1], -7.5f);
  EXPECT_EQ(f.packed.data[1].y, 0);
  mesh.BuildTriangleArrays();
  MeshVertex v;
  ExpandPackedVertex(mesh, f, 1, &v);
  EXPECT_EQ(v.y, 7.5f);
  EXPECT_EQ(mesh.normalsReady, 0u);
  EXPECT_EQ(f.built.count, 0);
}

TEST_F(ObjectBuilding, PaletteAndNormalIndexes) {
  MeshObjectX mesh;
  GrowArrayAppend(mesh.frames, MeshFrame());
  MeshFrame& f = mesh.frames.data[0];
  struct {
    uint32_t colour;
    float nz;
  } records[] = {{0x00FF0000, 0}, {0x00FF0000, 2}, {0x0000FF00, 1}};
  for (auto r : records) {
    MeshVertex v{};
    v.colour = r.colour;
    v.nz = r.nz;
    v.u = 0.5f;
    v.v = 0.25f;
    GrowArrayAppend(f.built, v);
  }
  ComputeNormalsAndBounds(&mesh);
  ASSERT_EQ(mesh.palette.count, 2);
  EXPECT_EQ(mesh.palette.data[0], 0x00FF0000u);
  EXPECT_EQ(mesh.palette.data[1], 0x0000FF00u);
  ASSERT_EQ(f.packed.count, 3);
  EXPECT_EQ(f.packed.data[0].colourIndex, 0);
  EXPECT_EQ(f.packed.data[1].colourIndex, 0);
  EXPECT_EQ(f.packed.data[2].colourIndex, 1);
  EXPECT_EQ(f.packed.data[0].normalIndex, 0);  // zero normal
  EXPECT_EQ(f.packed.data[1].normalIndex, 5);  // (0, 0, 1)
  EXPECT_EQ(UnitNormalTable[5][2], 1.0f);
  EXPECT_EQ(UnitNormalTable[0][0], -0.525731f);
  EXPECT_EQ(UnitNormalTable[161][2], -0.425325f);
  ASSERT_EQ(mesh.texU.count, 3);
  mesh.BuildTriangleArrays();
  EXPECT_EQ(mesh.drawVertices.data[0].v, -0.25f);
  EXPECT_EQ(mesh.hasVertexColours, 1u);
}

TEST_F(ObjectBuilding, ColoursPastTheAddressablePaletteKeepTheGeometry) {
  // 300 triangles of 300 colours: indexes are bytes, so colours beyond the
  // 256th take the nearest entry instead of wrapping onto the run marker.
  ObjStart(engine_, 0, 0);
  for (int t = 0; t < 300; ++t) {
    uint32_t colour = uint32_t(t) | uint32_t(t) << 8;
    for (P p : {A, B, C}) ObjAddVertex(engine_, p.x + t % 7, p.y, p.z, 0, 0, colour);
  }
  ObjEnd(engine_);
  const MeshObjectX& part = Part(0);
  EXPECT_EQ(part.palette.count, 256);
  ASSERT_EQ(part.drawVertices.count, 900);
  for (int32_t i = 0; i < part.drawVertices.count; ++i) {
    uint32_t c = part.drawVertices.data[i].colour;
    ASSERT_LT(c, kFirstMarkerColour) << i;
    int t = i / 3;
    // Entry 0 is the list marker, so 255 colours fit; the rest take the
    // nearest one there.
    if (t < 255) {
      ASSERT_EQ(c, uint32_t(t) | uint32_t(t) << 8) << i;
    } else if (t == 255) {
      ASSERT_EQ(c, 254u | 254u << 8) << i;
    }
  }
}

TEST_F(ObjectBuilding, RunsOpenedAfterAFullPaletteKeepTheirKind) {
  // 300 colours in a list, then a fan: the fan marker still gets an entry.
  ObjStart(engine_, 0, 0);
  for (int t = 0; t < 300; ++t)
    for (P p : {A, B, C}) ObjAddVertex(engine_, p.x, p.y, p.z, 0, 0, uint32_t(t) << 8);
  ObjStartGroup(engine_, 2);
  for (P p : {A, B, C, D}) ObjAddVertex(engine_, p.x, p.y, p.z, 0, 0, 0xFFFFFF);
  ObjEnd(engine_);
  const MeshObjectX& part = Part(0);
  EXPECT_EQ(part.palette.count, 256);
  ASSERT_EQ(part.drawVertices.count, 3 * 302);
  // The fan's two triangles close the list.
  std::vector<P> all = Corners(part.drawVertices);
  std::vector<P> want = {A, B, C, A, C, D};
  for (int i = 0; i < 6; ++i) {
    const P& got = all[all.size() - 6 + size_t(i)];
    EXPECT_EQ(got.x, want[size_t(i)].x) << i;
    EXPECT_EQ(got.y, want[size_t(i)].y) << i;
    EXPECT_EQ(got.z, want[size_t(i)].z) << i;
  }
}

TEST_F(ObjectBuilding, FanNormalsComeFromTheFanTriangles) {
  // A tent: apex A over a square base B C D E, drawn as one fan. Corner E
  // belongs only to the side face (A, D, E); walked as a strip it would get
  // the base's normal from (C, D, E).
  engine_->frameDecodeMode = 1;
  const P apex{128, 128, 255}, b{0, 0, 0}, c{255, 0, 0}, d{255, 255, 0}, e{0, 255, 0};
  Build(engine_, 0, 2, {apex, b, c, d, e});
  const MeshObjectX& part = Part(0);
  ASSERT_EQ(part.normalsReady, 1u);
  const MeshFrame& f = part.frames.data[0];
  ASSERT_EQ(f.packed.count, 6);  // marker and five corners
  auto normalOf = [](P p0, P p1, P p2) {
    float e1[3] = {p2.x - p1.x, p2.y - p1.y, p2.z - p1.z};
    float e0[3] = {p1.x - p0.x, p1.y - p0.y, p1.z - p0.z};
    // (P2 - P1) x (P1 - P0): outward for clockwise corners.
    return NearestUnitNormal(e1[1] * e0[2] - e1[2] * e0[1], e1[2] * e0[0] - e1[0] * e0[2],
                             e1[0] * e0[1] - e1[1] * e0[0]);
  };
  EXPECT_EQ(f.packed.data[5].normalIndex, normalOf(apex, d, e));
  EXPECT_NE(f.packed.data[5].normalIndex, normalOf(c, d, e));
  // The triangle list carries the new directions.
  const MeshVertex& last = part.drawVertices.data[8];
  EXPECT_EQ(last.nx, UnitNormalTable[f.packed.data[5].normalIndex][0]);
}

TEST_F(ObjectBuilding, SmoothNormalsMergeByPositionAndAreNotRedone) {
  // Two strips meet along the edge x = 255; merged, the shared corners get
  // one normal that leans between both faces.
  for (int mode : {1, 2}) {
    engine_->frameDecodeMode = mode;
    ObjStart(engine_, 0, 1);
    for (P p : {P{0, 0, 0}, P{0, 255, 0}, P{128, 0, 0}, P{128, 255, 0}}) ObjAddVertex(engine_, p.x, p.y, p.z, 0, 0, 0xFFFFFF);
    ObjStartGroup(engine_, 1);
    for (P p : {P{128, 0, 0}, P{128, 255, 0}, P{255, 0, 255}, P{255, 255, 255}}) ObjAddVertex(engine_, p.x, p.y, p.z, 0, 0, 0xFFFFFF);
    ObjEnd(engine_);
    const MeshFrame& f = Part(0).frames.data[0];
    int left = f.packed.data[3].normalIndex, right = f.packed.data[6].normalIndex;
    if (mode == 2)
      EXPECT_EQ(left, right);
    else
      EXPECT_NE(left, right);
  }
  // Final normals stay: a second decode neither recomputes nor rebuilds.
  MeshObjectX& part = Part(0);
  part.frames.data[0].packed.data[1].normalIndex = 77;
  part.frames.data[0].triangles.count = 0;
  DecodeFrames(&part, true, false, false);
  EXPECT_EQ(part.frames.data[0].packed.data[1].normalIndex, 77);
  EXPECT_EQ(part.frames.data[0].triangles.count, 0);
}

TEST_F(ObjectBuilding, BoundingSphereOfATriangle) {
  MeshObjectX mesh;
  GrowArrayAppend(mesh.frames, MeshFrame());
  MeshFrame& f = mesh.frames.data[0];
  for (P p : {P{0, 0, 0}, P{2, 0, 0}, P{0, 2, 0}}) {
    MeshVertex v{};
    v.x = p.x;
    v.y = p.y;
    GrowArrayAppend(f.triangles, v);
  }
  ComputeBoundingSpheres(&mesh);
  EXPECT_NEAR(f.centre[0], 2.0 / 3, 1e-6);
  EXPECT_NEAR(f.centre[1], 2.0 / 3, 1e-6);
  EXPECT_EQ(f.centre[2], 0.0f);
  EXPECT_NEAR(f.radius, std::sqrt(20.0) / 3, 1e-6);
  // Built objects get theirs at the end, from the quantised corners.
  Build(engine_, 0, 0, {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}});
  EXPECT_NEAR(Part(0).frames.data[0].radius, 85 * std::sqrt(5.0), 1e-3);
}
