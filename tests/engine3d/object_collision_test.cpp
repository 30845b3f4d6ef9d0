// Collision, ray distance and picking of whole objects placed by the
// object matrix, against hand-worked positions.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "engine3d/lumenar3d.h"
#include "engine3d/object_collision.h"
#include "engine3d/camera.h"
#include "models/mesh_object.h"
#include "models/object_slot.h"

namespace {

// Appends a part: the square x, y in [-h, h] at height z of object space,
// two triangles in one frame, with its bounding sphere. The first triangle
// vertex is (-h, -h, z).
void AddSquarePart(Lumenar3D& e, int32_t object, float z, float h = 1) {
  ObjectSlot& slot = e.objects.data[object];
  ReserveObjectSlots(slot.parts, slot.parts.count + 1);
  MeshObjectX& part = slot.parts.data[slot.parts.count++];
  MeshFrame frame;
  const float corners[6][2] = {{-h, -h}, {h, -h}, {h, h}, {-h, -h}, {h, h}, {-h, h}};
  for (const auto& c : corners) {
    MeshVertex v{};
    v.x = c[0];
    v.y = c[1];
    v.z = z;
    GrowArrayAppend(frame.triangles, v);
  }
  GrowArrayAppend(part.frames, frame);
  // Copying a frame leaves its bounds behind: set them on the stored one.
  part.frames.data[0].radius = h * std::sqrt(2.0f);
  part.frames.data[0].centre[2] = z;
  slot.inUse = 1;
}

// Object space to world: a quarter turn about x, then 10 along x, so object
// (x, y, z) lies at world (x + 10, -z, y). The squares lie in world planes
// y = -z.
void PlaceObject(Lumenar3D& e) {
  e.transformIndex = 0;
  ResetTransformRecord(&e.transforms[0]);
  const float m[16] = {1, 0, 0, 0, 0, 0, 1, 0, 0, -1, 0, 0, 10, 0, 0, 1};
  std::memcpy(e.transforms[0].matrix, m, sizeof m);
}

class ObjectCollision : public ::testing::Test {
 protected:
  Lumenar3D engine{nullptr};
  void SetUp() override {
    PlaceObject(engine);
    AddSquarePart(engine, 1, 0);
    AddSquarePart(engine, 2, 0);   // world y = 0
    AddSquarePart(engine, 2, -2);  // world y = 2
  }
};

TEST_F(ObjectCollision, Sphere) {
  struct Case {
    const char* what;
    float r, x, y, z;
    bool hit;
  } cases[] = {
      {"cuts the square", 0.51f, 10, 0.5f, 0, true},
      {"touches the plane only", 0.5f, 10, 0.5f, 0, false},
      {"surface through vertex 0: quick accept", 2, 9, 0, -3, true},
      {"just short of vertex 0", 1.99f, 9, 0, -3, false},
      {"far outside the bounding sphere", 1, 20, 0, 0, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CollideObjectSphere(&engine, 1, 0, c.r, c.x, c.y, c.z), c.hit) << c.what;
}

TEST_F(ObjectCollision, QuickRejectAllowsSpheresExactlyTouchingTheBound) {
  // Bounding sphere radius 3 about the origin of object 3; a sphere of
  // radius 1 at object (4, 0, 0) (world (14, 0, 0)) lies exactly r + R away
  // and still reaches the triangle test.
  AddSquarePart(engine, 3, 0, 3.0f / std::sqrt(2.0f));
  engine.objects.data[3].parts.data[0].frames.data[0].radius = 3;
  EXPECT_FALSE(CollideObjectSphere(&engine, 3, 0, 1, 14, 0, 0));  // the square ends at 2.12
  EXPECT_TRUE(CollideObjectSphere(&engine, 3, 0, 1.0f, 12.5f, 0, 0));
}

TEST_F(ObjectCollision, Box) {
  struct Case {
    const char* what;
    float c[3];
    float a1[3], a2[3], a3[3];
    bool hit;
  } cases[] = {
      {"resting on the square", {10, 0.5f, 0}, {0.5f, 0, 0}, {0, 0, 0.5f}, {0, 0.5f, 0}, true},
      {"0.01 above it", {10, 0.51f, 0}, {0.5f, 0, 0}, {0, 0, 0.5f}, {0, 0.5f, 0}, false},
      // Object-space centre (1.9, 1.9, 0.9), 2.83 from the bound's centre:
      // beyond sqrt(|d|^2 + R^2) = 2.24 but its corner overlaps the square.
      {"corner over the square's corner", {11.9f, -0.9f, 1.9f}, {1, 0, 0}, {0, 0, 1}, {0, 1, 0}, true},
      {"beside the square", {13, 0, 0}, {0.5f, 0, 0}, {0, 0, 0.5f}, {0, 0.5f, 0}, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CollideObjectBox(&engine, 1, 0, c.c, c.a1, c.a2, c.a3), c.hit) << c.what;
}

TEST_F(ObjectCollision, RayDistance) {
  struct Case {
    const char* what;
    int32_t object;
    float o[3], d[3];
    float t;
  } cases[] = {
      {"5 above, looking down", 1, {10.5f, 5, 0.5f}, {0, -2, 0}, 5},
      {"5 above, looking up", 1, {10.5f, 5, 0.5f}, {0, 2, 0}, -5},
      {"beside the square", 1, {12, 5, 0}, {0, -1, 0}, 0},
      {"hit at the origin counts as none", 1, {10.5f, 0, 0.5f}, {0, -1, 0}, 0},
      {"parts at 5 and 3: the nearer", 2, {10.5f, 5, 0.5f}, {0, -1, 0}, 3},
      {"parts at -2 and -4 behind: the nearer", 2, {10.5f, -2, 0.5f}, {0, -1, 0}, -2},
      {"between the parts: the one in front", 2, {10.5f, 1, 0.5f}, {0, -1, 0}, 1},
  };
  for (const Case& c : cases)
    EXPECT_NEAR(RayObjectDistance(&engine, c.object, 0, c.o[0], c.o[1], c.o[2], c.d[0], c.d[1], c.d[2]),
                c.t, 1e-5)
        << c.what;
}

TEST_F(ObjectCollision, Pick) {
  struct Case {
    const char* what;
    float o[3], d[3];
    float angle;
    float result;
  } cases[] = {
      {"straight down onto the square", {10, 5, 0}, {0, -1, 0}, 10, 1},
      {"3 beside it, narrow cone", {14, 5, 0}, {0, -1, 0}, 10, 0},
      // Cone radius 3.5 at depth 5 reaches the edge 3 away, although
      // rho^2 + R^2 = 14.25 < perp^2 = 16.
      {"3 beside it, 35 degrees", {14, 5, 0}, {0, -1, 0}, 35, 1},
      // Apex 1.5 from the bound's centre, which lies behind it; an 88 degree
      // cone still takes in the square's far corners.
      {"wide cone, bound's centre behind the apex", {10, 1.2f, 0.9f}, {0, 0, 1}, 88, 1},
      {"looking away", {10, 5, 0}, {0, 1, 0}, 10, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PickObject(&engine, 1, 0, c.o[0], c.o[1], c.o[2], c.d[0], c.d[1], c.d[2], c.angle),
              c.result)
        << c.what;
}

TEST_F(ObjectCollision, OutOfRangeFramesAndObjectsAreNoHit) {
  const float c[3] = {10, 0, 0}, a[3] = {1, 0, 0}, b[3] = {0, 1, 0}, d[3] = {0, 0, 1};
  for (int32_t frame : {1, -1}) {
    EXPECT_FALSE(CollideObjectSphere(&engine, 1, frame, 5, 10, 0, 0));
    EXPECT_FALSE(CollideObjectBox(&engine, 1, frame, c, a, b, d));
    EXPECT_EQ(RayObjectDistance(&engine, 1, frame, 10, 5, 0, 0, -1, 0), 0);
    EXPECT_EQ(PickObject(&engine, 1, frame, 10, 5, 0, 0, -1, 0, 10), 0);
  }
  for (int32_t object : {-1, 0, kObjectCount}) EXPECT_FALSE(CollideObjectSphere(&engine, object, 0, 5, 10, 0, 0));
  // A frame with too few vertices for a triangle.
  engine.objects.data[1].parts.data[0].frames.data[0].triangles.count = 2;
  EXPECT_FALSE(CollideObjectSphere(&engine, 1, 0, 5, 10, 0, 0));
}

TEST_F(ObjectCollision, StackPlacesTheObjectLikeTheComposedMatrix) {
  // Translation 10 along x and a quarter turn about x, left for the test to
  // compose: the same placement as the explicit matrix.
  ResetTransformRecord(&engine.transforms[0]);
  SetTranslation(&engine, 10, 0, 0);
  AddRotation(&engine, 90, 1, 0, 0);
  EXPECT_EQ(engine.transforms[0].valid, 0u);
  EXPECT_NEAR(RayObjectDistance(&engine, 2, 0, 10.5f, 5, 0.5f, 0, -1, 0), 3, 1e-4);
  EXPECT_TRUE(CollideObjectSphere(&engine, 1, 0, 0.51f, 10, 0.5f, 0));
  // A pushed child starts from the parent's placement and adds its own.
  PushTransform(&engine);
  EXPECT_EQ(engine.transforms[0].valid, 1u);
  SetTranslation(&engine, 0, 0, 3);  // object z: world -y
  EXPECT_NEAR(RayObjectDistance(&engine, 1, 0, 10.5f, 5, 0.5f, 0, -1, 0), 8, 1e-4);
  PopTransform(&engine);
  EXPECT_NEAR(RayObjectDistance(&engine, 1, 0, 10.5f, 5, 0.5f, 0, -1, 0), 5, 1e-4);
  // Popping at level 0 resets: the square is back at the world origin.
  PopTransform(&engine);
  EXPECT_NEAR(RayObjectDistance(&engine, 1, 0, 0.5f, 0.5f, 5, 0, 0, -1), 5, 1e-4);
}

}  // namespace
