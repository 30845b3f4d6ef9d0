// What the object table and the texture upload hand to GL, on a real
// context: names released by the slots and the normal-map texels.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine3d/lumenar3d.h"
#include "frame/gl_entry_points.h"
#include "frame/main_window.h"
#include "frame/renderer.h"
#include "models/object_slot.h"

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

GLuint NewTexture() {
  GLuint t = 0;
  glGenTextures(1, &t);
  glBindTexture(GL_TEXTURE_2D, t);
  uint8_t texel[4] = {1, 2, 3, 4};
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
  return t;
}

GLuint NewBuffer() {
  GLuint b = 0;
  pglGenBuffersARB(1, &b);
  pglBindBufferARB(GL_ARRAY_BUFFER_ARB, b);
  float data[4] = {0, 1, 2, 3};
  pglBufferDataARB(GL_ARRAY_BUFFER_ARB, sizeof data, data, GL_STATIC_DRAW_ARB);
  pglBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
  return b;
}

bool IsBuffer(GLuint b) {
  // A deleted name no longer binds to the old store: its size reads 0.
  pglBindBufferARB(GL_ARRAY_BUFFER_ARB, b);
  GLint size = 0;
  pglGetBufferParameterivARB(GL_ARRAY_BUFFER_ARB, GL_BUFFER_SIZE_ARB, &size);
  pglBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
  return size > 0;
}

TEST(ObjectSlotGL, ClearDeletesSlotTexturesAndPartNames) {
  ASSERT_NE(pglGenBuffersARB, nullptr) << "vertex buffer objects missing";
  ObjectSlot slot;
  ReserveObjectSlots(slot.parts, 1);
  slot.parts.count = 1;
  MeshObjectX& part = slot.parts.data[0];
  part.paletteTexture = NewTexture();
  part.vertexBufferA = NewBuffer();
  part.vertexBufferB = NewBuffer();
  GLuint scene[2] = {NewTexture(), NewTexture()};
  GrowArrayAppend(slot.textures, scene[0]);
  GrowArrayAppend(slot.textures, scene[1]);
  slot.inUse = slot.multiPart = 1;
  GLuint palette = part.paletteTexture, a = part.vertexBufferA, b = part.vertexBufferB;
  ASSERT_TRUE(glIsTexture(palette) && glIsTexture(scene[0]) && glIsTexture(scene[1]));
  ASSERT_TRUE(IsBuffer(a) && IsBuffer(b));

  ClearObjectSlot(&slot, false);
  EXPECT_FALSE(glIsTexture(palette));
  EXPECT_FALSE(glIsTexture(scene[0]));
  EXPECT_FALSE(glIsTexture(scene[1]));
  EXPECT_FALSE(IsBuffer(a));
  EXPECT_FALSE(IsBuffer(b));
  EXPECT_EQ(slot.textures.count, 0);
  EXPECT_NE(slot.textures.data, nullptr);  // kept for the rebuild
  EXPECT_EQ(part.paletteTexture | part.vertexBufferA | part.vertexBufferB, 0u);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(ObjectSlotGL, EngineDestructionDeletesObjectTextures) {
  Lumenar3D* e = new Lumenar3D(gTestRenderer);
  ObjectSlot& slot = e->objects.data[4095];
  ReserveObjectSlots(slot.parts, 1);
  slot.parts.count = 1;
  slot.parts.data[0].paletteTexture = NewTexture();
  GrowArrayAppend(slot.textures, NewTexture());
  GLuint palette = slot.parts.data[0].paletteTexture, scene = slot.textures.data[0];
  delete e;
  EXPECT_FALSE(glIsTexture(palette));
  EXPECT_FALSE(glIsTexture(scene));
}

// Reads level 0 of a texture as RGBA bytes.
std::vector<uint8_t> ReadTexture(GLuint t, int w, int h) {
  std::vector<uint8_t> out(size_t(w) * h * 4);
  glBindTexture(GL_TEXTURE_2D, t);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, out.data());
  return out;
}

TEST(TextureUpload, NormalMapFlagConvertsTheUploadedTexels) {
  // A 4 x 4 height picture with one peak at picture (1, 1); the upload
  // flips it, so the peak sits in texel row 2. Around it the slopes are
  // those worked out for the normal-map unit test; everything else is flat.
  std::vector<uint8_t> px(4 * 4 * 4);
  for (int i = 0; i < 16; ++i) {
    px[i * 4 + 0] = 90;
    px[i * 4 + 1] = 30;
    px[i * 4 + 3] = 255;
  }
  px[(1 * 4 + 1) * 4 + 2] = 255;
  RgbaImage image{4, 4, px.data(), int32_t(px.size())};
  GLuint texture = 0, texture2 = 0;
  ASSERT_EQ(UploadSpriteTexture(&image, 0, 0, 0, 0, &texture, &texture2, 1, 1), 1);

  struct Texel {
    int x, y, r, g, b;
  };
  const Texel bumps[] = {
      {1, 2, 127, 127, 255}, {0, 2, 13, 127, 184},  {2, 2, 241, 127, 184},
      {1, 1, 127, 241, 184}, {1, 3, 127, 13, 184},  {0, 1, 53, 201, 201},
      {2, 1, 201, 201, 201}, {0, 3, 53, 53, 201},   {2, 3, 201, 53, 201},
  };
  for (GLuint t : {texture, texture2}) {
    std::vector<uint8_t> texels = ReadTexture(t, 4, 4);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) {
        int r = 127, g = 127, b = 255;
        for (const Texel& k : bumps)
          if (k.x == x && k.y == y) r = k.r, g = k.g, b = k.b;
        const uint8_t* p = &texels[(y * 4 + x) * 4];
        EXPECT_EQ(p[0], r) << x << "," << y;
        EXPECT_EQ(p[1], g) << x << "," << y;
        EXPECT_EQ(p[2], b) << x << "," << y;
        EXPECT_EQ(p[3], 255) << x << "," << y;
      }
  }
  glDeleteTextures(1, &texture);
  glDeleteTextures(1, &texture2);
}

}  // namespace
