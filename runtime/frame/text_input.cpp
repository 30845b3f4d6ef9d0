#include "frame/text_input.h"

#include <cmath>

#include "frame/frame_function.h"
#include "frame/graphics_commands.h"
#include "frame/renderer.h"
#include "frame/virtual_screens.h"
#include "frame/waits.h"
#include "input_audio/input_state.h"

namespace {

constexpr int kHeldScreen = 3;
constexpr int kBlinkFrames = 20;

uint8_t sCursorVisible = 0;
int sFrameCounter = 0;

}  // namespace

void InputLineCmd(BasicString& text, double x, double y) {
  OpenGLLumenar* r = gRenderer;
  if (!r) return;
  CopyBackBufferToScreen(r, kHeldScreen);
  DrawVirtualScreen(r, kHeldScreen);
  PrintCmd(text, x, y);
  const double px = std::trunc(x), py = std::trunc(y);
  for (;;) {
    RunInputWaitHook();
    ShowScreen();
    const char c = gInput ? ReadKeyChar(gInput) : 0;
    if (c == 0) {
      if (++sFrameCounter > kBlinkFrames) {
        sFrameCounter = 0;
        sCursorVisible = !sCursorVisible;
      }
    } else if (c == 10) {
      FreeVirtualScreen(r, kHeldScreen);
      return;
    } else if (c == 8) {
      const uint32_t n = StrLength(text);
      if (n > 0) StrTruncateAt(text, int32_t(n - 1));
    } else {
      const char one[2] = {c, '\0'};
      StrAppendCStr(text, one);
    }
    DrawVirtualScreen(r, kHeldScreen);
    BasicString shown(text);
    if (sCursorVisible) StrAppendCStr(shown, "_");
    PrintCmd(shown, px, py);
  }
}

void InputNumberCmd(double& out, double x, double y) {
  BasicString text;
  InputLineCmd(text, x, y);
  out = StrToNumber(text);
}
