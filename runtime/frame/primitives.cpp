#include "frame/primitives.h"

#include <GL/gl.h>

#include <cstdlib>

#include "frame/sprite_draw.h"

GrowArray<PolygonVertex> gPolygonVertices;

uint8_t PrimitiveAlpha(const OpenGLLumenar* r, uint32_t colour) {
  if (colour == r->spriteColourKey) return 0;
  float a = r->currentAlpha;
  if (!(a > 0)) return 0;
  if (a > 1) a = 1;
  return uint8_t(a * 255);
}

void StartPolygon(OpenGLLumenar* r, int slot) {
  if (!ValidSlot(slot)) slot = -1;
  BindSpriteTexture(r, slot, -1, 0, nullptr);
  gPolygonVertices.count = 0;
  if (!gPolygonVertices.data) {
    static bool registered = false;
    if (!registered) std::atexit(FreePolygonVertices);
    registered = true;
  }
  GrowArrayReserve(gPolygonVertices, 7);
}

void AddPolygonVertex(OpenGLLumenar* r, int x, int y, float tx, float ty, uint32_t colour) {
  PolygonVertex v{float(x), float(y), 0, 0, 0, 0, 0, 0};
  if (gBoundSprite >= 0 && ValidSlot(gBoundSprite)) {
    const SpriteSlot& s = r->sprites[gBoundSprite];
    v.u = tx / s.texWidth;
    v.v = (s.height - ty) / s.texHeight;
  }
  v.r = float(colour & 0xFF) / 255;
  v.g = float((colour >> 8) & 0xFF) / 255;
  v.b = float((colour >> 16) & 0xFF) / 255;
  v.a = colour == r->spriteColourKey ? 0.0f : r->currentAlpha;
  GrowArrayAppend(gPolygonVertices, v);
}

void DrawPolygon(OpenGLLumenar* r) {
  FlushSprites();
  glEnable(GL_COLOR_MATERIAL);
  glEnable(GL_BLEND);
  glShadeModel(GL_SMOOTH);
  const PolygonVertex* v = gPolygonVertices.data;
  if (v && gPolygonVertices.count > 0) {
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(PolygonVertex), &v->x);
    if (gBoundSprite >= 0) {
      glEnableClientState(GL_TEXTURE_COORD_ARRAY);
      glTexCoordPointer(2, GL_FLOAT, sizeof(PolygonVertex), &v->u);
      ApplySmoothingFilter(r);
    }
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FLOAT, sizeof(PolygonVertex), &v->r);
    glDrawArrays(GL_TRIANGLE_FAN, 0, gPolygonVertices.count);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
  }
  glShadeModel(GL_FLAT);
  glEnable(GL_TEXTURE_2D);
  glColor4f(1, 1, 1, r->currentAlpha);
  glDisable(GL_BLEND);
  glDisable(GL_COLOR_MATERIAL);
}

void FreePolygonVertices() { GrowArrayClear(gPolygonVertices); }

namespace {

void BeginPrimitive(OpenGLLumenar* r, uint32_t colour) {
  FlushSprites();
  glDisable(GL_ALPHA_TEST);
  glColor4ub(uint8_t(colour), uint8_t(colour >> 8), uint8_t(colour >> 16), PrimitiveAlpha(r, colour));
  BindSpriteTexture(r, -1, -1, 0, nullptr);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glTranslatef(0.375f, 0.375f, 0);
}

void EndPrimitive(OpenGLLumenar* r) {
  FlushSprites();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glColor4f(1, 1, 1, r->currentAlpha);
  glEnable(GL_ALPHA_TEST);
}

}  // namespace

void DrawLine(OpenGLLumenar* r, float x1, float y1, float x2, float y2, uint32_t colour) {
  FlushSprites();
  BeginPrimitive(r, colour);
  glBegin(GL_LINES);
  glVertex2f(x1, y1);
  glVertex2f(x2, y2);
  glEnd();
  glBegin(GL_POINTS);
  glVertex2f(x2, y2);
  glEnd();
  EndPrimitive(r);
}

void DrawRect(OpenGLLumenar* r, float x, float y, float w, float h, uint32_t colour) {
  FlushSprites();
  if (w < 0) {
    x = x + w + 1;
    w = -w;
  }
  if (h < 0) {
    y = y + h + 1;
    h = -h;
  }
  BeginPrimitive(r, colour);
  glBegin(GL_QUADS);
  glVertex2f(x, y + h);
  glVertex2f(x + w, y + h);
  glVertex2f(x + w, y);
  glVertex2f(x, y);
  glEnd();
  EndPrimitive(r);
}
