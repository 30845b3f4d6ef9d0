// Constant-force effects on joysticks that support force feedback.
#include <cmath>
#include <cstdint>

#include "input_audio/input_state.h"

namespace {

float ClampUnit(float v) {
  if (std::isnan(v)) return 0.0f;
  return v < -1.0f ? -1.0f : (v > 1.0f ? 1.0f : v);
}

uint32_t DurationUs(float durationMs) {
  double us = std::trunc(static_cast<double>(durationMs) * 1000.0);
  if (!(us > 0.0)) return 0;
  if (us >= 4294967295.0) return 0xFFFFFFFFu;  // infinite
  return static_cast<uint32_t>(us);
}

}  // namespace

void JoystickForceFeedback(InputState* input, int n, int32_t iterations, float durationMs,
                           float x, float y) {
  if (n < 0 || n >= kMaxJoysticks || input->joysticks[n] == 0) return;
  platform::HapticBackend* haptics = platform::Haptics();
  if (!haptics->HasForceFeedback(n)) return;
  haptics->Reset(n);
  x = ClampUnit(x);
  y = ClampUnit(y);
  platform::ConstantForce effect{};
  effect.durationUs = DurationUs(durationMs);
  effect.gain = 10000;
  effect.direction[0] = static_cast<int32_t>(x * 32767.0f);
  effect.direction[1] = static_cast<int32_t>(y * 32767.0f);
  effect.magnitude = static_cast<int32_t>((x * x + y * y) * 10000.0f * 0.5f);
  // One effect per device: the previous one is released before the next.
  if (input->effects[n] >= 0) {
    haptics->Destroy(n, input->effects[n]);
    input->effects[n] = -1;
  }
  int id = haptics->CreateConstantForce(n, effect);
  if (id < 0) return;
  input->effects[n] = id;
  haptics->Start(n, id, static_cast<uint32_t>(iterations));
}
