// Polygons, lines and filled rectangles in 2D screen coordinates.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/grow_array.h"
#include "frame/renderer.h"

// Corner of a polygon as handed to GL vertex arrays.
struct PolygonVertex {
  float x, y, u, v, r, g, b, a;
};

// Corners collected since the latest StartPolygon.
extern GrowArray<PolygonVertex> gPolygonVertices;

// Alpha byte of a primitive: 0 for the sprite key colour, else the current
// alpha.
uint8_t PrimitiveAlpha(const OpenGLLumenar* r, uint32_t colour);

// slot -1 (or any number outside the table): untextured.
void StartPolygon(OpenGLLumenar* r, int slot);
// tx, ty are picture pixels from the picture's top-left.
void AddPolygonVertex(OpenGLLumenar* r, int x, int y, float tx, float ty, uint32_t colour);
// Draws the collected corners as a triangle fan; leaves blending off.
void DrawPolygon(OpenGLLumenar* r);
// Frees the corners (also run at program exit).
void FreePolygonVertices();

// Line including its end pixel.
void DrawLine(OpenGLLumenar* r, float x1, float y1, float x2, float y2, uint32_t colour);
// Filled rectangle; a negative size extends to the left or upward.
void DrawRect(OpenGLLumenar* r, float x, float y, float w, float h, uint32_t colour);
