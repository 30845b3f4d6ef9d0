#include "frame/sprite_collision.h"

#include <GL/gl.h>

#include <algorithm>
#include <new>

#include "frame/sprite_draw.h"

namespace {

// What each alpha copy was read from: a copy is only used while the slot
// still holds that texture at that size.
struct CopySource {
  uint32_t texture;
  uint16_t slotTexWidth, slotTexHeight;  // the slot's fields at fetch time
  int32_t width, height;                 // level 0 as read back
};
CopySource sSources[kSpriteSlotCount];

struct Mask {
  const uint8_t* bytes;
  int64_t texWidth;
  int64_t width, height;  // picture size, within the copy
};

bool SlotHoldsPicture(const OpenGLLumenar* r, int slot) {
  if (!ValidSlot(slot) || !r->sprites) return false;
  const SpriteSlot& s = r->sprites[slot];
  return s.texture != 0 && s.width > 0 && s.height > 0 && s.texWidth != kEmptyTexSize &&
         s.texHeight != kEmptyTexSize;
}

void DropCopy(OpenGLLumenar* r, int slot) {
  delete[] r->alphaCopies[slot];
  r->alphaCopies[slot] = nullptr;
}

bool GetMask(OpenGLLumenar* r, int slot, Mask* m) {
  if (!FetchAlphaCopy(r, slot)) return false;
  const SpriteSlot& s = r->sprites[slot];
  const CopySource& src = sSources[slot];
  m->bytes = r->alphaCopies[slot];
  m->texWidth = src.width;
  m->width = std::min<int64_t>(s.width, src.width);
  m->height = std::min<int64_t>(s.height, src.height);
  return true;
}

inline bool Opaque(const Mask& m, int64_t sx, int64_t sy, int64_t x, int64_t y) {
  return m.bytes[(x - sx) + (m.height - 1 - (y - sy)) * m.texWidth] != 0;
}

}  // namespace

uint8_t FetchAlphaCopy(OpenGLLumenar* r, int slot) {
  FlushSprites();
  if (!ValidSlot(slot) || !r->sprites) return 0;
  if (!SlotHoldsPicture(r, slot) || !r->glAlive) {
    DropCopy(r, slot);
    return 0;
  }
  const SpriteSlot& s = r->sprites[slot];
  CopySource& src = sSources[slot];
  if (r->alphaCopies[slot]) {
    if (src.texture == s.texture && src.slotTexWidth == s.texWidth &&
        src.slotTexHeight == s.texHeight)
      return 1;
    DropCopy(r, slot);
  }
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  glBindTexture(GL_TEXTURE_2D, s.texture);
  GLint tw = 0, th = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &tw);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &th);
  uint8_t* copy = nullptr;
  if (tw > 0 && th > 0) copy = new (std::nothrow) uint8_t[size_t(tw) * size_t(th)];
  if (copy) {
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_SKIP_ROWS, 0);
    glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_ALPHA, GL_UNSIGNED_BYTE, copy);
    glPopClientAttrib();
  }
  glBindTexture(GL_TEXTURE_2D, GLuint(bound));
  if (!copy) return 0;
  r->alphaCopies[slot] = copy;
  src = CopySource{s.texture, s.texWidth, s.texHeight, tw, th};
  return 1;
}

namespace {

// Positions in 64 bits: a sprite at the edge of the 32-bit range still
// has all its pixels.
uint8_t Overlap(OpenGLLumenar* r, int a, int64_t ax, int64_t ay, int b, int64_t bx, int64_t by,
                int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
  Mask ma, mb;
  if (!GetMask(r, a, &ma) || !GetMask(r, b, &mb)) return 0;
  // Keep the scan inside both pictures whatever rectangle was asked for.
  const int64_t left = std::max<int64_t>({x0, ax, bx});
  const int64_t top = std::max<int64_t>({y0, ay, by});
  const int64_t right = std::min<int64_t>({x1, ax + ma.width, bx + mb.width});
  const int64_t bottom = std::min<int64_t>({y1, ay + ma.height, by + mb.height});
  if (left >= right || top >= bottom) return 0;
  // Four interleaved passes: the first samples the whole area coarsely.
  for (int pass = 0; pass < 4; ++pass) {
    const int64_t dy = pass >> 1, dx = pass & 1;
    for (int64_t y = top + dy; y < bottom; y += 2)
      for (int64_t x = left + dx; x < right; x += 2)
        if (Opaque(ma, ax, ay, x, y) && Opaque(mb, bx, by, x, y)) return 1;
  }
  return 0;
}

}  // namespace

uint8_t PixelOverlap(OpenGLLumenar* r, int a, int32_t ax, int32_t ay, int b, int32_t bx,
                     int32_t by, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  return Overlap(r, a, ax, ay, b, bx, by, x0, y0, x1, y1);
}

uint8_t SpriteCollide(OpenGLLumenar* r, int a, int b, int32_t ax, int32_t ay, int32_t bx,
                      int32_t by) {
  if (!ValidSlot(a) || !ValidSlot(b) || !r->sprites) return 0;
  const SpriteSlot& sa = r->sprites[a];
  const SpriteSlot& sb = r->sprites[b];
  const int64_t left = std::max<int64_t>(ax, bx);
  const int64_t right = std::min<int64_t>(int64_t(ax) + sa.width, int64_t(bx) + sb.width);
  const int64_t top = std::max<int64_t>(ay, by);
  const int64_t bottom = std::min<int64_t>(int64_t(ay) + sa.height, int64_t(by) + sb.height);
  if (left >= right || top >= bottom) return 0;
  return Overlap(r, a, ax, ay, b, bx, by, left, top, right, bottom);
}

namespace {

// Origin and size of a cell inside its picture; false when frame names no
// cell of the sprite.
bool CellOf(const OpenGLLumenar* r, int slot, int32_t frame, int64_t* ox, int64_t* oy,
            int64_t* w, int64_t* h) {
  if (!ValidSlot(slot)) return false;
  const SpriteSlot& s = r->sprites[slot];
  if (s.width <= 0 || s.height <= 0) return false;
  if (s.frameWidth == 0) {
    *ox = *oy = 0;
    *w = s.width;
    *h = s.height;
    return true;
  }
  const int fw = s.frameWidth, fh = s.frameHeight;
  if (fw < 0 || fh <= 0 || fw > s.width || fh > s.height || frame < 0) return false;
  const int perRow = s.width / fw, rows = s.height / fh;
  if (int64_t(frame) >= int64_t(perRow) * rows) return false;
  *ox = int64_t(frame % perRow) * fw;
  *oy = int64_t(frame / perRow) * fh;
  *w = fw;
  *h = fh;
  return true;
}

}  // namespace

uint8_t AnimFrameCollide(OpenGLLumenar* r, int a, int32_t frameA, int32_t ax, int32_t ay, int b,
                         int32_t frameB, int32_t bx, int32_t by) {
  if (!r->sprites) return 0;
  int64_t oax, oay, wa, ha, obx, oby, wb, hb;
  if (!CellOf(r, a, frameA, &oax, &oay, &wa, &ha) || !CellOf(r, b, frameB, &obx, &oby, &wb, &hb))
    return 0;
  const int64_t left = std::max<int64_t>(ax, bx);
  const int64_t right = std::min<int64_t>(ax + wa, bx + wb);
  const int64_t top = std::max<int64_t>(ay, by);
  const int64_t bottom = std::min<int64_t>(ay + ha, by + hb);
  if (left >= right || top >= bottom) return 0;
  // Each whole sprite is placed so that its cell lands on the position.
  return Overlap(r, a, ax - oax, ay - oay, b, bx - obx, by - oby, left, top, right, bottom);
}
