// The renderer object: sprite table, fonts, virtual screens, render targets,
// the main window handles and the frame clock. One instance lives in
// gRenderer from start-up to program end. Operations are free functions that
// take the renderer first, so each concern keeps its own source file.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/grow_array.h"

namespace platform {
struct Window;     // native window (platform/window.h)
struct GlContext;  // native OpenGL context
}  // namespace platform

// One texture per sprite number; 65536 of them in one array.
struct SpriteSlot {
  uint32_t texture;   // GL texture name, 0 = none
  uint32_t texture2;  // mipmapped copy for the 3D engine, 0 = none
  uint16_t texWidth;  // power of two; 0xFFFF when empty
  uint16_t texHeight;
  int16_t width;  // picture size, 0 when empty
  int16_t height;
  int16_t frameWidth;  // animation cell size, 0 = not cut into frames
  int16_t frameHeight;
};

constexpr int kSpriteSlotCount = 65536;
constexpr int kFirstFontSlot = 65504;  // font f lives in slot 65504 + f
constexpr int kFontCount = 32;
constexpr int kScratchSlot = 65503;  // render-target fall-back
constexpr int kRenderTargetCount = 32;
constexpr int kVirtualScreenCount = 16;
constexpr int kScreenTileGrid = 64;
constexpr uint16_t kEmptyTexSize = 0xFFFF;

// Vertex of bitmap text and billboards.
struct TextVertex {
  float x, y, z, u, v;
};

// Off-screen drawing target.
struct RenderTarget {
  uint32_t framebuffer;
  uint32_t depthRenderbuffer;  // GL_DEPTH_COMPONENT24
  int32_t width;               // set once the framebuffer is complete; 0 = unusable
  int32_t height;
  int32_t spriteSlot;  // slot whose texture is the colour attachment
};

// A full-screen picture held as a grid of square tile textures, indexed
// [column][row].
struct VirtualScreen {
  uint32_t tileTexture[kScreenTileGrid][kScreenTileGrid];
  uint32_t tileTexWidth[kScreenTileGrid][kScreenTileGrid];
  uint32_t tileTexHeight[kScreenTileGrid][kScreenTileGrid];
  uint32_t tileWidth[kScreenTileGrid][kScreenTileGrid];
  uint32_t tileHeight[kScreenTileGrid][kScreenTileGrid];
  int32_t tilesX;
  int32_t tilesY;
};

// In-memory picture: rows top to bottom, bytes R, G, B, A. The holder frees
// pixels with delete[].
struct RgbaImage {
  int32_t width;
  int32_t height;
  uint8_t* pixels;
  int32_t capacity;  // bytes
};

class OpenGLLumenar {
 public:
  OpenGLLumenar();
  virtual ~OpenGLLumenar();
  OpenGLLumenar(const OpenGLLumenar&) = delete;
  OpenGLLumenar& operator=(const OpenGLLumenar&) = delete;

  GrowArray<TextVertex> vertexBuffer;  // step 128, first block 512
  int32_t boundSlot;
  int32_t boundSlot2;
  uint32_t boundUseTexture2;
  SpriteSlot* sprites;  // kSpriteSlotCount slots
  float currentAlpha;
  RenderTarget targets[kRenderTargetCount];
  int32_t currentTarget;  // -1 = back buffer
  uint8_t* alphaCopies[kSpriteSlotCount];
  VirtualScreen screens[kVirtualScreenCount];
  uint8_t smoothing;  // 1 = linear filtering
  platform::Window* window;
  int32_t width;
  int32_t height;
  int32_t colourBits;  // 0 = desktop depth
  uint8_t fullscreen;
  int32_t samples;
  int32_t viewport[4];
  uint32_t spriteColourKey;  // 0x8000FF after construction
  uint32_t fontColourKey;    // 0 after construction
  uint8_t glAlive;           // textures are deleted only while 1
  double nextFrameTime;      // ms
  double framePeriod;        // ms
  double perfFrequency;
  uint32_t hasPerfCounter;
  void* instance;
  platform::GlContext* glContext;
};

extern OpenGLLumenar* gRenderer;

// Empties slot n: deletes its textures (while GL is alive), marks its size
// empty and drops its alpha copy. The animation cell size stays.
void DeleteSprite(OpenGLLumenar* r, int n);
void DeleteAllSprites(OpenGLLumenar* r);

// Loads a BMP or PNG file (chosen by content) into slot n; 1 on success.
// The slot is empty afterwards when loading fails.
uint8_t LoadSpriteFile(OpenGLLumenar* r, int n, const char* fileName, uint32_t colourKey,
                       int normalMap);
uint8_t LoadFontFile(OpenGLLumenar* r, int font, const char* fileName);
void GetSpriteSize(OpenGLLumenar* r, int n, int32_t* width, int32_t* height);
void SetAnimFrameSize(OpenGLLumenar* r, int n, int frameWidth, int frameHeight);
void SetColourKeys(OpenGLLumenar* r, uint32_t key);

// Uploads the rectangle (x0, y0, w, h) of an image (w = 0: up to the right
// edge, h = 0: up to the bottom) into a new power-of-two texture whose name
// replaces *texture, stored bottom-up from texel (0, 0). With texture2 a
// mipmapped copy is made as well. 1 when something was uploaded.
uint8_t UploadSpriteTexture(const RgbaImage* image, int x0, int y0, int w, int h,
                            uint32_t* texture, uint32_t* texture2, uint8_t normalMap,
                            uint8_t nearest);

// Smallest power of two >= size, at least 2.
int TexturePowerOfTwo(int size);

// Frees an image's pixel storage.
void FreeRgbaImage(RgbaImage* image);
