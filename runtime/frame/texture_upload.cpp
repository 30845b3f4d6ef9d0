// Upload of a picture rectangle into a power-of-two sprite texture, with an
// optional mipmapped copy for the 3D engine.
#include <GL/gl.h>

#include <cstring>

#include "frame/normal_map.h"
#include "frame/renderer.h"
#include "frame/sprite_draw.h"

namespace {

// Transparent texels take the mean colour of their opaque neighbours so
// that linear filtering does not pull black into sprite edges. Only
// neighbours inside the border ring count.
void BleedTransparentTexels(uint8_t* buf, int tw, int th) {
  for (int y = 0; y < th; ++y) {
    for (int x = 0; x < tw; ++x) {
      uint8_t* t = buf + (size_t(y) * tw + x) * 4;
      if (t[3] != 0) continue;
      int sum[3] = {0, 0, 0}, count = 0;
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          if (!dx && !dy) continue;
          int nx = x + dx, ny = y + dy;
          if (nx < 1 || ny < 1 || nx > tw - 2 || ny > th - 2) continue;
          const uint8_t* n = buf + (size_t(ny) * tw + nx) * 4;
          if (n[3] == 0) continue;
          sum[0] += n[0];
          sum[1] += n[1];
          sum[2] += n[2];
          ++count;
        }
      }
      for (int c = 0; c < 3; ++c) t[c] = count ? uint8_t(sum[c] / count) : 0;
    }
  }
}

// Halves a level in place (w x h -> max(w/2,1) x max(h/2,1)) with a box
// filter over the source texels that exist. Writing in row order never
// overwrites a texel that is still to be read.
void HalveLevel(uint8_t* buf, int w, int h, int* nw, int* nh) {
  int ow = w > 1 ? w / 2 : 1, oh = h > 1 ? h / 2 : 1;
  for (int y = 0; y < oh; ++y) {
    for (int x = 0; x < ow; ++x) {
      int sx = w > 1 ? 2 * x : x, sy = h > 1 ? 2 * y : y;
      int xs = w > 1 ? 2 : 1, ys = h > 1 ? 2 : 1;
      unsigned acc[4] = {0, 0, 0, 0};
      for (int j = 0; j < ys; ++j)
        for (int i = 0; i < xs; ++i) {
          const uint8_t* s = buf + (size_t(sy + j) * w + sx + i) * 4;
          for (int c = 0; c < 4; ++c) acc[c] += s[c];
        }
      uint8_t* d = buf + (size_t(y) * ow + x) * 4;
      unsigned n = unsigned(xs * ys);
      for (int c = 0; c < 4; ++c) d[c] = uint8_t(acc[c] / n);
    }
  }
  *nw = ow;
  *nh = oh;
}

void SetPixelStore() {
  FlushSprites();
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
}

}  // namespace

uint8_t UploadSpriteTexture(const RgbaImage* image, int x0, int y0, int w, int h,
                            uint32_t* texture, uint32_t* texture2, uint8_t normalMap,
                            uint8_t nearest) {
  FlushSprites();
  if (!image || !image->pixels || !texture) return 0;
  GLint max = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max);
  if (max <= 0) max = 2048;
  if (w == 0) w = image->width - x0;
  if (h == 0) h = image->height - y0;
  if (w <= 0 || h <= 0) return 0;
  if (w > max) w = max;
  if (h > max) h = max;
  int tw = TexturePowerOfTwo(w), th = TexturePowerOfTwo(h);

  uint8_t* buf = new uint8_t[size_t(tw) * th * 4];
  std::memset(buf, 0, size_t(tw) * th * 4);
  int xBegin = x0 > 0 ? x0 : 0, yBegin = y0 > 0 ? y0 : 0;
  int xEnd = image->width < x0 + tw ? image->width : x0 + tw;
  int yEnd = image->height < y0 + th ? image->height : y0 + th;
  for (int sy = yBegin; sy < yEnd; ++sy) {
    if (sy - y0 >= h) break;
    int ty = y0 + h - 1 - sy;  // flipped: top row lands in row h - 1
    for (int sx = xBegin; sx < xEnd; ++sx) {
      if (sx - x0 >= w) break;
      std::memcpy(buf + (size_t(ty) * tw + (sx - x0)) * 4,
                  image->pixels + (size_t(sy) * image->width + sx) * 4, 4);
    }
  }
  if (!nearest) BleedTransparentTexels(buf, tw, th);

  SetPixelStore();
  if (*texture) glDeleteTextures(1, texture);
  GLuint name = 0;
  glGenTextures(1, &name);
  *texture = name;
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  GLint filter = nearest ? GL_NEAREST : GL_LINEAR;
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
  if (normalMap) {
    RgbaImage view{tw, th, buf, tw * th * 4};
    ConvertToNormalMap(&view);
  }
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, tw, th, 0, GL_RGBA, GL_UNSIGNED_BYTE, buf);

  if (texture2) {
    SetPixelStore();
    GLuint name2 = 0;
    glGenTextures(1, &name2);
    *texture2 = name2;
    glBindTexture(GL_TEXTURE_2D, name2);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    // Every level down to 1 x 1, so that non-square textures stay complete.
    int lw = tw, lh = th, level = 0;
    for (;;) {
      glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, lw, lh, 0, GL_RGBA, GL_UNSIGNED_BYTE, buf);
      if (lw == 1 && lh == 1) break;
      HalveLevel(buf, lw, lh, &lw, &lh);
      ++level;
    }
  }
  delete[] buf;
  return 1;
}
