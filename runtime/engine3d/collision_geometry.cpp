#include "engine3d/collision_geometry.h"

#include <cmath>

namespace {

struct V3 {
  float x, y, z;
};

V3 Load(const float* p) { return {p[0], p[1], p[2]}; }
V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 operator*(V3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
float Dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 Cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
float Length(V3 a) { return float(std::sqrt(Dot(a, a))); }

// Normalised only when long enough; a shorter vector stays as it is.
V3 Normalised(V3 a) {
  float sq = Dot(a, a);
  if (sq > 1e-7f) return a * (1.0f / float(std::sqrt(sq)));
  return a;
}

// Plane normal of a polygon from its first three vertices.
V3 PolygonNormal(const float* v) {
  V3 a = Load(v), b = Load(v + 3), c = Load(v + 6);
  return Normalised(Cross(c - a, b - a));
}

}  // namespace

bool PointInPolygon(const float p[3], const float* vertices, int32_t count) {
  if (!vertices || count <= 0) return false;
  V3 pp = Load(p);
  float sum = 0;
  for (int32_t i = 0; i < count; ++i) {
    V3 a = Load(vertices + 3 * i) - pp;
    V3 b = Load(vertices + 3 * ((i + 1) % count)) - pp;
    float sa = Dot(a, a), sb = Dot(b, b);
    float la = sa <= 1e-7f ? 0.0f : float(std::sqrt(sa));
    float lb = sb <= 1e-7f ? 0.0f : float(std::sqrt(sb));
    float angle = 0;
    if (la * lb > 1e-8f) angle = float(std::acos(double(Dot(a, b) / (la * lb))));
    sum += angle;
  }
  return sum >= 6.2203536f;  // a NaN sum compares false: outside
}

void LinePlaneIntersection(float out[3], const float n[3], const float p0[3], const float p1[3],
                           float d) {
  V3 nn = Load(n), a = Load(p0);
  V3 dir = Normalised(Load(p1) - a);
  float denom = Dot(nn, dir);
  V3 r = a;
  if (denom != 0.0f) r = a + dir * (-(Dot(nn, a) + d) / denom);
  out[0] = r.x;
  out[1] = r.y;
  out[2] = r.z;
}

bool SegmentHitsPolygon(const float* vertices, const float p0[3], const float p1[3], int32_t count) {
  if (!vertices || count < 3) return false;
  V3 n = PolygonNormal(vertices);
  float d = -Dot(n, Load(vertices));
  if ((Dot(n, Load(p1)) + d) * (Dot(n, Load(p0)) + d) >= 0) return false;
  float nf[3] = {n.x, n.y, n.z}, cross[3];
  LinePlaneIntersection(cross, nf, p0, p1, d);
  return PointInPolygon(cross, vertices, count);
}

int32_t ClassifySphere(const float c[3], const float n[3], const float q[3], float r,
                       float* distance) {
  V3 nn = Load(n);
  float dist = Dot(nn, Load(c)) - Dot(nn, Load(q));
  if (distance) *distance = dist;
  if (std::fabs(dist) < r) return kSphereIntersecting;
  if (dist > r) return kSphereInFront;
  return kSphereBehind;
}

bool SphereTouchesEdges(const float c[3], const float* vertices, int32_t count, float r) {
  if (!vertices || count <= 0) return false;
  V3 cc = Load(c);
  for (int32_t i = 0; i < count; ++i) {
    V3 a = Load(vertices + 3 * i);
    V3 b = Load(vertices + 3 * ((i + 1) % count));
    V3 edge = b - a;
    float len = Length(edge);
    V3 closest = a;
    if (len >= 1e-8f) {
      V3 dir = edge * (1.0f / len);
      float t = Dot(dir, cc - a);
      if (t <= 0)
        closest = a;
      else if (t >= len)
        closest = b;
      else
        closest = a + dir * t;
    }
    if (Length(cc - closest) < r) return true;
  }
  return false;
}

bool SphereHitsTriangle(const float* vertices, const float c[3], int32_t count, float r) {
  if (!vertices || count < 3) return false;
  V3 n = PolygonNormal(vertices);
  V3 cc = Load(c);
  float distance = Dot(n, cc) - Dot(n, Load(vertices));
  if (!(std::fabs(distance) < r)) return false;
  V3 onPlane = cc - n * distance;
  float p[3] = {onPlane.x, onPlane.y, onPlane.z};
  if (PointInPolygon(p, vertices, count)) return true;
  return SphereTouchesEdges(c, vertices, count, r);
}

bool BoxHitsTriangle(const float c[3], const float e1[3], const float e2[3], const float e3[3],
                     const float P0[3], const float P1[3], const float P2[3]) {
  V3 centre = Load(c);
  V3 e[3] = {Load(e1), Load(e2), Load(e3)};
  V3 p0 = Load(P0), p1 = Load(P1), p2 = Load(P2);
  V3 edges[3] = {p1 - p0, p2 - p1, p0 - p2};
  V3 axes[13];
  int n = 0;
  for (const V3& ek : e) axes[n++] = ek;
  axes[n++] = Cross(edges[0], p2 - p0);  // the triangle's face normal
  for (const V3& ek : e)
    for (const V3& edge : edges) axes[n++] = Cross(ek, edge);
  for (const V3& L : axes) {
    if (L.x == 0 && L.y == 0 && L.z == 0) continue;  // a zero axis never separates
    float rho = std::fabs(Dot(e[0], L)) + std::fabs(Dot(e[1], L)) + std::fabs(Dot(e[2], L));
    float m = Dot(centre, L);
    float a = Dot(p0, L), b = Dot(p1, L), d = Dot(p2, L);
    float lo = std::fmin(a, std::fmin(b, d)), hi = std::fmax(a, std::fmax(b, d));
    if (hi < m - rho || lo > m + rho) return false;
  }
  return true;
}

float RayTriangleDistance(const float v0[3], const float v1[3], const float v2[3], const float p1[3],
                          const float p2[3]) {
  V3 a = Load(v0);
  V3 u = Load(v1) - a, v = Load(v2) - a;
  V3 n = Cross(u, v);
  if (n.x == 0 && n.y == 0 && n.z == 0) return 0;
  V3 o = Load(p1);
  V3 D = Load(p2) - o;
  float denom = Dot(n, D);
  if (denom == 0) return 0;
  float r = -Dot(n, o - a) / denom;
  V3 w = (o + D * r) - a;
  float uu = Dot(u, u), uv = Dot(u, v), vv = Dot(v, v), wu = Dot(w, u), wv = Dot(w, v);
  float den = uv * uv - uu * vv;
  float s = (uv * wv - vv * wu) / den;
  if (s < 0 || s > 1) return 0;
  float t = (uv * wu - uu * wv) / den;
  if (t < 0 || s + t > 1) return 0;
  return r;
}

bool ConeHitsTriangle(const float A[3], const float V[3], float cosAlpha, const float P0[3],
                      const float P1[3], const float P2[3]) {
  V3 axis = Load(A), apex = Load(V);
  float cs = cosAlpha * cosAlpha;
  unsigned flags = 0;

  // Vertices: inside the forward nappe is a hit; in front of the apex but
  // outside marks the vertex for the edge and face tests.
  V3 D0 = Load(P0) - apex;
  float AdD0 = Dot(axis, D0);
  float q0 = AdD0 * AdD0 - Dot(D0, D0) * cs;
  if (AdD0 >= 0) {
    if (q0 >= 0) return true;
    flags |= 1;
  }
  V3 E0 = Load(P1) - Load(P0);
  V3 D1 = D0 + E0;
  float AdD1 = Dot(axis, D1);
  float q1 = AdD1 * AdD1 - Dot(D1, D1) * cs;
  if (AdD1 >= 0) {
    if (q1 >= 0) return true;
    flags |= 2;
  }
  unsigned flags01 = flags;
  V3 E1 = Load(P2) - Load(P0);
  V3 D2 = D0 + E1;
  float AdD2 = Dot(axis, D2);
  float q2 = AdD2 * AdD2 - Dot(D2, D2) * cs;
  if (AdD2 >= 0) {
    if (q2 >= 0) return true;
    flags |= 4;
  }

  // Edges leaving P0 towards P1 (end flag 2) and P2 (end flag 4).
  auto edgeFromP0 = [&](V3 E, unsigned endFlag) {
    float a = Dot(axis, E);
    float c2 = a * a - Dot(E, E) * cs;
    if (!(c2 < 0)) return false;
    float c1 = a * AdD0 - Dot(E, D0) * cs;
    bool go;
    if (!(flags & 1))
      go = c1 <= -c2 && c2 * AdD0 <= c1 * a;
    else if (!(flags & endFlag))
      go = c1 >= 0 && c2 * AdD0 <= c1 * a;
    else
      go = c1 >= 0 && c1 <= -c2;
    return go && q0 * c2 <= c1 * c1;
  };
  if (flags01 != 0 && edgeFromP0(E0, 2)) return true;
  if ((flags & 5) != 0 && edgeFromP0(E1, 4)) return true;

  if ((flags & 6) != 0) {
    V3 E = E1 - E0;
    float a = AdD2 - AdD1;
    float c2 = a * a - Dot(E, E) * cs;
    if (c2 < 0) {
      float c1 = a * AdD1 - Dot(E, D1) * cs;
      bool go;
      if (!(flags & 2))
        go = !(c1 > -c2 || a * c1 < c2 * AdD1);
      else if (!(flags & 4))
        go = !(c1 < 0 || a * c1 < c2 * AdD1);
      else
        go = !(c1 < 0 || c1 > -c2);
      if (go && q1 * c2 <= c1 * c1) return true;
    }
  }

  // Face: the axis passes through the triangle's interior.
  if (flags != 0) {
    V3 N = Cross(E0, E1);
    float nA = Dot(N, axis), nD = Dot(N, D0);
    V3 U = axis * nD - D0 * nA;
    V3 W = Cross(N, U);
    float w0 = Dot(E0, W), w1 = Dot(E1, W);
    float nn = Dot(N, N);
    if (nA < 0) {
      if (w0 < 0 || w1 > 0) return false;
      if (nn * nA <= w1 - w0) return true;
    } else {
      if (w0 > 0 || w1 < 0) return false;
      if (w1 - w0 <= nn * nA) return true;
    }
  }
  return false;
}
