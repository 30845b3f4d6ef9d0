// Saving the screen or a sprite to a picture file: PNG when the name ends in
// ".png" (any case), else a 24-bit bitmap.
#pragma once

#include <cstdint>

#include "frame/renderer.h"

// pixels: 3 bytes each (blue, green, red), rows bottom-up with row length
// bufferWidth, as GL reads them back. topDown 1 takes buffer rows from the
// top. Pixels of the sprite key colour (as the frame buffer shows it) are
// written as the default key colour (bitmaps) or fully transparent (PNG).
uint8_t WriteImageFile(OpenGLLumenar* r, const char* fileName, const uint8_t* pixels, int width,
                       int height, int bufferWidth, int bufferHeight, uint8_t topDown);
// 0 for an empty slot or a slot outside the table.
uint8_t SaveSpriteImage(OpenGLLumenar* r, int slot, const char* fileName);
uint8_t SaveScreenImage(OpenGLLumenar* r, const char* fileName);

// True for a name longer than 4 characters ending in ".png" in any case.
bool IsPngFileName(const char* fileName);
