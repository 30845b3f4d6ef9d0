// Face queries and range guards of the 3D command layer, on an engine
// without a window.
#include <gtest/gtest.h>

#include "core/basic_array.h"
#include "engine3d/commands3d.h"
#include "engine3d/lumenar3d.h"
#include "engine3d/shade_textures.h"
#include "engine3d/camera.h"
#include "models/mesh_object.h"
#include "models/object_slot.h"

namespace {

// Appends a part with one frame of `triangles` triangles whose vertex k has
// x = first + k; a part with triangles < 0 gets no frame at all.
void AddPart(Lumenar3D& e, int32_t object, int32_t triangles, float first) {
  ObjectSlot& slot = e.objects.data[object];
  ReserveObjectSlots(slot.parts, slot.parts.count + 1);
  MeshObjectX& part = slot.parts.data[slot.parts.count++];
  if (triangles < 0) return;
  MeshFrame frame;
  for (int32_t k = 0; k < 3 * triangles; ++k) {
    MeshVertex v{};
    v.x = first + float(k);
    v.y = 1;
    v.u = 0.25f;
    v.colour = 0x00123456u;
    v.nz = 1;
    GrowArrayAppend(frame.triangles, v);
  }
  GrowArrayAppend(part.frames, frame);
  slot.inUse = 1;
}

class Commands3D : public ::testing::Test {
 protected:
  Lumenar3D engine{nullptr};
  void SetUp() override {
    g3DEngine = &engine;
    ResetTransformRecord(&engine.transforms[0]);
    AddPart(engine, 4, 2, 0);    // faces 0, 1
    AddPart(engine, 4, -1, 0);   // no frames: skipped
    AddPart(engine, 4, 3, 100);  // faces 2, 3, 4
  }
  void TearDown() override { g3DEngine = nullptr; }
};

TEST_F(Commands3D, FacesAreCountedAcrossPartsWithFrames) {
  EXPECT_EQ(CountFacesCmd(4), 5);
  BasicArray out;
  GetFaceCmd(4, 0, 2, out);  // the first triangle of the third part
  EXPECT_EQ(*ArrayElement(out, 0, 0), 100);
  EXPECT_EQ(*ArrayElement(out, 2, 0), 102);
  EXPECT_EQ(*ArrayElement(out, 1, 1), 1);
  EXPECT_EQ(*ArrayElement(out, 1, 3), 0.25);
  EXPECT_EQ(*ArrayElement(out, 1, 5), double(0x00123456u));
  EXPECT_EQ(*ArrayElement(out, 1, 8), 1);
  GetFaceCmd(4, 0, 4.9, out);  // the last one, the index truncated
  EXPECT_EQ(*ArrayElement(out, 0, 0), 106);
  for (double face : {5.0, -1.0}) {
    GetFaceCmd(4, 0, face, out);
    for (int v = 0; v < 3; ++v)
      for (int k = 0; k < 9; ++k) EXPECT_EQ(*ArrayElement(out, v, k), 0) << "face " << face;
  }
  GetFaceCmd(4, 3, 0, out);  // no part has frame 3
  EXPECT_EQ(*ArrayElement(out, 0, 0), 0);
}

// (P2 - P1) x (P1 - P0) points out of triangles running clockwise seen
// from outside: a strip A (0,0,0), B (1,0,0), C (0,1,0), D (1,1,0) runs
// clockwise seen from -z, and every corner of both faces gets (0, 0, -1).
TEST_F(Commands3D, BuiltFacesCarryTheClockwiseNormal) {
  ObjStartCmd(9);
  const float corners[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
  for (const auto& c : corners) ObjAddVertexCmd(c[0], c[1], 0, 0, 0, 0xFFFFFF);
  ObjEndCmd();
  ASSERT_EQ(CountFacesCmd(9), 2);
  BasicArray out;
  for (int face = 0; face < 2; ++face) {
    GetFaceCmd(9, 0, face, out);
    for (int v = 0; v < 3; ++v) {
      EXPECT_NEAR(*ArrayElement(out, v, 6), 0, 1e-6) << face << " " << v;
      EXPECT_NEAR(*ArrayElement(out, v, 7), 0, 1e-6) << face << " " << v;
      EXPECT_NEAR(*ArrayElement(out, v, 8), -1, 1e-6) << face << " " << v;
    }
  }
}

TEST_F(Commands3D, NumbersOutsideTheTableReadNothing) {
  BasicArray out;
  for (double n : {-1.0, 4096.0, 1e12}) {
    EXPECT_EQ(CountFacesCmd(n), 0);
    GetFaceCmd(n, 0, 0, out);
    EXPECT_EQ(*ArrayElement(out, 0, 0), 0);
    EXPECT_EQ(CollideObjectSphereCmd(n, 0, 1000, 0, 0, 0), 0);
    EXPECT_EQ(CollideObjectBoxCmd(n, 0, 0, 0, 0, 1000, 1000), 0);
    EXPECT_EQ(RayObjectDistanceCmd(n, 0, 0, 0, 10, 0, 0, -1), 0);
  }
  EXPECT_EQ(CollideObjectSphereCmd(4, -5, 1000, 0, 0, 0), 0);
}

TEST_F(Commands3D, FrameDecodeModeKeepsTheDividendsSign) {
  struct Case {
    double mode;
    int32_t stored;
  } cases[] = {{5, 2}, {-1, -1}, {-4, -1}, {2.9, 2}, {3, 0}};
  for (const Case& c : cases) {
    SetFrameDecodeModeCmd(c.mode);
    EXPECT_EQ(engine.frameDecodeMode, c.stored) << c.mode;
  }
}

TEST_F(Commands3D, MultMatrixTakesOnlySixteenNumbersInOneDimension) {
  BasicArray m;
  ArrayDim(m, 16);
  for (int i = 0; i < 16; ++i) *ArrayElement(m, i) = i;
  MultMatrixCmd(m);
  ASSERT_EQ(engine.transforms[0].matrixCount, 1u);
  EXPECT_EQ(engine.transforms[0].matrices[0][13], 13);
  EXPECT_EQ(engine.transforms[0].valid, 0u);
  BasicArray other;
  ArrayDim(other, 15);
  MultMatrixCmd(other);
  ArrayDim(other, 16, 2);
  MultMatrixCmd(other);
  EXPECT_EQ(engine.transforms[0].matrixCount, 1u);
}

TEST_F(Commands3D, ShadeRampTakesTheLowByteOfEachScaledValue) {
  BasicArray values;
  ArrayDim(values, 4);
  const double v[4] = {1.0, 0.5, 1.5, 0};
  for (int i = 0; i < 4; ++i) *ArrayElement(values, i) = v[i];
  SetShadeRampCmd(values);
  ASSERT_EQ(gShadeRamp.count, 4);
  EXPECT_EQ(gShadeRamp.data[0], 255);
  EXPECT_EQ(gShadeRamp.data[1], 127);
  EXPECT_EQ(gShadeRamp.data[2], 126);  // 382 keeps its low byte
  EXPECT_EQ(gShadeRamp.data[3], 0);
}

TEST_F(Commands3D, StackStaysWithinItsSixteenLevels) {
  for (int i = 0; i < 40; ++i) PushMatrixCmd();
  EXPECT_EQ(engine.transformIndex, 15);
  for (int i = 0; i < 40; ++i) PopMatrixCmd();
  EXPECT_EQ(engine.transformIndex, 0);
  for (int i = 0; i < 20; ++i) AddRotationCmd(10, 0, 1, 0);
  EXPECT_EQ(engine.transforms[0].rotationCount, 16u);
}

}  // namespace
