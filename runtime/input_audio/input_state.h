// The input record: keyboard, mouse and up to ten joysticks, read through
// the platform input layer. One record lives in gInput from start-up to
// program end.
#pragma once

#include <cstdint>

#include "platform/input.h"

namespace platform {
struct Window;  // native window (platform/window.h)
}

inline constexpr int kMaxJoysticks = 10;
inline constexpr int kJoystickNameSize = 522;

// Results of InputInit.
inline constexpr int32_t kInputOk = 1;
inline constexpr int32_t kInputNoDevices = static_cast<int32_t>(0x8000000Au);
inline constexpr int32_t kInputNoKeyboard = static_cast<int32_t>(0x8000000Bu);
inline constexpr int32_t kInputNoMouse = static_cast<int32_t>(0x8000000Cu);

// Mouse modes: 5 = captured (pointer hidden), 6 = shared (pointer shown).
inline constexpr uint32_t kMouseCaptured = 5;
inline constexpr uint32_t kMouseShared = 6;

struct InputState {
  int32_t mouseX;  // pointer position in client pixels; not bounded here
  int32_t mouseY;
  uint8_t inputOpen;   // 1 once the platform event source runs
  uint8_t keyboard;    // 1 = keyboard state available
  uint8_t mouse;       // 1 = mouse mode switching set up
  uint8_t joysticks[kMaxJoysticks];  // 1 = a device behind this number
  char joystickNames[kMaxJoysticks][kJoystickNameSize];
  uint8_t keys[256];  // by PC scan code; bit 7 = down
  platform::Window* window;
  uint8_t pointerShown;     // 1 = system pointer shown (absolute mouse)
  uint32_t mouseCoopLevel;  // kMouseCaptured or kMouseShared
  int32_t joystickCount;
  uint8_t reread;  // 1 = the next ReadMouse samples fresh deltas
  int16_t lastDx;
  int16_t lastDy;
  int16_t lastWheel;
  int32_t effects[kMaxJoysticks];  // force-feedback effect per joystick, -1 = none
};

// Left, right, middle button, dx, dy, wheel (-1, 0 or 1).
struct MouseReading {
  int16_t left;
  int16_t right;
  int16_t middle;
  int16_t dx;
  int16_t dy;
  int16_t wheel;
};

extern InputState* gInput;

// Start values of a new record; installs the input release step of the
// program end (it releases gInput).
void InputStateConstruct(InputState* input);
// Allocates and constructs a record into gInput (when none exists) and
// returns it.
InputState* NewInputState();

// Opens the platform input: keyboard, mouse mode, joysticks. Returns
// kInputOk or the code of the last piece that failed; failures are logged.
int32_t InputInit(InputState* input, platform::Window* window, void* instance, bool hidePointer);
// Restores the system pointer and releases every device.
void InputShutdown(InputState* input);
// Shutdown of gInput: InputShutdown, free, gInput := null.
void ReleaseInput();

// Screen size for clamping the pointer; the renderer installs its own. By
// default the project settings' screen size is used.
void SetInputScreenSizeQuery(void (*query)(int32_t* width, int32_t* height));
void InputScreenSize(int32_t* width, int32_t* height);

// Keyboard.
void PollKeyboard(InputState* input);
bool KeyIsDown(const InputState* input, int scanCode);

// Mouse.
bool ReadMouse(InputState* input, MouseReading* out);
bool AnyMouseButtonDown(InputState* input);
// Pointer mode steps: show = shared mode, pointer warped to the stored
// position, arrow cursor; hide = captured mode. They do not touch
// pointerShown.
void ShowPointerStep(InputState* input);
void HidePointerStep(InputState* input);

// Joysticks.
bool ReadJoystick(InputState* input, platform::JoystickReading* out, int8_t n);
int32_t GetJoystickCount(const InputState* input);
// Copies name n (empty outside 0..count - 1) into out, which holds at least
// kJoystickNameSize bytes.
void GetJoystickName(const InputState* input, char* out, int n);
void JoystickForceFeedback(InputState* input, int n, int32_t iterations, float durationMs,
                           float x, float y);

// Characters of newly pressed keys.
char ReadKeyChar(InputState* input);
bool KeyCharPressed(InputState* input);
// Character rule for one key: 0 for modifiers, 10 for both Enter keys, 8
// for Backspace, else the layout's character (control characters give 0).
char ScanToChar(int scanCode);
