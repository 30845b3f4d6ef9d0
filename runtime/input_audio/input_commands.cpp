// Input commands over gInput.
#include "input_audio/input_commands.h"

#include <cmath>
#include <cstdint>

#include "input_audio/input_state.h"

namespace {

// Truncation toward zero; NaN and values beyond the 32-bit range give the
// integer-indefinite value INT32_MIN, as the processor's conversion does.
int32_t TruncToInt(double v) {
  if (!(v > -2147483649.0 && v < 2147483648.0)) return INT32_MIN;
  return static_cast<int32_t>(v);
}

int8_t JoystickNumber(double n) { return static_cast<int8_t>(TruncToInt(n)); }

platform::JoystickReading ReadStick(double n) {
  platform::JoystickReading r = platform::NeutralJoystickReading();
  if (gInput != nullptr) ReadJoystick(gInput, &r, JoystickNumber(n));
  return r;
}

double Unit(int32_t axis) {
  double v = axis / 32767.0;
  return v < -1.0 ? -1.0 : (v > 1.0 ? 1.0 : v);
}

}  // namespace

double KeyState(double keyCode) {
  if (gInput == nullptr) return 0.0;
  PollKeyboard(gInput);
  return KeyIsDown(gInput, TruncToInt(keyCode) & 255) ? 1.0 : 0.0;
}

BasicString InkeyCmd() {
  BasicString s;
  if (gInput == nullptr) return s;
  char c = ReadKeyChar(gInput);
  if (c != 0) {
    char text[2] = {c, '\0'};
    StrAssignCStr(s, text);
  }
  return s;
}

void MouseState(double& x, double& y, double& button1, double& button2) {
  if (gInput == nullptr) {
    x = y = button1 = button2 = 0.0;
    return;
  }
  MouseReading r{};
  ReadMouse(gInput, &r);
  int32_t width = 0, height = 0;
  InputScreenSize(&width, &height);
  if (gInput->mouseX >= width) gInput->mouseX = width - 1;
  if (gInput->mouseY >= height) gInput->mouseY = height - 1;
  if (gInput->mouseX < 0) gInput->mouseX = 0;
  if (gInput->mouseY < 0) gInput->mouseY = 0;
  x = gInput->mouseX;
  y = gInput->mouseY;
  button1 = r.left != 0 ? 1.0 : 0.0;
  button2 = r.right != 0 ? 1.0 : 0.0;
}

double MouseAxisCmd(double selector) {
  if (gInput == nullptr) return 0.0;
  MouseReading r{};
  if (!ReadMouse(gInput, &r)) return 0.0;
  switch (TruncToInt(selector)) {
    case 0: return r.dx;
    case 1: return r.dy;
    case 2: return r.wheel;
    case 3: return r.left != 0 ? 1.0 : 0.0;
    case 4: return r.right != 0 ? 1.0 : 0.0;
    case 5: return r.middle != 0 ? 1.0 : 0.0;
    default: return 0.0;
  }
}

void SetSystemPointer(double shown) {
  if (gInput == nullptr) return;
  uint8_t want = shown != 0.0 ? 1 : 0;
  if (want == gInput->pointerShown) return;
  gInput->pointerShown = want;
  if (gInput->mouse == 0) return;
  if (want != 0) {
    ShowPointerStep(gInput);
  } else {
    HidePointerStep(gInput);
  }
}

void SetMousePosition(double x, double y) {
  if (gInput == nullptr) return;
  gInput->mouseX = TruncToInt(x);
  gInput->mouseY = TruncToInt(y);
}

double JoystickXCmd(double joystick) { return Unit(ReadStick(joystick).lX); }
double JoystickYCmd(double joystick) { return Unit(ReadStick(joystick).lY); }
double JoystickZCmd(double joystick) { return Unit(ReadStick(joystick).lZ); }
double JoystickRxCmd(double joystick) { return Unit(ReadStick(joystick).lRx); }
double JoystickRyCmd(double joystick) { return Unit(ReadStick(joystick).lRy); }
double JoystickRzCmd(double joystick) { return Unit(ReadStick(joystick).lRz); }

double JoystickPovXCmd(double joystick) {
  uint32_t pov = ReadStick(joystick).pov[0];
  return pov == 9000 ? 1.0 : (pov == 27000 ? -1.0 : 0.0);
}

double JoystickPovYCmd(double joystick) {
  uint32_t pov = ReadStick(joystick).pov[0];
  return pov == 0 ? -1.0 : (pov == 18000 ? 1.0 : 0.0);
}

double JoystickButtonCmd(double joystick, double button) {
  int32_t b = TruncToInt(button);
  if (b < 0 || b >= 32) return 0.0;
  return ReadStick(joystick).buttons[b];
}

void JoystickStateCmd(double& x, double& y, double& button1, double& button2) {
  platform::JoystickReading r = ReadStick(0);
  x = r.lX / 30000;
  y = r.lY / 30000;
  button1 = r.buttons[0];
  button2 = r.buttons[1];
}

double JoystickCountCmd() { return gInput != nullptr ? GetJoystickCount(gInput) : 0.0; }

BasicString JoystickNameCmd(double joystick) {
  BasicString s;
  if (gInput == nullptr) return s;
  char name[kJoystickNameSize];
  GetJoystickName(gInput, name, TruncToInt(joystick));
  StrAssignCStr(s, name);
  return s;
}

void ForceFeedbackCmd(double joystick, double durationMs, double x, double y) {
  if (gInput == nullptr) return;
  JoystickForceFeedback(gInput, TruncToInt(joystick), 1, static_cast<float>(durationMs),
                        static_cast<float>(x), static_cast<float>(y));
}
