// Bitmap fonts: a font is a picture holding a 16-column grid of glyph cells
// (8 rows when at least as wide as high, else 16), kept in sprite slot
// 65504 + font. Text is drawn in fixed-width cells.
#pragma once

#include <cstdint>

#include "frame/renderer.h"

// The font the text commands use (0..31).
extern int32_t gCurrentFont;

// The built-in 128 x 64 picture: codes 32..127 as white 5 x 6 glyphs with a
// dark outline in 8 x 8 cells. 0 when the picture cannot be allocated.
uint8_t BuildBuiltinFontImage(RgbaImage* image);
// Puts the built-in picture into font slot 65504 + font.
void LoadBuiltinFont(OpenGLLumenar* r, int font);

// Cell size of a font; (0, 0) for an empty slot or a number outside 0..31.
void GetFontCellSize(OpenGLLumenar* r, int font, int32_t* cellWidth, int32_t* cellHeight);

// One line of text, top-left at (x, y), in the 2D projection.
void PrintText(OpenGLLumenar* r, int font, const char* text, float x, float y, float z);
// Text at a 3D point: facing the camera in the scene with the given scale,
// or (scale 0) on the screen, centred above the projected point.
void PrintText3D(OpenGLLumenar* r, int font, const char* text, float x, float y, float z,
                 float scale);
// A sprite standing on a 3D point, facing the camera.
void DrawSpriteBillboard(OpenGLLumenar* r, int slot, float x, float y, float z, float scale);
