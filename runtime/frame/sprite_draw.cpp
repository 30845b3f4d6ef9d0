#include "frame/sprite_draw.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "frame/gl_entry_points.h"

int32_t gBoundSprite = -1;
int32_t gQueuedSpriteQuads = 0;

namespace {

// The quads waiting to be drawn and the binding they were queued under.
struct SpriteQueue {
  OpenGLLumenar* r = nullptr;
  uint32_t texture = 0;
  uint8_t smoothing = 0;
  std::vector<QuadVertex> corners;
};
SpriteQueue sQueue;

// Texturing on unit 1 is known to be off (set by the binding below).
bool gUnit1Off = false;

uint32_t SlotTexture(const OpenGLLumenar* r, int k, int useTexture2, const uint32_t* names) {
  if (names) return names[k];
  if (!ValidSlot(k) || !r->sprites) return 0;
  return useTexture2 ? r->sprites[k].texture2 : r->sprites[k].texture;
}

// Binds slot for a sprite draw with the smoothing filter; false for a slot
// outside the table. While quads of the same texture and filter wait in the
// queue the binding is already in place and nothing reaches GL.
bool BindForDraw(OpenGLLumenar* r, int slot) {
  if (!ValidSlot(slot) || !r->sprites) return false;
  const uint32_t texture = r->sprites[slot].texture;
  if (gQueuedSpriteQuads > 0 && sQueue.r == r && sQueue.texture == texture &&
      sQueue.smoothing == r->smoothing) {
    gBoundSprite = slot;
    r->boundSlot = slot;
    r->boundSlot2 = -1;
    r->boundUseTexture2 = false;
    return true;
  }
  BindSpriteTexture(r, slot, -1, 0, nullptr);
  ApplySmoothingFilter(r);
  sQueue.r = r;
  sQueue.texture = texture;
  sQueue.smoothing = r->smoothing;
  return true;
}

// Adds a quad under the binding BindForDraw made.
void QueueQuad(const QuadVertex q[4]) {
  sQueue.corners.insert(sQueue.corners.end(), q, q + 4);
  ++gQueuedSpriteQuads;
}

}  // namespace

void DrawQueuedSprites() {
  const int quads = gQueuedSpriteQuads;
  gQueuedSpriteQuads = 0;
  if (quads > 0 && sQueue.r && sQueue.r->glAlive) {
    const QuadVertex* v = sQueue.corners.data();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(QuadVertex), &v->x);
    glTexCoordPointer(2, GL_FLOAT, sizeof(QuadVertex), &v->u);
    glDrawArrays(GL_QUADS, 0, quads * 4);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  }
  sQueue.corners.clear();
}

void DiscardQueuedSprites() {
  gQueuedSpriteQuads = 0;
  sQueue.corners.clear();
  sQueue.r = nullptr;
}

void ForgetTextureUnitState() { gUnit1Off = false; }

ActiveTextureFn MultitextureEntry() { return pglActiveTextureARB; }

void SetViewport2D(OpenGLLumenar* r, int x, int y, int w, int h) {
  FlushSprites();
  if (w < 1 || h < 1) {
    w = r->width;
    h = r->height;
  }
  r->viewport[0] = x;
  r->viewport[1] = y;
  r->viewport[2] = w;
  r->viewport[3] = h;
  glViewport(x, r->height - h - y, w, h);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, w, h, 0, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();

  glEnable(GL_TEXTURE_2D);
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_CULL_FACE);
  glFrontFace(GL_CCW);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0.05f);
  glColor4f(1, 1, 1, 1);
  glClearColor(0, 0, 0, 1);
  glShadeModel(GL_FLAT);
  const GLenum off[] = {GL_BLEND,          GL_FOG,           GL_LINE_SMOOTH,
                        GL_POINT_SMOOTH,   GL_POLYGON_SMOOTH, GL_STENCIL_TEST,
                        GL_POLYGON_OFFSET_POINT, GL_COLOR_MATERIAL, GL_AUTO_NORMAL,
                        GL_NORMALIZE,      GL_LIGHTING};
  for (GLenum cap : off) glDisable(cap);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
  glHint(GL_POLYGON_SMOOTH_HINT, GL_FASTEST);
  r->smoothing = 1;
}

void SetScreenSize(OpenGLLumenar* r, int w, int h) {
  r->width = w;
  r->height = h;
  SetViewport2D(r, 0, 0, 0, 0);
}

void BindSpriteTexture(OpenGLLumenar* r, int slot, int slot2, int useTexture2,
                       const uint32_t* names) {
  FlushSprites();
  gBoundSprite = slot;
  r->boundSlot = slot;
  r->boundSlot2 = slot2;
  r->boundUseTexture2 = useTexture2 != 0;
  ActiveTextureFn active = MultitextureEntry();
  if (!active) {
    if (slot < 0) {
      glDisable(GL_TEXTURE_2D);
      glEnable(GL_COLOR_MATERIAL);
    } else {
      glBindTexture(GL_TEXTURE_2D, SlotTexture(r, slot, useTexture2, names));
      glEnable(GL_TEXTURE_2D);
    }
    return;
  }
  if (slot >= 0 && slot2 >= 0) {
    active(GL_TEXTURE1_ARB);
    glBindTexture(GL_TEXTURE_2D, SlotTexture(r, slot, useTexture2, names));
    glEnable(GL_TEXTURE_2D);
    active(GL_TEXTURE0_ARB);
    gUnit1Off = false;
  } else {
    // Switching units ends the driver's batch of quads; skip the switch
    // while unit 1 is known to be off and unit 0 is selected.
    GLint unit = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &unit);
    if (!gUnit1Off || unit != GL_TEXTURE0_ARB) {
      active(GL_TEXTURE1_ARB);
      glDisable(GL_TEXTURE_2D);
      active(GL_TEXTURE0_ARB);
      gUnit1Off = true;
    }
  }
  if (slot < 0) {
    glDisable(GL_TEXTURE_2D);
    return;
  }
  glBindTexture(GL_TEXTURE_2D, SlotTexture(r, slot2 < 0 ? slot : slot2, useTexture2, names));
  glEnable(GL_TEXTURE_2D);
}

void SetSmoothing(OpenGLLumenar* r, uint8_t flag) { r->smoothing = flag; }

void ApplySmoothingFilter(OpenGLLumenar* r) {
  FlushSprites();
  const GLint filter = r->smoothing ? GL_LINEAR : GL_NEAREST;
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
}

void DrawTexturedQuad(const QuadVertex corners[4]) {
  FlushSprites();
  glBegin(GL_QUADS);
  for (int i = 0; i < 4; ++i) {
    glTexCoord2f(corners[i].u, corners[i].v);
    glVertex2f(corners[i].x, corners[i].y);
  }
  glEnd();
}

void DrawVertexArray(OpenGLLumenar* r, unsigned int mode) {
  FlushSprites();
  if (r->vertexBuffer.count <= 0 || !r->vertexBuffer.data) return;
  const TextVertex* v = r->vertexBuffer.data;
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, sizeof(TextVertex), &v->x);
  if (gBoundSprite >= 0) {
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, sizeof(TextVertex), &v->u);
  }
  glDrawArrays(mode, 0, r->vertexBuffer.count);
  glDisableClientState(GL_VERTEX_ARRAY);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

void DrawSprite(OpenGLLumenar* r, int slot, float x, float y) {
  if (!BindForDraw(r, slot)) return;
  const SpriteSlot& s = r->sprites[slot];
  const float S = float(s.width) / s.texWidth, T = float(s.height) / s.texHeight;
  const float x0 = std::ceil(x), y0 = std::ceil(y);
  const QuadVertex q[4] = {{x0 + s.width, y0, S, T},
                           {x0, y0, 0, T},
                           {x0, y0 + s.height, 0, 0},
                           {x0 + s.width, y0 + s.height, S, 0}};
  QueueQuad(q);
}

void StretchSprite(OpenGLLumenar* r, int slot, float x, float y, float w, float h) {
  const float x0 = std::ceil(x), y0 = std::ceil(y), w0 = std::ceil(w), h0 = std::ceil(h);
  // A mirrored quad turns the other way round and needs its own face state.
  const bool mirrored = (w0 < 0) != (h0 < 0);
  if (mirrored) FlushSprites();
  if (!BindForDraw(r, slot)) return;
  const SpriteSlot& s = r->sprites[slot];
  const float S = float(s.width) / s.texWidth, T = float(s.height) / s.texHeight;
  const QuadVertex q[4] = {{x0, y0 + h0, 0, 0},
                           {x0 + w0, y0 + h0, S, 0},
                           {x0 + w0, y0, S, T},
                           {x0, y0, 0, T}};
  if (!mirrored) {
    QueueQuad(q);
    return;
  }
  glFrontFace(GL_CW);
  DrawTexturedQuad(q);
  glFrontFace(GL_CCW);
}

void RotoZoomSprite(OpenGLLumenar* r, int slot, float x, float y, float angle, float zoom) {
  FlushSprites();  // turned by the modelview matrix
  if (!BindForDraw(r, slot)) return;
  const SpriteSlot& s = r->sprites[slot];
  const float hw = s.width * zoom * 0.5f, hh = s.height * zoom * 0.5f;
  const float s0 = 0.5f / s.texWidth, s1 = (s.width - 0.5f) / s.texWidth;
  const float t0 = 0.5f / s.texHeight, t1 = (s.height - 0.5f) / s.texHeight;
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glTranslatef(x + s.width / 2, y + s.height / 2, 0);
  glRotatef(angle, 0, 0, -1);
  const QuadVertex q[4] = {{-hw, hh, s0, t0}, {hw, hh, s1, t0}, {hw, -hh, s1, t1}, {-hw, -hh, s0, t1}};
  DrawTexturedQuad(q);
  glPopMatrix();
}

bool GetAnimCell(const OpenGLLumenar* r, int slot, int frame, AnimCell* cell) {
  if (!ValidSlot(slot) || !r->sprites || frame < 0) return false;
  const SpriteSlot& s = r->sprites[slot];
  const int fw = s.frameWidth, fh = s.frameHeight;
  if (fw <= 0 || fh <= 0 || fw > s.width || fh > s.height) return false;
  const int perRow = s.width / fw;
  const int rows = s.height / fh;
  if (int64_t(frame) >= int64_t(perRow) * rows) return false;
  cell->fw = fw;
  cell->fh = fh;
  cell->s0 = float((frame % perRow) * fw) / s.texWidth;
  cell->s1 = cell->s0 + float(fw) / s.texWidth;
  cell->t0 = float(s.height - fh * (frame / perRow + 1)) / s.texHeight;
  cell->t1 = cell->t0 + float(fh) / s.texHeight;
  return true;
}

void DrawAnimFrame(OpenGLLumenar* r, int slot, int frame, float x, float y) {
  AnimCell c;
  if (!GetAnimCell(r, slot, frame, &c) || !BindForDraw(r, slot)) return;
  const float x0 = std::ceil(x), y0 = std::ceil(y);
  const QuadVertex q[4] = {{x0 + c.fw, y0, c.s1, c.t1},
                           {x0, y0, c.s0, c.t1},
                           {x0, y0 + c.fh, c.s0, c.t0},
                           {x0 + c.fw, y0 + c.fh, c.s1, c.t0}};
  QueueQuad(q);
}

void StretchAnimFrame(OpenGLLumenar* r, int slot, int frame, float x, float y, float w, float h) {
  AnimCell c;
  if (!GetAnimCell(r, slot, frame, &c) || !BindForDraw(r, slot)) return;
  const float x0 = std::ceil(x), y0 = std::ceil(y), w0 = std::ceil(w), h0 = std::ceil(h);
  const QuadVertex q[4] = {{x0, y0, c.s0, c.t1},
                           {x0, y0 + h0 + 0.1f, c.s0, c.t0},
                           {x0 + w0 + 0.1f, y0 + h0 + 0.1f, c.s1, c.t0},
                           {x0 + w0 + 0.1f, y0, c.s1, c.t1}};
  QueueQuad(q);
}

void RotoZoomAnimFrame(OpenGLLumenar* r, int slot, int frame, float x, float y, float angle,
                       float zoom) {
  AnimCell c;
  if (!GetAnimCell(r, slot, frame, &c) || !BindForDraw(r, slot)) return;
  const float cx = x + c.fw / 2, cy = y + c.fh / 2;
  const float hw = c.fw * zoom * 0.5f, hh = c.fh * zoom * 0.5f;
  const float cs = std::cos(angle * 0.017453292f), sn = std::sin(angle * 0.017453292f);
  auto at = [&](float lx, float ly, float u, float v) {
    return QuadVertex{cx + lx * cs + ly * sn, cy - lx * sn + ly * cs, u, v};
  };
  const QuadVertex q[4] = {at(-hw, -hh, c.s0, c.t1), at(-hw, hh, c.s0, c.t0),
                           at(hw, hh, c.s1, c.t0), at(hw, -hh, c.s1, c.t1)};
  QueueQuad(q);
}
