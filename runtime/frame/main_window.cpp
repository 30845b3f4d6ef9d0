#include "frame/main_window.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "core/project_settings.h"
#include "core/runtime_error.h"
#include "frame/frame_function.h"
#include "frame/gl_entry_points.h"
#include "frame/render_targets.h"
#include "frame/sprite_draw.h"
#include "input_audio/input_state.h"
#include "input_audio/sound_device.h"
#include "platform/display_probe.h"
#include "platform/system.h"

platform::Window* gMainWindow = nullptr;
BasicString gCaption;
uint8_t gAutoPause = 1;
uint8_t gPaused = 0;

namespace {

bool sSoftwareWarningShown = false;
std::string sRendererName;
bool sRendererNameRead = false;

const char kSoftwareWarning[] =
    "Please update your GFX adapter's driver\nso it can render OpenGL by HARDWARE\n\n\n"
    "Bitte aktualisieren Sie Ihren\nGrafkkartentreiber, damit er OpenGL\n"
    "per HARDWARE unterst\xc3\xbctzt!";

int Trunc(double v) {
  if (!(v == v)) return 0;
  if (v >= 2147483647.0) return 2147483647;
  if (v <= -2147483648.0) return -2147483647 - 1;
  return int(v);
}

void WarnSoftwareGl() {
  if (sSoftwareWarningShown) return;
  if (!sRendererNameRead) {
    const GLubyte* name = glGetString(GL_RENDERER);
    sRendererName = name ? reinterpret_cast<const char*>(name) : "";
    sRendererNameRead = true;
  }
  if (!IsSoftwareRenderer(sRendererName.c_str())) return;
  sSoftwareWarningShown = true;
  platform::ShowMessage("!!OpenGL Software Emulation!!", kSoftwareWarning);
  AppendErrorLog("OpenGL Software Emulation");
}

// Why the runtime cannot start: on standard error and in the error log.
void ReportStartFailure(const char* why) {
  std::fprintf(stderr, "Orvale: %s\n", why);
  std::fflush(stderr);
  AppendErrorLog(why);
}

// How long the window system may take to connect and make the window with
// its GL context (the display's first answer has 5 s of it) before the
// display counts as one that stopped answering.
constexpr double kWindowStartMs = 20000;

// The start-up watch ends the process from its own thread: the main
// thread may be held in the window system, so nothing is released.
void EndStalledStartup(const char* why) {
  ReportStartFailure(("Cannot open the main window: " + std::string(why)).c_str());
  AppendEndReport();
  std::fflush(stdout);
}

}  // namespace

std::vector<int> MultisampleCandidates(int samples) {
  std::vector<int> out;
  for (int s = samples; s > 0; s /= 2) out.push_back(s);
  return out;
}

bool IsSoftwareRenderer(const char* name) {
  if (!name) return false;
  return std::strcmp(name, "Mesa Windows GDI Driver") == 0 || std::strstr(name, "llvmpipe") ||
         std::strstr(name, "softpipe") || std::strstr(name, "Software Rasterizer");
}

bool CreateMainWindow(OpenGLLumenar* r, void* instance, int width, int height, int colourBits,
                      int framesPerSecond, int samples, bool /*fullscreen*/) {
  SetFramePeriod(r, framesPerSecond);
  std::string why;
  platform::BeginStartupWatch(kWindowStartMs, EndStalledStartup);
  if (!platform::VideoInit(&why)) {
    platform::EndStartupWatch();
    ReportStartFailure(("Cannot open the main window: " + why).c_str());
    return false;
  }
  r->instance = instance;
  r->samples = samples;
  if (width <= 0 || height <= 0) {
    int dw = 0, dh = 0;
    platform::DesktopSize(nullptr, &dw, &dh);
    if (width <= 0) width = dw > 0 ? dw : 640;
    if (height <= 0) height = dh > 0 ? dh : 480;
  }

  // A multisampled format when asked for, halving the samples until the
  // system offers one; else the plain format.
  std::vector<int> tries = MultisampleCandidates(samples);
  tries.push_back(0);
  platform::Window* w = nullptr;
  platform::GlContext* context = r->glContext;
  bool reused = false;
  for (int s : tries) {
    w = platform::CreateGlWindow("Orvale", width, height, s);
    if (!w) continue;
    if (context && platform::MakeCurrent(w, context)) {
      reused = true;
      r->samples = s;
      break;
    }
    platform::GlContext* fresh = platform::CreateGlContext(w);
    if (fresh && platform::MakeCurrent(w, fresh)) {
      if (context) platform::DeleteGlContext(context);
      context = fresh;
      r->samples = s;
      break;
    }
    if (fresh) platform::DeleteGlContext(fresh);
    platform::DestroyWindow(w);
    w = nullptr;
  }
  (void)reused;
  std::string interrupted = platform::EndStartupWatch();
  if (!interrupted.empty()) {
    // Came while the window was being made.
    if (w) {
      platform::MakeCurrent(w, nullptr);
      if (context != r->glContext) platform::DeleteGlContext(context);
      platform::DestroyWindow(w);
    }
    ReportStartFailure(("Cannot open the main window: " + interrupted).c_str());
    return false;
  }
  if (!w) {
    ReportStartFailure(("Cannot create the OpenGL window: " + platform::VideoError()).c_str());
    return false;
  }
  r->glContext = context;
  r->window = w;
  if (colourBits == 0) colourBits = platform::DesktopBitsPerPixel(w);
  r->fullscreen = 0;
  r->colourBits = colourBits;
  r->width = width;
  r->height = height;

  WarnSoftwareGl();

  r->nextFrameTime = FrameClockNow(r);
  LoadGlEntryPoints();
  LoadFramebufferEntryPoints();
  platform::SuppressScreenSaver();
  platform::ShowWindow(w);
  r->glAlive = 1;
  SetViewport2D(r, 0, 0, 0, 0);
  return true;
}

int PlaceOnScreen(int position, int size, int screen) {
  if (size > screen) return 0;
  if (position < 0) return 0;
  return position + size > screen ? screen - size : position;
}

int ResizeWindow(OpenGLLumenar* r) {
  platform::Window* w = r->window;
  if (!w) return 1;
  if (r->fullscreen || platform::IsFullscreen(w)) platform::LeaveFullscreen(w);
  platform::SetBordered(w, true);
  platform::SetClientSize(w, r->width, r->height);
  int x = 0, y = 0, dw = 0, dh = 0;
  platform::DesktopSize(w, &dw, &dh);
  if (!platform::GetWindowPosition(w, &x, &y)) {
    x = (dw - r->width) / 2;
    y = (dh - r->height) / 2;
  }
  if (dw > 0 && dh > 0)
    platform::SetWindowPosition(w, PlaceOnScreen(x, r->width, dw), PlaceOnScreen(y, r->height, dh));
  platform::ShowWindow(w);
  platform::RaiseWindow(w);
  if (r->glAlive) SetViewport2D(r, 0, 0, 0, 0);
  r->fullscreen = 0;
  return 1;
}

bool SetFullscreenMode(OpenGLLumenar* r) {
  platform::Window* w = r->window;
  int desktopBits = platform::DesktopBitsPerPixel(w);
  int bits = (r->colourBits != 0 && r->colourBits != desktopBits) ? r->colourBits : 0;
  // The same window goes full screen, so every holder of it (gMainWindow,
  // input, sound) stays valid.
  bool ok = w && (platform::EnterFullscreen(w, r->width, r->height, bits) ||
                  (bits != 0 && platform::EnterFullscreen(w, r->width, r->height, 0)));
  if (!ok) {
    platform::Beep();
    AppendErrorLog("No Fullscreen Mode available");
    ResizeWindow(r);
    return false;
  }
  r->fullscreen = 1;
  r->nextFrameTime = FrameClockNow(r);
  if (r->glAlive) SetViewport2D(r, 0, 0, 0, 0);
  platform::RaiseWindow(w);
  return true;
}

bool SetScreenMode(OpenGLLumenar* r, int width, int height, int colourBits, int fullscreen) {
  if (width != 0) r->width = width;
  if (height != 0) r->height = height;
  if (colourBits != 0) r->colourBits = colourBits;
  if (fullscreen) return SetFullscreenMode(r);
  return ResizeWindow(r) != 0;
}

int ResetWindowStyle(OpenGLLumenar* r) {
  if (r->window) {
    if (r->fullscreen || platform::IsFullscreen(r->window)) platform::LeaveFullscreen(r->window);
    platform::HideWindow(r->window);
  }
  r->fullscreen = 0;
  return 1;
}

bool DestroyMainWindow(OpenGLLumenar* r) {
  for (int n = 0; n < kSpriteSlotCount && r->sprites; ++n) DeleteSprite(r, n);
  ReleaseAllScreens(r);
  platform::Window* w = r->window;
  if (!w) return false;
  if (r->fullscreen || platform::IsFullscreen(w)) platform::LeaveFullscreen(w);
  r->fullscreen = 0;
  platform::MakeCurrent(w, nullptr);
  platform::DestroyWindow(w);
  if (gMainWindow == w) gMainWindow = nullptr;
  if (gInput && gInput->window == w) gInput->window = nullptr;
  r->window = nullptr;
  r->width = r->height = 0;
  DiscardQueuedSprites();
  r->glAlive = 0;  // no drawable any more: textures can no longer be deleted
  return true;
}

int WindowProc(platform::Window* w, platform::WindowMessage message) {
  (void)w;
  using platform::WindowMessage;
  switch (message) {
    case WindowMessage::kClose:
    case WindowMessage::kSysClose:
      EndProgram();
    case WindowMessage::kScreenSave:
      return 0;
    case WindowMessage::kDeactivate:
      if (gProjectSettings.debugMode == 0 && gAutoPause) {
        BasicString paused(gCaption);
        StrAppendCStr(paused, " <pause>");
        platform::SetTitle(gMainWindow, StrCStr(paused));
        gPaused = 1;
      }
      return 0;
    case WindowMessage::kActivate:
      if (gProjectSettings.debugMode == 0 && gAutoPause) {
        platform::SetTitle(gMainWindow, StrCStr(gCaption));
        gPaused = 0;
      }
      return 0;
    default:
      return 0;
  }
}

void SetScreenCmd(double width, double height, double fullscreen) {
  gProjectSettings.screenWidth = uint32_t(Trunc(width));
  gProjectSettings.screenHeight = uint32_t(Trunc(height));
  gProjectSettings.fullscreen = uint32_t(Trunc(fullscreen));
  if (!gRenderer) return;
  SetScreenMode(gRenderer, int(gProjectSettings.screenWidth), int(gProjectSettings.screenHeight),
                0, int(gProjectSettings.fullscreen));
  if (gInput) gInput->window = gRenderer->window;
  if (gSoundDevice) SoundDeviceSetCooperativeLevel(gSoundDevice, gRenderer->window);
  for (int i = 0; i < 5; ++i) ShowScreen();
}
