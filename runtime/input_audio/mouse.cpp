// Mouse reading: deltas sampled once per frame, live position and buttons.
#include <cstdint>
#include <limits>

#include "input_audio/input_state.h"
#include "platform/window.h"

namespace {

int32_t AddSaturated(int32_t a, int32_t b) {
  int64_t s = static_cast<int64_t>(a) + b;
  if (s > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (s < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(s);
}

void Sample(InputState* input) {
  int32_t dx = 0, dy = 0, wheel = 0;
  platform::TakeMouseMotion(&dx, &dy, &wheel);
  int16_t sdx = 0, sdy = 0;
  if (input->pointerShown == 0) {
    sdx = static_cast<int16_t>(dx);
    sdy = static_cast<int16_t>(dy);
    input->mouseX = AddSaturated(input->mouseX, sdx);
    input->mouseY = AddSaturated(input->mouseY, sdy);
  } else {
    int32_t x = 0, y = 0;
    platform::MousePosition(&x, &y);
    sdx = static_cast<int16_t>(static_cast<int64_t>(x) - input->mouseX);
    sdy = static_cast<int16_t>(static_cast<int64_t>(y) - input->mouseY);
    input->mouseX = x;
    input->mouseY = y;
  }
  input->lastDx = sdx;
  input->lastDy = sdy;
  input->lastWheel = static_cast<int16_t>(wheel > 0 ? 1 : (wheel < 0 ? -1 : 0));
}

}  // namespace

bool ReadMouse(InputState* input, MouseReading* out) {
  if (input->inputOpen == 0) {
    *out = MouseReading{};
    return false;
  }
  platform::PumpInputEvents();
  if (input->reread != 0) {
    input->reread = 0;
    Sample(input);
  }
  out->dx = input->lastDx;
  out->dy = input->lastDy;
  out->wheel = input->lastWheel;
  out->left = platform::MouseButton(0);
  out->right = platform::MouseButton(1);
  out->middle = platform::MouseButton(2);
  return true;
}

bool AnyMouseButtonDown(InputState* input) {
  MouseReading r{};
  ReadMouse(input, &r);
  return r.left != 0 || r.right != 0 || r.middle != 0;
}

void ShowPointerStep(InputState* input) {
  input->mouseCoopLevel = kMouseShared;
  platform::ConfinePointer(input->window, false);
  platform::SetPointerShown(true);
  platform::WarpPointer(input->mouseX, input->mouseY);
}

void HidePointerStep(InputState* input) {
  input->mouseCoopLevel = kMouseCaptured;
  platform::SetPointerShown(false);
  platform::ConfinePointer(input->window, true);
}
