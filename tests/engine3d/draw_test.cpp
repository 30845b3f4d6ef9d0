// Pixels drawn by the 3D engine on Mesa's software renderer: lit and unlit
// closed cubes, fog, stencil shadows, sphere mapping, bump mapping, toon
// shading with its outline, shader programs, and a model read from a .ddd
// file spinning over a floor.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "engine3d/camera.h"
#include "engine3d/lights_fog.h"
#include "engine3d/lumenar3d.h"
#include "engine3d/mesh_draw.h"
#include "engine3d/shade_textures.h"
#include "engine3d/shaders.h"
#include "frame/gl_entry_points.h"
#include "frame/main_window.h"
#include "frame/renderer.h"
#include "frame/sprite_draw.h"
#include "models/ddd_file.h"
#include "models/object_build.h"
#include "models/object_loading.h"
#include "models/object_slot.h"

namespace {

constexpr int kW = 640, kH = 480;
OpenGLLumenar* gR = nullptr;

class WindowEnv : public ::testing::Environment {
 public:
  void SetUp() override {
    gR = new OpenGLLumenar();
    ASSERT_TRUE(CreateMainWindow(gR, nullptr, kW, kH, 0, 60, 0, false));
  }
  void TearDown() override {
    delete gR;
    gR = nullptr;
  }
};
const auto* const kEnv = ::testing::AddGlobalTestEnvironment(new WindowEnv);

struct Rgb {
  int r, g, b;
};

Rgb Pixel(int x, int y) {
  uint8_t p[4] = {0, 0, 0, 0};
  glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
  return {p[0], p[1], p[2]};
}

::testing::AssertionResult Near(Rgb got, Rgb want, int tolerance) {
  if (std::abs(got.r - want.r) <= tolerance && std::abs(got.g - want.g) <= tolerance &&
      std::abs(got.b - want.b) <= tolerance)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "got (" << got.r << ", " << got.g << ", " << got.b
                                       << ") want (" << want.r << ", " << want.g << ", "
                                       << want.b << ") +-" << tolerance;
}

// Window pixel of a point given in the space of the current model matrix.
void WindowOf(Lumenar3D* e, float x, float y, float z, int* wx, int* wy) {
  float p[16], mv[16], pm[16];
  glGetFloatv(GL_PROJECTION_MATRIX, p);
  glGetFloatv(GL_MODELVIEW_MATRIX, mv);
  MultiplyMatrix(p, mv, pm);
  float m[16];
  MultiplyMatrix(pm, CurrentModelMatrix(e), m);
  float c[4];
  for (int r = 0; r < 4; ++r) c[r] = m[r] * x + m[4 + r] * y + m[8 + r] * z + m[12 + r];
  *wx = int(std::lround((c[0] / c[3] * 0.5f + 0.5f) * kW));
  *wy = int(std::lround((c[1] / c[3] * 0.5f + 0.5f) * kH));
}

// Each face runs clockwise seen from outside.
void AddBox(Lumenar3D* e, float half, float cy, uint32_t colour) {
  const float faces[6][3][3] = {
      {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}},  {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
      {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}},  {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}},
      {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}},  {{0, 0, -1}, {0, 1, 0}, {1, 0, 0}}};
  const float su[4] = {-1, 1, 1, -1}, sv[4] = {-1, -1, 1, 1};
  const int order[6] = {0, 2, 1, 0, 3, 2};
  for (const auto& f : faces)
    for (int i : order) {
      float p[3];
      for (int k = 0; k < 3; ++k) p[k] = half * (f[0][k] + su[i] * f[1][k] + sv[i] * f[2][k]);
      ObjAddVertex(e, p[0], p[1] + cy, p[2], (su[i] + 1) / 2, (sv[i] + 1) / 2, colour);
    }
}

void BuildCube(Lumenar3D* e, int n, uint32_t colour, float half = 1) {
  e->frameDecodeMode = 1;  // one normal per face
  ObjStart(e, n, 0);
  AddBox(e, half, 0, colour);
  ObjEnd(e);
}

// A square at height y, clockwise seen from above (facing up), or the
// other way round.
void BuildFloor(Lumenar3D* e, int n, float y, float half, uint32_t colour, bool clockwise = true) {
  e->frameDecodeMode = 1;
  ObjStart(e, n, 0);
  const float c[4][2] = {{-1, -1}, {-1, 1}, {1, 1}, {1, -1}};  // (x, z), counter-clockwise from above
  const int cw[6] = {0, 2, 1, 0, 3, 2}, ccw[6] = {0, 1, 2, 0, 2, 3};
  for (int i : clockwise ? cw : ccw) ObjAddVertex(e, c[i][0] * half, y, c[i][1] * half, 0, 0, colour);
  ObjEnd(e);
}

class Draw3D : public ::testing::Test {
 protected:
  void SetUp() override {
    e = new Lumenar3D(gR);
    gR->currentAlpha = 1;  // as the frame loop leaves it
    SetViewport2D(gR, 0, 0, 0, 0);
    Make3D(e, 1, 100, 60);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    SetCamera(e, 0, 0, 6, 0, 0, 0);
  }
  void TearDown() override {
    SetShadowPass(e, false);
    for (int i = 0; i < 8; ++i) SetLight(e, i, 0, 0, 0, 0, 0, 0, 0, 0, false);
    glDisable(GL_FOG);
    UseShader(e, -1);
    BindSpriteTexture(gR, -1, -1, 0, nullptr);
    delete e;
  }
  Rgb Centre() {
    int x, y;
    WindowOf(e, 0, 0, 1, &x, &y);
    return Pixel(x, y);
  }
  Lumenar3D* e = nullptr;
};

TEST_F(Draw3D, UnlitCubeIsFlatAndBackgroundStays) {
  BuildCube(e, 1, 0x3366CC);
  SetCullMode(e, 1);
  AddRotation(e, 30, 0, 1, 0);
  AddRotation(e, 20, 1, 0, 0);
  DrawObject(*e, 1, 0, 0, 0, false);
  int fx, fy, sx, sy;
  WindowOf(e, 0, 0, 1, &fx, &fy);    // front face
  WindowOf(e, -1, 0, 0, &sx, &sy);   // left face
  EXPECT_TRUE(Near(Pixel(fx, fy), {0xCC, 0x66, 0x33}, 2));
  EXPECT_TRUE(Near(Pixel(sx, sy), {0xCC, 0x66, 0x33}, 2));
  EXPECT_TRUE(Near(Pixel(5, 5), {0, 0, 255}, 0));
}

// Face normals point out of clockwise faces, which are the front faces
// kept by cull mode 1: a closed cube lit from the camera shows its near
// faces by the cosine of their turn.
TEST_F(Draw3D, LitClosedCubeWindingAgreesWithCullingAndLighting) {
  BuildCube(e, 1, 0xFFFFFF);
  SetCullMode(e, 1);
  SetLight(e, 0, 0xFFFFFF, 0, 0, 1, 0, 0, -1, 180, false);  // shining along -z
  AddRotation(e, 30, 0, 1, 0);
  DrawObject(*e, 1, 0, 0, 0, false);
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  int fx, fy, sx, sy;
  WindowOf(e, 0, 0, 1, &fx, &fy);
  WindowOf(e, -1, 0, 0, &sx, &sy);  // left face, turned 60 degrees
  // The light model's 0.2 times the white material ambient that colour
  // tracking left before SetLight chose diffuse tracking.
  const int ambient = 51;
  int front = std::min(255, int(ambient + 255 * std::cos(30 * 3.14159265 / 180)));
  int side = int(ambient + 255 * std::cos(60 * 3.14159265 / 180));
  EXPECT_TRUE(Near(Pixel(fx, fy), {front, front, front}, 8));
  EXPECT_TRUE(Near(Pixel(sx, sy), {side, side, side}, 8));
  // Back faces are culled: seen from inside nothing is drawn.
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  SetCamera(e, 0, 0, 0.2f, 0, 0, -5);
  DrawObject(*e, 1, 0, 0, 0, false);
  EXPECT_TRUE(Near(Pixel(kW / 2, kH / 2), {0, 0, 255}, 0));
}

TEST_F(Draw3D, FogLinearAndExponential) {
  BuildCube(e, 1, 0xFFFFFF);
  struct Case {
    int mode;
    float a, b, f;  // f: share of the object's own colour at depth 5
  } cases[] = {{0, 0, 10, 0.5f}, {0, 2, 8, 0.5f}, {1, 0.1f, 0, std::exp(-0.5f)}};
  for (const Case& c : cases) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SetFog(e, 0x0000FF, c.mode, c.a, c.b);  // red fog
    DrawObject(*e, 1, 0, 0, 0, false);
    int gb = int(std::lround(255 * c.f));
    EXPECT_TRUE(Near(Centre(), {255, gb, gb}, 4)) << c.mode << " " << c.a;
  }
  SetFog(e, 0xFFFFFFFFu, 0, 0, 0);
  EXPECT_FALSE(glIsEnabled(GL_FOG));
  // Both bounds 0: the near and far planes of Make3D (1..100).
  SetFog(e, 0x0000FF, 0, 0, 0);
  float start = 0, end = 0;
  glGetFloatv(GL_FOG_START, &start);
  glGetFloatv(GL_FOG_END, &end);
  EXPECT_EQ(start, 1);
  EXPECT_EQ(end, 100);
}

// A box hovering over a floor, its shadow cast by a point light up and to
// the right (with `lit`, light 0 shines on the box from the same side);
// returns the pixels of the shadowed and the lit floor, and of the box's
// top and front faces.
struct ShadowProbe {
  Rgb shadow, floor, top, front;
};

ShadowProbe DrawShadowScene(Lumenar3D* e, int box, int floor, float spin, int cullMode = 1,
                            bool lit = false) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
  SetCamera(e, 0, 4, 9, 0, -0.5f, 0);
  SetCullMode(e, cullMode);
  DrawObject(*e, floor, 0, 0, 0, false);
  AddRotation(e, spin, 0, 1, 0);
  if (lit) SetLight(e, 0, 0xFFFFFF, 4, 6, 0, -4, -6, 0, 180, false);
  DrawObject(*e, box, 0, 0, 0, false);
  if (lit) SetLight(e, 0, 0, 0, 0, 0, 0, 0, 0, 0, false);
  SetLight(e, -3, 0, 4, 6, 0, 0, 0, 0, 1, false);
  EXPECT_EQ(e->shadowPass, 1);
  DrawObject(*e, box, 0, 0, 0, false);
  // The volume leaves the program's cull mode as it found it.
  GLint front = 0, side = 0;
  glGetIntegerv(GL_FRONT_FACE, &front);
  glGetIntegerv(GL_CULL_FACE_MODE, &side);
  EXPECT_EQ(bool(glIsEnabled(GL_CULL_FACE)), cullMode != 0);
  if (cullMode != 0) {
    EXPECT_EQ(front, cullMode == 1 ? GL_CW : GL_CCW);
  }
  EXPECT_EQ(side, GL_BACK);
  SetLight(e, -3, 0, 4, 6, 0, 0, 0, 0, 0, false);
  EXPECT_EQ(e->shadowPass, 0);
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  // Resolving the pass left the 2D state; find the pixels in 3D terms.
  Make3D(e, 1, 100, 60);
  SetCamera(e, 0, 4, 9, 0, -0.5f, 0);
  ShadowProbe p;
  int x, y;
  WindowOf(e, -1.4f, -1, 0, &x, &y);
  p.shadow = Pixel(x, y);
  WindowOf(e, 2.0f, -1, 0, &x, &y);
  p.floor = Pixel(x, y);
  WindowOf(e, 0, 0.5f, 0, &x, &y);
  p.top = Pixel(x, y);
  WindowOf(e, 0, 0, 0.5f, &x, &y);
  p.front = Pixel(x, y);
  return p;
}

TEST_F(Draw3D, StencilShadowDarkensFloorBehindBox) {
  BuildCube(e, 1, 0x0000FF, 0.5f);
  BuildFloor(e, 2, -1, 4, 0xC8C8C8);
  ShadowProbe p = DrawShadowScene(e, 1, 2, 0);
  EXPECT_TRUE(Near(p.floor, {200, 200, 200}, 2));
  EXPECT_TRUE(Near(p.shadow, {100, 100, 100}, 3));
  // The top faces the light and keeps its colour; the front face, in the
  // plane the light stands back from, lies in the shadow.
  EXPECT_TRUE(Near(p.top, {255, 0, 0}, 2));
  EXPECT_TRUE(Near(p.front, {128, 0, 0}, 2));
}

std::string TempPath(const char* leaf) {
  const char* dir = std::getenv("TMPDIR");
  return std::string(dir && *dir ? dir : "/tmp") + "/draw3d_" + std::to_string(std::random_device{}()) + "_" + leaf;
}

// The cube of BuildCube written to a .ddd file and read into slot n; with
// `reversed` two corners of every triangle swap places first, so the model
// runs counter-clockwise seen from outside while its stored normals still
// point out.
void LoadCubeModel(Lumenar3D* e, int n, bool reversed) {
  const int work = 30;
  BuildCube(e, work, 0x0000FF, 0.5f);
  MeshObjectX& part = e->objects.data[work].parts.data[0];
  MeshFrame& f = part.frames.data[0];
  ASSERT_EQ(f.packed.count, 1 + 36);  // the list marker, then 12 triangles
  if (reversed)
    for (int i = 2; i < f.packed.count; i += 3) {
      std::swap(f.packed.data[i], f.packed.data[i + 1]);
      std::swap(part.texU.data[i], part.texU.data[i + 1]);
      std::swap(part.texV.data[i], part.texV.data[i + 1]);
    }
  std::string path = TempPath("cube.ddd");
  ASSERT_TRUE(SaveObject(e, path.c_str(), work));
  ASSERT_TRUE(LoadObject(e, path.c_str(), n));
  std::remove(path.c_str());
}

// One closed model wound each way. The winding a cull mode takes as front
// draws closed and lit on the side facing the light, and both windings cast
// their shadow under every cull mode.
TEST_F(Draw3D, ShadowsAndLightingFollowTheCullMode) {
  LoadCubeModel(e, 1, false);
  LoadCubeModel(e, 2, true);
  BuildFloor(e, 3, -1, 4, 0xC8C8C8, true);
  BuildFloor(e, 4, -1, 4, 0xC8C8C8, false);
  struct Case {
    int cullMode, box, floor;
    bool lit;
  } cases[] = {{1, 1, 3, true}, {-1, 2, 4, true}, {0, 1, 3, false}, {0, 2, 4, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "cull mode " << c.cullMode << " box " << c.box);
    ShadowProbe p = DrawShadowScene(e, c.box, c.floor, 0, c.cullMode, c.lit);
    EXPECT_TRUE(Near(p.floor, {200, 200, 200}, 2));
    EXPECT_TRUE(Near(p.shadow, {100, 100, 100}, 3));
    if (c.lit) {
      // The ambient 51 in every channel plus 255 x 0.83 of red on the top;
      // the front face, turned away from the light, has only the ambient
      // share, halved by the shadow.
      EXPECT_TRUE(Near(p.top, {255, 51, 51}, 2));
      EXPECT_TRUE(Near(p.front, {26, 26, 26}, 3));
    } else {
      EXPECT_TRUE(Near(p.top, {255, 0, 0}, 2));
      EXPECT_TRUE(Near(p.front, {128, 0, 0}, 2));
    }
    Make3D(e, 1, 100, 60);
  }
}

TEST(ShadowFacing, PointLightIsTakenRelativeToTheTriangle) {
  // A triangle in the plane z = 2 facing +z (clockwise seen from there);
  // the light at z = 1 is behind it although the light's position points
  // the same way as the normal.
  MeshVertex t[3] = {};
  t[0].x = 0, t[0].y = 0, t[0].z = 2;
  t[1].x = 0, t[1].y = 1, t[1].z = 2;
  t[2].x = 1, t[2].y = 0, t[2].z = 2;
  const float behind[3] = {0, 0, 1}, before[3] = {0, 0, 3};
  EXPECT_FALSE(TriangleFacesPoint(t, behind));
  EXPECT_TRUE(TriangleFacesPoint(t, before));
}

TEST_F(Draw3D, SphereMapReplacesTextureCoordinates) {
  GLuint tex = 0;
  glGenTextures(1, &tex);
  glBindTexture(GL_TEXTURE_2D, tex);
  std::vector<uint8_t> px(4 * 4 * 4, 0);
  for (int i = 0; i < 16; ++i) {
    px[i * 4 + 1] = 255;  // green
    px[i * 4 + 3] = 255;
  }
  px[0] = 255, px[1] = 0;  // texel (0, 0) red
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  const int slot = 700;
  gR->sprites[slot].texture = tex;
  // Every corner at texture coordinate (0, 0): the red texel.
  e->frameDecodeMode = 1;
  ObjStart(e, 1, 0);
  const float c[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
  for (int i : {0, 2, 1, 0, 3, 2}) ObjAddVertex(e, c[i][0], c[i][1], 1, 0, 0, 0xFFFFFF);
  ObjEnd(e);
  BindSpriteTexture(gR, slot, -1, 0, nullptr);
  DrawObject(*e, 1, 0, 0, 0, false);
  EXPECT_TRUE(Near(Centre(), {255, 0, 0}, 2));
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  e->sphereMapping = 1;
  DrawObject(*e, 1, 0, 0, 0, false);
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
  // The normal faces the eye: the generated coordinates sit at the middle.
  EXPECT_TRUE(Near(Centre(), {0, 255, 0}, 2));
  gR->sprites[slot].texture = 0;
  BindSpriteTexture(gR, -1, -1, 0, nullptr);
  glDeleteTextures(1, &tex);
}

TEST_F(Draw3D, BumpMapShadesByLightSide) {
  if (!pglClientActiveTextureARB || !pglMultiTexCoord2fARB ||
      !HasGlExtension("GL_ARB_texture_env_dot3"))
    GTEST_SKIP() << "no multitexture or dot3";
  GLuint tex = 0;
  glGenTextures(1, &tex);
  glBindTexture(GL_TEXTURE_2D, tex);
  const uint8_t flat[4] = {128, 128, 255, 255};  // normal straight out
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, flat);
  const int slot = 701;
  gR->sprites[slot].texture = tex;
  BuildCube(e, 1, 0xFFFFFF);
  SetCullMode(e, 1);
  BindSpriteTexture(gR, slot, -1, 0, nullptr);
  SetLight(e, -1, 0xFFFFFF, 0, 0, 100, 0, 0, 0, 1, false);
  DrawObject(*e, 1, 0, 0, 0, false);
  Rgb lit = Centre();
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  SetLight(e, -1, 0xFFFFFF, 0, 0, -100, 0, 0, 0, 1, false);
  DrawObject(*e, 1, 0, 0, 0, false);
  Rgb dark = Centre();
  EXPECT_GT(lit.r, 240);
  EXPECT_LT(dark.r, 16);
  GLint envMode = 0;
  glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &envMode);
  EXPECT_EQ(envMode, GL_MODULATE);
  gR->sprites[slot].texture = 0;
  BindSpriteTexture(gR, -1, -1, 0, nullptr);
  glDeleteTextures(1, &tex);
}

int CountDark(int row) {
  int n = 0;
  for (int x = 0; x < kW; ++x) {
    Rgb p = Pixel(x, row);
    n += p.r < 20 && p.g < 20 && p.b < 20;
  }
  return n;
}

TEST_F(Draw3D, ToonShadingOutlineAndLightingAfterIt) {
  if (!pglClientActiveTextureARB || !pglMultiTexCoord2fARB) GTEST_SKIP() << "no multitexture";
  BuildCube(e, 1, 0xFFFFFF);
  BuildCube(e, 2, 0xFFFFFF, 0.5f);
  SetLight(e, 0, 0xFFFFFF, 0, 0, 1, 0, 0, -1, 180, false);
  SetLight(e, -2, 0xFFFFFF, 0, 0, 50, 0, 0, 0, 1, false);
  // Without culling no outline is drawn.
  DrawObject(*e, 1, 0, 0, 0, false);
  EXPECT_NE(e->objects.data[1].parts.data[0].paletteTexture, 0u);
  Rgb shade = Centre();
  EXPECT_EQ(shade.r, shade.g);
  EXPECT_GT(shade.r, 90);
  EXPECT_EQ(CountDark(kH / 2), 0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  SetCullMode(e, 1);
  DrawObject(*e, 1, 0, 0, 0, false);
  int outline = CountDark(kH / 2);
  EXPECT_GE(outline, 2);   // both sides
  EXPECT_LE(outline, 16);  // a thin line
  EXPECT_EQ(e->cullMode, 1);
  // Later objects are lit again.
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  SetLight(e, -2, 0, 0, 0, 0, 0, 0, 0, 0, false);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  AddRotation(e, 60, 0, 1, 0);
  DrawObject(*e, 2, 0, 0, 0, false);
  int x, y;
  WindowOf(e, 0, 0, 0.5f, &x, &y);
  int lit = int(51 + 255 * 0.5);
  EXPECT_TRUE(Near(Pixel(x, y), {lit, lit, lit}, 8));
  // A new ramp drops the shade texture; the next toon draw rebuilds it.
  const uint8_t ramp[3] = {50, 150, 250};
  SetShadeRamp(*e, ramp, 3);
  EXPECT_EQ(e->objects.data[1].parts.data[0].paletteTexture, 0u);
  SetShadeRamp(*e, nullptr, 0);
  EXPECT_EQ(gShadeRamp.count, 1);
  gShadeRamp.count = 0;
}

// A sphere of the given radius about the origin, 12 rings of 24 quads, each
// triangle clockwise seen from outside, with smooth normals.
void BuildSphere(Lumenar3D* e, int n, float radius) {
  e->frameDecodeMode = 2;
  ObjStart(e, n, 0);
  const int rings = 12, slices = 24;
  const float pi = 3.14159265f;
  auto at = [&](int i, int j, float p[3]) {
    float th = pi * float(i) / rings, ph = 2 * pi * float(j) / slices;
    p[0] = radius * std::sin(th) * std::cos(ph);
    p[1] = radius * std::cos(th);
    p[2] = radius * std::sin(th) * std::sin(ph);
  };
  for (int i = 0; i < rings; ++i)
    for (int j = 0; j < slices; ++j) {
      float a[3], b[3], c[3], d[3];
      at(i, j, a), at(i + 1, j, b), at(i + 1, j + 1, c), at(i, j + 1, d);
      // a, b, c and a, c, d run clockwise seen from outside.
      for (const float* q : {a, b, c, a, c, d}) ObjAddVertex(e, q[0], q[1], q[2], 0, 0, 0xFFFFFF);
    }
  ObjEnd(e);
}

// Toon shading follows the light whatever the object's size: lit from +x,
// the right half of a sphere is brighter than the left at every radius.
TEST_F(Draw3D, ToonShadingFollowsTheLightAtAnySize) {
  if (!pglClientActiveTextureARB || !pglMultiTexCoord2fARB) GTEST_SKIP() << "no multitexture";
  SetLight(e, -2, 0xFFFFFF, 50, 0, 0, 0, 0, 0, 1, false);
  const float radii[3] = {0.5f, 1, 3};
  for (float radius : radii) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    BuildSphere(e, 1, radius);
    DrawObject(*e, 1, 0, 0, 0, false);
    const float s = radius * 0.7071f;
    int lx, ly, rx, ry;
    WindowOf(e, -s, 0, s, &lx, &ly);
    WindowOf(e, s, 0, s, &rx, &ry);
    Rgb left = Pixel(lx, ly), right = Pixel(rx, ry);
    // The default ramp: 255 on the lit side, 100 where the light is behind.
    EXPECT_TRUE(Near(right, {255, 255, 255}, 4)) << "radius " << radius;
    EXPECT_TRUE(Near(left, {100, 100, 100}, 4)) << "radius " << radius;
  }
  SetLight(e, -2, 0, 0, 0, 0, 0, 0, 0, 0, false);
  gShadeRamp.count = 0;
}

void WriteText(const std::string& path, const char* text) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fputs(text, f);
  std::fclose(f);
}

std::vector<std::string> gLog;
void Collect(const char* text) { gLog.push_back(text ? text : ""); }

TEST_F(Draw3D, ShaderProgramColoursTheCube) {
  if (!pglCreateShaderObjectARB) GTEST_SKIP() << "shader objects hidden";
  std::string vs = TempPath("v.glsl"), fs = TempPath("f.glsl"), bad = TempPath("bad.glsl");
  WriteText(vs, "void main() { gl_Position = ftransform(); }\n");
  WriteText(fs, "uniform float level;\nvoid main() { gl_FragColor = vec4(level, 0.25, 1.0, 1.0); }\n");
  WriteText(bad, "void main() { this is not glsl }\n");
  gLog.clear();
  ASSERT_TRUE(LoadShader(e, 3, vs.c_str(), fs.c_str(), Collect));
  EXPECT_NE(e->shaders[3].program, 0u);
  BuildCube(e, 1, 0xFFFFFF);
  UseShader(e, 3);
  SetShaderFloat(e, "level", 0.5f);
  DrawObject(*e, 1, 0, 0, 0, false);
  UseShader(e, -1);
  EXPECT_EQ(e->currentShader, 0xFFFFFFFFu);
  EXPECT_TRUE(Near(Centre(), {128, 64, 255}, 2));
  // A shader that does not compile reports the driver's log and links no
  // program; the slot keeps the object.
  EXPECT_FALSE(LoadShader(e, 4, nullptr, bad.c_str(), Collect));
  EXPECT_FALSE(gLog.empty());
  EXPECT_NE(e->shaders[4].fragmentShader, 0u);
  // Missing files: nothing to build.
  EXPECT_FALSE(LoadShader(e, 5, "/nonexistent/a.glsl", nullptr, Collect));
  EXPECT_EQ(e->shaders[5].program, 0u);
  EXPECT_FALSE(LoadShader(e, 255, vs.c_str(), fs.c_str(), Collect));
  // Reloading a slot replaces its objects; no sources empties it.
  ASSERT_TRUE(LoadShader(e, 3, vs.c_str(), fs.c_str(), Collect));
  EXPECT_FALSE(LoadShader(e, 3, nullptr, nullptr, Collect));
  EXPECT_EQ(e->shaders[3].program, 0u);
  std::remove(vs.c_str());
  std::remove(fs.c_str());
  std::remove(bad.c_str());
}

TEST_F(Draw3D, WithoutShaderSupportReportsOnce) {
  if (pglCreateShaderObjectARB) GTEST_SKIP() << "shader objects present";
  gLog.clear();
  ResetShaderSupportReport();
  EXPECT_FALSE(LoadShader(e, 1, "a.glsl", "b.glsl", Collect));
  EXPECT_FALSE(LoadShader(e, 2, "a.glsl", "b.glsl", Collect));
  ASSERT_EQ(gLog.size(), 1u);
  EXPECT_EQ(gLog[0], "No OpenGL 2.0 Shader Support");
  UseShader(e, 7);
  EXPECT_EQ(e->currentShader, 0xFFFFFFFFu);
}

// A model written to a .ddd file and read back spins for three frames over
// a floor, lit from the camera and casting a stencil shadow. The expected
// values are worked out by hand: the face toward the camera turned by a
// shows 51 + 255 cos(a) (ambient plus diffuse), the floor 200 and its
// shadowed part 100.
TEST_F(Draw3D, SpinningLitShadowedModelFromDddFile) {
  BuildCube(e, 9, 0xFFFFFF, 0.5f);
  std::string path = TempPath("cube.ddd");
  ASSERT_TRUE(SaveObject(e, path.c_str(), 9));
  ASSERT_TRUE(LoadObject(e, path.c_str(), 1));
  std::remove(path.c_str());
  BuildFloor(e, 2, -1, 4, 0xC8C8C8);
  const float spins[3] = {30, 50, 70};
  for (float a : spins) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    SetCamera(e, 0, 0, 6, 0, 0, 0);
    SetCullMode(e, 1);
    SetLight(e, 0, 0xFFFFFF, 0, 0, 1, 0, 0, -1, 180, false);
    AddRotation(e, a, 0, 1, 0);
    DrawObject(*e, 1, 0, 0, 0, false);
    int x, y;
    WindowOf(e, 0, 0, 0.5f, &x, &y);
    int want = std::min(255, int(51 + 255 * std::cos(a * 3.14159265 / 180)));
    EXPECT_TRUE(Near(Pixel(x, y), {want, want, want}, 8)) << "spin " << a;
    SetLight(e, 0, 0, 0, 0, 0, 0, 0, 0, 0, false);
    ShadowProbe p = DrawShadowScene(e, 1, 2, a);
    EXPECT_TRUE(Near(p.floor, {200, 200, 200}, 2)) << "spin " << a;
    EXPECT_TRUE(Near(p.shadow, {100, 100, 100}, 3)) << "spin " << a;
    Make3D(e, 1, 100, 60);
  }
}

TEST_F(Draw3D, FrameChoiceAndCulling) {
  FrameChoice c = ChooseFrames(2, 6, 0.5f, true, 10);
  EXPECT_EQ(c.a, 4);
  EXPECT_EQ(c.b, 5);
  EXPECT_EQ(c.t, 1);
  FrameChoice wrap = ChooseFrames(0, 4, 1.25f, true, 10), quarter = ChooseFrames(0, 4, 0.25f, true, 10),
              negative = ChooseFrames(0, 4, -0.25f, true, 10);
  EXPECT_EQ(wrap.a, quarter.a);
  EXPECT_EQ(negative.a, quarter.a);
  FrameChoice clamp = ChooseFrames(-3, 40, 0.5f, false, 5);
  EXPECT_EQ(clamp.a, 4);
  EXPECT_EQ(clamp.b, 0);
  // Planes of the camera at z = 6 looking down -z, near 1, far 100.
  EXPECT_TRUE(PointInFrustum(e, 0, 0, 0, 0));
  EXPECT_FALSE(PointInFrustum(e, 0, 0, 5.5f, 0));  // before the near plane
  EXPECT_TRUE(PointInFrustum(e, 0, 0, 5.5f, 1));
  EXPECT_FALSE(PointInFrustum(e, 0, 0, -95, 0));  // beyond the far plane
  EXPECT_FALSE(PointInFrustum(e, 40, 0, 0, 1));
  for (const auto& plane : e->frustumPlanes)
    EXPECT_NEAR(plane[0] * plane[0] + plane[1] * plane[1] + plane[2] * plane[2], 1, 1e-5);
  // An object behind the camera is not drawn.
  BuildCube(e, 1, 0xFFFFFF);
  SetTranslation(e, 0, 0, 20);
  DrawObject(*e, 1, 0, 0, 0, false);
  EXPECT_TRUE(Near(Pixel(kW / 2, kH / 2), {0, 0, 255}, 0));
}

TEST_F(Draw3D, TransformStackFullPushIsIgnoredAndPopsStaySymmetric) {
  SetTranslation(e, 1, 0, 0);
  for (int i = 0; i < 20; ++i) PushTransform(e);
  EXPECT_EQ(e->transformIndex, 15);
  SetTranslation(e, 0, 5, 0);
  for (int i = 0; i < 20 - 15; ++i) PopTransform(e);
  EXPECT_EQ(e->transformIndex, 15);
  for (int i = 0; i < 15; ++i) PopTransform(e);
  EXPECT_EQ(e->transformIndex, 0);
  EXPECT_EQ(CurrentModelMatrix(e)[12], 1);
  PopTransform(e);  // at level 0: reset
  EXPECT_EQ(CurrentModelMatrix(e)[12], 0);
  // Rotations: about (0, 2, 0) as about (0, 1, 0); about -y by 90 as y by -90.
  auto matrixOf = [&](float ang, float x, float y, float z) {
    Make3D(e, 1, 100, 60);
    AddRotation(e, ang, x, y, z);
    const float* m = CurrentModelMatrix(e);
    return std::vector<float>(m, m + 16);
  };
  std::vector<float> a = matrixOf(90, 0, 2, 0), b = matrixOf(90, 0, 1, 0),
                     c = matrixOf(90, 0, -1, 0), d = matrixOf(-90, 0, 1, 0),
                     g = matrixOf(33, 1, 1, 0), z = matrixOf(40, 0, 0, 0);
  for (int i = 0; i < 16; ++i) {
    EXPECT_NEAR(a[i], b[i], 1e-6);
    EXPECT_NEAR(c[i], d[i], 1e-6);
    EXPECT_NEAR(z[i], i % 5 == 0 ? 1 : 0, 0);
  }
  float gl[16];
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glRotatef(33, 1, 1, 0);
  glGetFloatv(GL_MODELVIEW_MATRIX, gl);
  glPopMatrix();
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(g[i], gl[i], 1e-5);
  EXPECT_NEAR(e->viewConeTangent, std::tan(65 * 3.14159265 / 180), 1e-4);
  Make3D(e, 1, 100, 84);
  EXPECT_NEAR(e->viewConeTangent, std::tan(89 * 3.14159265 / 180), 1e-2);
}

TEST_F(Draw3D, LightsSwitchByNumberAndDebugDrawingKeepsThem) {
  SetLight(e, 11, 0x00FF00, 1, 2, 3, 0, 0, 0, 120, false);  // light 3, a point light
  EXPECT_TRUE(glIsEnabled(GL_LIGHT3));
  EXPECT_EQ(e->lightMask, 1 << 3);
  float pos[4] = {0, 0, 0, 0};
  glGetLightfv(GL_LIGHT3, GL_POSITION, pos);  // eye space of the camera at z = 6
  EXPECT_NEAR(pos[0], 1, 1e-5);
  EXPECT_NEAR(pos[2], 3 - 6, 1e-5);
  EXPECT_EQ(pos[3], 1);
  SetLight(e, 2, 0xFFFFFF, 0, 0, 0, 0, 0, 0, 45, false);  // default light
  const float p[3] = {0, 0, 0}, q[3] = {1, 1, 1};
  DrawDot(e, p, 0xFF, 1000);
  DrawLine3D(e, p, q, 0xFF, 3);
  DrawAxes(e, 0, 0, 0);
  DrawDebugSphere(e, p, 1, 0xFF, 2);
  DrawDebugBox(e, p, q, q, q, 0xFF, 2);
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  SetLight(e, 3, 0, 0, 0, 0, 0, 0, 0, 0, false);
  EXPECT_FALSE(glIsEnabled(GL_LIGHT3));
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  SetLight(e, 2, 0, 0, 0, 0, 0, 0, 0, 0, false);
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
  // The effect light: -3 switches the shadow pass, once.
  SetLight(e, -3, 0x808080, 1, 2, 3, 0, 0, 0, 1, false);
  EXPECT_EQ(e->lightEffectMode, 3);
  EXPECT_EQ(e->shadowPass, 1);
  SetShadowPass(e, true);
  EXPECT_TRUE(glIsEnabled(GL_STENCIL_TEST));
  SetLight(e, -3, 0, 0, 0, 0, 0, 0, 0, 0, false);
  EXPECT_EQ(e->shadowPass, 0);
  EXPECT_EQ(e->lightEffectOn, 0);
  EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
  SetLight(e, -5, 0, 0, 0, 0, 0, 0, 0, 1, false);
  EXPECT_EQ(e->lightEffectMode, 2);
  SetLight(e, -1, 0, 0, 0, 0, 0, 0, 0, 0, false);
  EXPECT_EQ(e->lightEffectMode, 1);
  EXPECT_EQ(e->lightEffectOn, 0);
  // Cull modes: 2 is only stored.
  SetCullMode(e, 1);
  GLint front = 0;
  glGetIntegerv(GL_FRONT_FACE, &front);
  EXPECT_EQ(front, GL_CW);
  SetCullMode(e, 2);
  EXPECT_EQ(e->cullMode, 2);
  EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
