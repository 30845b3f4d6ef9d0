#include "frame/render_targets.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "frame/gl_entry_points.h"
#include "frame/primitives.h"
#include "frame/sprite_draw.h"
#include "frame/virtual_screens.h"
#include "platform/window.h"

PFNGLBINDRENDERBUFFEREXTPROC pglBindRenderbufferEXT = nullptr;
PFNGLDELETERENDERBUFFERSEXTPROC pglDeleteRenderbuffersEXT = nullptr;
PFNGLGENRENDERBUFFERSEXTPROC pglGenRenderbuffersEXT = nullptr;
PFNGLRENDERBUFFERSTORAGEEXTPROC pglRenderbufferStorageEXT = nullptr;
PFNGLBINDFRAMEBUFFEREXTPROC pglBindFramebufferEXT = nullptr;
PFNGLDELETEFRAMEBUFFERSEXTPROC pglDeleteFramebuffersEXT = nullptr;
PFNGLGENFRAMEBUFFERSEXTPROC pglGenFramebuffersEXT = nullptr;
PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC pglCheckFramebufferStatusEXT = nullptr;
PFNGLFRAMEBUFFERTEXTURE2DEXTPROC pglFramebufferTexture2DEXT = nullptr;
PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC pglFramebufferRenderbufferEXT = nullptr;

namespace {

bool sHidden = false;

bool ValidTarget(int n) { return n >= 0 && n < kRenderTargetCount; }

bool HiddenByEnvironment() {
  const char* v = std::getenv("ORVALE_NO_FRAMEBUFFER_OBJECT");
  return v && *v && std::strcmp(v, "0") != 0;
}

template <typename T>
void Load(T& slot, bool present, const char* name) {
  slot = present ? reinterpret_cast<T>(platform::GlProcAddress(name)) : nullptr;
}

int MaxTextureSize() {
  GLint max = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &max);
  return max > 0 ? max : 64;
}

bool HasPicture(const OpenGLLumenar* r, int slot) {
  if (!ValidSlot(slot) || !r->sprites) return false;
  const SpriteSlot& s = r->sprites[slot];
  return s.texture != 0 && s.width > 0 && s.height > 0;
}

void DropAlphaCopy(OpenGLLumenar* r, int slot) {
  if (!ValidSlot(slot)) return;
  delete[] r->alphaCopies[slot];
  r->alphaCopies[slot] = nullptr;
}

// A fully transparent tw x th texture, linear filtering, wrapping; its name
// goes to *texture.
void MakeClearTexture(uint32_t* texture, int tw, int th) {
  FlushSprites();
  GLuint name = 0;
  glGenTextures(1, &name);
  *texture = name;
  glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, tw, th, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  // Zeroed in bands of rows, so a large target needs little memory here.
  const size_t rowBytes = size_t(tw) * 4;
  int rowsPerBand = int((size_t(1) << 20) / rowBytes);
  if (rowsPerBand < 1) rowsPerBand = 1;
  if (rowsPerBand > th) rowsPerBand = th;
  uint8_t* zeros = new uint8_t[rowBytes * size_t(rowsPerBand)]();
  for (int y = 0; y < th; y += rowsPerBand) {
    int rows = th - y < rowsPerBand ? th - y : rowsPerBand;
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, y, tw, rows, GL_RGBA, GL_UNSIGNED_BYTE, zeros);
  }
  delete[] zeros;
  glPopClientAttrib();
}

// Puts the back-buffer area saved in the scratch slot back, every pixel
// as it was: no alpha test, no blending, texels replace the pixels.
void RestoreSavedArea(OpenGLLumenar* r) {
  FlushSprites();
  if (!HasPicture(r, kScratchSlot)) return;
  glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT | GL_TEXTURE_BIT);
  glDisable(GL_ALPHA_TEST);
  glDisable(GL_BLEND);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_STENCIL_TEST);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glColor4f(1, 1, 1, 1);
  DrawSprite(r, kScratchSlot, 0, 0);
  FlushSprites();  // drawn under the state above
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glPopAttrib();
}

// Finishes the current target: its drawing ends up in its sprite and the
// back buffer is the drawing surface again.
void LeaveTarget(OpenGLLumenar* r) {
  const int t = r->currentTarget;
  r->currentTarget = -1;
  if (!ValidTarget(t)) return;
  const int s = r->targets[t].spriteSlot;
  if (DetachRenderTarget(r, t)) {
    DropAlphaCopy(r, s);  // the texture was drawn into
  } else {
    if (HasPicture(r, s)) GrabSprite(r, s, 0, 0, r->sprites[s].width, r->sprites[s].height);
    SetViewport2D(r, 0, 0, 0, 0);
    RestoreSavedArea(r);
  }
  SetViewport2D(r, 0, 0, 0, 0);
}

}  // namespace

void SetFramebufferExtensionHidden(bool hidden) { sHidden = hidden; }

bool FramebufferObjectsAvailable() {
  return pglBindRenderbufferEXT && pglDeleteRenderbuffersEXT && pglGenRenderbuffersEXT &&
         pglRenderbufferStorageEXT && pglBindFramebufferEXT && pglDeleteFramebuffersEXT &&
         pglGenFramebuffersEXT && pglCheckFramebufferStatusEXT && pglFramebufferTexture2DEXT &&
         pglFramebufferRenderbufferEXT;
}

void LoadFramebufferEntryPoints() {
  const bool on = !sHidden && !HiddenByEnvironment() && HasGlExtension("GL_EXT_framebuffer_object");
  Load(pglBindRenderbufferEXT, on, "glBindRenderbufferEXT");
  Load(pglDeleteRenderbuffersEXT, on, "glDeleteRenderbuffersEXT");
  Load(pglGenRenderbuffersEXT, on, "glGenRenderbuffersEXT");
  Load(pglRenderbufferStorageEXT, on, "glRenderbufferStorageEXT");
  Load(pglBindFramebufferEXT, on, "glBindFramebufferEXT");
  Load(pglDeleteFramebuffersEXT, on, "glDeleteFramebuffersEXT");
  Load(pglGenFramebuffersEXT, on, "glGenFramebuffersEXT");
  Load(pglCheckFramebufferStatusEXT, on, "glCheckFramebufferStatusEXT");
  Load(pglFramebufferTexture2DEXT, on, "glFramebufferTexture2DEXT");
  Load(pglFramebufferRenderbufferEXT, on, "glFramebufferRenderbufferEXT");
}

uint32_t CreateRenderTarget(OpenGLLumenar* r, int target, int32_t w, int32_t h) {
  FlushSprites();
  if (!ValidTarget(target)) return 0;
  RenderTarget& t = r->targets[target];
  if (t.width || t.height || t.framebuffer || t.depthRenderbuffer) ReleaseRenderTarget(r, target);
  if (w <= 0 || h <= 0 || !r->glAlive) return 0;
  if (!pglGenFramebuffersEXT || !pglGenRenderbuffersEXT || !pglBindRenderbufferEXT ||
      !pglRenderbufferStorageEXT || !pglCheckFramebufferStatusEXT)
    return 0;
  pglGenFramebuffersEXT(1, &t.framebuffer);
  pglGenRenderbuffersEXT(1, &t.depthRenderbuffer);
  pglBindRenderbufferEXT(GL_RENDERBUFFER_EXT, t.depthRenderbuffer);
  pglRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT24, w, h);
  pglBindRenderbufferEXT(GL_RENDERBUFFER_EXT, 0);
  if (pglCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT) != GL_FRAMEBUFFER_COMPLETE_EXT) return 0;
  t.width = w;
  t.height = h;
  return 1;
}

uint8_t AttachRenderTarget(OpenGLLumenar* r, int target, uint32_t texture) {
  FlushSprites();
  if (!ValidTarget(target)) return 0;
  const RenderTarget& t = r->targets[target];
  if (t.width == 0 || t.height == 0 || !pglBindFramebufferEXT || !pglBindRenderbufferEXT ||
      !pglFramebufferTexture2DEXT || !pglFramebufferRenderbufferEXT)
    return 0;
  pglBindFramebufferEXT(GL_FRAMEBUFFER_EXT, t.framebuffer);
  pglBindRenderbufferEXT(GL_RENDERBUFFER_EXT, t.depthRenderbuffer);
  pglFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, texture, 0);
  pglFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT,
                                t.depthRenderbuffer);
  return 1;
}

uint8_t DetachRenderTarget(OpenGLLumenar* r, int target) {
  FlushSprites();
  if (!ValidTarget(target)) return 0;
  const RenderTarget& t = r->targets[target];
  if (t.width == 0 || t.height == 0 || !pglBindFramebufferEXT || !pglBindRenderbufferEXT) return 0;
  pglBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
  pglBindRenderbufferEXT(GL_RENDERBUFFER_EXT, 0);
  return 1;
}

void ReleaseRenderTarget(OpenGLLumenar* r, int target) {
  FlushSprites();
  if (!ValidTarget(target)) return;
  RenderTarget& t = r->targets[target];
  if (r->glAlive) {
    if (t.framebuffer && pglDeleteFramebuffersEXT) pglDeleteFramebuffersEXT(1, &t.framebuffer);
    if (t.depthRenderbuffer && pglDeleteRenderbuffersEXT)
      pglDeleteRenderbuffersEXT(1, &t.depthRenderbuffer);
  }
  t.framebuffer = 0;
  t.depthRenderbuffer = 0;
  // A target that only ever drew through the fall-back keeps its sprite.
  if (t.width || t.height) std::memset(&t, 0, sizeof t);
}

uint8_t CreateTargetScreen(OpenGLLumenar* r, int n, int slot, int w, int h) {
  FlushSprites();
  if (!ValidTarget(n) || !ValidSlot(slot) || slot == kScratchSlot || !r->sprites) return 0;
  if (w <= 0 || h <= 0 || !r->glAlive) return 0;
  const int max = MaxTextureSize();
  if (w > max || h > max || w > 32767 || h > 32767) return 0;
  // Re-creating the target being drawn into, or its sprite, finishes it first.
  const int cur = r->currentTarget;
  if (ValidTarget(cur) && (cur == n || r->targets[cur].spriteSlot == slot)) UseBackBuffer(r);

  const int tw = TexturePowerOfTwo(w), th = TexturePowerOfTwo(h);
  DeleteSprite(r, slot);
  SpriteSlot& s = r->sprites[slot];
  GLint boundTexture = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &boundTexture);
  MakeClearTexture(&s.texture, tw, th);
  s.width = int16_t(w);
  s.height = int16_t(h);
  s.texWidth = uint16_t(tw);
  s.texHeight = uint16_t(th);

  if (CreateRenderTarget(r, n, tw, th)) {
    // The framebuffer with the texture attached must itself be complete;
    // otherwise the target draws through the fall-back.
    GLint fb = 0, rb = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &fb);
    glGetIntegerv(GL_RENDERBUFFER_BINDING_EXT, &rb);
    AttachRenderTarget(r, n, s.texture);
    const GLenum status = pglCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT);
    pglBindFramebufferEXT(GL_FRAMEBUFFER_EXT, GLuint(fb));
    pglBindRenderbufferEXT(GL_RENDERBUFFER_EXT, GLuint(rb));
    if (status != GL_FRAMEBUFFER_COMPLETE_EXT) ReleaseRenderTarget(r, n);
  }
  glBindTexture(GL_TEXTURE_2D, GLuint(boundTexture));
  r->targets[n].spriteSlot = slot;
  return 1;
}

void UseTargetScreen(OpenGLLumenar* r, int n) {
  FlushSprites();
  if (!ValidTarget(n) || !r->glAlive) return;
  const int s = r->targets[n].spriteSlot;
  if (!HasPicture(r, s)) return;
  if (r->currentTarget >= 0) LeaveTarget(r);
  const int w = r->sprites[s].width, h = r->sprites[s].height;
  if (AttachRenderTarget(r, n, r->sprites[s].texture)) {
    r->currentTarget = n;
    DropAlphaCopy(r, s);
    SetViewport2D(r, 0, 0, w, h);
    glViewport(0, 0, w, h);  // a framebuffer's origin is its own corner
    return;
  }
  SetViewport2D(r, 0, 0, w, h);
  GrabSprite(r, kScratchSlot, 0, 0, w, h);
  DrawRect(r, 0, 0, float(w), float(h), r->spriteColourKey);
  DrawSprite(r, s, 0, 0);
  r->currentTarget = n;
}

void UseBackBuffer(OpenGLLumenar* r) {
  if (!r) return;
  FlushSprites();
  if (!r->glAlive) {
    r->currentTarget = -1;
    return;
  }
  if (r->currentTarget >= 0) LeaveTarget(r);
  SetViewport2D(r, 0, 0, 0, 0);
  r->currentTarget = -1;
}
