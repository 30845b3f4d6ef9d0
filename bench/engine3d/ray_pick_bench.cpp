// Ray picks against one object of 100,000 triangles (RayObjectDistance:
// the move into object space and a barycentric test of every triangle), in
// picks per second, against the floor: a plain Moller-Trumbore loop over
// the same triangles held as one flat array of floats.
//
//   bench_ray_pick [rays]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "engine3d/lumenar3d.h"
#include "engine3d/object_collision.h"
#include "engine3d/camera.h"
#include "models/object_build.h"
#include "models/object_slot.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

float Height(int x, int z) { return float(std::sin(x * 0.1) * 4 + std::cos(z * 0.07) * 3); }

// A rolling height field of 250 x 200 quads, two listed triangles each.
void BuildTerrain(Lumenar3D* e, int n) {
  const int w = 250, h = 200;
  ObjStart(e, n, 0);
  for (int z = 0; z < h; ++z)
    for (int x = 0; x < w; ++x) {
      const int corners[6][2] = {{x, z}, {x + 1, z}, {x, z + 1}, {x + 1, z}, {x + 1, z + 1}, {x, z + 1}};
      for (auto& c : corners)
        ObjAddVertex(e, float(c[0]), Height(c[0], c[1]), float(c[1]), 0, 0, 0x40A040u);
    }
  ObjEnd(e);
}

// Nearest hit in front of the origin along a unit direction, 0 for none.
float FloorRay(const std::vector<float>& tri, const float o[3], const float d[3]) {
  float best = 0;
  for (size_t i = 0; i + 9 <= tri.size(); i += 9) {
    const float* a = &tri[i];
    float e1[3] = {a[3] - a[0], a[4] - a[1], a[5] - a[2]};
    float e2[3] = {a[6] - a[0], a[7] - a[1], a[8] - a[2]};
    float p[3] = {d[1] * e2[2] - d[2] * e2[1], d[2] * e2[0] - d[0] * e2[2], d[0] * e2[1] - d[1] * e2[0]};
    float det = e1[0] * p[0] + e1[1] * p[1] + e1[2] * p[2];
    if (std::fabs(det) < 1e-12f) continue;
    float inv = 1 / det;
    float s[3] = {o[0] - a[0], o[1] - a[1], o[2] - a[2]};
    float u = (s[0] * p[0] + s[1] * p[1] + s[2] * p[2]) * inv;
    if (u < 0 || u > 1) continue;
    float q[3] = {s[1] * e1[2] - s[2] * e1[1], s[2] * e1[0] - s[0] * e1[2], s[0] * e1[1] - s[1] * e1[0]};
    float v = (d[0] * q[0] + d[1] * q[1] + d[2] * q[2]) * inv;
    if (v < 0 || u + v > 1) continue;
    float t = (e2[0] * q[0] + e2[1] * q[1] + e2[2] * q[2]) * inv;
    if (t > 0 && (best == 0 || t < best)) best = t;
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  int rays = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
  Lumenar3D* engine = new Lumenar3D(nullptr);
  ResetTransformRecord(&engine->transforms[0]);
  BuildTerrain(engine, 0);
  const MeshFrame& frame = engine->objects.data[0].parts.data[0].frames.data[0];
  const int32_t triangles = frame.triangles.count / 3;
  std::vector<float> flat;
  flat.reserve(size_t(frame.triangles.count) * 3);
  for (int32_t i = 0; i < frame.triangles.count; ++i) {
    flat.push_back(frame.triangles.data[i].x);
    flat.push_back(frame.triangles.data[i].y);
    flat.push_back(frame.triangles.data[i].z);
  }

  // Rays from 50 above the field, slanting down onto points spread over it.
  std::vector<float> origins;
  for (int i = 0; i < rays; ++i) {
    origins.push_back(5 + float((i * 37) % 240));
    origins.push_back(50);
    origins.push_back(5 + float((i * 53) % 190));
  }
  const float dir[3] = {0.1f, -0.99498744f, 0.0f};

  int hits = 0, floorHits = 0, disagree = 0;
  auto t0 = Clock::now();
  std::vector<float> found(static_cast<size_t>(rays), 0.0f);
  for (int i = 0; i < rays; ++i) {
    const float* o = &origins[3 * size_t(i)];
    found[size_t(i)] = RayObjectDistance(engine, 0, 0, o[0], o[1], o[2], dir[0], dir[1], dir[2]);
    hits += found[size_t(i)] > 0;
  }
  double pickTime = Seconds(Clock::now() - t0);
  t0 = Clock::now();
  for (int i = 0; i < rays; ++i) {
    float t = FloorRay(flat, &origins[3 * size_t(i)], dir);
    floorHits += t > 0;
    if (std::fabs(t - found[size_t(i)]) > 1e-2f) ++disagree;
  }
  double floorTime = Seconds(Clock::now() - t0);

  std::printf("object: %d triangles, %d rays (%d hit, floor %d, %d distances differ)\n", triangles,
              rays, hits, floorHits, disagree);
  std::printf("RayObjectDistance: %10.1f picks/s  (%.1f M triangle tests/s)\n", rays / pickTime,
              rays * double(triangles) / pickTime / 1e6);
  std::printf("floor (flat loop): %10.1f picks/s  (%.1f M triangle tests/s)\n", rays / floorTime,
              rays * double(triangles) / floorTime / 1e6);
  std::printf("ratio engine/floor: %.2f\n", floorTime / pickTime);
  delete engine;
  return disagree == 0 ? 0 : 1;
}
