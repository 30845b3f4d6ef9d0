// Shared set-up of the page tests: the runtime started once on the test's
// window, generated font strips with known ink columns, a frame counter
// with per-frame input scripts, and pixel reading of both buffers.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace pagetest {

// Ink column of glyph n (1..95) in the 20 x 20 strip and the advance that
// the width scan must find; the special glyphs are described in the .cpp.
int DesktopInkColumn(int glyph);
int DesktopAdvance(int glyph);
// The same for the 10 x 10 strip (advance in 640-space).
int HandheldInkColumn(int glyph);
int HandheldAdvance(int glyph);

// Scratch folder (the current folder while the tests run; pictures in gfx/).
std::string ScratchDir();

// Writes an RGB PNG; pixel(x, y) gives 0xRRGGBB.
void WritePng(const std::string& path, int width, int height,
              const std::function<uint32_t(int, int)>& pixel);

// Selects the device as the main program does: ORVALE_DEVICE read through
// the platform into info_Str, resx, the device's font strip in sprite 50 and
// kern built from it.
void UseDevice(const char* name);

// ClearScreen and a white page over the whole back buffer.
void WhitePage();

// Frames presented so far (counted through the music restart check that
// every frame runs).
int FramesPresented();
// Runs action at the start of the frame numbered FramesPresented() + after.
void AtFrame(int after, std::function<void()> action);
void ClearFrameScript();

// Pixels as 0xRRGGBB, origin top left: of the back buffer, or of the frame
// presented last (taken from the back buffer just before its swap).
uint32_t BackPixel(int x, int y);
uint32_t FrontPixel(int x, int y);
// Columns of row y that hold black ink (front: of the frame presented last).
std::vector<int> InkColumns(int y, bool front = false);
// Ink columns the desktop font leaves for text printed at x (spaces leave
// none); advances from kern.
std::vector<int> ExpectedInk(const std::string& text, int x);
// Reads back a line of lower-case letters a..q and spaces printed at x 0:
// their ink columns identify them. Trailing spaces do not show.
std::string DecodeLine(const std::vector<int>& ink);
double TextWidth(const std::string& text);

// Injected input. The pointer moves by a relative motion to (x, y).
void MovePointer(int x, int y);
// Key or button changes after a delay, from another thread, for the busy
// waits that read the input without presenting frames.
class Later {
 public:
  Later(int ms, std::function<void()> action);
  ~Later();
  Later(const Later&) = delete;
  Later& operator=(const Later&) = delete;

 private:
  std::thread thread_;
};
// Releases every key and button and drains the queue.
void ReleaseAllInput();

}  // namespace pagetest
