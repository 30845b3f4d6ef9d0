// Frames per second drawing N lit objects of 1,000 triangles each that cast
// stencil shadows onto a floor, at N = 1, 10 and 100, against two anchors:
// the same objects lit but without shadow volumes, and a plain OpenGL
// reference that draws the same lit spheres from one buffer object with
// glDrawArrays. Every case is drawn for a while before it is measured (the
// driver runs several times slower while it warms up), and the engine and
// the reference take turns in short rounds, so that a change in the
// machine's load falls on both. Run under Xvfb:
//
//   xvfb-run -a -s "-screen 0 640x480x24" bench_draw3d [seconds per case]
#include <GL/gl.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine3d/camera.h"
#include "engine3d/lights_fog.h"
#include "engine3d/lumenar3d.h"
#include "engine3d/mesh_draw.h"
#include "frame/gl_entry_points.h"
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

// The plain OpenGL reference: the scene set up by the same calls, then the
// floor and the spheres drawn straight, positions and normals of the
// sphere's triangles in one static buffer object.
struct Reference {
  GLuint buffer = 0;
  GLsizei vertices = 0;
  std::vector<float> data;  // x y z nx ny nz a vertex, when no buffer objects
};

Reference MakeReference(Lumenar3D* e) {
  Reference ref;
  const MeshFrame& f = e->objects.data[1].parts.data[0].frames.data[0];
  for (int32_t i = 0; i < f.triangles.count; ++i) {
    const MeshVertex& v = f.triangles.data[i];
    for (float x : {v.x, v.y, v.z, v.nx, v.ny, v.nz}) ref.data.push_back(x);
  }
  ref.vertices = GLsizei(f.triangles.count);
  if (pglGenBuffersARB && pglBindBufferARB && pglBufferDataARB) {
    pglGenBuffersARB(1, &ref.buffer);
    pglBindBufferARB(GL_ARRAY_BUFFER_ARB, ref.buffer);
    pglBufferDataARB(GL_ARRAY_BUFFER_ARB, GLsizeiptrARB(ref.data.size() * sizeof(float)),
                     ref.data.data(), GL_STATIC_DRAW_ARB);
    pglBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
  }
  return ref;
}

void DrawReferenceFrame(Lumenar3D* e, const Reference& ref, int count, float spin) {
  Make3D(e, 1, 200, 60);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
  SetCamera(e, 0, 12, 30, 0, 0, 0);
  SetCullMode(e, -1);
  SetLight(e, 0, 0xFFFFFF, 0, 0, 0, -0.3f, -1, -0.5f, 180, false);
  glEnable(GL_COLOR_MATERIAL);
  const float grey = float(0xC0) / 255.0f;
  glColor3f(grey, grey, grey);
  glBegin(GL_TRIANGLES);
  glNormal3f(0, 1, 0);
  const float c[4][2] = {{-20, -20}, {-20, 20}, {20, 20}, {20, -20}};
  for (int i : {0, 1, 2, 0, 2, 3}) glVertex3f(c[i][0], -1.5f, c[i][1]);
  glEnd();
  glColor4f(1, 1, 1, 1);
  // With a buffer bound the pointers are offsets into it.
  uintptr_t base = reinterpret_cast<uintptr_t>(ref.data.data());
  if (ref.buffer) {
    pglBindBufferARB(GL_ARRAY_BUFFER_ARB, ref.buffer);
    base = 0;
  }
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glVertexPointer(3, GL_FLOAT, 24, reinterpret_cast<const void*>(base));
  glNormalPointer(GL_FLOAT, 24, reinterpret_cast<const void*>(base + 12));
  int side = int(std::ceil(std::sqrt(double(count))));
  float s = 10.0f / float(side);
  if (s > 1) s = 1;
  for (int i = 0; i < count; ++i) {
    glPushMatrix();
    glTranslatef(float(i % side - side / 2) * 2.2f, 0, float(i / side - side / 2) * 2.2f);
    glScalef(s, s, s);
    glRotatef(spin + float(i) * 7, 0, 1, 0);
    glDrawArrays(GL_TRIANGLES, 0, ref.vertices);
    glPopMatrix();
  }
  glDisableClientState(GL_VERTEX_ARRAY);
  glDisableClientState(GL_NORMAL_ARRAY);
  if (ref.buffer) pglBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
  SetLight(e, 0, 0, 0, 0, 0, 0, 0, 0, 0, false);
}

// One way of drawing a case, and what it has drawn so far.
struct Runner {
  Lumenar3D* e;
  const Reference* ref;  // null: the engine
  int count;
  bool shadows;
  int frames = 0;
  double seconds = 0;

  void Frame() {
    if (ref)
      DrawReferenceFrame(e, *ref, count, float(frames));
    else
      DrawFrame(e, count, shadows, float(frames));
    glFinish();
  }
  // Draws for about `time` seconds (at least two frames); with count false
  // the frames are a warm-up and are not counted.
  void Run(double time, bool count = true) {
    int n = 0;
    Clock::time_point start = Clock::now();
    double elapsed = 0;
    while (elapsed < time || n < 2) {
      Frame();
      ++n;
      elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    }
    if (!count) return;
    frames += n;
    seconds += elapsed;
  }
  double Fps() const { return seconds > 0 ? frames / seconds : 0; }
};

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
  Reference ref = MakeReference(e);
  const int rounds = 6;
  std::printf("objects  plain GL fps  lit fps  lit/plain  lit+shadows fps  shadow cost\n");
  for (int n : {1, 10, 100}) {
    Runner plain{e, &ref, n, false}, lit{e, nullptr, n, false}, shadowed{e, nullptr, n, true};
    Runner* all[3] = {&plain, &lit, &shadowed};
    for (Runner* x : all) x->Run(seconds / 2, false);
    for (int round = 0; round < rounds; ++round)
      for (Runner* x : all) x->Run(seconds / rounds);
    std::printf("%7d  %12.1f  %7.1f  %9.2f  %15.1f  %10.2fx\n", n, plain.Fps(), lit.Fps(),
                lit.Fps() / plain.Fps(), shadowed.Fps(), lit.Fps() / shadowed.Fps());
  }
  delete e;
  delete r;
  return 0;
}
