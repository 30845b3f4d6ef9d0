// Geometry kernels of collision and picking against hand-worked cases,
// with the near misses and grazing contacts that decide each rule.
#include <gtest/gtest.h>

#include "engine3d/collision_geometry.h"

namespace {

// The right triangle (0,0,0) (4,0,0) (0,4,0) in the plane z = 0.
const float kTri[9] = {0, 0, 0, 4, 0, 0, 0, 4, 0};
const float* P0 = kTri;
const float* P1 = kTri + 3;
const float* P2 = kTri + 6;

struct PointCase {
  const char* what;
  float p[3];
  bool inside;
};

TEST(CollisionGeometry, PointInPolygonByAngleSum) {
  const PointCase cases[] = {
      {"interior", {1, 1, 0}, true},
      {"on an edge: two angles of pi/2 and one of pi", {2, 0, 0}, true},
      {"beyond the hypotenuse", {3, 3, 0}, false},
      {"own vertex: zero-length vectors add nothing", {0, 0, 0}, false},
      {"above the plane: angles sum below a turn", {1, 1, 5}, false},
  };
  for (const PointCase& c : cases) EXPECT_EQ(PointInPolygon(c.p, kTri, 3), c.inside) << c.what;
}

TEST(CollisionGeometry, LinePlaneIntersection) {
  const float n[3] = {0, 0, 1};  // plane z = 2: n·x - 2 = 0
  float out[3];
  const float a0[3] = {1, 1, 0}, a1[3] = {1, 1, 10};
  LinePlaneIntersection(out, n, a0, a1, -2);
  EXPECT_FLOAT_EQ(out[0], 1);
  EXPECT_FLOAT_EQ(out[1], 1);
  EXPECT_FLOAT_EQ(out[2], 2);
  // Slanted: direction (1, 0, 2)/sqrt(5) reaches z = 2 at (1, 0, 2).
  const float b0[3] = {0, 0, 0}, b1[3] = {2, 0, 4};
  LinePlaneIntersection(out, n, b0, b1, -2);
  EXPECT_NEAR(out[0], 1, 1e-6);
  EXPECT_NEAR(out[1], 0, 1e-6);
  EXPECT_NEAR(out[2], 2, 1e-6);
  // Parallel: the start point.
  const float c0[3] = {1, 1, 0}, c1[3] = {5, 1, 0};
  LinePlaneIntersection(out, n, c0, c1, -2);
  EXPECT_EQ(out[0], 1);
  EXPECT_EQ(out[1], 1);
  EXPECT_EQ(out[2], 0);
}

TEST(CollisionGeometry, SegmentAgainstSquare) {
  const float square[12] = {0, 0, 0, 4, 0, 0, 4, 4, 0, 0, 4, 0};
  struct Case {
    const char* what;
    float p0[3], p1[3];
    bool hit;
  } cases[] = {
      {"crosses inside", {1, 1, -1}, {1, 1, 1}, true},
      {"crosses outside", {5, 1, -1}, {5, 1, 1}, false},
      {"ends on the plane: not strictly across", {1, 1, 0}, {1, 1, 1}, false},
      {"both ends on one side", {1, 1, 1}, {1, 1, 3}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(SegmentHitsPolygon(square, c.p0, c.p1, 4), c.hit) << c.what;
}

TEST(CollisionGeometry, ClassifySphereBoundsAreBehindOrInFront) {
  const float n[3] = {0, 0, 1}, q[3] = {0, 0, 0};
  struct Case {
    float z;
    int32_t klass;
  } cases[] = {{-1, kSphereBehind}, {1, kSphereBehind}, {0.999f, kSphereIntersecting},
               {-0.999f, kSphereIntersecting}, {2, kSphereInFront}, {-2, kSphereBehind}};
  for (const Case& c : cases) {
    const float centre[3] = {3, -2, c.z};
    float distance = 99;
    EXPECT_EQ(ClassifySphere(centre, n, q, 1, &distance), c.klass) << "z " << c.z;
    EXPECT_FLOAT_EQ(distance, c.z);
  }
}

TEST(CollisionGeometry, SphereTouchesEdgesStrictly) {
  struct Case {
    const char* what;
    float c[3];
    float r;
    bool hit;
  } cases[] = {
      {"1 below the base, r 1.01", {2, -1, 0}, 1.01f, true},
      {"1 below the base, r 1: touching is no hit", {2, -1, 0}, 1, false},
      {"diagonal to the corner at sqrt 2, r 1.5", {-1, -1, 0}, 1.5f, true},
      {"diagonal to the corner at sqrt 2, r 1.4", {-1, -1, 0}, 1.4f, false},
  };
  for (const Case& c : cases) EXPECT_EQ(SphereTouchesEdges(c.c, kTri, 3, c.r), c.hit) << c.what;
}

TEST(CollisionGeometry, SphereAgainstTriangle) {
  struct Case {
    const char* what;
    float c[3];
    float r;
    bool hit;
  } cases[] = {
      {"over the interior, cutting the plane", {1, 1, 0.5f}, 1, true},
      {"plane grazed at exactly r", {1, 1, 1}, 1, false},
      {"just inside r of the plane", {1, 1, 0.999f}, 1, true},
      {"below the plane works the same", {1, 1, -0.5f}, 1, true},
      {"in the plane beyond an edge, within r", {2, -0.5f, 0}, 1, true},
      {"in the plane beyond an edge, exactly r", {2, -1, 0}, 1, false},
      {"off the hypotenuse at 1.5 > r", {3, 3, 0.5f}, 1, false},
      {"off the hypotenuse at 0.735 < r", {2.5f, 2.5f, 0.2f}, 1, true},
  };
  for (const Case& c : cases) EXPECT_EQ(SphereHitsTriangle(kTri, c.c, 3, c.r), c.hit) << c.what;
}

TEST(CollisionGeometry, BoxAgainstTriangleSeparatingAxes) {
  const float c[3] = {0, 0, 0};
  const float e1[3] = {1, 0, 0}, e2[3] = {0, 1, 0}, e3[3] = {0, 0, 1};
  struct Case {
    const char* what;
    float p[9];
    bool hit;
  } cases[] = {
      {"triangle touching the top face", {-5, -5, 1, 5, -5, 1, 0, 5, 1}, true},
      {"triangle 0.001 above the top face", {-5, -5, 1.001f, 5, -5, 1.001f, 0, 5, 1.001f}, false},
      {"large triangle through the box", {-5, -5, 0, 5, -5, 0, 0, 5, 0}, true},
      // The plane x + y + z = 3.2 passes 0.2 beyond the corner (1, 1, 1):
      // only the face normal separates it.
      {"slanted plane past the corner", {3.2f, 0, 0, 0, 3.2f, 0, 0, 0, 3.2f}, false},
      {"slanted plane cutting the corner", {2.9f, 0, 0, 0, 2.9f, 0, 0, 0, 2.9f}, true},
      {"far away", {5, 5, 5, 6, 5, 5, 5, 6, 5}, false},
      {"triangle inside the box", {0.1f, 0.1f, 0.1f, 0.2f, 0.1f, 0.1f, 0.1f, 0.2f, 0.1f}, true},
      {"degenerate triangle (a point) on a face", {1, 0, 0, 1, 0, 0, 1, 0, 0}, true},
  };
  for (const Case& k : cases)
    EXPECT_EQ(BoxHitsTriangle(c, e1, e2, e3, k.p, k.p + 3, k.p + 6), k.hit) << k.what;
}

TEST(CollisionGeometry, BoxWithSkewedAxesAwayFromOrigin) {
  // Half-axes (1, 1, 0), (-1, 1, 0), (0, 0, 0.5) about (10, 0, 0): a square
  // turned by 45 degrees whose corners reach x = 10 ± 2 along the x axis.
  const float c[3] = {10, 0, 0};
  const float e1[3] = {1, 1, 0}, e2[3] = {-1, 1, 0}, e3[3] = {0, 0, 0.5f};
  const float touching[9] = {12, -1, -1, 12, 1, -1, 12, 0, 1};
  const float beyond[9] = {12.01f, -1, -1, 12.01f, 1, -1, 12.01f, 0, 1};
  EXPECT_TRUE(BoxHitsTriangle(c, e1, e2, e3, touching, touching + 3, touching + 6));
  EXPECT_FALSE(BoxHitsTriangle(c, e1, e2, e3, beyond, beyond + 3, beyond + 6));
}

TEST(CollisionGeometry, RayTriangleDistance) {
  struct Case {
    const char* what;
    float p1[3], p2[3];
    float t;
  } cases[] = {
      {"straight down from 5 above", {1, 1, 5}, {1, 1, 4}, 5},
      {"hit 2 behind the origin", {1, 1, -2}, {1, 1, -3}, -2},
      {"parallel to the plane", {1, 1, 1}, {2, 1, 1}, 0},
      {"misses beyond the hypotenuse", {3, 3, 5}, {3, 3, 4}, 0},
      {"grazes the base edge", {2, 0, 5}, {2, 0, 4}, 5},
      {"just outside the base edge", {2, -0.001f, 5}, {2, -0.001f, 4}, 0},
      {"through a vertex", {4, 0, 3}, {4, 0, 2}, 3},
      {"slanted, unit direction (0.6, 0, -0.8)", {-1, 1, 4}, {-0.4f, 1, 3.2f}, 5},
  };
  for (const Case& c : cases) EXPECT_NEAR(RayTriangleDistance(P0, P1, P2, c.p1, c.p2), c.t, 1e-5) << c.what;
  const float line[9] = {0, 0, 0, 1, 1, 1, 2, 2, 2};
  const float a[3] = {0, 0, 5}, b[3] = {0, 0, 4};
  EXPECT_EQ(RayTriangleDistance(line, line + 3, line + 6, a, b), 0) << "degenerate triangle";
}

TEST(CollisionGeometry, ConeAgainstTriangle) {
  // Apex at the origin looking along +z with a half-angle of 30 degrees: at
  // z = 5 the cone's radius is 5 tan 30 = 2.887.
  const float A[3] = {0, 0, 1}, V[3] = {0, 0, 0};
  const float cos30 = 0.8660254f;
  struct Case {
    const char* what;
    float p[9];
    bool hit;
  } cases[] = {
      {"a vertex on the axis", {0, 0, 5, 10, 0, 5, 0, 10, 5}, true},
      {"a vertex inside near the rim", {2.8f, 0, 5, 10, 0, 5, 10, 10, 5}, true},
      {"the axis through the face, vertices outside", {-10, -10, 5, 10, -10, 5, 0, 10, 5}, true},
      {"the same face turned over", {-10, -10, 5, 0, 10, 5, 10, -10, 5}, true},
      {"an edge 1 off the axis", {-10, 1, 5, 10, 1, 5, 0, 20, 5}, true},
      {"an edge 2.8 off the axis: grazing inside", {-10, 2.8f, 5, 10, 2.8f, 5, 0, 20, 5}, true},
      {"an edge 3 off the axis: near miss", {-10, 3, 5, 10, 3, 5, 0, 20, 5}, false},
      {"an edge from behind the apex through the cone", {0, 1, -5, 0, 1, 10, 5, 20, 10}, true},
      {"behind the apex, across the axis", {-10, -10, -5, 10, -10, -5, 0, 10, -5}, false},
      {"beside the cone", {10, 10, 5, 12, 10, 5, 10, 12, 5}, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ConeHitsTriangle(A, V, cos30, c.p, c.p + 3, c.p + 6), c.hit) << c.what;
}

}  // namespace
