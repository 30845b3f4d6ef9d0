// The one main window with its OpenGL context, its screen modes and the
// window procedure.
#pragma once

#include <cstdint>
#include <vector>

#include "core/basic_string.h"
#include "frame/renderer.h"
#include "platform/window.h"

// The live main window (the renderer's); null once it was destroyed.
extern platform::Window* gMainWindow;
// Caption given at start-up; restored when the pause suffix goes.
extern BasicString gCaption;
extern uint8_t gAutoPause;
extern uint8_t gPaused;

// Window position along one axis: kept on a screen it fits on, else at the
// screen's origin.
int PlaceOnScreen(int position, int size, int screen);

// Opens the window and its GL context (or reuses the renderer's context),
// loads the GL entry points and shows the window. False with a message on
// standard error when no window or context can be made.
bool CreateMainWindow(OpenGLLumenar* r, void* instance, int width, int height, int colourBits,
                      int framesPerSecond, int samples, bool fullscreen);
// Windowed mode at the renderer's size (leaving full screen first).
int ResizeWindow(OpenGLLumenar* r);
// Full screen at exactly the renderer's size on the same window; when the
// display has no such mode: "No Fullscreen Mode available" in the error
// log, windowed mode, false.
bool SetFullscreenMode(OpenGLLumenar* r);
bool SetScreenMode(OpenGLLumenar* r, int width, int height, int colourBits, int fullscreen);
// Leaves full screen and hides the window.
int ResetWindowStyle(OpenGLLumenar* r);
// Deletes every texture, leaves full screen, releases the context from the
// window and destroys the window (every holder of it is cleared).
bool DestroyMainWindow(OpenGLLumenar* r);

// Samples tried for a multisampled format: n, n/2, ... down to 1.
std::vector<int> MultisampleCandidates(int samples);
// Renderer names of software OpenGL.
bool IsSoftwareRenderer(const char* rendererName);

// The window procedure: close, Alt+F4, screen saver and activation.
int WindowProc(platform::Window* w, platform::WindowMessage message);

// Screen mode command: size and full-screen flag (truncated), five frames.
void SetScreenCmd(double width, double height, double fullscreen);

// Empties every virtual screen (tile textures go while GL lives).
void ReleaseAllScreens(OpenGLLumenar* r);
