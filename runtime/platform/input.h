// Input devices of the platform layer: keyboard state in PC scan codes,
// mouse motion, buttons and wheel, the system pointer mode, joysticks and
// force feedback.
//
// Event routing: keyboard and mouse events arrive through the system event
// queue. PumpInputEvents() takes only keyboard and mouse events out of that
// queue and leaves every other event (window, quit, ...) for the window's
// message pump. InputOpen() installs a native event hook on the window pump
// (platform/window.h), so every event that pump takes reaches
// HandleInputEvent() as well: no key or button change is lost whichever
// pump runs first, and a lost focus releases all keys and buttons. A pump
// of its own that bypasses the window pump must hand each event to
// HandleInputEvent() itself.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// --- Event intake ---------------------------------------------------------

// Starts the event and input subsystems; false when no event source exists.
bool InputOpen();
void InputClose();
bool InputIsOpen();

// Moves pending keyboard and mouse events from the system queue into the
// input state. Other events stay queued.
void PumpInputEvents();

// Takes one system event (an SDL_Event as the window pump holds it). Input
// events update the state; a lost focus releases every key and button;
// anything else is ignored. True when the event was an input event.
bool HandleInputEvent(const void* systemEvent);

// Takes every queued event and hands it to HandleInputEvent: for programs
// that run no window pump of their own (tools, tests).
void PumpAllEvents();

// --- Keyboard -------------------------------------------------------------

// 256 entries indexed by PC scan code; bit 7 set = key down. A key pressed
// and released before this read still shows as down in it; the release
// comes with the next pump.
const uint8_t* KeyboardScanState();
void ReleaseAllKeys();

// Character of the key at this scan code on the current keyboard layout,
// unshifted ('a' for the A key): 0 when the key types nothing printable.
uint32_t KeyLayoutCharacter(int scanCode);

// --- Mouse ----------------------------------------------------------------

// Motion and wheel turns gathered since the last call; the gathered values
// are reset. wheel is the sum of wheel steps, positive away from the user.
void TakeMouseMotion(int32_t* dx, int32_t* dy, int32_t* wheel);
// Pointer position in client pixels of the window under it.
void MousePosition(int32_t* x, int32_t* y);
// 0 left, 1 right, 2 middle: 0x80 while down, else 0. Like the keys, a
// click released before it was read shows as down once.
uint8_t MouseButton(int button);

// Shown: absolute pointer with the arrow cursor. Hidden: the pointer is
// invisible and captured, motion arrives as relative deltas. False when the
// hidden mode could not capture the pointer (deltas still arrive).
bool SetPointerShown(bool shown);
// Moves the system pointer to client position (x, y) of the focused window.
void WarpPointer(int32_t x, int32_t y);

// --- Synthetic events -----------------------------------------------------
// Queue events as a device would deliver them (tests, input replay).

void PushKeyEvent(int scanCode, bool down);
void PushMouseMotion(int32_t x, int32_t y, int32_t dx, int32_t dy);
void PushMouseButton(int button, bool down);  // 0 left, 1 right, 2 middle
void PushMouseWheel(int32_t steps);
void PushFocusLost();

// --- Joysticks ------------------------------------------------------------

inline constexpr uint32_t kPovCentred = 0xFFFFFFFFu;

// One joystick reading in the classic 80-byte layout: six axes and two
// sliders in -32768..32768, four POV hats in hundredths of a degree
// clockwise from up (kPovCentred = centred), 32 buttons (0x80 = down).
struct JoystickReading {
  int32_t lX, lY, lZ;
  int32_t lRx, lRy, lRz;
  int32_t sliders[2];
  uint32_t pov[4];
  uint8_t buttons[32];
};
static_assert(sizeof(JoystickReading) == 80, "joystick reading layout");

// A reading of a stick at rest: axes 0, POVs centred, no button down.
JoystickReading NeutralJoystickReading();

// Device axis -32768..32767 to the reading's range -32768..32768.
int32_t AxisFromDevice(int16_t value);
// Hat switch bits (1 up, 2 right, 4 down, 8 left) to a POV value.
uint32_t PovFromHat(uint8_t hatBits);

class JoystickBackend {
 public:
  virtual ~JoystickBackend() = default;
  // Opens up to maxCount attached devices; returns how many were opened.
  virtual int Open(int maxCount) = 0;
  virtual void Close() = 0;
  virtual int Count() = 0;
  virtual std::string InstanceName(int index) = 0;
  virtual std::string ProductName(int index) = 0;
  // False when the device is gone or cannot be read.
  virtual bool Read(int index, JoystickReading* out) = 0;
};

// A constant force as the game asks for it.
struct ConstantForce {
  uint32_t durationUs;
  uint32_t gain;            // 0..10000
  int32_t direction[2];     // cartesian x, y in -32767..32767
  int32_t magnitude;        // 0..10000
};

class HapticBackend {
 public:
  virtual ~HapticBackend() = default;
  virtual bool HasForceFeedback(int joystick) = 0;
  // Stops every effect of the device.
  virtual void Reset(int joystick) = 0;
  // Returns an effect id, or -1 when the device refused the effect.
  virtual int CreateConstantForce(int joystick, const ConstantForce& effect) = 0;
  virtual bool Start(int joystick, int effect, uint32_t iterations) = 0;
  virtual void Destroy(int joystick, int effect) = 0;
  // Releases every device.
  virtual void Close() = 0;
};

// The active backends; the SDL ones unless replaced. Setting null restores
// the SDL backend. The caller keeps ownership of what it sets.
JoystickBackend* Joysticks();
HapticBackend* Haptics();
void SetJoystickBackend(JoystickBackend* backend);
void SetHapticBackend(HapticBackend* backend);

}  // namespace platform
