// Joystick readings and names.
#include <cstring>

#include "input_audio/input_state.h"

bool ReadJoystick(InputState* input, platform::JoystickReading* out, int8_t n) {
  if (n >= 0 && n < kMaxJoysticks && input->joysticks[n] != 0) {
    // A stick that was pulled or fails to read is reported at rest.
    if (!platform::Joysticks()->Read(n, out)) *out = platform::NeutralJoystickReading();
    return true;
  }
  // The first two numbers always answer, as a stick at rest when absent.
  if (n < 2) {
    *out = platform::NeutralJoystickReading();
    return true;
  }
  return false;
}

int32_t GetJoystickCount(const InputState* input) { return input->joystickCount; }

void GetJoystickName(const InputState* input, char* out, int n) {
  if (n >= 0 && n < input->joystickCount && n < kMaxJoysticks) {
    std::memcpy(out, input->joystickNames[n], kJoystickNameSize);
    out[kJoystickNameSize - 1] = '\0';
  } else {
    out[0] = '\0';
  }
}
