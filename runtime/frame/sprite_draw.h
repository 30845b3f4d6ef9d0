// 2D drawing of sprites: the fixed 2D GL state, texture binding, plain,
// stretched and turned sprites, and animation cells cut from a sprite.
// Screen coordinates are pixels from the top-left of the current viewport.
#pragma once

#include <cstdint>

#include "frame/renderer.h"

// First slot of the latest BindSpriteTexture; -1 = texturing off.
extern int32_t gBoundSprite;

// One corner of DrawTexturedQuad.
struct QuadVertex {
  float x, y, u, v;
};

// Viewport (w or h < 1: the whole screen), orthographic projection with the
// top at 0 and the 2D baseline state (blending off, alpha test > 0.05,
// smoothing on).
void SetViewport2D(OpenGLLumenar* r, int x, int y, int w, int h);
void SetScreenSize(OpenGLLumenar* r, int w, int h);

// Binds the texture of slot (and slot2 on the second unit). names, when
// given, is indexed by slot in place of the sprite table.
void BindSpriteTexture(OpenGLLumenar* r, int slot, int slot2, int useTexture2,
                       const uint32_t* names);
// Code that selects texture units or switches unit 1 on by itself calls
// this afterwards, so the next binding sets both units up again.
void ForgetTextureUnitState();
void SetSmoothing(OpenGLLumenar* r, uint8_t flag);
// Filtering of the bound texture by the smoothing flag.
void ApplySmoothingFilter(OpenGLLumenar* r);
// glActiveTextureARB, when the multitexture extension is there; else null.
using ActiveTextureFn = void (*)(unsigned int unit);
ActiveTextureFn MultitextureEntry();

void DrawTexturedQuad(const QuadVertex corners[4]);

// Quads of consecutive sprites that share a texture and filter wait in one
// vertex array and are drawn together. Code that draws otherwise, reads
// pixels, switches the target or changes any GL state calls FlushSprites
// first, so the queued quads land with the state they were drawn under.
extern int32_t gQueuedSpriteQuads;
void DrawQueuedSprites();
inline void FlushSprites() {
  if (gQueuedSpriteQuads > 0) DrawQueuedSprites();
}
// Drops the queued quads undrawn: the GL context is going away.
void DiscardQueuedSprites();
// Draws the renderer's text vertex buffer (x, y, z, u, v).
void DrawVertexArray(OpenGLLumenar* r, unsigned int mode);

// Sprite operations ignore slots outside the table.
void DrawSprite(OpenGLLumenar* r, int slot, float x, float y);
void StretchSprite(OpenGLLumenar* r, int slot, float x, float y, float w, float h);
void RotoZoomSprite(OpenGLLumenar* r, int slot, float x, float y, float angle, float zoom);

// Animation cells: frameWidth x frameHeight cells left to right, top to
// bottom. Nothing is drawn for a slot without a valid cell size or for a
// cell past the picture.
void DrawAnimFrame(OpenGLLumenar* r, int slot, int frame, float x, float y);
void StretchAnimFrame(OpenGLLumenar* r, int slot, int frame, float x, float y, float w, float h);
void RotoZoomAnimFrame(OpenGLLumenar* r, int slot, int frame, float x, float y, float angle,
                       float zoom);

// Texture rectangle of an animation cell; false when the cell cannot be
// drawn.
struct AnimCell {
  int fw, fh;
  float s0, s1, t0, t1;
};
bool GetAnimCell(const OpenGLLumenar* r, int slot, int frame, AnimCell* cell);

inline bool ValidSlot(int slot) { return slot >= 0 && slot < kSpriteSlotCount; }
