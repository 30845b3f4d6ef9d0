// What music and movie playback need from the rest of the runtime: the
// frame clock, the main window, the message pump and the input tests. The
// start-up installs these once the renderer and the input record exist;
// until then the defaults below apply.
#pragma once

#include <cstdint>

namespace platform {
struct Window;
}

struct MediaHost {
  // Frame-clock milliseconds (GetTimeMs). Default: the platform clock.
  double (*timeMs)();
  // Takes and dispatches pending window messages; false ends the program
  // (PumpMessages). Default: drains the window's queue, false on a close.
  bool (*pumpMessages)();
  // Input tests. Default: KeyCharPressed and AnyMouseButtonDown on gInput
  // (false while there is no input record).
  bool (*keyCharPressed)();
  bool (*anyMouseButtonDown)();
  // After a music start: focus to the main window and the frame's pause
  // flag cleared. Default: nothing.
  void (*afterMusicStart)();
  // Main window the movies draw into (its GL context current), or null.
  platform::Window* window;
  // Draws one movie picture (RGBA, top-down) into the destination rectangle
  // of the client area and shows it. Default: GL drawing into window, then
  // a buffer swap. Null pixels clear the client area only.
  void (*drawMovieFrame)(const uint8_t* rgba, int width, int height, int left, int top,
                         int right, int bottom);
  // Client size of the main window. Default: the window's client size.
  void (*clientSize)(int* width, int* height);
};

// Installs hooks; null members fall back to the defaults.
void SetMediaHost(const MediaHost& host);
// The hooks in force (never null members).
const MediaHost& CurrentMediaHost();

// The default movie drawing without the buffer swap: clears the client area
// to black and draws the picture into the rectangle with the GL context
// that is current.
void DrawMovieFrameGL(const uint8_t* rgba, int width, int height, int left, int top, int right,
                      int bottom);
