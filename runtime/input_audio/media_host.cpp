#include "input_audio/media_host.h"

#include <GL/gl.h>

#include <vector>

#include "input_audio/input_state.h"
#include "platform/system.h"
#include "platform/window.h"
#include "frame/sprite_draw.h"

namespace {

MediaHost gHost{};

double DefaultTimeMs() { return platform::NowMs(); }

bool DefaultPump() {
  if (!gHost.window) return true;
  platform::WindowMessage m;
  bool alive = true;
  while (platform::PeekMessage(gHost.window, &m))
    if (m == platform::WindowMessage::kClose || m == platform::WindowMessage::kSysClose) alive = false;
  return alive;
}

bool DefaultKeyChar() { return gInput && KeyCharPressed(gInput); }
bool DefaultMouseButton() { return gInput && AnyMouseButtonDown(gInput); }
void Nothing() {}

void DefaultClientSize(int* width, int* height) {
  *width = 0;
  *height = 0;
  if (gHost.window) platform::GetClientSize(gHost.window, width, height);
}

int PowerOfTwo(int n) {
  int p = 2;
  while (p < n) p *= 2;
  return p;
}

void DefaultDrawMovieFrame(const uint8_t* rgba, int width, int height, int left, int top,
                           int right, int bottom) {
  DrawMovieFrameGL(rgba, width, height, left, top, right, bottom);
  if (gHost.window) platform::SwapWindow(gHost.window);
}

void Fill(MediaHost& h) {
  if (!h.timeMs) h.timeMs = DefaultTimeMs;
  if (!h.pumpMessages) h.pumpMessages = DefaultPump;
  if (!h.keyCharPressed) h.keyCharPressed = DefaultKeyChar;
  if (!h.anyMouseButtonDown) h.anyMouseButtonDown = DefaultMouseButton;
  if (!h.afterMusicStart) h.afterMusicStart = Nothing;
  if (!h.drawMovieFrame) h.drawMovieFrame = DefaultDrawMovieFrame;
  if (!h.clientSize) h.clientSize = DefaultClientSize;
}

}  // namespace

void SetMediaHost(const MediaHost& host) {
  gHost = host;
  Fill(gHost);
}

const MediaHost& CurrentMediaHost() {
  if (!gHost.timeMs) Fill(gHost);
  return gHost;
}

// Plain GL 1.1: one texture, one quad, state saved and put back.
void DrawMovieFrameGL(const uint8_t* rgba, int width, int height, int left, int top, int right,
                      int bottom) {
  FlushSprites();
  int cw = 0, ch = 0;
  CurrentMediaHost().clientSize(&cw, &ch);
  if (cw <= 0 || ch <= 0) return;
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(0, cw, ch, 0, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glViewport(0, 0, cw, ch);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_LIGHTING);
  glDisable(GL_BLEND);
  glDisable(GL_SCISSOR_TEST);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  if (rgba && width > 0 && height > 0 && right > left && bottom > top) {
    GLuint tex = 0;
    glGenTextures(1, &tex);
    glBindTexture(GL_TEXTURE_2D, tex);
    int tw = PowerOfTwo(width), th = PowerOfTwo(height);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, tw, th, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    float u = float(width) / tw, v = float(height) / th;
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2i(left, top);
    glTexCoord2f(u, 0);
    glVertex2i(right, top);
    glTexCoord2f(u, v);
    glVertex2i(right, bottom);
    glTexCoord2f(0, v);
    glVertex2i(left, bottom);
    glEnd();
    glDeleteTextures(1, &tex);
  }
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glPopAttrib();
}

