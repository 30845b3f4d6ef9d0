// Scene files on a real GL context: images become the slot's textures,
// parts are read in key order, names in other letter case and scenes stored
// in an archive load; object start and loading release what a slot held.
#include <GL/gl.h>

#include <cmath>

#include "frame/main_window.h"
#include "frame/renderer.h"
#include "model_fixture.h"
#include "models/ddd_file.h"
#include "models/object_loading.h"
#include "models/scene_file.h"

namespace {

OpenGLLumenar* gTestRenderer = nullptr;

class WindowEnv : public ::testing::Environment {
 public:
  void SetUp() override {
    gTestRenderer = new OpenGLLumenar();
    ASSERT_TRUE(CreateMainWindow(gTestRenderer, nullptr, 640, 480, 0, 60, 0, false));
  }
  void TearDown() override {
    delete gTestRenderer;
    gTestRenderer = nullptr;
  }
};
const auto* const kEnv = ::testing::AddGlobalTestEnvironment(new WindowEnv);

class SceneFile : public ModelFixture {
 protected:
  void SetUp() override {
    ModelFixture::SetUp();
    engine_->renderer = gTestRenderer;
  }
  // Writes a triangle object as folder/name.
  void WriteTriangle(const std::string& path, float size) {
    ObjStart(engine_, 4000, 0);
    ObjAddVertex(engine_, 0, 0, 0, 0, 0, 0xFFFFFF);
    ObjAddVertex(engine_, size, 0, 0, 1, 0, 0xFFFFFF);
    ObjAddVertex(engine_, 0, size, 0, 0, 1, 0xFFFFFF);
    ObjEnd(engine_);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path().empty()
                                            ? "."
                                            : std::filesystem::path(path).parent_path());
    ASSERT_EQ(SaveObject(engine_, path.c_str(), 4000), 1);
  }
  // The colour texture i of slot n holds, read back from GL.
  uint32_t TexelOf(int n, int i) {
    GLuint name = Slot(n).textures.data[i];
    if (!glIsTexture(name)) return 0xDEAD;
    glBindTexture(GL_TEXTURE_2D, name);
    uint8_t px[4 * 4] = {};
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, px);
    return uint32_t(px[0]) | uint32_t(px[1]) << 8 | uint32_t(px[2]) << 16;
  }
};

const char* kScene =
    ";DDW scene\r\n"
    "[Textures]\r\n"
    "COUNT=4\r\n"
    "1=Red.BMP\r\n"
    "2=nothing.png\r\n"
    "3=GREEN.bmp\r\n"
    "4=blue.bmp\r\n"
    "[objects]\r\n"
    "count=6\r\n"
    "1=parts/Big.DDD\r\n"
    "1ta=3\r\n"
    "1tb=1\r\n"
    "2=parts/text.ddd\r\n"
    "2ta=0\r\n"
    "2tb=-1\r\n"
    "3=parts/missing.ddd\r\n"
    "3ta=9\r\n"
    "4=parts/big.ddd\r\n"
    "5=parts/broken.ddd\r\n"
    "6=parts/big.ddd\r\n"
    "6ta=4\r\n";

}  // namespace

TEST_F(SceneFile, PartsAndTexturesLoadInKeyOrder) {
  std::filesystem::create_directories("world/parts");
  Write("world/red.bmp", OnePixelBmp(255, 0, 0));
  Write("world/green.bmp", OnePixelBmp(0, 255, 0));
  Write("world/blue.bmp", OnePixelBmp(0, 0, 255));
  WriteTriangle("world/parts/big.ddd", 510);
  Write("world/parts/text.ddd", "DDDA 1.0 0 1 255 0 0 3 0 0 1 0 2 0 1 3 0 0 0 2 0 0 0 2 0");
  Write("world/parts/broken.ddd", Bytes().Header(1, 1, 1).U32(0).s);
  Write("world/scene.ddw", kScene);

  // A scene replaces what the slot held, textures included.
  ObjStart(engine_, 6, 1);
  ObjEnd(engine_);
  GLuint old = 0;
  glGenTextures(1, &old);
  GrowArrayAppend(Slot(6).textures, uint32_t(old));
  glBindTexture(GL_TEXTURE_2D, old);

  ASSERT_EQ(LoadObject(engine_, "world/scene.ddw", 6), 1);
  EXPECT_FALSE(glIsTexture(old));
  const ObjectSlot& s = Slot(6);
  EXPECT_EQ(s.inUse, 1);
  EXPECT_EQ(s.multiPart, 1);
  ASSERT_EQ(s.textures.count, 4);
  EXPECT_EQ(TexelOf(6, 0), 0x0000FFu);
  EXPECT_EQ(s.textures.data[1], 0u);  // no such image
  EXPECT_EQ(TexelOf(6, 2), 0x00FF00u);
  EXPECT_EQ(TexelOf(6, 3), 0xFF0000u);

  ASSERT_EQ(s.parts.count, 6);
  struct {
    int frames;
    int triangles;
    int unit1, unit2;
  } want[] = {{1, 1, 2, 0}, {1, 1, 0, -1}, {0, 0, -1, 0}, {1, 1, 0, 0}, {0, 0, 0, 0}, {1, 1, 3, 0}};
  for (int i = 0; i < 6; ++i) {
    const MeshObjectX& p = s.parts.data[i];
    EXPECT_EQ(p.frames.count, want[i].frames) << i;
    EXPECT_EQ(p.drawVertices.count, 3 * want[i].triangles) << i;
    EXPECT_EQ(p.textureUnit1, want[i].unit1) << i;
    EXPECT_EQ(p.textureUnit2, want[i].unit2) << i;
  }
  EXPECT_NEAR(s.parts.data[0].frames.data[0].radius, 170 * std::sqrt(5.0), 1e-3);
  EXPECT_EQ(s.parts.data[1].drawVertices.data[0].colour, 0x0000FFu);
  EXPECT_NE(ErrorLog().find("# read error"), std::string::npos);

  // Loading over the scene deletes its textures, even when the load fails.
  GLuint red = s.textures.data[0];
  EXPECT_EQ(LoadObject(engine_, "world/none.ddd", 6), 0);
  EXPECT_FALSE(glIsTexture(red));
  EXPECT_EQ(Slot(6).inUse, 0);
  EXPECT_EQ(Slot(6).textures.count, 0);
  EXPECT_EQ(Slot(6).parts.count, 1);
}

TEST_F(SceneFile, EmptySceneAndObjectStartOverAScene) {
  Write("empty.ddw", ";DDW\n[other]\nkey=1\n");
  ASSERT_EQ(LoadObject(engine_, "empty.ddw", 2), 1);
  EXPECT_EQ(Slot(2).inUse, 1);
  EXPECT_EQ(Slot(2).multiPart, 1);
  EXPECT_EQ(Slot(2).parts.count, 0);
  EXPECT_EQ(Slot(2).textures.count, 0);

  Write("one.bmp", OnePixelBmp(1, 2, 3));
  WriteTriangle("tri.ddd", 1);
  Write("one.ddw", ";DDW\n[textures]\ncount=1\n1=one.bmp\n[objects]\ncount=1\n1=tri.ddd\n");
  ASSERT_EQ(LoadObject(engine_, "one.ddw", 2), 1);
  GLuint texture = Slot(2).textures.data[0];
  ASSERT_TRUE(glIsTexture(texture));
  ObjStart(engine_, 2, 1);
  EXPECT_FALSE(glIsTexture(texture));
  EXPECT_EQ(Slot(2).multiPart, 0);
  EXPECT_EQ(Slot(2).textures.count, 0);
  ASSERT_EQ(Slot(2).parts.count, 1);
  ASSERT_EQ(Part(2).frames.count, 1);
  ASSERT_EQ(Part(2).frames.data[0].built.count, 1);
  EXPECT_EQ(Part(2).frames.data[0].built.data[0].colour, StripMarker);
  ObjEnd(engine_);
}

TEST_F(SceneFile, SceneInsideAnArchiveLoadsItsParts) {
  std::filesystem::create_directories("pack/models");
  Write("pack/models/Room.ddw",
        ";DDW\n[textures]\ncount=1\n1=Wall.bmp\n[objects]\ncount=2\n1=chair.ddd\n1ta=1\n"
        "2=table.DDD\n");
  Write("pack/wall.bmp", OnePixelBmp(0, 0, 255));
  WriteTriangle("pack/models/chair.ddd", 255);
  WriteTriangle("pack/Table.ddd", 510);
  std::string cmd = std::string("\"") + ORVALE_PACK_TOOL + "\" create media.gfx pack";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  std::filesystem::remove_all("pack");
  SetShoebox("media.gfx", "");

  // The command layer hands over the archive's extracted copy.
  char path[kShoeboxPathSize];
  ASSERT_EQ(ResolveShoeboxFile(gShoeboxes[0], "room.ddw", path), 1);
  ASSERT_EQ(LoadObject(engine_, path, 9), 1);
  const ObjectSlot& s = Slot(9);
  ASSERT_EQ(s.parts.count, 2);
  EXPECT_EQ(s.parts.data[0].drawVertices.count, 3);
  EXPECT_EQ(s.parts.data[1].drawVertices.count, 3);
  EXPECT_EQ(s.parts.data[0].textureUnit1, 0);
  EXPECT_NEAR(s.parts.data[1].frames.data[0].radius, 170 * std::sqrt(5.0), 1e-3);
  ASSERT_EQ(s.textures.count, 1);
  EXPECT_EQ(TexelOf(9, 0), 0xFF0000u);
  // No extracted copy stays behind.
  EXPECT_FALSE(std::filesystem::exists(path));
}
