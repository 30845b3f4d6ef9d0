#include "frame/virtual_screens.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdlib>
#include <cstring>
#include <new>

#include "frame/image_bmp.h"
#include "frame/image_png.h"
#include "frame/sprite_draw.h"

namespace {

struct GrabScratchBuffer {
  int32_t width;
  int32_t height;
  uint8_t* pixels;
  int32_t capacity;
};
GrabScratchBuffer gGrabScratch = {0, 0, nullptr, 0};

bool ValidScreen(int n) { return n >= 0 && n < kVirtualScreenCount; }

int MaxTextureSize() {
  GLint max = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max);
  return max > 0 ? max : 64;
}

// Powers of two without overflow: doubles t while it is below want and
// below limit.
int64_t GrowPowerOfTwo(int64_t t, int64_t want, int64_t limit) {
  while (t < want && t < limit) t *= 2;
  return t;
}

struct SavedPackState {
  GLint alignment, rowLength, skipRows, skipPixels;
};
SavedPackState SetPackState() {
  FlushSprites();
  SavedPackState s;
  glGetIntegerv(GL_PACK_ALIGNMENT, &s.alignment);
  glGetIntegerv(GL_PACK_ROW_LENGTH, &s.rowLength);
  glGetIntegerv(GL_PACK_SKIP_ROWS, &s.skipRows);
  glGetIntegerv(GL_PACK_SKIP_PIXELS, &s.skipPixels);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glPixelStorei(GL_PACK_ROW_LENGTH, 0);
  glPixelStorei(GL_PACK_SKIP_ROWS, 0);
  glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
  return s;
}
void RestorePackState(const SavedPackState& s) {
  FlushSprites();
  glPixelStorei(GL_PACK_ALIGNMENT, s.alignment);
  glPixelStorei(GL_PACK_ROW_LENGTH, s.rowLength);
  glPixelStorei(GL_PACK_SKIP_ROWS, s.skipRows);
  glPixelStorei(GL_PACK_SKIP_PIXELS, s.skipPixels);
}

void SetUnpackState() {
  FlushSprites();
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
}

void ReadRgba(int x, int y, uint8_t out[4]) {
  FlushSprites();
  SavedPackState s = SetPackState();
  glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, out);
  RestorePackState(s);
}

// Writes one frame-buffer pixel (window coordinates, origin bottom-left)
// exactly, whatever the blend, viewport, matrices and texturing in force.
void PokePixel(OpenGLLumenar* r, int x, int y, const uint8_t rgba[4]) {
  FlushSprites();
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0, r->width, 0, r->height, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glViewport(0, 0, r->width, r->height);
  glDisable(GL_BLEND);
  glDisable(GL_ALPHA_TEST);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_STENCIL_TEST);
  glDisable(GL_SCISSOR_TEST);
  glDisable(GL_LIGHTING);
  glDisable(GL_FOG);
  glDisable(GL_COLOR_LOGIC_OP);
  glDisable(GL_POINT_SMOOTH);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glPointSize(1);
  glColor4ub(rgba[0], rgba[1], rgba[2], rgba[3]);
  glBegin(GL_POINTS);
  glVertex2f(x + 0.5f, y + 0.5f);
  glEnd();
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopAttrib();
}

}  // namespace

void FreeVirtualScreen(OpenGLLumenar* r, int n) {
  FlushSprites();
  if (!ValidScreen(n)) return;
  VirtualScreen& s = r->screens[n];
  if (r->glAlive) {
    for (int c = 0; c < kScreenTileGrid; ++c)
      for (int k = 0; k < kScreenTileGrid; ++k)
        if (s.tileTexture[c][k]) glDeleteTextures(1, &s.tileTexture[c][k]);
  }
  std::memset(&s, 0, sizeof s);
}

void CopyBackBufferToScreen(OpenGLLumenar* r, int n) {
  FlushSprites();
  if (!ValidScreen(n)) return;
  VirtualScreen& s = r->screens[n];
  const int64_t W = r->width, H = r->height;
  if (W <= 0 || H <= 0) return;
  const int64_t max = MaxTextureSize();
  // Tiles must cover the screen within the 64 x 64 grid.
  int64_t t = GrowPowerOfTwo(128, H < W ? W : H, max);
  const int64_t cols = (W + t - 1) / t, rows = (H + t - 1) / t;
  const int tilesX = int(cols < kScreenTileGrid ? cols : kScreenTileGrid);
  const int tilesY = int(rows < kScreenTileGrid ? rows : kScreenTileGrid);

  glPushAttrib(GL_TEXTURE_BIT | GL_PIXEL_MODE_BIT);
  for (int row = 0; row < tilesY; ++row) {
    for (int c = 0; c < tilesX; ++c) {
      uint32_t& name = s.tileTexture[c][row];
      if (name && s.tileTexWidth[c][row] == t && s.tileTexHeight[c][row] == t) {
        glBindTexture(GL_TEXTURE_2D, name);
      } else {
        if (name && r->glAlive) glDeleteTextures(1, &name);
        SetUnpackState();
        glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, GLsizei(t), GLsizei(t), 0, GL_BGRA,
                     GL_UNSIGNED_BYTE, nullptr);
      }
      const int64_t cw = W - c * t < t ? W - c * t : t;
      const int64_t ch = H - row * t < t ? H - row * t : t;
      glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, GLint(c * t), GLint(H - row * t - ch),
                          GLsizei(cw), GLsizei(ch));
      s.tileTexWidth[c][row] = s.tileTexHeight[c][row] = uint32_t(t);
      s.tileWidth[c][row] = uint32_t(cw);
      s.tileHeight[c][row] = uint32_t(ch);
    }
  }
  glPopAttrib();
  // Tiles of an earlier, larger grid are no longer drawn: release them.
  for (int c = 0; c < kScreenTileGrid; ++c)
    for (int row = 0; row < kScreenTileGrid; ++row)
      if ((c >= tilesX || row >= tilesY) && s.tileTexture[c][row]) {
        if (r->glAlive) glDeleteTextures(1, &s.tileTexture[c][row]);
        s.tileTexture[c][row] = 0;
        s.tileTexWidth[c][row] = s.tileTexHeight[c][row] = 0;
        s.tileWidth[c][row] = s.tileHeight[c][row] = 0;
      }
  s.tilesX = tilesX;
  s.tilesY = tilesY;
}

uint8_t LoadVirtualScreen(OpenGLLumenar* r, int n, const char* fileName) {
  if (!ValidScreen(n)) return 0;
  RgbaImage image = {0, 0, nullptr, 0};
  if (!LoadBmpImage(&image, fileName, kNoColourKey) &&
      !LoadPngImage(&image, fileName, kNoColourKey)) {
    FreeRgbaImage(&image);
    return 0;
  }
  if (image.width <= 0 || image.height <= 0) {
    FreeRgbaImage(&image);
    return 0;
  }
  int t = MaxTextureSize();
  if (t > 512) t = 512;
  FreeVirtualScreen(r, n);
  VirtualScreen& s = r->screens[n];
  // Parts of the picture beyond the 64 x 64 tile grid are not kept.
  const int64_t cols = (int64_t(image.width) + t - 1) / t;
  const int64_t rows = (int64_t(image.height) + t - 1) / t;
  const int tilesX = int(cols < kScreenTileGrid ? cols : kScreenTileGrid);
  const int tilesY = int(rows < kScreenTileGrid ? rows : kScreenTileGrid);
  uint8_t ok = 1;
  for (int row = 0; ok && row < tilesY; ++row) {
    for (int c = 0; c < tilesX; ++c) {
      if (!UploadSpriteTexture(&image, c * t, row * t, t, t, &s.tileTexture[c][row], nullptr, 0,
                               0)) {
        ok = 0;
        break;
      }
      s.tileTexWidth[c][row] = s.tileTexHeight[c][row] = uint32_t(t);
      s.tileWidth[c][row] = s.tileHeight[c][row] = uint32_t(t);
    }
  }
  FreeRgbaImage(&image);
  if (!ok) {
    s.tilesX = tilesX;
    s.tilesY = tilesY;
    FreeVirtualScreen(r, n);
    return 0;
  }
  s.tilesX = tilesX;
  s.tilesY = tilesY;
  return 1;
}

void DrawVirtualScreen(OpenGLLumenar* r, int n) {
  FlushSprites();
  if (!ValidScreen(n)) return;
  const VirtualScreen& s = r->screens[n];
  glDisable(GL_ALPHA_TEST);
  if (ActiveTextureFn active = MultitextureEntry()) {
    active(GL_TEXTURE1_ARB);
    glDisable(GL_TEXTURE_2D);
    active(GL_TEXTURE0_ARB);
  }
  glEnable(GL_TEXTURE_2D);
  gBoundSprite = 0;
  float X = 0;
  for (int c = 0; c < s.tilesX && c < kScreenTileGrid; ++c) {
    float Y = 0;
    float step = 0;
    for (int row = 0; row < s.tilesY && row < kScreenTileGrid; ++row) {
      const float tw = float(s.tileWidth[c][row]), th = float(s.tileHeight[c][row]);
      const float S = s.tileTexWidth[c][row] ? tw / s.tileTexWidth[c][row] : 0;
      const float T = s.tileTexHeight[c][row] ? th / s.tileTexHeight[c][row] : 0;
      glBindTexture(GL_TEXTURE_2D, s.tileTexture[c][row]);
      const QuadVertex q[4] = {{X, Y + th, 0, 0}, {X + tw, Y + th, S, 0}, {X + tw, Y, S, T}, {X, Y, 0, T}};
      DrawTexturedQuad(q);
      step = float(s.tileTexWidth[c][row]);
      Y += float(s.tileTexHeight[c][row]);
    }
    X += step;
  }
  glEnable(GL_ALPHA_TEST);
  BindSpriteTexture(r, -1, -1, 0, nullptr);
}

uint8_t GrabSprite(OpenGLLumenar* r, int slot, int x, int y, int w, int h) {
  FlushSprites();
  if (!ValidSlot(slot) || !r->sprites || w <= 0 || h <= 0) return 0;
  const int64_t max = MaxTextureSize();
  if (w > max || h > max || w > 32767 || h > 32767) return 0;
  const int64_t tw = GrowPowerOfTwo(32, w, max), th = GrowPowerOfTwo(32, h, max);
  SpriteSlot& s = r->sprites[slot];
  delete[] r->alphaCopies[slot];
  r->alphaCopies[slot] = nullptr;

  glPushAttrib(GL_TEXTURE_BIT | GL_PIXEL_MODE_BIT);
  if (s.texture && s.texWidth == tw && s.texHeight == th) {
    glBindTexture(GL_TEXTURE_2D, s.texture);
  } else {
    if (r->glAlive) {
      if (s.texture) glDeleteTextures(1, &s.texture);
      if (s.texture2) glDeleteTextures(1, &s.texture2);
    }
    s.texture2 = 0;
    glGenTextures(1, &s.texture);
    glBindTexture(GL_TEXTURE_2D, s.texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    SetUnpackState();
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, GLsizei(tw), GLsizei(th), 0, GL_BGRA,
                 GL_UNSIGNED_BYTE, nullptr);
  }
  GLint alphaBits = 0;
  glGetIntegerv(GL_ALPHA_BITS, &alphaBits);
  const int readY = r->height - y - h;
  if (alphaBits == 0) {
    const int64_t bytes = tw * th * 4;
    if (gGrabScratch.capacity < bytes) {
      uint8_t* fresh = new (std::nothrow) uint8_t[size_t(bytes)];
      if (!fresh) {
        glPopAttrib();
        return 0;
      }
      if (!gGrabScratch.pixels) std::atexit(FreeGrabScratchBuffer);
      delete[] gGrabScratch.pixels;
      gGrabScratch.pixels = fresh;
      gGrabScratch.capacity = int32_t(bytes);
    }
    gGrabScratch.width = int32_t(tw);
    gGrabScratch.height = int32_t(th);
    std::memset(gGrabScratch.pixels, 0, size_t(bytes));
    SavedPackState pack = SetPackState();
    glReadBuffer(r->currentTarget < 0 ? GL_BACK : GL_COLOR_ATTACHMENT0_EXT);
    glReadPixels(x, readY, GLsizei(tw), GLsizei(th), GL_BGRA, GL_UNSIGNED_BYTE,
                 gGrabScratch.pixels);
    RestorePackState(pack);
    const uint32_t key = GetScreenColourKey(r);
    glBindTexture(GL_TEXTURE_2D, s.texture);
    if (key != kNoScreenKey) {
      const uint8_t kr = uint8_t(key >> 24), kg = uint8_t(key >> 16), kb = uint8_t(key >> 8);
      uint8_t* p = gGrabScratch.pixels;
      for (int64_t i = 0; i < tw * th; ++i, p += 4)
        if (p[0] == kb && p[1] == kg && p[2] == kr) p[3] = 0;
    }
    SetUnpackState();
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, GLsizei(tw), GLsizei(th), 0, GL_BGRA,
                 GL_UNSIGNED_BYTE, gGrabScratch.pixels);
  } else {
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, x, readY, w, h);
  }
  glPopAttrib();
  s.texWidth = uint16_t(tw);
  s.texHeight = uint16_t(th);
  s.width = int16_t(w);
  s.height = int16_t(h);
  return 1;
}

uint32_t GetPixel(OpenGLLumenar* r, int x, int y) {
  FlushSprites();
  uint8_t rgb[3] = {0, 0, 0};
  if (x < 0 || y < 0 || x >= r->width || y >= r->height) return 0;
  SavedPackState pack = SetPackState();
  if (r->currentTarget < 0) glReadBuffer(GL_BACK);
  glReadPixels(x, r->height - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
  RestorePackState(pack);
  return uint32_t(rgb[0]) | (uint32_t(rgb[1]) << 8) | (uint32_t(rgb[2]) << 16);
}

void SetPixel(OpenGLLumenar* r, float x, float y, uint32_t colour) {
  FlushSprites();
  glDisable(GL_ALPHA_TEST);
  uint8_t alpha = 0;
  if (colour != r->spriteColourKey) {
    float a = r->currentAlpha < 0 ? 0 : (r->currentAlpha > 1 ? 1 : r->currentAlpha);
    alpha = uint8_t(a * 255);
  }
  glColor4ub(uint8_t(colour), uint8_t(colour >> 8), uint8_t(colour >> 16), alpha);
  BindSpriteTexture(r, -1, -1, 0, nullptr);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glTranslatef(0.375f, 0.375f, 0);
  glBegin(GL_POINTS);
  glVertex2f(x, y);
  glEnd();
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glColor4f(1, 1, 1, r->currentAlpha);
  glEnable(GL_ALPHA_TEST);
}

uint32_t GetScreenColourKey(OpenGLLumenar* r) {
  const uint32_t key = r->spriteColourKey;
  if (key == 0) return 0;
  if (key == 0xFFFFFFFFu) return kNoScreenKey;
  const int px = 4, py = r->height - 5;
  uint8_t before[4], probe[4];
  ReadRgba(px, py, before);
  const uint8_t keyRgba[4] = {uint8_t(key), uint8_t(key >> 8), uint8_t(key >> 16), 255};
  PokePixel(r, px, py, keyRgba);
  ReadRgba(px, py, probe);
  PokePixel(r, px, py, before);
  return (uint32_t(probe[0]) << 24) | (uint32_t(probe[1]) << 16) | (uint32_t(probe[2]) << 8);
}

void FreeGrabScratchBuffer() {
  delete[] gGrabScratch.pixels;
  gGrabScratch = {0, 0, nullptr, 0};
}
