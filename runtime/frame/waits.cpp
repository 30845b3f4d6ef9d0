#include "frame/waits.h"

#include <cmath>

#include "core/runtime_error.h"
#include "frame/frame_function.h"
#include "frame/renderer.h"
#include "input_audio/input_state.h"
#include "input_audio/music.h"
#include "platform/system.h"

namespace {

InputWaitHook sHook = nullptr;

// Pointer state WaitAnyInput saw last: x, y, left, right.
double sLastX = 0, sLastY = 0, sLastLeft = 0, sLastRight = 0;

constexpr int kPasses = 15;

void EndOnEscape() {
  if (gEscapeEnds && (KeyIsDown(gInput, 129) || KeyIsDown(gInput, 1))) EndProgram();
}

void ScreenSize(int32_t* w, int32_t* h) {
  if (gRenderer && gRenderer->width > 0 && gRenderer->height > 0) {
    *w = gRenderer->width;
    *h = gRenderer->height;
  } else {
    InputScreenSize(w, h);
  }
}

int32_t Clamp(int32_t v, int32_t lo, int32_t hi) { return v < lo ? lo : (v > hi ? hi : v); }

bool AxisTilted(int32_t value) {
  double q = double(value) / 32767.0;
  if (q > 1) q = 1;
  if (q < -1) q = -1;
  return std::fabs(q) > 0.1;
}

bool AnyKeyDown() {
  PollKeyboard(gInput);
  for (int k = 0; k < 255; ++k)
    if (KeyIsDown(gInput, k)) return true;
  return false;
}

bool PointerChanged() {
  MouseReading m{};
  ReadMouse(gInput, &m);
  int32_t w = 0, h = 0;
  ScreenSize(&w, &h);
  gInput->mouseX = Clamp(gInput->mouseX, 0, w > 0 ? w - 1 : 0);
  gInput->mouseY = Clamp(gInput->mouseY, 0, h > 0 ? h - 1 : 0);
  const double x = gInput->mouseX, y = gInput->mouseY;
  const double left = m.left != 0 ? 1 : 0, right = m.right != 0 ? 1 : 0;
  if (x == sLastX && y == sLastY && left == sLastLeft && right == sLastRight) return false;
  sLastX = x;
  sLastY = y;
  sLastLeft = left;
  sLastRight = right;
  return true;
}

bool JoystickActive() {
  for (int j = GetJoystickCount(gInput) - 1; j >= 0; --j) {
    platform::JoystickReading s = platform::NeutralJoystickReading();
    if (!ReadJoystick(gInput, &s, int8_t(j))) continue;
    for (uint8_t b : s.buttons)
      if (b != 0) return true;
    if (AxisTilted(s.lX) || AxisTilted(s.lY) || AxisTilted(s.lZ)) return true;
    const uint32_t pov = s.pov[0];
    if (pov == 9000 || pov == 27000 || pov == 0 || pov == 18000) return true;
  }
  return false;
}

// A key that types a character is held.
bool CharacterKeyHeld() {
  PollKeyboard(gInput);
  for (int k = 0; k < 255; ++k)
    if (KeyIsDown(gInput, k) && ScanToChar(k) != 0) return true;
  return false;
}

}  // namespace

void SetInputWaitHook(InputWaitHook hook) { sHook = hook; }

void RunInputWaitHook() {
  if (sHook) sHook();
}

void WaitAnyInput() {
  for (int pass = 1;; ++pass) {
    RunInputWaitHook();
    RestartMusicIfDue();
    PumpMessages(gRenderer);
    if (gInput) {
      PollKeyboard(gInput);
      gInput->reread = 1;
      EndOnEscape();
      if (AnyKeyDown() || PointerChanged() || JoystickActive()) return;
    }
    if (pass >= kPasses) return;
    platform::SleepMs(5);
  }
}

void WaitKeyCmd() {
  if (!gInput) return;
  while (!KeyCharPressed(gInput)) {
    RestartMusicIfDue();
    PumpMessages(gRenderer);
    WaitAnyInput();
  }
  // The key must be up again before the command returns.
  while (CharacterKeyHeld()) {
    RunInputWaitHook();
    RestartMusicIfDue();
    PumpMessages(gRenderer);
    PollKeyboard(gInput);
    EndOnEscape();
    platform::SleepMs(5);
  }
  ReadKeyChar(gInput);  // the released key may be reported again when pressed anew
}

void WaitButtonCmd() {
  if (!gInput) return;
  while (AnyMouseButtonDown(gInput)) {
    RunInputWaitHook();
    RestartMusicIfDue();
    PumpMessages(gRenderer);
    platform::SleepMs(1);
  }
  while (!AnyMouseButtonDown(gInput)) WaitAnyInput();
}
