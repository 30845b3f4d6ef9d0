// The main window and its OpenGL context: window class "Orvale", caption,
// GL compatibility context (depth 24, stencil 8, double buffered, optional
// multisampling), display modes and the window message queue.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

struct Window;
struct GlContext;

// Brings up the video system; false (with the reason in *why) when there is
// no display.
bool VideoInit(std::string* why);
// Shuts the video system down once no window is left.
void VideoQuit();
// Last error text of the video system.
std::string VideoError();

// A hidden window of client size width x height with a GL-capable surface;
// samples > 0 asks for a multisampled one. Null on failure.
Window* CreateGlWindow(const char* title, int width, int height, int samples);
void DestroyWindow(Window* w);

// Context for the window; null on failure.
GlContext* CreateGlContext(Window* w);
bool MakeCurrent(Window* w, GlContext* c);
void DeleteGlContext(GlContext* c);
void SwapWindow(Window* w);
// Address of a GL entry point; callers look a name up only when the
// extension string names its extension.
void* GlProcAddress(const char* name);
// Samples of the window's framebuffer as created.
int WindowSamples(Window* w);

void SetTitle(Window* w, const char* title);
std::string GetTitle(Window* w);
void ShowWindow(Window* w);
void HideWindow(Window* w);
bool IsWindowShown(Window* w);
// Raises the window and gives it the input focus.
void RaiseWindow(Window* w);
void SetWindowPosition(Window* w, int x, int y);
bool GetWindowPosition(Window* w, int* x, int* y);
void SetClientSize(Window* w, int width, int height);
void GetClientSize(Window* w, int* width, int* height);
// Keeps the system pointer inside the window while it has the focus.
void ConfinePointer(Window* w, bool confined);
void SetBordered(Window* w, bool bordered);
void ShowSystemPointer(bool shown);

// Desktop size and colour depth of the display the window is on (the
// first display without a window).
void DesktopSize(Window* w, int* width, int* height);
int DesktopBitsPerPixel(Window* w);
// True when the display offers a mode of exactly width x height (and
// bitsPerPixel unless 0).
bool HasDisplayMode(Window* w, int width, int height, int bitsPerPixel);
// Switches the window to full screen in that exact display mode; false
// when the display does not offer it (nothing changes then).
bool EnterFullscreen(Window* w, int width, int height, int bitsPerPixel);
// Back to windowed mode and the desktop display mode.
void LeaveFullscreen(Window* w);
bool IsFullscreen(Window* w);

// Keeps the screen saver and display power saving off while the program
// runs.
void SuppressScreenSaver();
void Beep();

// What the window procedure receives.
enum class WindowMessage {
  kNone,
  kClose,          // close button, window manager close, SIGTERM/SIGINT
  kSysClose,       // Alt+F4
  kActivate,       // window gained the focus
  kDeactivate,     // window lost the focus
  kScreenSave,     // screen saver or monitor power-off request
  kOther,          // anything else (input, expose, ...)
};

// Takes the next queued message of the window (or of the application);
// false when the queue is empty.
bool PeekMessage(Window* w, WindowMessage* message);
// Queues a message for the window; safe from any thread.
void PostWindowMessage(Window* w, WindowMessage message);

// Other platform modules (input, text) see every native event taken from
// the queue before it is translated. The pointer is the backend's event.
using NativeEventHook = void (*)(const void* nativeEvent);
void AddNativeEventHook(NativeEventHook hook);

}  // namespace platform
