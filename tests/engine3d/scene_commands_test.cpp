// A small scene driven only through the 3D command layer, on a window of
// another size than the X screen: build, save, load, place, turn, collide,
// pick, draw and project.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "core/basic_array.h"
#include "core/basic_string.h"
#include "engine3d/commands3d.h"
#include "engine3d/lumenar3d.h"
#include "engine3d/camera.h"
#include "frame/main_window.h"
#include "frame/renderer.h"

namespace {

class WindowEnv : public ::testing::Environment {
 public:
  void SetUp() override {
    renderer = new OpenGLLumenar();
    ASSERT_TRUE(CreateMainWindow(renderer, nullptr, 512, 384, 0, 60, 0, false));
    gRenderer = renderer;
    g3DEngine = new Lumenar3D(renderer);
  }
  void TearDown() override {
    delete g3DEngine;
    g3DEngine = nullptr;
    gRenderer = nullptr;
    delete renderer;
  }
  OpenGLLumenar* renderer = nullptr;
};
const auto* const kEnv = ::testing::AddGlobalTestEnvironment(new WindowEnv);

// glFrustum(-1, 1, -1, 1, 1, 10) and a camera 5 back along z.
const float kFrustum[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, -11.0f / 9, -1, 0, 0, -20.0f / 9, 0};
const float kBack5[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -5, 1};

void LoadGLState(const float projection[16]) {
  glViewport(32, 24, 256, 128);
  glMatrixMode(GL_PROJECTION);
  glLoadMatrixf(projection);
  glMatrixMode(GL_MODELVIEW);
  glLoadMatrixf(kBack5);
}

TEST(SceneCommands, ProjectAndUnprojectThroughTheWindowState) {
  ASSERT_EQ(gRenderer->height, 384);
  LoadGLState(kFrustum);
  // Eye point (1, 0.5, -5) lands at ndc (0.2, 0.1, 7/9) of the viewport
  // (32, 24, 256, 128): x 185.6, y 33.6 from the viewport's top, z 8/9.
  double sx = -1, sy = -1, sz = -1;
  ProjectPointCmd(1, 0.5, 0, &sx, &sy, &sz);
  EXPECT_NEAR(sx, 185.6, 1e-3);
  EXPECT_NEAR(sy, 33.6, 1e-3);
  EXPECT_NEAR(sz, 8.0 / 9, 1e-5);
  // The command takes y from the top of the 384-line screen: GL's 94.4 is
  // 383 - 94.4 = 288.6.
  double x = -1, y = -1, z = -1;
  UnprojectPointCmd(185.6, 288.6, 8.0 / 9, &x, &y, &z);
  EXPECT_NEAR(x, 1, 1e-3);
  EXPECT_NEAR(y, 0.5, 1e-3);
  EXPECT_NEAR(z, 0, 1e-3);
  // A projection without a w row: nothing is stored.
  const float noW[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0};
  LoadGLState(noW);
  sx = sy = sz = 42;
  ProjectPointCmd(1, 2, 3, &sx, &sy, &sz);
  EXPECT_EQ(sx, 42);
  EXPECT_EQ(sy, 42);
  EXPECT_EQ(sz, 42);
}

TEST(SceneCommands, BuildSaveLoadPlaceTurnCollideAndPick) {
  // A 2 × 2 square as a strip of two triangles in object 5.
  ObjStartCmd(5);
  const double corners[4][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
  for (const auto& c : corners) ObjAddVertexCmd(c[0], c[1], 0, 0, 0, 0x00FF00);
  ObjEndCmd();
  EXPECT_EQ(CountFacesCmd(5), 2);

  std::string file = (std::filesystem::temp_directory_path() / "orvale_scene_square.ddd").string();
  BasicString name;
  StrFromCStr(name, file.c_str());
  SaveObjectCmd(name, 5);
  LoadObjectCmd(name, 7);
  EXPECT_EQ(CountFacesCmd(7), 2);
  BasicString missing;
  StrFromCStr(missing, "no_such_model_anywhere.ddd");
  LoadObjectCmd(missing, 8);
  EXPECT_EQ(CountFacesCmd(8), 0);

  // Every vertex of the loaded square is a corner of the one built (to the
  // 1/127 of the file's 8-bit positions).
  BasicArray face;
  GetFaceCmd(7, 0, 1, face);
  ASSERT_EQ(face.size0, 3u);
  ASSERT_EQ(face.size1, 9u);
  for (int v = 0; v < 3; ++v) {
    EXPECT_NEAR(std::abs(*ArrayElement(face, v, 0)), 1, 0.01);
    EXPECT_NEAR(std::abs(*ArrayElement(face, v, 1)), 1, 0.01);
    EXPECT_NEAR(*ArrayElement(face, v, 2), 0, 1e-3);
  }
  GetFaceCmd(7, 0, 2, face);  // beyond the last triangle: zeros
  for (int v = 0; v < 3; ++v)
    for (int k = 0; k < 9; ++k) EXPECT_EQ(*ArrayElement(face, v, k), 0);

  // The 3D set-up over the whole screen, a camera 6 above the point
  // (10, 0, 0) looking down with -z up, a black background.
  Make2DCmd();
  glClearColor(0, 0, 0, 1);
  Make3DCmd(1, 100, 60);
  SetCameraUpCmd(0, 0, -1);
  SetCameraCmd(10, 6, 0, 10, 0, 0);
  // Placed 10 along x and turned a quarter about x: the square now lies in
  // the world plane y = 0, x in [9, 11], z in [-1, 1].
  SetTranslationCmd(10, 0, 0);
  AddRotationCmd(90, 1, 0, 0);
  EXPECT_EQ(CollideObjectSphereCmd(7, 0, 0.6, 10, 0.5, 0), 1);
  EXPECT_EQ(CollideObjectSphereCmd(7, 0, 0.4, 10, 0.5, 0), 0);
  EXPECT_EQ(CollideObjectBoxCmd(7, 0, 10, 0.5, 0, 1, 1), 1);   // resting on it
  EXPECT_EQ(CollideObjectBoxCmd(7, 0, 10, 0.6, 0, 1, 1), 0);   // 0.1 above
  EXPECT_EQ(CollideObjectBoxCmd(7, 0, 10, 0, 1.4, 1, 1), 1);   // over its edge
  EXPECT_EQ(CollideObjectBoxCmd(7, 0, 10, 0, 1.6, 1, 1), 0);   // past its edge
  EXPECT_NEAR(RayObjectDistanceCmd(7, 0, 10.5, 5, 0.5, 0, -3, 0), 5, 1e-3);
  EXPECT_NEAR(RayObjectDistanceCmd(7, 0, 10.5, -2, 0.5, 0, -1, 0), -2, 1e-3);
  EXPECT_EQ(RayObjectDistanceCmd(7, 0, 12, 5, 0, 0, -1, 0), 0);

  // Drawn: green where the square lies, the looked-at point in the middle of
  // the 512 x 384 screen; black beyond the square.
  DrawObjectFrameCmd(7, 0);
  double sx = 0, sy = 0, sz = 0;
  ProjectPointCmd(10, 0, 0, &sx, &sy, &sz);
  EXPECT_NEAR(sx, 256, 0.01);
  EXPECT_NEAR(sy, 192, 0.01);
  uint8_t centre[4] = {}, beyond[4] = {};
  glReadPixels(256, 192, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, centre);
  glReadPixels(500, 192, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, beyond);
  EXPECT_LT(centre[0], 40);
  EXPECT_GT(centre[1], 200);
  EXPECT_LT(centre[2], 40);
  EXPECT_EQ(beyond[0] + beyond[1] + beyond[2], 0);

  // The same placement as one matrix: the turn's columns and the offset.
  SetTranslationCmd(0, 0, 0);
  BasicArray m;
  ArrayDim(m, 16);
  const double placed[16] = {1, 0, 0, 0, 0, 0, 1, 0, 0, -1, 0, 0, 10, 0, 0, 1};
  for (int i = 0; i < 16; ++i) *ArrayElement(m, i) = placed[i];
  MultMatrixCmd(m);
  EXPECT_NEAR(RayObjectDistanceCmd(7, 0, 10.5, 5, 0.5, 0, -1, 0), 5, 1e-3);
  BasicArray wrong;
  ArrayDim(wrong, 4, 4);
  MultMatrixCmd(wrong);  // not one-dimensional: ignored
  EXPECT_NEAR(RayObjectDistanceCmd(7, 0, 10.5, 5, 0.5, 0, -1, 0), 5, 1e-3);
  PopMatrixCmd();  // level 0: back to no placement
  EXPECT_NEAR(RayObjectDistanceCmd(7, 0, 0.5, 0.5, 5, 0, 0, -1), 5, 1e-3);

  SetFrameDecodeModeCmd(5);
  EXPECT_EQ(g3DEngine->frameDecodeMode, 2);
  SetFrameDecodeModeCmd(-4);
  EXPECT_EQ(g3DEngine->frameDecodeMode, -1);
  SetFrameDecodeModeCmd(2);
  std::remove(file.c_str());
}

TEST(SceneCommands, CullModeFollowsTheSignAndMake3DClearsIt) {
  Make2DCmd();
  SetCullModeCmd(0.5);
  EXPECT_EQ(g3DEngine->cullMode, 1);
  EXPECT_EQ(gCullModeSetting, 1);
  EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
  SetCullModeCmd(-0.5);
  EXPECT_EQ(g3DEngine->cullMode, -1);
  Make3DCmd(1, 100, 60);
  EXPECT_EQ(g3DEngine->cullMode, 0);
  EXPECT_EQ(gCullModeSetting, 0);
  EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
  EXPECT_EQ(gTextureSelection[0], -1);
  EXPECT_EQ(gTextureSelection[1], -1);
  Make2DCmd();
}

}  // namespace
