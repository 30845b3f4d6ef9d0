#include "periphery_fixture.h"

#include <GL/gl.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/project_settings.h"
#include "core/runtime_error.h"
#include "frame/fonts.h"
#include "frame/frame_function.h"
#include "frame/graphics_commands.h"
#include "frame/primitives.h"
#include "frame/render_targets.h"
#include "frame/runtime_startup.h"
#include "frame/sprite_draw.h"
#include "frame/virtual_screens.h"
#include "frame/waits.h"
#include "input_audio/input_state.h"
#include "platform/system.h"

namespace periphery {

FakeJoystick gStick;

namespace {

InputScript* sScript = nullptr;

void ScriptHook() {
  if (!sScript) return;
  const size_t i = size_t(sScript->passes++);
  if (i < sScript->steps.size() && sScript->steps[i]) sScript->steps[i]();
}

class RuntimeEnv : public ::testing::Environment {
 public:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("orvale-periphery-" + std::to_string(platform::NowMs()));
    std::filesystem::create_directories(dir_);
    setenv("TMPDIR", dir_.c_str(), 1);
    platform::SetJoystickBackend(&gStick);
    gProjectSettings.screenWidth = 640;
    gProjectSettings.screenHeight = 480;
    gProjectSettings.fullscreen = 0;
    gProjectSettings.multisampleSamples = 0;
    gProjectSettings.framesPerSecond = 60;
    gProjectSettings.debugMode = 1;  // no pause when the focus wanders
    gProjectSettings.hideSystemPointer = 1;
    testing::internal::CaptureStdout();
    RuntimeStartup(nullptr, nullptr, "", 10, "Periphery");
    testing::internal::GetCapturedStdout();
    ASSERT_TRUE(RuntimeStarted());
    ASSERT_NE(gInput, nullptr);
    LoadFramebufferEntryPoints();
    LoadBuiltinFont(gRenderer, 0);
    gCurrentFont = 0;
  }
  void TearDown() override {
    ShutdownRuntime();
    FreePolygonVertices();
    FreeGrabScratchBuffer();
    platform::SetJoystickBackend(nullptr);
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

 private:
  std::filesystem::path dir_;
};
const auto* const kEnv = ::testing::AddGlobalTestEnvironment(new RuntimeEnv);

}  // namespace

void RunScript(InputScript* script) {
  sScript = script;
  SetInputWaitHook(script ? ScriptHook : nullptr);
}

void ReleaseEverything() {
  platform::ReleaseAllKeys();
  for (int b = 0; b < 3; ++b) platform::PushMouseButton(b, false);
  PollKeyboard(gInput);
  MouseReading m{};
  ReadMouse(gInput, &m);
  ReadKeyChar(gInput);  // forget the last character
}

void Periphery::SetUp() {
  r = gRenderer;
  ASSERT_NE(r, nullptr);
  gEscapeEnds = 1;
  r->spriteColourKey = Rgb(255, 0, 128);
  UseBackBuffer(r);
  SetAlphaMode(0);
  ClearScreen();
  ReleaseEverything();
}

void Periphery::TearDown() {
  RunScript(nullptr);
  ReleaseEverything();
  UseBackBuffer(r);
}

void MakeSprite(OpenGLLumenar* r, int slot, int w, int h,
                const std::function<uint32_t(int, int)>& rgb,
                const std::function<uint8_t(int, int)>& alpha) {
  RgbaImage image{w, h, new uint8_t[size_t(w) * size_t(h) * 4], w * h * 4};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = image.pixels + (size_t(y) * w + x) * 4;
      const uint32_t c = rgb(x, y);
      p[0] = uint8_t(c);
      p[1] = uint8_t(c >> 8);
      p[2] = uint8_t(c >> 16);
      p[3] = alpha(x, y);
    }
  DeleteSprite(r, slot);
  SpriteSlot& s = r->sprites[slot];
  ASSERT_EQ(UploadSpriteTexture(&image, 0, 0, 0, 0, &s.texture, nullptr, 0, 1), 1);
  FreeRgbaImage(&image);
  s.width = int16_t(w);
  s.height = int16_t(h);
  s.texWidth = uint16_t(TexturePowerOfTwo(w));
  s.texHeight = uint16_t(TexturePowerOfTwo(h));
  s.frameWidth = s.frameHeight = 0;
}

uint32_t Pixel(int x, int y) { return uint32_t(GetPixelCmd(x, y)); }

std::vector<uint8_t> ReadScreen() {
  FlushSprites();  // queued sprites reach the buffer first
  std::vector<uint8_t> rgba(size_t(gRenderer->width) * gRenderer->height * 4);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, gRenderer->width, gRenderer->height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  return rgba;
}

void WriteScreen(const std::vector<uint8_t>& rgba) {
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glDisable(GL_BLEND);
  glDisable(GL_ALPHA_TEST);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_DEPTH_TEST);
  glViewport(0, 0, gRenderer->width, gRenderer->height);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glRasterPos2f(-1, -1);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glDrawPixels(gRenderer->width, gRenderer->height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopAttrib();
}

}  // namespace periphery
