// Geometry kernels behind object collision and picking: points, segments,
// spheres, oriented boxes, rays and cones against polygons and triangles.
// Everything is f32 in one space chosen by the caller; nothing keeps state.
// A polygon is its vertices one after another, three floats each.
#pragma once

#include <cstdint>

// Angle-sum test: true when the angles p makes with each edge add up to at
// least 0.99 of a full turn. A vertex of the polygon itself counts as outside.
bool PointInPolygon(const float p[3], const float* vertices, int32_t count);

// Where the line from p0 towards p1 meets the plane n·x + d = 0; p0 when the
// line runs parallel to the plane.
void LinePlaneIntersection(float out[3], const float n[3], const float p0[3], const float p1[3],
                           float d);

// True when the segment's end points lie strictly on opposite sides of the
// polygon's plane and the crossing point lies inside the polygon.
bool SegmentHitsPolygon(const float* vertices, const float p0[3], const float p1[3], int32_t count);

// Where a sphere lies against the plane through q with normal n.
constexpr int32_t kSphereBehind = 0;
constexpr int32_t kSphereIntersecting = 1;
constexpr int32_t kSphereInFront = 2;
int32_t ClassifySphere(const float c[3], const float n[3], const float q[3], float r,
                       float* distance);

// True when some edge of the polygon passes closer than r to c.
bool SphereTouchesEdges(const float c[3], const float* vertices, int32_t count, float r);

// Sphere against a polygon (count 3 for a triangle): the sphere must cut the
// plane, then either its centre projects inside or an edge comes within r.
bool SphereHitsTriangle(const float* vertices, const float c[3], int32_t count, float r);

// Separating axes between the box c ± e1 ± e2 ± e3 (half-axes need be
// neither unit nor orthogonal) and the triangle P0 P1 P2. Touching is a hit.
bool BoxHitsTriangle(const float c[3], const float e1[3], const float e2[3], const float e3[3],
                     const float P0[3], const float P1[3], const float P2[3]);

// Signed parameter along the line p1 -> p2 where it crosses the triangle
// (a distance when p2 - p1 is a unit vector); negative behind p1; 0 when the
// line misses, runs parallel or the triangle is degenerate.
float RayTriangleDistance(const float v0[3], const float v1[3], const float v2[3], const float p1[3],
                          const float p2[3]);

// True when the triangle touches the cone with apex V, unit axis A and
// half-angle whose cosine is cosAlpha (the forward nappe only).
bool ConeHitsTriangle(const float A[3], const float V[3], float cosAlpha, const float P0[3],
                      const float P1[3], const float P2[3]);
