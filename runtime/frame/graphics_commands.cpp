#include "frame/graphics_commands.h"

#include <GL/gl.h>

#include <cmath>
#include <cstring>
#include <string>

#include "core/number_truncate.h"
#include "core/runtime_error.h"
#include "core/shoebox.h"
#include "frame/fonts.h"
#include "frame/frame_function.h"
#include "frame/frame_steps.h"
#include "frame/image_png.h"
#include "frame/image_save.h"
#include "frame/primitives.h"
#include "frame/render_targets.h"
#include "frame/renderer.h"
#include "frame/sprite_collision.h"
#include "frame/sprite_draw.h"
#include "frame/virtual_screens.h"
#include "platform/system.h"

namespace {

int IntArg(double v) { return TruncInt32(v); }
float F32(double v) { return float(v); }

int FontArg(double v) {
  int k = IntArg(v);
  return k < 0 ? 0 : (k >= kFontCount ? kFontCount - 1 : k);
}

// An animation cell size fits the slot's 16-bit fields; anything else
// leaves the sprite uncut.
int CellArg(double v) {
  int k = IntArg(v);
  return k < 0 || k > 32767 ? 0 : k;
}

bool Resolve(const BasicString& file, char out[kShoeboxPathSize]) {
  return ResolveShoeboxFile(gShoeboxes[0], StrCStr(file), out) != 0;
}

std::string sPictureProblem;

// Why a found picture did not load, logged with the file and the archive
// member it was unpacked from.
std::string LogUndecodedPicture(const BasicString& file, const char* path) {
  std::string why;
  if (!gRenderer || !gRenderer->glAlive)
    why = "there is no OpenGL context to hold it";
  else if (*LastPngError())
    why = std::string("not a readable PNG or BMP picture (libpng: ") + LastPngError() + ")";
  else
    why = "not a PNG or BMP picture that can be read";
  std::string where = StrCStr(file);
  const Shoebox* box = gShoeboxes[0];
  if (box && box->lastTempFile[0] && std::strcmp(box->lastTempFile, path) == 0) {
    const char* member = ShoeboxBaseName(path);
    if (std::strlen(member) > 5) member += 5;  // "sbx" and the two letters
    where += std::string(" (member ") + member + " of " + box->containerPath + ")";
  }
  AppendErrorLog(("Picture " + where + " cannot be decoded: " + why).c_str());
  return why;
}

void ClearColourBuffer() {
  FlushSprites();
  glClear(GL_COLOR_BUFFER_BIT);
}

// The alpha and blend rule of the alpha-mode command.
void ApplyAlpha(OpenGLLumenar* r, double a) {
  FlushSprites();
  if (a != 0 || a != a) {
    glEnable(GL_BLEND);
    if (a < 0) glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    if (a > 0) glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  } else {
    glDisable(GL_BLEND);
    a = 1;
  }
  a = std::fabs(a);
  if (!(a <= 1)) a = 1;  // also NaN
  r->currentAlpha = float(a);
  glColor4f(1, 1, 1, r->currentAlpha);
}

double Now(OpenGLLumenar* r) { return FrameClockNow(r); }

}  // namespace

uint32_t ColourArg(double v) { return uint32_t(uint64_t(TruncInt64(v))); }

void ClearScreen() {
  if (!gRenderer) return;
  FreeVirtualScreen(gRenderer, 0);
  ClearColourBuffer();
}

void SetAlphaMode(double a) {
  if (gRenderer) ApplyAlpha(gRenderer, a);
}

void LoadBackgroundFadeCmd(const BasicString& file) {
  FlushSprites();
  OpenGLLumenar* r = gRenderer;
  char path[kShoeboxPathSize];
  if (!r || !Resolve(file, path)) return;
  CopyBackBufferToScreen(r, 2);
  if (!LoadVirtualScreen(r, 1, path)) LogUndecodedPicture(file, path);
  FreeVirtualScreen(r, 0);
  ClearColourBuffer();
  const double t0 = Now(r);
  double w = 0.9;
  do {
    ApplyAlpha(r, w);
    DrawVirtualScreen(r, 2);
    ApplyAlpha(r, 1 - w);
    DrawVirtualScreen(r, 1);
    ShowScreen();
    w = (t0 + 1500 - Now(r)) / 1500;
  } while (w > 0 && w < 1);
  FreeVirtualScreen(r, 1);
  FreeVirtualScreen(r, 2);
  LoadVirtualScreen(r, 0, path);
  glDisable(GL_BLEND);
  r->currentAlpha = 1;
  glColor4f(1, 1, 1, 1);
  DrawVirtualScreen(r, 0);
  ShowScreen();
}

void PrintCmd(const BasicString& text, double x, double y) {
  if (gRenderer) PrintText(gRenderer, gCurrentFont, StrCStr(text), F32(x), F32(y), 0);
}

void PrintNumberCmd(double number, double x, double y) {
  char text[64];
  FormatNumber(number, text);
  if (gRenderer) PrintText(gRenderer, gCurrentFont, text, F32(x), F32(y), 0);
}

void DrawAnimCmd(double sprite, double frame, double x, double y) {
  if (gRenderer) DrawAnimFrame(gRenderer, IntArg(sprite), IntArg(frame), F32(x), F32(y));
}

void DrawAnimRotoZoomCmd(double sprite, double frame, double x, double y, double angle,
                         double zoom) {
  if (gRenderer)
    RotoZoomAnimFrame(gRenderer, IntArg(sprite), IntArg(frame), F32(x), F32(y), F32(angle),
                      F32(zoom));
}

void DrawAnimStretchCmd(double sprite, double frame, double x, double y, double width,
                        double height) {
  if (gRenderer)
    StretchAnimFrame(gRenderer, IntArg(sprite), IntArg(frame), F32(x), F32(y), F32(width),
                     F32(height));
}

void SetSmoothingCmd(double flag) {
  if (gRenderer) SetSmoothing(gRenderer, flag != 0 ? 1 : 0);
}

void RotoSpriteCmd(double sprite, double x, double y, double angle) {
  if (gRenderer) RotoZoomSprite(gRenderer, IntArg(sprite), F32(x), F32(y), F32(angle), 1.0f);
}

void RotoZoomSpriteCmd(double sprite, double x, double y, double angle, double zoom) {
  if (gRenderer) RotoZoomSprite(gRenderer, IntArg(sprite), F32(x), F32(y), F32(angle), F32(zoom));
}

void DrawSpriteCmd(double sprite, double x, double y) {
  if (gRenderer) DrawSprite(gRenderer, IntArg(sprite), F32(x), F32(y));
}

void StretchSpriteCmd(double sprite, double x, double y, double width, double height) {
  if (gRenderer)
    StretchSprite(gRenderer, IntArg(sprite), F32(x), F32(y), F32(width), F32(height));
}

void ZoomSpriteCmd(double sprite, double x, double y, double zoomX, double zoomY) {
  OpenGLLumenar* r = gRenderer;
  const int n = IntArg(sprite);
  if (!r || !ValidSlot(n)) return;
  const double w0 = r->sprites[n].width, h0 = r->sprites[n].height;
  const double w = zoomX * w0, h = zoomY * h0;
  StretchSprite(r, n, F32(x - (w - w0) * 0.5), F32(y - (h - h0) * 0.5), F32(w), F32(h));
}

void GrabSpriteCmd(double sprite, double x, double y, double width, double height) {
  if (gRenderer)
    GrabSprite(gRenderer, IntArg(sprite), IntArg(x), IntArg(y), IntArg(width), IntArg(height));
}

void GrabBackground() {
  if (gRenderer) CopyBackBufferToScreen(gRenderer, 0);
}

void LoadBackgroundCmd(const BasicString& file) {
  OpenGLLumenar* r = gRenderer;
  AppendErrorLog("Loadbmp");
  AppendErrorLog("Shoeboxing");
  char path[kShoeboxPathSize];
  if (!Resolve(file, path)) {
    AppendErrorLog("failed");
    if (r) {
      FreeVirtualScreen(r, 0);
      ClearColourBuffer();
    }
    return;
  }
  AppendErrorLog("OK?");
  if (!r) return;
  if (LoadVirtualScreen(r, 0, path)) {
    DrawVirtualScreen(r, 0);
  } else {
    LogUndecodedPicture(file, path);
    FreeVirtualScreen(r, 0);
    ClearColourBuffer();
  }
}

void SetFontCmd(double n) { gCurrentFont = FontArg(n); }

void SetColourKeyCmd(double colour) {
  if (gRenderer) SetColourKeys(gRenderer, ColourArg(colour));
}

void LoadFontCmd(const BasicString& file, double n) {
  const int k = FontArg(n);
  gCurrentFont = k;
  OpenGLLumenar* r = gRenderer;
  if (!r) return;
  char path[kShoeboxPathSize];
  if (Resolve(file, path)) {
    if (LoadFontFile(r, k, path)) return;
    LogUndecodedPicture(file, path);
  }
  LoadBuiltinFont(r, k);
}

namespace {

void LoadSpriteWith(const BasicString& file, double sprite, uint32_t key, int uploadFlag) {
  OpenGLLumenar* r = gRenderer;
  const int n = IntArg(sprite);
  sPictureProblem = r ? "" : "the runtime has not started";
  if (r && !ValidSlot(n)) sPictureProblem = "no such sprite number";
  if (!r || !ValidSlot(n)) return;
  DeleteSprite(r, n);
  char path[kShoeboxPathSize];
  if (!Resolve(file, path)) {
    sPictureProblem = ShoeboxProblemText(gShoeboxes[0] ? gShoeboxes[0]->lastProblem
                                                       : kShoeboxNotFound);
    return;
  }
  if (!LoadSpriteFile(r, n, path, key, uploadFlag))
    sPictureProblem = LogUndecodedPicture(file, path);
}

}  // namespace

const std::string& LastPictureProblem() { return sPictureProblem; }

void LoadSpriteCmd(const BasicString& file, double sprite) {
  sPictureProblem = "the runtime has not started";
  if (gRenderer) LoadSpriteWith(file, sprite, gRenderer->spriteColourKey, 0);
}

void LoadAnimCmd(const BasicString& file, double sprite, double frameWidth, double frameHeight) {
  LoadSpriteCmd(file, sprite);
  OpenGLLumenar* r = gRenderer;
  const int n = IntArg(sprite);
  if (!r || !ValidSlot(n) || r->sprites[n].width <= 0) return;
  SetAnimFrameSize(r, n, CellArg(frameWidth), CellArg(frameHeight));
}

void LoadSpriteKeyedCmd(const BasicString& file, double sprite) {
  LoadSpriteWith(file, sprite, 0x8000FF, 1);
}

double SaveScreenCmd(const BasicString& file) {
  return gRenderer && SaveScreenImage(gRenderer, StrCStr(file)) ? 1.0 : 0.0;
}

double SaveSpriteCmd(const BasicString& file, double sprite) {
  return gRenderer && SaveSpriteImage(gRenderer, IntArg(sprite), StrCStr(file)) ? 1.0 : 0.0;
}

void DrawLineCmd(double x1, double y1, double x2, double y2, double colour) {
  if (gRenderer) DrawLine(gRenderer, F32(x1), F32(y1), F32(x2), F32(y2), ColourArg(colour));
}

void DrawPointCmd(double x, double y, double colour) {
  if (gRenderer) SetPixel(gRenderer, F32(x), F32(y), ColourArg(colour));
}

void DrawRectCmd(double x, double y, double width, double height, double colour) {
  if (gRenderer) DrawRect(gRenderer, F32(x), F32(y), F32(width), F32(height), ColourArg(colour));
}

double GetPixelCmd(double x, double y) {
  return gRenderer ? double(GetPixel(gRenderer, IntArg(x), IntArg(y))) : 0.0;
}

void GetSpriteSizeCmd(double sprite, double& width, double& height) {
  const int n = IntArg(sprite);
  width = height = 0;
  if (!gRenderer || !ValidSlot(n)) return;
  width = gRenderer->sprites[n].width;
  height = gRenderer->sprites[n].height;
}

void GetFontSizeCmd(double& width, double& height) {
  int32_t w = 0, h = 0;
  if (gRenderer) GetFontCellSize(gRenderer, gCurrentFont, &w, &h);
  width = w;
  height = h;
}

void GetScreenSizeCmd(double& width, double& height) {
  width = gRenderer ? gRenderer->width : 0;
  height = gRenderer ? gRenderer->height : 0;
}

void SetViewportCmd(double x, double y, double width, double height) {
  RunFrameStep(kFrameStepViewport2D);
  if (gRenderer) SetViewport2D(gRenderer, IntArg(x), IntArg(y), IntArg(width), IntArg(height));
}

void CreateScreenCmd(double target, double sprite, double width, double height) {
  if (gRenderer)
    CreateTargetScreen(gRenderer, IntArg(target), IntArg(sprite), IntArg(width), IntArg(height));
}

void UseScreenCmd(double n) {
  if (!gRenderer) return;
  if (n >= 0)
    UseTargetScreen(gRenderer, IntArg(n));
  else
    UseBackBuffer(gRenderer);
}

double SpriteCollisionCmd(double sprite1, double x1, double y1, double sprite2, double x2,
                          double y2) {
  if (!gRenderer) return 0.0;
  return SpriteCollide(gRenderer, IntArg(sprite1), IntArg(sprite2), IntArg(x1), IntArg(y1),
                       IntArg(x2), IntArg(y2))
             ? 1.0
             : 0.0;
}

double AnimCollisionCmd(double sprite1, double frame1, double x1, double y1, double sprite2,
                        double frame2, double x2, double y2) {
  if (!gRenderer) return 0.0;
  return AnimFrameCollide(gRenderer, IntArg(sprite1), IntArg(frame1), IntArg(x1), IntArg(y1),
                          IntArg(sprite2), IntArg(frame2), IntArg(x2), IntArg(y2))
             ? 1.0
             : 0.0;
}

void StartPolyCmd(double sprite) {
  if (gRenderer) StartPolygon(gRenderer, IntArg(sprite));
}

void PolyVectorCmd(double x, double y, double textureX, double textureY, double colour) {
  if (gRenderer)
    AddPolygonVertex(gRenderer, IntArg(x), IntArg(y), F32(textureX), F32(textureY),
                     ColourArg(colour));
}

void EndPolyCmd() {
  if (gRenderer) DrawPolygon(gRenderer);
}

void SetFrameLimit(double fps) {
  if (gRenderer) SetFramePeriod(gRenderer, IntArg(fps));
}

double GetFrameTimeCmd() {
  const double d = gFrameNow - gFramePrev;
  return d > 0 ? d : 1.0;
}

double GetTimeMs() { return (gRenderer ? FrameClockNow(gRenderer) : platform::NowMs()) - gStartTime; }

void SleepMs(double ms) {
  const int n = IntArg(ms);
  if (n > 0) platform::SleepMs(n);
}
