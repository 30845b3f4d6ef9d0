#include "frame/renderer.h"

#include <GL/gl.h>

#include <cstring>

#include "frame/image_bmp.h"
#include "frame/image_png.h"
#include "frame/main_window.h"
#include "frame/render_targets.h"
#include "frame/virtual_screens.h"
#include "platform/system.h"
#include "platform/window.h"
#include "frame/sprite_draw.h"

OpenGLLumenar* gRenderer = nullptr;

namespace {

// Empties a virtual screen: tile textures go (while GL lives), the record is
// zeroed.
void ReleaseScreen(OpenGLLumenar* r, VirtualScreen& s) {
  FlushSprites();
  if (r->glAlive) {
    for (int x = 0; x < s.tilesX && x < kScreenTileGrid; ++x)
      for (int y = 0; y < s.tilesY && y < kScreenTileGrid; ++y)
        if (s.tileTexture[x][y]) glDeleteTextures(1, &s.tileTexture[x][y]);
  }
  std::memset(&s, 0, sizeof s);
}

}  // namespace

void ReleaseAllScreens(OpenGLLumenar* r) {
  for (VirtualScreen& s : r->screens) ReleaseScreen(r, s);
}

OpenGLLumenar::OpenGLLumenar() {
  vertexBuffer = GrowArray<TextVertex>();
  boundSlot = boundSlot2 = 0;
  boundUseTexture2 = 0;
  std::memset(targets, 0, sizeof targets);
  spriteColourKey = 0x8000FF;
  fontColourKey = 0;
  sprites = new SpriteSlot[kSpriteSlotCount];
  std::memset(sprites, 0, sizeof(SpriteSlot) * kSpriteSlotCount);
  glContext = nullptr;
  glAlive = 0;
  std::memset(screens, 0, sizeof screens);
  std::memset(alphaCopies, 0, sizeof alphaCopies);
  // The platform clock is a high-resolution millisecond counter.
  hasPerfCounter = 1;
  perfFrequency = 1000.0;
  nextFrameTime = platform::NowMs();
  framePeriod = 1000.0 / 60.0;
  smoothing = 1;
  for (int n = 0; n < kSpriteSlotCount; ++n) DeleteSprite(this, n);
  ReleaseAllScreens(this);
  currentAlpha = 0.0f;
  currentTarget = -1;
  window = nullptr;
  width = height = 0;
  colourBits = 0;
  fullscreen = 0;
  samples = 0;
  std::memset(viewport, 0, sizeof viewport);
  instance = nullptr;
}

OpenGLLumenar::~OpenGLLumenar() {
  UseBackBuffer(this);
  for (int t = 0; t < kRenderTargetCount; ++t) ReleaseRenderTarget(this, t);
  DestroyMainWindow(this);
  if (glContext) {
    platform::MakeCurrent(nullptr, nullptr);
    platform::DeleteGlContext(glContext);
    glContext = nullptr;
  }
  delete[] sprites;
  sprites = nullptr;
  GrowArrayClear(vertexBuffer);
}

void DeleteSprite(OpenGLLumenar* r, int n) {
  FlushSprites();
  SpriteSlot& s = r->sprites[n];
  if (r->glAlive) {
    if (s.texture) glDeleteTextures(1, &s.texture);
    if (s.texture2) glDeleteTextures(1, &s.texture2);
    s.texture = s.texture2 = 0;
  }
  s.texWidth = s.texHeight = kEmptyTexSize;
  s.width = s.height = 0;
  delete[] r->alphaCopies[n];
  r->alphaCopies[n] = nullptr;
}

void DeleteAllSprites(OpenGLLumenar* r) {
  for (int n = 0; n < kSpriteSlotCount; ++n) DeleteSprite(r, n);
  for (int s = 0; s < kVirtualScreenCount; ++s) FreeVirtualScreen(r, s);
}

int TexturePowerOfTwo(int size) {
  int t = 2;
  while (t < size && t < (1 << 30)) t *= 2;
  return t;
}

void FreeRgbaImage(RgbaImage* image) {
  if (!image) return;
  delete[] image->pixels;
  image->pixels = nullptr;
  image->capacity = 0;
}

static int MaxTextureSize() {
  GLint max = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max);
  return max > 0 ? max : 2048;
}

uint8_t LoadSpriteFile(OpenGLLumenar* r, int n, const char* fileName, uint32_t colourKey,
                       int normalMap) {
  DeleteSprite(r, n);
  if (!r->glAlive) return 0;  // no GL context to hold the texture
  RgbaImage image{0, 0, nullptr, 0};
  if (!LoadBmpImage(&image, fileName, colourKey) && !LoadPngImage(&image, fileName, colourKey)) {
    FreeRgbaImage(&image);
    return 0;
  }
  if (image.width <= 0 || image.height <= 0) {
    FreeRgbaImage(&image);
    return 0;
  }
  // A picture beyond the texture limit keeps its top-left part, and the
  // slot records the size that was kept.
  int max = MaxTextureSize();
  int w = image.width < max ? image.width : max;
  int h = image.height < max ? image.height : max;
  if (w > 32767) w = 32767;
  if (h > 32767) h = 32767;
  SpriteSlot& s = r->sprites[n];
  bool font = n >= kFirstFontSlot;
  uint8_t ok = UploadSpriteTexture(&image, 0, 0, w, h, &s.texture, font ? nullptr : &s.texture2,
                                   font ? 0 : uint8_t(normalMap != 0), font ? 1 : 0);
  FreeRgbaImage(&image);
  if (!ok) return 0;
  s.texWidth = uint16_t(TexturePowerOfTwo(w));
  s.texHeight = uint16_t(TexturePowerOfTwo(h));
  s.width = int16_t(w);
  s.height = int16_t(h);
  return 1;
}

uint8_t LoadFontFile(OpenGLLumenar* r, int font, const char* fileName) {
  return LoadSpriteFile(r, kFirstFontSlot + font, fileName, r->fontColourKey, 0);
}

void GetSpriteSize(OpenGLLumenar* r, int n, int32_t* width, int32_t* height) {
  if (width) *width = r->sprites[n].width;
  if (height) *height = r->sprites[n].height;
}

void SetAnimFrameSize(OpenGLLumenar* r, int n, int frameWidth, int frameHeight) {
  r->sprites[n].frameWidth = int16_t(frameWidth);
  r->sprites[n].frameHeight = int16_t(frameHeight);
}

void SetColourKeys(OpenGLLumenar* r, uint32_t key) {
  r->spriteColourKey = key;
  r->fontColourKey = key;
}
