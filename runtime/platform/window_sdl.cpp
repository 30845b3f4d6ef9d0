// Main window on SDL2 with an OpenGL compatibility context.
#include "platform/window.h"

#include "platform/display_probe.h"

#include <SDL.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace platform {

struct Window {
  SDL_Window* sdl;
  int samples;
};

struct GlContext {
  SDL_GLContext sdl;
};

namespace {

bool sVideoUp = false;
int sWindowCount = 0;
uint32_t sPostedEvent = 0;
std::vector<NativeEventHook> sHooks;

int DisplayOf(Window* w) {
  if (w && w->sdl) {
    int d = SDL_GetWindowDisplayIndex(w->sdl);
    if (d >= 0) return d;
  }
  return 0;
}

bool DriverAvailable(const char* name) {
  for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i)
    if (SDL_strcmp(SDL_GetVideoDriver(i), name) == 0) return true;
  return false;
}

const char* SignalName(int sig) { return sig == SIGINT ? "SIGINT" : "SIGTERM"; }

// Initialises SDL's video on one driver. An X display is first probed: a
// server that accepts but never answers would hold SDL's connect for ever.
// Returns 1 up, 0 failed (reason in failure), -1 interrupted by a signal
// (reason in *why).
int InitVideoOn(const char* name, std::string& failure, std::string* why) {
  const bool x11 = SDL_strcmp(name, "x11") == 0;
  const char* display = std::getenv("DISPLAY");
  const bool probe = x11 && display && *display;
  if (probe) {
    switch (ProbeXDisplay(display, kDisplayAnswerMs)) {
      case DisplayAnswer::kInterrupted:
        if (why) *why = std::string("start-up was interrupted by ") + SignalName(StartupSignal());
        return -1;
      case DisplayAnswer::kSilent:
        failure = "the server took the connection but did not answer within " +
                  std::to_string(int(kDisplayAnswerMs / 1000)) + " s";
        return 0;
      default:
        break;
    }
  }
  // A busy X server can refuse a connection for a moment: a few tries.
  const int tries = probe ? 5 : 1;
  bool up = false;
  ExitOnStartupSignal(true);
  for (int t = 0; t < tries && !up; ++t) {
    if (t > 0) SDL_Delay(200);
    up = SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0;
  }
  ExitOnStartupSignal(false);
  EndDisplayProbe();
  if (!up) failure = SDL_GetError();
  return up ? 1 : 0;
}

// Starts SDL's video on a driver that shows a window. SDL would fall back
// to its off-screen or dummy driver when no display answers, and the
// program would run unseen: those only when SDL_VIDEODRIVER names them.
bool StartVideoDriverOnce(std::string* why) {
  const char* asked = std::getenv("SDL_VIDEODRIVER");
  std::string reasons, failure;
  if (asked && *asked) {
    int r = InitVideoOn(asked, failure, why);
    if (r > 0) return true;
    if (r == 0 && why) *why = std::string("video driver \"") + asked + "\": " + failure;
    return false;
  }
  for (const char* name : {"x11", "wayland", "kmsdrm"}) {
    if (!DriverAvailable(name)) continue;
    SDL_SetHint(SDL_HINT_VIDEODRIVER, name);
    int r = InitVideoOn(name, failure, why);
    SDL_ResetHint(SDL_HINT_VIDEODRIVER);
    if (r > 0) return true;
    if (r < 0) return false;
    reasons += std::string(reasons.empty() ? "" : "; ") + name + ": " + failure;
  }
  if (why) {
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    *why = "no display to show a window on";
    if ((!display || !*display) && (!wayland || !*wayland))
      *why += " (DISPLAY is not set)";
    else if (display && *display)
      *why += std::string(" (DISPLAY \"") + display + "\" does not answer)";
    if (!reasons.empty()) *why += ": " + reasons;
  }
  return false;
}

// SIGTERM and SIGINT end the start-up: SDL's own handlers, installed with
// its event system, would only queue a quit that nobody reads yet.
bool StartVideoDriver(std::string* why) {
  const bool events = SDL_InitSubSystem(SDL_INIT_EVENTS) == 0;
  BeginStartupSignals();
  bool up = StartVideoDriverOnce(why);
  if (up && StartupSignal() != 0) {  // came between the waits
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    if (why) *why = std::string("start-up was interrupted by ") + SignalName(StartupSignal());
    up = false;
  }
  EndStartupSignals();
  if (events) SDL_QuitSubSystem(SDL_INIT_EVENTS);  // the video system holds its own
  return up;
}

}  // namespace

bool VideoInit(std::string* why) {
  if (sVideoUp) return true;
  // X11 WM_CLASS of every window of the program.
  setenv("SDL_VIDEO_X11_WMCLASS", "Orvale", 1);
  SDL_SetHint(SDL_HINT_APP_NAME, "Orvale");
  // Windows behaviour: the desktop is not minimised around us on focus loss.
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  if (!StartVideoDriver(why)) return false;
  // The GL library stays loaded for the life of the process: unloading the
  // driver at the last window's end gains nothing at exit.
  SDL_GL_LoadLibrary(nullptr);
  if (!sPostedEvent) {
    uint32_t e = SDL_RegisterEvents(1);
    sPostedEvent = (e == uint32_t(-1)) ? 0 : e;
  }
  sVideoUp = true;
  return true;
}

void VideoQuit() {
  if (!sVideoUp || sWindowCount > 0) return;
  SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
  sVideoUp = false;
}

std::string VideoError() { return SDL_GetError(); }

Window* CreateGlWindow(const char* title, int width, int height, int samples) {
  if (!sVideoUp) return nullptr;
  if (width <= 0 || height <= 0) return nullptr;
  SDL_GL_ResetAttributes();
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, samples > 0 ? 1 : 0);
  SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, samples > 0 ? samples : 0);
  SDL_Window* s = SDL_CreateWindow(title ? title : "", SDL_WINDOWPOS_CENTERED,
                                   SDL_WINDOWPOS_CENTERED, width, height,
                                   SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (!s) return nullptr;
  ++sWindowCount;
  return new Window{s, samples > 0 ? samples : 0};
}

void DestroyWindow(Window* w) {
  if (!w) return;
  if (w->sdl) {
    SDL_DestroyWindow(w->sdl);
    --sWindowCount;
  }
  delete w;
}

GlContext* CreateGlContext(Window* w) {
  if (!w || !w->sdl) return nullptr;
  SDL_GLContext c = SDL_GL_CreateContext(w->sdl);
  if (!c) return nullptr;
  return new GlContext{c};
}

bool MakeCurrent(Window* w, GlContext* c) {
  if (!c) return SDL_GL_MakeCurrent(w ? w->sdl : nullptr, nullptr) == 0;
  if (!w || !w->sdl) return false;
  return SDL_GL_MakeCurrent(w->sdl, c->sdl) == 0;
}

void DeleteGlContext(GlContext* c) {
  if (!c) return;
  SDL_GL_DeleteContext(c->sdl);
  delete c;
}

void SwapWindow(Window* w) {
  if (w && w->sdl) SDL_GL_SwapWindow(w->sdl);
}

void* GlProcAddress(const char* name) { return name ? SDL_GL_GetProcAddress(name) : nullptr; }

int WindowSamples(Window* w) {
  int buffers = 0, samples = 0;
  if (!w) return 0;
  SDL_GL_GetAttribute(SDL_GL_MULTISAMPLEBUFFERS, &buffers);
  SDL_GL_GetAttribute(SDL_GL_MULTISAMPLESAMPLES, &samples);
  return buffers > 0 ? samples : 0;
}

void SetTitle(Window* w, const char* title) {
  if (w && w->sdl) SDL_SetWindowTitle(w->sdl, title ? title : "");
}

std::string GetTitle(Window* w) { return (w && w->sdl) ? SDL_GetWindowTitle(w->sdl) : ""; }

void ShowWindow(Window* w) {
  if (w && w->sdl) SDL_ShowWindow(w->sdl);
}

void HideWindow(Window* w) {
  if (w && w->sdl) SDL_HideWindow(w->sdl);
}

bool IsWindowShown(Window* w) {
  return w && w->sdl && (SDL_GetWindowFlags(w->sdl) & SDL_WINDOW_SHOWN) != 0;
}

void RaiseWindow(Window* w) {
  if (!w || !w->sdl) return;
  SDL_RaiseWindow(w->sdl);
  SDL_SetWindowInputFocus(w->sdl);
}

void SetWindowPosition(Window* w, int x, int y) {
  if (w && w->sdl) SDL_SetWindowPosition(w->sdl, x, y);
}

bool GetWindowPosition(Window* w, int* x, int* y) {
  if (!w || !w->sdl) return false;
  SDL_GetWindowPosition(w->sdl, x, y);
  return true;
}

void SetClientSize(Window* w, int width, int height) {
  if (w && w->sdl && width > 0 && height > 0) SDL_SetWindowSize(w->sdl, width, height);
}

void GetClientSize(Window* w, int* width, int* height) {
  int cw = 0, ch = 0;
  if (w && w->sdl) SDL_GL_GetDrawableSize(w->sdl, &cw, &ch);
  if (width) *width = cw;
  if (height) *height = ch;
}

void SetBordered(Window* w, bool bordered) {
  if (w && w->sdl) SDL_SetWindowBordered(w->sdl, bordered ? SDL_TRUE : SDL_FALSE);
}

void ConfinePointer(Window* w, bool confined) {
  if (w && w->sdl) SDL_SetWindowMouseGrab(w->sdl, confined ? SDL_TRUE : SDL_FALSE);
}

void ShowSystemPointer(bool shown) {
  if (sVideoUp) SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE);
}

void DesktopSize(Window* w, int* width, int* height) {
  SDL_DisplayMode m{};
  if (!sVideoUp || SDL_GetDesktopDisplayMode(DisplayOf(w), &m) != 0) m.w = m.h = 0;
  if (width) *width = m.w;
  if (height) *height = m.h;
}

int DesktopBitsPerPixel(Window* w) {
  SDL_DisplayMode m{};
  if (!sVideoUp || SDL_GetDesktopDisplayMode(DisplayOf(w), &m) != 0) return 32;
  int bits = int(SDL_BITSPERPIXEL(m.format));
  // 24-bit colour in 32-bit pixels reports 24 here, as a desktop does.
  return bits > 0 ? bits : 32;
}

static bool FindMode(Window* w, int width, int height, int bits, SDL_DisplayMode* out) {
  if (!sVideoUp) return false;
  int display = DisplayOf(w);
  int n = SDL_GetNumDisplayModes(display);
  for (int i = 0; i < n; ++i) {
    SDL_DisplayMode m{};
    if (SDL_GetDisplayMode(display, i, &m) != 0) continue;
    if (m.w != width || m.h != height) continue;
    if (bits != 0 && int(SDL_BITSPERPIXEL(m.format)) != bits &&
        !(bits == 32 && SDL_BITSPERPIXEL(m.format) == 24))
      continue;
    if (out) *out = m;
    return true;
  }
  return false;
}

bool HasDisplayMode(Window* w, int width, int height, int bitsPerPixel) {
  return FindMode(w, width, height, bitsPerPixel, nullptr);
}

bool EnterFullscreen(Window* w, int width, int height, int bitsPerPixel) {
  if (!w || !w->sdl) return false;
  SDL_DisplayMode m{};
  if (!FindMode(w, width, height, bitsPerPixel, &m)) return false;
  if (SDL_SetWindowDisplayMode(w->sdl, &m) != 0) return false;
  SDL_SetWindowSize(w->sdl, width, height);
  // Without a window manager nobody moves the window to the screen's corner.
  SDL_Rect bounds{};
  if (SDL_GetDisplayBounds(DisplayOf(w), &bounds) == 0)
    SDL_SetWindowPosition(w->sdl, bounds.x, bounds.y);
  if (SDL_SetWindowFullscreen(w->sdl, SDL_WINDOW_FULLSCREEN) != 0) return false;
  SDL_ShowWindow(w->sdl);
  SDL_RaiseWindow(w->sdl);
  return true;
}

void LeaveFullscreen(Window* w) {
  if (w && w->sdl) SDL_SetWindowFullscreen(w->sdl, 0);
}

bool IsFullscreen(Window* w) {
  return w && w->sdl && (SDL_GetWindowFlags(w->sdl) & SDL_WINDOW_FULLSCREEN) != 0;
}

void SuppressScreenSaver() {
  if (sVideoUp) SDL_DisableScreenSaver();
}

void Beep() {
  std::fputc('\a', stderr);
  std::fflush(stderr);
}

static WindowMessage Translate(Window* w, const SDL_Event& e) {
  switch (e.type) {
    case SDL_QUIT:
      return WindowMessage::kClose;
    case SDL_WINDOWEVENT:
      if (w && w->sdl && e.window.windowID != SDL_GetWindowID(w->sdl)) return WindowMessage::kOther;
      switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
          return WindowMessage::kClose;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          return WindowMessage::kActivate;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          return WindowMessage::kDeactivate;
        default:
          return WindowMessage::kOther;
      }
    case SDL_KEYDOWN:
      if (e.key.keysym.sym == SDLK_F4 && (e.key.keysym.mod & KMOD_ALT) && !e.key.repeat)
        return WindowMessage::kSysClose;
      return WindowMessage::kOther;
    default:
      if (sPostedEvent && e.type == sPostedEvent) return WindowMessage(e.user.code);
      return WindowMessage::kOther;
  }
}

bool PeekMessage(Window* w, WindowMessage* message) {
  if (!sVideoUp) return false;
  SDL_Event e;
  if (!SDL_PollEvent(&e)) return false;
  for (NativeEventHook hook : sHooks) hook(&e);
  WindowMessage m = Translate(w, e);
  if (message) *message = m;
  return true;
}

void PostWindowMessage(Window* w, WindowMessage message) {
  if (!sVideoUp || !sPostedEvent) return;
  SDL_Event e{};
  e.type = sPostedEvent;
  e.user.code = int(message);
  e.user.windowID = (w && w->sdl) ? SDL_GetWindowID(w->sdl) : 0;
  SDL_PushEvent(&e);
}

void AddNativeEventHook(NativeEventHook hook) {
  if (!hook) return;
  for (NativeEventHook h : sHooks)
    if (h == hook) return;
  sHooks.push_back(hook);
}

}  // namespace platform
