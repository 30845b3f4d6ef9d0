// Keyboard state by PC scan code.
#include <cstring>

#include "input_audio/input_state.h"

void PollKeyboard(InputState* input) {
  if (input->inputOpen == 0) return;
  platform::PumpInputEvents();
  std::memcpy(input->keys, platform::KeyboardScanState(), sizeof input->keys);
}

bool KeyIsDown(const InputState* input, int scanCode) {
  return (input->keys[scanCode & 255] & 0x80) != 0;
}
