// Virtual screens (full-screen pictures held as tile textures), grabbing a
// screen area into a sprite, and single pixels of the back buffer.
#pragma once

#include <cstdint>

#include "frame/renderer.h"

// Screen 0 is the background the frame function draws at every frame start.
void CopyBackBufferToScreen(OpenGLLumenar* r, int n);
uint8_t LoadVirtualScreen(OpenGLLumenar* r, int n, const char* fileName);
void DrawVirtualScreen(OpenGLLumenar* r, int n);
void FreeVirtualScreen(OpenGLLumenar* r, int n);

// Copies the back-buffer area (x, y, w, h) (top-left origin) into slot; on
// frame buffers without alpha, pixels of the sprite key colour become
// transparent. 0 for a slot outside the table or a size that cannot be a
// texture.
uint8_t GrabSprite(OpenGLLumenar* r, int slot, int x, int y, int w, int h);

// Colour number r + 256 g + 65536 b of the back-buffer pixel (x, y).
uint32_t GetPixel(OpenGLLumenar* r, int x, int y);
void SetPixel(OpenGLLumenar* r, float x, float y, uint32_t colour);

// The sprite colour key as the frame buffer stores it, packed
// R << 24 | G << 16 | B << 8; 0 when the key is 0, and kNoScreenKey when
// the key is -1 (no key).
constexpr uint32_t kNoScreenKey = 0xFFFFFFFFu;
uint32_t GetScreenColourKey(OpenGLLumenar* r);

// Frees the grab scratch buffer (also run at program exit).
void FreeGrabScratchBuffer();
