// Frames per second drawing N lit objects of 1,000 triangles each that cast
// stencil shadows onto a floor, at N = 1, 10 and 100, against the anchor:
// the same objects lit but without shadow volumes. Run under Xvfb:
//
//   xvfb-run -a -s "-screen 0 640x480x24" bench_draw3d [seconds per case]
#include <GL/gl.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "engine3d/camera.h"
#include "engine3d/lights_fog.h"
#include "engine3d/lumenar3d.h"
#include "engine3d/mesh_draw.h"
#include "frame/main_window.h"
#include "frame/renderer.h"
#include "frame/sprite_draw.h"
#include "models/object_build.h"
#include "models/object_slot.h"

namespace {

using Clock = std::chrono::steady_clock;

// A closed sphere of 20 x 25 quads: 1,000 triangles, clockwise seen from
// outside.
void BuildSphere(Lumenar3D* e, int n) {
  const int rings = 20, segments = 25;
  const float pi = 3.14159265f;
  auto point = [&](int i, int j, float* p) {
    float t = pi * float(i) / rings, f = 2 * pi * float(j) / segments;
    p[0] = std::sin(t) * std::cos(f);
    p[1] = std::cos(t);
    p[2] = std::sin(t) * std::sin(f);
  };
  e->frameDecodeMode = 2;
  ObjStart(e, n, 0);
  for (int i = 0; i < rings; ++i)
    for (int j = 0; j < segments; ++j) {
      float a[3], b[3], c[3], d[3];
      point(i, j, a);
      point(i + 1, j, b);
      point(i + 1, j + 1, c);
      point(i, j + 1, d);
      for (const float* v : {a, b, c, a, c, d}) ObjAddVertex(e, v[0], v[1], v[2], 0, 0, 0xFFFFFF);
    }
  ObjEnd(e);
}

void BuildFloor(Lumenar3D* e, int n) {
  ObjStart(e, n, 0);
  const float c[4][2] = {{-20, -20}, {-20, 20}, {20, 20}, {20, -20}};
  for (int i : {0, 2, 1, 0, 3, 2}) ObjAddVertex(e, c[i][0], -1.5f, c[i][1], 0, 0, 0xC0C0C0);
  ObjEnd(e);
}

void DrawFrame(Lumenar3D* e, int count, bool shadows, float spin) {
  Make3D(e, 1, 200, 60);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
  SetCamera(e, 0, 12, 30, 0, 0, 0);
  SetCullMode(e, 1);
  SetLight(e, 0, 0xFFFFFF, 0, 0, 0, -0.3f, -1, -0.5f, 180, false);
  DrawObject(*e, 0, 0, 0, 0, false);
  int side = int(std::ceil(std::sqrt(double(count))));
  for (int pass = 0; pass < (shadows ? 2 : 1); ++pass) {
    if (pass == 1) SetLight(e, -3, 0, 10, 30, 10, 0, 0, 0, 1, false);
    for (int i = 0; i < count; ++i) {
      PushTransform(e);
      SetTranslation(e, float(i % side - side / 2) * 2.2f, 0, float(i / side - side / 2) * 2.2f);
      float s = 10.0f / float(side);
      SetScale(e, s > 1 ? 1 : s, s > 1 ? 1 : s, s > 1 ? 1 : s);
      AddRotation(e, spin + float(i) * 7, 0, 1, 0);
      DrawObject(*e, 1, 0, 0, 0, false);
      PopTransform(e);
    }
  }
  SetShadowPass(e, false);
  SetLight(e, 0, 0, 0, 0, 0, 0, 0, 0, 0, false);
}

double FramesPerSecond(Lumenar3D* e, int count, bool shadows, double seconds) {
  DrawFrame(e, count, shadows, 0);
  glFinish();
  int frames = 0;
  Clock::time_point start = Clock::now();
  double elapsed = 0;
  while (elapsed < seconds || frames < 3) {
    DrawFrame(e, count, shadows, float(frames));
    glFinish();
    ++frames;
    elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  }
  return frames / elapsed;
}

}  // namespace

int main(int argc, char** argv) {
  double seconds = argc > 1 ? std::atof(argv[1]) : 3.0;
  if (!(seconds > 0)) seconds = 3.0;
  OpenGLLumenar* r = new OpenGLLumenar();
  if (!CreateMainWindow(r, nullptr, 640, 480, 0, 60, 0, false)) {
    std::fprintf(stderr, "no window\n");
    return 1;
  }
  r->currentAlpha = 1;
  Lumenar3D* e = new Lumenar3D(r);
  SetViewport2D(r, 0, 0, 0, 0);
  BuildFloor(e, 0);
  BuildSphere(e, 1);
  std::printf("objects  lit fps  lit+shadows fps  shadow cost\n");
  for (int n : {1, 10, 100}) {
    double lit = FramesPerSecond(e, n, false, seconds);
    double shadowed = FramesPerSecond(e, n, true, seconds);
    std::printf("%7d  %7.1f  %15.1f  %10.2fx\n", n, lit, shadowed, lit / shadowed);
  }
  delete e;
  delete r;
  return 0;
}
