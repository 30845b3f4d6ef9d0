#include "frame/fonts.h"

#include <GL/gl.h>

#include <cmath>
#include <cstddef>
#include <cstring>

#include "core/grow_array.h"
#include "frame/sprite_draw.h"

int32_t gCurrentFont = 0;

namespace {

bool ValidFont(int font) { return font >= 0 && font < kFontCount; }

struct FontLayout {
  int slot;
  int cellWidth, cellHeight;
  float su, sv;
  int modulus, top;
};

bool GetLayout(const OpenGLLumenar* r, int font, FontLayout* f) {
  if (!ValidFont(font) || !r->sprites) return false;
  f->slot = kFirstFontSlot + font;
  const SpriteSlot& s = r->sprites[f->slot];
  const int w = s.width, h = s.height;
  if (w <= 0 || h <= 0 || s.texWidth == kEmptyTexSize || s.texHeight == kEmptyTexSize) return false;
  f->cellWidth = w >> 4;
  f->su = (float(w) / s.texWidth) / 16;
  if (w < h) {
    f->modulus = 256;
    f->top = 15;
    f->cellHeight = h / 16;
    f->sv = (float(h) / s.texHeight) / 16;
  } else {
    f->modulus = 128;
    f->top = 7;
    f->cellHeight = h / 8;
    f->sv = (float(h) / s.texHeight) / 8;
  }
  return true;
}

// Makes the text vertex buffer hold count vertices.
bool SizeVertexBuffer(OpenGLLumenar* r, size_t count) {
  if (count > size_t(INT32_MAX) - 1) return false;
  if (count > 0) GrowArrayReserve(r->vertexBuffer, int32_t(count - 1));
  r->vertexBuffer.count = int32_t(count);
  return true;
}

void GlyphRect(const FontLayout& f, uint8_t byte, float* s0, float* t0) {
  const int code = byte % f.modulus;
  *s0 = (code % 16) * f.su;
  *t0 = (f.top - code / 16) * f.sv;
}

}  // namespace

void LoadBuiltinFont(OpenGLLumenar* r, int font) {
  if (!ValidFont(font) || !r->sprites) return;
  RgbaImage image = {0, 0, nullptr, 0};
  if (!BuildBuiltinFontImage(&image)) {
    FreeRgbaImage(&image);
    return;
  }
  const int slot = kFirstFontSlot + font;
  SpriteSlot& s = r->sprites[slot];
  delete[] r->alphaCopies[slot];
  r->alphaCopies[slot] = nullptr;
  if (UploadSpriteTexture(&image, 0, 0, 0, 0, &s.texture, nullptr, 0, 1)) {
    s.texWidth = s.width = 128;
    s.texHeight = s.height = 64;
  }
  FreeRgbaImage(&image);
}

void GetFontCellSize(OpenGLLumenar* r, int font, int32_t* cellWidth, int32_t* cellHeight) {
  *cellWidth = *cellHeight = 0;
  if (!ValidFont(font) || !r->sprites) return;
  const SpriteSlot& s = r->sprites[kFirstFontSlot + font];
  if (s.width <= 0 || s.height <= 0) return;
  *cellWidth = s.width / 16;
  *cellHeight = s.width >= s.height ? s.height / 8 : s.height / 16;
}

void PrintText(OpenGLLumenar* r, int font, const char* text, float x, float y, float z) {
  if (!text || !*text) return;
  FontLayout f;
  if (!GetLayout(r, font, &f)) return;
  BindSpriteTexture(r, f.slot, -1, 0, nullptr);
  float px = std::ceil(x);
  const float py = std::ceil(y);
  const size_t length = std::strlen(text);
  if (!SizeVertexBuffer(r, length * 4)) return;
  TextVertex* v = r->vertexBuffer.data;
  const float cw = float(f.cellWidth), ch = float(f.cellHeight);
  for (size_t i = 0; i < length; ++i, v += 4) {
    float s0, t0;
    GlyphRect(f, uint8_t(text[i]), &s0, &t0);
    v[0] = {px, py + ch, z, s0, t0};
    v[1] = {px + cw, py + ch, z, s0 + f.su, t0};
    v[2] = {px + cw, py, z, s0 + f.su, t0 + f.sv};
    v[3] = {px, py, z, s0, t0 + f.sv};
    px += cw;
  }
  DrawVertexArray(r, GL_QUADS);
}

void PrintText3D(OpenGLLumenar* r, int font, const char* text, float x, float y, float z,
                 float scale) {
  FlushSprites();
  if (!text || !*text) return;
  FontLayout f;
  if (!GetLayout(r, font, &f)) return;
  const GLboolean cull = glIsEnabled(GL_CULL_FACE), lighting = glIsEnabled(GL_LIGHTING);
  glDisable(GL_CULL_FACE);
  glDisable(GL_LIGHTING);
  GLfloat m[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  const size_t length = std::strlen(text);
  if (scale != 0) {
    const float k = scale * f.cellWidth;
    const float rx = m[0] * k, ry = m[4] * k, rz = m[8] * k;
    const float ux = m[1] * k, uy = m[5] * k, uz = m[9] * k;
    BindSpriteTexture(r, f.slot, -1, 0, nullptr);
    if (SizeVertexBuffer(r, length * 4)) {
      TextVertex* v = r->vertexBuffer.data;
      float ax = x, ay = y, az = z;
      for (size_t i = 0; i < length; ++i, v += 4) {
        float s0, t0;
        GlyphRect(f, uint8_t(text[i]), &s0, &t0);
        v[0] = {ax, ay, az, s0, t0};
        v[1] = {ax + rx, ay + ry, az + rz, s0 + f.su, t0};
        v[2] = {ax + rx + ux, ay + ry + uy, az + rz + uz, s0 + f.su, t0 + f.sv};
        v[3] = {ax + ux, ay + uy, az + uz, s0, t0 + f.sv};
        ax += rx;
        ay += ry;
        az += rz;
      }
      DrawVertexArray(r, GL_QUADS);
    }
  } else {
    GLfloat p[16];
    GLint vp[4];
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    glGetIntegerv(GL_VIEWPORT, vp);
    float eye[4], clip[4];
    const float in[4] = {x, y, z, 1};
    for (int i = 0; i < 4; ++i)
      eye[i] = m[i] * in[0] + m[4 + i] * in[1] + m[8 + i] * in[2] + m[12 + i] * in[3];
    for (int i = 0; i < 4; ++i)
      clip[i] = p[i] * eye[0] + p[4 + i] * eye[1] + p[8 + i] * eye[2] + p[12 + i] * eye[3];
    if (clip[3] != 0) {
      const float nx = clip[0] / clip[3], ny = clip[1] / clip[3], nz = clip[2] / clip[3];
      const float sx = (nx + 1) * vp[2] / 2 + vp[0];
      const float sy = vp[3] - ((ny + 1) * vp[3] / 2 + vp[1]);
      glMatrixMode(GL_PROJECTION);
      glPushMatrix();
      glLoadIdentity();
      glOrtho(0, r->viewport[2], r->viewport[3], 0, -1, 1);
      glMatrixMode(GL_MODELVIEW);
      glPushMatrix();
      glLoadIdentity();
      PrintText(r, font, text, sx - vp[0] - float(f.cellWidth) * float(length) / 2,
                sy - f.cellHeight + vp[1], -nz);
      glMatrixMode(GL_PROJECTION);
      glPopMatrix();
      glMatrixMode(GL_MODELVIEW);
      glPopMatrix();
    }
  }
  if (cull) glEnable(GL_CULL_FACE);
  if (lighting) glEnable(GL_LIGHTING);
}

void DrawSpriteBillboard(OpenGLLumenar* r, int slot, float x, float y, float z, float scale) {
  FlushSprites();
  if (!ValidSlot(slot) || !r->sprites) return;
  const SpriteSlot& s = r->sprites[slot];
  if (s.width <= 0 || s.height <= 0) return;
  GLfloat m[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  const float hw = float(s.width / 4) * scale, H = float(s.height / 2) * scale;
  const float rx = m[0] * hw, ry = m[4] * hw, rz = m[8] * hw;
  const float ux = m[1] * H, uy = m[5] * H, uz = m[9] * H;
  const float s1 = (s.width - 0.5f) / s.texWidth, t1 = (s.height - 0.5f) / s.texHeight;
  BindSpriteTexture(r, slot, -1, 0, nullptr);
  if (!SizeVertexBuffer(r, 4)) return;
  TextVertex* v = r->vertexBuffer.data;
  v[0] = {x - rx, y - ry, z - rz, 0, 0};
  v[1] = {x + rx, y + ry, z + rz, s1, 0};
  v[2] = {x + rx + ux, y + ry + uy, z + rz + uz, s1, t1};
  v[3] = {x - rx + ux, y - ry + uy, z - rz + uz, 0, t1};
  DrawVertexArray(r, GL_QUADS);
}
