#include "frame/image_save.h"

#include <GL/gl.h>

#include <cctype>
#include <cstring>
#include <vector>

#include "frame/image_bmp.h"
#include "frame/image_png.h"
#include "frame/sprite_draw.h"
#include "frame/virtual_screens.h"

bool IsPngFileName(const char* fileName) {
  if (!fileName) return false;
  size_t n = std::strlen(fileName);
  if (n <= 4) return false;
  const char* e = fileName + n - 4;
  return e[0] == '.' && std::tolower(uint8_t(e[1])) == 'p' && std::tolower(uint8_t(e[2])) == 'n' &&
         std::tolower(uint8_t(e[3])) == 'g';
}

uint8_t WriteImageFile(OpenGLLumenar* r, const char* fileName, const uint8_t* pixels, int width,
                       int height, int bufferWidth, int bufferHeight, uint8_t topDown) {
  if (!fileName || !*fileName || !pixels || width <= 0 || height <= 0 || bufferWidth < width ||
      bufferHeight < height)
    return 0;
  const uint32_t key = GetScreenColourKey(r);
  if (IsPngFileName(fileName)) {
    std::vector<uint8_t> out(size_t(width) * size_t(height) * 4);
    const bool keyed = key != kNoScreenKey;
    const uint8_t kr = uint8_t(key >> 24), kg = uint8_t(key >> 16), kb = uint8_t(key >> 8);
    for (int y = 0; y < height; ++y) {
      const int srcRow = topDown ? bufferHeight - 1 - y : y;
      const uint8_t* src = pixels + size_t(srcRow) * size_t(bufferWidth) * 3;
      uint8_t* dst = out.data() + size_t(height - 1 - y) * size_t(width) * 4;
      for (int x = 0; x < width; ++x, src += 3, dst += 4) {
        if (keyed && src[0] == kb && src[1] == kg && src[2] == kr) {
          dst[0] = dst[1] = dst[2] = dst[3] = 0;
          continue;
        }
        dst[0] = src[0];
        dst[1] = src[1];
        dst[2] = src[2];
        dst[3] = 255;
      }
    }
    return SavePngFile(fileName, out.data(), width, height);
  }
  if (topDown) {
    // Bitmaps are stored bottom-up: turn the buffer round first.
    std::vector<uint8_t> flipped(size_t(width) * size_t(height) * 3);
    for (int y = 0; y < height; ++y)
      std::memcpy(flipped.data() + size_t(y) * size_t(width) * 3,
                  pixels + size_t(bufferHeight - 1 - y) * size_t(bufferWidth) * 3, size_t(width) * 3);
    return SaveBmpFile(fileName, flipped.data(), width, height, width, key);
  }
  return SaveBmpFile(fileName, pixels, width, height, bufferWidth, key);
}

uint8_t SaveSpriteImage(OpenGLLumenar* r, int slot, const char* fileName) {
  FlushSprites();
  if (!ValidSlot(slot) || !r->sprites) return 0;
  const SpriteSlot& s = r->sprites[slot];
  if (!s.texture || s.width <= 0 || s.height <= 0 || s.texWidth == kEmptyTexSize ||
      s.texHeight == kEmptyTexSize || s.texWidth < s.width || s.texHeight < s.height)
    return 0;
  std::vector<uint8_t> buffer(size_t(s.texWidth) * s.texHeight * 3);
  GLint alignment;
  glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glPushAttrib(GL_TEXTURE_BIT);
  glBindTexture(GL_TEXTURE_2D, s.texture);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_BGR, GL_UNSIGNED_BYTE, buffer.data());
  glPopAttrib();
  glPixelStorei(GL_PACK_ALIGNMENT, alignment);
  return WriteImageFile(r, fileName, buffer.data(), s.width, s.height, s.texWidth, s.texHeight, 0);
}

uint8_t SaveScreenImage(OpenGLLumenar* r, const char* fileName) {
  FlushSprites();
  if (r->width <= 0 || r->height <= 0) return 0;
  std::vector<uint8_t> buffer(size_t(r->width) * size_t(r->height) * 3);
  GLint alignment;
  glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  if (r->currentTarget < 0) glReadBuffer(GL_BACK);
  glReadPixels(0, 0, r->width, r->height, GL_BGR, GL_UNSIGNED_BYTE, buffer.data());
  glPixelStorei(GL_PACK_ALIGNMENT, alignment);
  return WriteImageFile(r, fileName, buffer.data(), r->width, r->height, r->width, r->height, 0);
}
