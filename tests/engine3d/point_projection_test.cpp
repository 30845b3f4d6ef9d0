// Point projection against hand-worked viewports and matrices.
#include <gtest/gtest.h>

#include <cmath>

#include "engine3d/point_projection.h"

namespace {

const float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
// glFrustum(-1, 1, -1, 1, 1, 10) and a camera 5 back along z.
const float kFrustum[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -11.0f / 9, -1, 0, 0, -20.0f / 9, 0};
const float kBack5[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -5, 1};

TEST(PointProjection, IdentityMatricesOnAFullViewport) {
  const int vp[4] = {0, 0, 640, 480};
  struct Case {
    float p[3];
    float win[3];
  } cases[] = {{{0, 0, 0}, {320, 240, 0.5f}}, {{1, 1, 0}, {640, 0, 0.5f}}, {{-1, -1, -1}, {0, 480, 0}}};
  for (const Case& c : cases) {
    float x, y, z;
    ASSERT_TRUE(ProjectPointWith(vp, kIdentity, kIdentity, c.p[0], c.p[1], c.p[2], &x, &y, &z));
    EXPECT_FLOAT_EQ(x, c.win[0]);
    EXPECT_FLOAT_EQ(y, c.win[1]);
    EXPECT_FLOAT_EQ(z, c.win[2]);
  }
  float x = 9, y = 9, z = 9;
  ASSERT_TRUE(UnprojectPointWith(vp, kIdentity, kIdentity, 320, 240, 0.5f, &x, &y, &z));
  EXPECT_FLOAT_EQ(x, 0);
  EXPECT_FLOAT_EQ(y, 0);
  EXPECT_FLOAT_EQ(z, 0);
}

TEST(PointProjection, FrustumOnAnOffsetViewportRoundTripsWithMirroredY) {
  // Eye point (1, 0.5, -5): clip (1, 0.5, 35/9, 5), so ndc (0.2, 0.1, 7/9).
  // x = 1.2 * 128 + 32, y = 128 - (1.1 * 64 + 24), z = 8/9.
  const int vp[4] = {32, 24, 256, 128};
  float x, y, z;
  ASSERT_TRUE(ProjectPointWith(vp, kFrustum, kBack5, 1, 0.5f, 0, &x, &y, &z));
  EXPECT_NEAR(x, 185.6f, 1e-4);
  EXPECT_NEAR(y, 33.6f, 1e-4);
  EXPECT_NEAR(z, 8.0f / 9, 1e-6);
  float ox, oy, oz;
  ASSERT_TRUE(UnprojectPointWith(vp, kFrustum, kBack5, x, 128 - y, z, &ox, &oy, &oz));
  EXPECT_NEAR(ox, 1, 1e-3);
  EXPECT_NEAR(oy, 0.5f, 1e-3);
  EXPECT_NEAR(oz, 0, 1e-3);
  // Without the mirror the point comes back elsewhere.
  ASSERT_TRUE(UnprojectPointWith(vp, kFrustum, kBack5, x, y, z, &ox, &oy, &oz));
  EXPECT_GT(std::abs(oy - 0.5f), 0.1f);
}

TEST(PointProjection, ZeroWLeavesOutputsAlone) {
  const int vp[4] = {0, 0, 640, 480};
  float noW[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0};  // w row zero
  float x = 7, y = 8, z = 9;
  EXPECT_FALSE(ProjectPointWith(vp, noW, kIdentity, 1, 2, 3, &x, &y, &z));
  EXPECT_EQ(x, 7);
  EXPECT_EQ(y, 8);
  EXPECT_EQ(z, 9);
}

TEST(PointProjection, SingularMatrixUnprojectsThroughTheIdentity) {
  const int vp[4] = {0, 0, 640, 480};
  const float zero[16] = {};
  float x = 9, y = 9, z = 9;
  ASSERT_TRUE(UnprojectPointWith(vp, zero, kIdentity, 480, 360, 0.75f, &x, &y, &z));
  EXPECT_FLOAT_EQ(x, 0.5f);
  EXPECT_FLOAT_EQ(y, 0.5f);
  EXPECT_FLOAT_EQ(z, 0.5f);
}

}  // namespace
