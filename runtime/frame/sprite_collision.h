// Sprite collision: two sprites (or animation cells) drawn at given
// top-left positions collide when some screen pixel is opaque in both.
// Masks are alpha-channel copies of the textures, fetched on first use and
// kept per slot until the slot's texture changes.
#pragma once

#include <cstdint>

#include "frame/renderer.h"

// Makes sure slot has an alpha copy matching its current texture; 1 when
// there is one (0 for an empty slot or a slot outside the table).
uint8_t FetchAlphaCopy(OpenGLLumenar* r, int slot);

// 1 when a screen pixel (x, y) with x0 <= x < x1, y0 <= y < y1 is opaque in
// sprite a drawn at (ax, ay) and in sprite b drawn at (bx, by). Pixels
// outside either picture never count.
uint8_t PixelOverlap(OpenGLLumenar* r, int a, int32_t ax, int32_t ay, int b, int32_t bx,
                     int32_t by, int32_t x0, int32_t y0, int32_t x1, int32_t y1);

uint8_t SpriteCollide(OpenGLLumenar* r, int a, int b, int32_t ax, int32_t ay, int32_t bx,
                      int32_t by);

// Only the selected cells count. A sprite without a cell size counts whole;
// a frame number that names no cell never collides.
uint8_t AnimFrameCollide(OpenGLLumenar* r, int a, int32_t frameA, int32_t ax, int32_t ay, int b,
                         int32_t frameB, int32_t bx, int32_t by);
