// SDL2 driver of the platform input layer.
#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "platform/input.h"
#include "platform/window.h"

namespace platform {
namespace {

// PC keyboard scan codes by physical key position.
struct ScanPair {
  SDL_Scancode sdl;
  uint8_t pc;
};

constexpr ScanPair kScanPairs[] = {
    {SDL_SCANCODE_ESCAPE, 1},
    {SDL_SCANCODE_1, 2}, {SDL_SCANCODE_2, 3}, {SDL_SCANCODE_3, 4}, {SDL_SCANCODE_4, 5},
    {SDL_SCANCODE_5, 6}, {SDL_SCANCODE_6, 7}, {SDL_SCANCODE_7, 8}, {SDL_SCANCODE_8, 9},
    {SDL_SCANCODE_9, 10}, {SDL_SCANCODE_0, 11},
    {SDL_SCANCODE_MINUS, 12}, {SDL_SCANCODE_EQUALS, 13}, {SDL_SCANCODE_BACKSPACE, 14},
    {SDL_SCANCODE_TAB, 15},
    {SDL_SCANCODE_Q, 16}, {SDL_SCANCODE_W, 17}, {SDL_SCANCODE_E, 18}, {SDL_SCANCODE_R, 19},
    {SDL_SCANCODE_T, 20}, {SDL_SCANCODE_Y, 21}, {SDL_SCANCODE_U, 22}, {SDL_SCANCODE_I, 23},
    {SDL_SCANCODE_O, 24}, {SDL_SCANCODE_P, 25},
    {SDL_SCANCODE_LEFTBRACKET, 26}, {SDL_SCANCODE_RIGHTBRACKET, 27},
    {SDL_SCANCODE_RETURN, 28}, {SDL_SCANCODE_LCTRL, 29},
    {SDL_SCANCODE_A, 30}, {SDL_SCANCODE_S, 31}, {SDL_SCANCODE_D, 32}, {SDL_SCANCODE_F, 33},
    {SDL_SCANCODE_G, 34}, {SDL_SCANCODE_H, 35}, {SDL_SCANCODE_J, 36}, {SDL_SCANCODE_K, 37},
    {SDL_SCANCODE_L, 38},
    {SDL_SCANCODE_SEMICOLON, 39}, {SDL_SCANCODE_APOSTROPHE, 40}, {SDL_SCANCODE_GRAVE, 41},
    {SDL_SCANCODE_LSHIFT, 42}, {SDL_SCANCODE_BACKSLASH, 43}, {SDL_SCANCODE_NONUSHASH, 43},
    {SDL_SCANCODE_Z, 44}, {SDL_SCANCODE_X, 45}, {SDL_SCANCODE_C, 46}, {SDL_SCANCODE_V, 47},
    {SDL_SCANCODE_B, 48}, {SDL_SCANCODE_N, 49}, {SDL_SCANCODE_M, 50},
    {SDL_SCANCODE_COMMA, 51}, {SDL_SCANCODE_PERIOD, 52}, {SDL_SCANCODE_SLASH, 53},
    {SDL_SCANCODE_RSHIFT, 54}, {SDL_SCANCODE_KP_MULTIPLY, 55}, {SDL_SCANCODE_LALT, 56},
    {SDL_SCANCODE_SPACE, 57}, {SDL_SCANCODE_CAPSLOCK, 58},
    {SDL_SCANCODE_F1, 59}, {SDL_SCANCODE_F2, 60}, {SDL_SCANCODE_F3, 61}, {SDL_SCANCODE_F4, 62},
    {SDL_SCANCODE_F5, 63}, {SDL_SCANCODE_F6, 64}, {SDL_SCANCODE_F7, 65}, {SDL_SCANCODE_F8, 66},
    {SDL_SCANCODE_F9, 67}, {SDL_SCANCODE_F10, 68},
    {SDL_SCANCODE_NUMLOCKCLEAR, 69}, {SDL_SCANCODE_SCROLLLOCK, 70},
    {SDL_SCANCODE_KP_7, 71}, {SDL_SCANCODE_KP_8, 72}, {SDL_SCANCODE_KP_9, 73},
    {SDL_SCANCODE_KP_MINUS, 74},
    {SDL_SCANCODE_KP_4, 75}, {SDL_SCANCODE_KP_5, 76}, {SDL_SCANCODE_KP_6, 77},
    {SDL_SCANCODE_KP_PLUS, 78},
    {SDL_SCANCODE_KP_1, 79}, {SDL_SCANCODE_KP_2, 80}, {SDL_SCANCODE_KP_3, 81},
    {SDL_SCANCODE_KP_0, 82}, {SDL_SCANCODE_KP_PERIOD, 83},
    {SDL_SCANCODE_NONUSBACKSLASH, 86}, {SDL_SCANCODE_F11, 87}, {SDL_SCANCODE_F12, 88},
    {SDL_SCANCODE_F13, 100}, {SDL_SCANCODE_F14, 101}, {SDL_SCANCODE_F15, 102},
    {SDL_SCANCODE_INTERNATIONAL2, 112}, {SDL_SCANCODE_INTERNATIONAL1, 115},
    {SDL_SCANCODE_INTERNATIONAL4, 121}, {SDL_SCANCODE_INTERNATIONAL5, 123},
    {SDL_SCANCODE_INTERNATIONAL3, 125}, {SDL_SCANCODE_KP_EQUALS, 141},
    {SDL_SCANCODE_AUDIOPREV, 144}, {SDL_SCANCODE_AUDIONEXT, 153},
    {SDL_SCANCODE_KP_ENTER, 156}, {SDL_SCANCODE_RCTRL, 157},
    {SDL_SCANCODE_MUTE, 160}, {SDL_SCANCODE_CALCULATOR, 161}, {SDL_SCANCODE_AUDIOPLAY, 162},
    {SDL_SCANCODE_AUDIOSTOP, 164}, {SDL_SCANCODE_VOLUMEDOWN, 174}, {SDL_SCANCODE_VOLUMEUP, 176},
    {SDL_SCANCODE_AC_HOME, 178}, {SDL_SCANCODE_KP_COMMA, 179},
    {SDL_SCANCODE_KP_DIVIDE, 181}, {SDL_SCANCODE_PRINTSCREEN, 183}, {SDL_SCANCODE_RALT, 184},
    {SDL_SCANCODE_PAUSE, 197},
    {SDL_SCANCODE_HOME, 199}, {SDL_SCANCODE_UP, 200}, {SDL_SCANCODE_PAGEUP, 201},
    {SDL_SCANCODE_LEFT, 203}, {SDL_SCANCODE_RIGHT, 205},
    {SDL_SCANCODE_END, 207}, {SDL_SCANCODE_DOWN, 208}, {SDL_SCANCODE_PAGEDOWN, 209},
    {SDL_SCANCODE_INSERT, 210}, {SDL_SCANCODE_DELETE, 211},
    {SDL_SCANCODE_LGUI, 219}, {SDL_SCANCODE_RGUI, 220}, {SDL_SCANCODE_APPLICATION, 221},
    {SDL_SCANCODE_POWER, 222}, {SDL_SCANCODE_SLEEP, 223},
    {SDL_SCANCODE_AC_SEARCH, 229}, {SDL_SCANCODE_AC_BOOKMARKS, 230},
    {SDL_SCANCODE_AC_REFRESH, 231}, {SDL_SCANCODE_AC_STOP, 232},
    {SDL_SCANCODE_AC_FORWARD, 233}, {SDL_SCANCODE_AC_BACK, 234},
    {SDL_SCANCODE_COMPUTER, 235}, {SDL_SCANCODE_MAIL, 236}, {SDL_SCANCODE_MEDIASELECT, 237},
};

struct ScanTables {
  uint8_t toPc[SDL_NUM_SCANCODES];
  SDL_Scancode toSdl[256];
  ScanTables() : toPc{}, toSdl{} {
    for (const ScanPair& p : kScanPairs) {
      toPc[p.sdl] = p.pc;
      if (toSdl[p.pc] == SDL_SCANCODE_UNKNOWN) toSdl[p.pc] = p.sdl;
    }
  }
};
const ScanTables kTables;

// A press released before the program has read it still reads as down
// once: its release waits for the first pump after that read, so a quick
// tap or click between two frames is not lost. A press nobody reads within
// kHeldReleaseMs is let go, so no stale press turns up later.
struct HeldRelease {
  bool unread = false;  // went down since the last read
  bool due = false;     // released, shown as down until read
  Uint64 since = 0;     // when the release came
};
constexpr Uint64 kHeldReleaseMs = 500;

struct InputDriverState {
  bool open = false;
  Uint32 subsystems = 0;  // what InputOpen started
  uint8_t keys[256] = {};
  int32_t dx = 0, dy = 0, wheel = 0;
  int32_t x = 0, y = 0;
  uint8_t buttons[3] = {};
  HeldRelease keyHeld[256], buttonHeld[3];
  bool anyHeld = false;  // some release is held back
  SDL_Cursor* arrow = nullptr;
  Uint32 windowId = 0;  // window of the last input or window event
};
InputDriverState sState;

// Gathered motion saturates instead of wrapping.
void Gather(int32_t* sum, int32_t add) {
  int64_t v = static_cast<int64_t>(*sum) + add;
  *sum = v > INT32_MAX ? INT32_MAX : (v < INT32_MIN ? INT32_MIN : static_cast<int32_t>(v));
}

void ReleaseButtons() {
  std::memset(sState.buttons, 0, sizeof sState.buttons);
  std::fill(std::begin(sState.buttonHeld), std::end(sState.buttonHeld), HeldRelease{});
}

void Press(uint8_t* state, HeldRelease* held, bool down) {
  if (down) {
    *state = 0x80;
    *held = HeldRelease{true, false, 0};
  } else if (*state != 0 && held->unread) {
    held->due = true;
    held->since = SDL_GetTicks64();
    sState.anyHeld = true;
  } else {
    *state = 0;
    held->due = false;
  }
}

// Lets go of the held releases that have been read or waited too long.
void ApplyDueReleases() {
  if (!sState.anyHeld) return;
  const Uint64 now = SDL_GetTicks64();
  bool still = false;
  auto settle = [&](uint8_t* state, HeldRelease* held) {
    if (!held->due) return;
    if (held->unread && now - held->since < kHeldReleaseMs) {
      still = true;
      return;
    }
    *state = 0;
    held->due = false;
  };
  for (int i = 0; i < 256; ++i) settle(&sState.keys[i], &sState.keyHeld[i]);
  for (int i = 0; i < 3; ++i) settle(&sState.buttons[i], &sState.buttonHeld[i]);
  sState.anyHeld = still;
}

int ButtonIndex(Uint8 sdlButton) {
  switch (sdlButton) {
    case SDL_BUTTON_LEFT: return 0;
    case SDL_BUTTON_RIGHT: return 1;
    case SDL_BUTTON_MIDDLE: return 2;
    default: return -1;
  }
}

Uint8 SdlButton(int index) {
  switch (index) {
    case 0: return SDL_BUTTON_LEFT;
    case 1: return SDL_BUTTON_RIGHT;
    default: return SDL_BUTTON_MIDDLE;
  }
}

Uint32 WindowOf(const SDL_Event& e) {
  switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: return e.key.windowID;
    case SDL_MOUSEMOTION: return e.motion.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: return e.button.windowID;
    case SDL_MOUSEWHEEL: return e.wheel.windowID;
    case SDL_WINDOWEVENT: return e.window.windowID;
    default: return 0;
  }
}

bool Handle(const SDL_Event& e) {
  if (Uint32 id = WindowOf(e)) sState.windowId = id;
  switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      uint8_t pc = kTables.toPc[e.key.keysym.scancode < SDL_NUM_SCANCODES ? e.key.keysym.scancode
                                                                             : 0];
      if (pc != 0)
        Press(&sState.keys[pc], &sState.keyHeld[pc], e.type == SDL_KEYDOWN);
      return true;
    }
    case SDL_MOUSEMOTION:
      Gather(&sState.dx, e.motion.xrel);
      Gather(&sState.dy, e.motion.yrel);
      sState.x = e.motion.x;
      sState.y = e.motion.y;
      return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      int i = ButtonIndex(e.button.button);
      if (i >= 0)
        Press(&sState.buttons[i], &sState.buttonHeld[i], e.type == SDL_MOUSEBUTTONDOWN);
      return true;
    }
    case SDL_MOUSEWHEEL: {
      int32_t steps = e.wheel.y;
      if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) steps = -steps;
      Gather(&sState.wheel, steps);
      return true;
    }
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
        ReleaseAllKeys();
        ReleaseButtons();
      }
      return false;
    default:
      return e.type >= SDL_KEYDOWN && e.type <= SDL_MOUSEWHEEL;
  }
}

// Events the window pump takes off the queue come here.
void WindowPumpHook(const void* systemEvent) {
  if (sState.open) HandleInputEvent(systemEvent);
}

}  // namespace

// --- Event intake ---------------------------------------------------------

bool InputOpen() {
  if (sState.open) return true;
  // Key names of the layout come with the video subsystem; start it (or
  // raise its use count when the window runs it already), else only the
  // event queue. InputClose quits exactly what was started here.
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
    sState.subsystems = SDL_INIT_VIDEO;
  } else if (SDL_InitSubSystem(SDL_INIT_EVENTS) == 0) {
    sState.subsystems = SDL_INIT_EVENTS;
  } else {
    return false;
  }
  ReleaseAllKeys();
  ReleaseButtons();
  sState.dx = sState.dy = sState.wheel = 0;
  int x = 0, y = 0;
  SDL_GetMouseState(&x, &y);
  sState.x = x;
  sState.y = y;
  sState.open = true;
  AddNativeEventHook(WindowPumpHook);
  return true;
}

void InputClose() {
  if (!sState.open) return;
  if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
    SDL_SetRelativeMouseMode(SDL_FALSE);
    SDL_ShowCursor(SDL_ENABLE);
  }
  if (sState.arrow != nullptr) {
    SDL_FreeCursor(sState.arrow);
    sState.arrow = nullptr;
  }
  SDL_QuitSubSystem(sState.subsystems);
  sState.subsystems = 0;
  sState.open = false;
}

bool InputIsOpen() { return sState.open; }

void PumpInputEvents() {
  if (!sState.open) return;
  ApplyDueReleases();
  SDL_PumpEvents();
  SDL_Event events[64];
  for (;;) {
    int n = SDL_PeepEvents(events, 64, SDL_GETEVENT, SDL_KEYDOWN, SDL_MOUSEWHEEL);
    if (n <= 0) break;
    for (int i = 0; i < n; ++i) {
      Handle(events[i]);
      // The window pump never sees the keys taken here: Alt+F4 is passed on
      // as the window's close, even when it was released before this pump.
      const SDL_KeyboardEvent& k = events[i].key;
      if (events[i].type == SDL_KEYDOWN && k.keysym.sym == SDLK_F4 && (k.keysym.mod & KMOD_ALT) &&
          !k.repeat)
        PostWindowMessage(nullptr, WindowMessage::kSysClose);
    }
  }
}

bool HandleInputEvent(const void* systemEvent) {
  if (systemEvent == nullptr) return false;
  return Handle(*static_cast<const SDL_Event*>(systemEvent));
}

void PumpAllEvents() {
  if (!sState.open) return;
  ApplyDueReleases();
  SDL_Event e;
  while (SDL_PollEvent(&e) != 0) Handle(e);
}

// --- Keyboard -------------------------------------------------------------

const uint8_t* KeyboardScanState() {
  for (HeldRelease& h : sState.keyHeld) h.unread = false;
  return sState.keys;
}

void ReleaseAllKeys() {
  std::memset(sState.keys, 0, sizeof sState.keys);
  std::fill(std::begin(sState.keyHeld), std::end(sState.keyHeld), HeldRelease{});
}

uint32_t KeyLayoutCharacter(int scanCode) {
  if (scanCode < 0 || scanCode > 255) return 0;
  // The keypad operators type their sign whatever Num Lock says.
  switch (scanCode) {
    case 55: return '*';
    case 74: return '-';
    case 78: return '+';
    default: break;
  }
  SDL_Scancode sc = kTables.toSdl[scanCode];
  if (sc == SDL_SCANCODE_UNKNOWN) return 0;
  SDL_Keycode key = SDL_GetKeyFromScancode(sc);
  // Keys without a character carry the scan-code flag; 127 is Delete.
  if (key <= 0 || key >= 256 || key == 127) return 0;
  return static_cast<uint32_t>(key);
}

// --- Mouse ----------------------------------------------------------------

void TakeMouseMotion(int32_t* dx, int32_t* dy, int32_t* wheel) {
  *dx = sState.dx;
  *dy = sState.dy;
  *wheel = sState.wheel;
  sState.dx = sState.dy = sState.wheel = 0;
}

void MousePosition(int32_t* x, int32_t* y) {
  *x = sState.x;
  *y = sState.y;
}

uint8_t MouseButton(int button) {
  if (button < 0 || button > 2) return 0;
  sState.buttonHeld[button].unread = false;
  return sState.buttons[button];
}

bool SetPointerShown(bool shown) {
  if (!sState.open || SDL_WasInit(SDL_INIT_VIDEO) == 0) return shown;
  if (shown) {
    SDL_SetRelativeMouseMode(SDL_FALSE);
    if (sState.arrow == nullptr) sState.arrow = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    if (sState.arrow != nullptr) SDL_SetCursor(sState.arrow);
    SDL_ShowCursor(SDL_ENABLE);
    return true;
  }
  // Hidden, not relative: the window system's own pointer keeps moving (kept
  // inside the window by ConfinePointer) and every motion event carries the
  // change, from a mouse as from an absolute device (tablet, touch panel, a
  // virtual machine's or remote desktop's pointer), which SDL's relative mode
  // does not report.
  SDL_SetRelativeMouseMode(SDL_FALSE);
  return SDL_ShowCursor(SDL_DISABLE) >= 0;
}

void WarpPointer(int32_t x, int32_t y) {
  if (!sState.open || SDL_WasInit(SDL_INIT_VIDEO) == 0) return;
  SDL_Window* w = SDL_GetMouseFocus();
  if (w == nullptr) w = SDL_GetKeyboardFocus();
  if (w == nullptr && sState.windowId != 0) w = SDL_GetWindowFromID(sState.windowId);
  if (w == nullptr) return;
  SDL_WarpMouseInWindow(w, x, y);
  sState.x = x;
  sState.y = y;
}

// --- Synthetic events -----------------------------------------------------

void PushKeyEvent(int scanCode, bool down) {
  if (scanCode < 0 || scanCode > 255) return;
  SDL_Event e{};
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.scancode = kTables.toSdl[scanCode];
  e.key.keysym.sym = SDL_GetKeyFromScancode(e.key.keysym.scancode);
  SDL_PushEvent(&e);
}

void PushMouseMotion(int32_t x, int32_t y, int32_t dx, int32_t dy) {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.x = x;
  e.motion.y = y;
  e.motion.xrel = dx;
  e.motion.yrel = dy;
  SDL_PushEvent(&e);
}

void PushMouseButton(int button, bool down) {
  SDL_Event e{};
  e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  e.button.button = SdlButton(button);
  e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.button.clicks = 1;
  SDL_PushEvent(&e);
}

void PushMouseWheel(int32_t steps) {
  SDL_Event e{};
  e.type = SDL_MOUSEWHEEL;
  e.wheel.y = steps;
  e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
  SDL_PushEvent(&e);
}

void PushFocusLost() {
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
  SDL_PushEvent(&e);
}

// --- Joysticks ------------------------------------------------------------

JoystickReading NeutralJoystickReading() {
  JoystickReading r{};
  for (uint32_t& p : r.pov) p = kPovCentred;
  return r;
}

int32_t AxisFromDevice(int16_t value) {
  if (value <= 0) return value;
  return static_cast<int32_t>((static_cast<int64_t>(value) * 32768 + 16383) / 32767);
}

uint32_t PovFromHat(uint8_t hatBits) {
  static_assert(SDL_HAT_UP == 1 && SDL_HAT_RIGHT == 2 && SDL_HAT_DOWN == 4 && SDL_HAT_LEFT == 8,
                "hat bits");
  switch (hatBits) {
    case SDL_HAT_UP: return 0;
    case SDL_HAT_RIGHTUP: return 4500;
    case SDL_HAT_RIGHT: return 9000;
    case SDL_HAT_RIGHTDOWN: return 13500;
    case SDL_HAT_DOWN: return 18000;
    case SDL_HAT_LEFTDOWN: return 22500;
    case SDL_HAT_LEFT: return 27000;
    case SDL_HAT_LEFTUP: return 31500;
    default: return kPovCentred;  // centred or an impossible combination
  }
}

namespace {

constexpr int kMaxSdlJoysticks = 16;

class SdlJoysticks final : public JoystickBackend {
 public:
  int Open(int maxCount) override {
    Close();
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return 0;
    started_ = true;
    // Sticks are read on demand; their events would only fill the queue.
    SDL_JoystickEventState(SDL_IGNORE);
    if (maxCount > kMaxSdlJoysticks) maxCount = kMaxSdlJoysticks;
    int n = SDL_NumJoysticks();
    for (int i = 0; i < n && count_ < maxCount; ++i) {
      SDL_Joystick* j = SDL_JoystickOpen(i);
      if (j != nullptr) sticks_[count_++] = j;
    }
    return count_;
  }
  void Close() override {
    for (int i = 0; i < count_; ++i) {
      SDL_JoystickClose(sticks_[i]);
      sticks_[i] = nullptr;
    }
    count_ = 0;
    if (started_) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    started_ = false;
  }
  int Count() override { return count_; }
  std::string InstanceName(int index) override { return NameOf(index); }
  std::string ProductName(int index) override { return NameOf(index); }
  bool Read(int index, JoystickReading* out) override {
    SDL_Joystick* j = Handle(index);
    if (j == nullptr) return false;
    SDL_JoystickUpdate();
    if (SDL_JoystickGetAttached(j) != SDL_TRUE) return false;
    *out = NeutralJoystickReading();
    int32_t* axes[8] = {&out->lX,  &out->lY,  &out->lZ,         &out->lRx,
                        &out->lRy, &out->lRz, &out->sliders[0], &out->sliders[1]};
    int na = SDL_JoystickNumAxes(j);
    for (int a = 0; a < na && a < 8; ++a) *axes[a] = AxisFromDevice(SDL_JoystickGetAxis(j, a));
    int nh = SDL_JoystickNumHats(j);
    for (int h = 0; h < nh && h < 4; ++h) out->pov[h] = PovFromHat(SDL_JoystickGetHat(j, h));
    int nb = SDL_JoystickNumButtons(j);
    for (int b = 0; b < nb && b < 32; ++b) {
      out->buttons[b] = SDL_JoystickGetButton(j, b) != 0 ? 0x80 : 0;
    }
    return true;
  }
  SDL_Joystick* Handle(int index) const {
    return index >= 0 && index < count_ ? sticks_[index] : nullptr;
  }

 private:
  std::string NameOf(int index) const {
    SDL_Joystick* j = Handle(index);
    const char* name = j != nullptr ? SDL_JoystickName(j) : nullptr;
    return name != nullptr ? name : "";
  }
  SDL_Joystick* sticks_[kMaxSdlJoysticks] = {};
  int count_ = 0;
  bool started_ = false;
};

SdlJoysticks sSdlJoysticks;
JoystickBackend* sJoysticks = nullptr;

class SdlHaptics final : public HapticBackend {
 public:
  bool HasForceFeedback(int joystick) override {
    SDL_Haptic* h = Device(joystick);
    return h != nullptr && (SDL_HapticQuery(h) & SDL_HAPTIC_CONSTANT) != 0;
  }
  void Reset(int joystick) override {
    SDL_Haptic* h = Device(joystick);
    if (h != nullptr) SDL_HapticStopAll(h);
  }
  int CreateConstantForce(int joystick, const ConstantForce& effect) override {
    SDL_Haptic* h = Device(joystick);
    if (h == nullptr) return -1;
    if ((SDL_HapticQuery(h) & SDL_HAPTIC_GAIN) != 0) {
      SDL_HapticSetGain(h, static_cast<int>(effect.gain / 100));
    }
    SDL_HapticEffect e{};
    e.type = SDL_HAPTIC_CONSTANT;
    e.constant.direction.type = SDL_HAPTIC_CARTESIAN;
    e.constant.direction.dir[0] = effect.direction[0];
    e.constant.direction.dir[1] = effect.direction[1];
    uint32_t ms = effect.durationUs / 1000;
    e.constant.length = ms;
    int32_t level = effect.magnitude * 32767 / 10000;
    e.constant.level = static_cast<Sint16>(level > 32767 ? 32767 : level);
    return SDL_HapticNewEffect(h, &e);
  }
  bool Start(int joystick, int effect, uint32_t iterations) override {
    SDL_Haptic* h = Device(joystick);
    return h != nullptr && SDL_HapticRunEffect(h, effect, iterations) == 0;
  }
  void Destroy(int joystick, int effect) override {
    SDL_Haptic* h = Device(joystick);
    if (h != nullptr && effect >= 0) SDL_HapticDestroyEffect(h, effect);
  }
  void Close() override {
    for (SDL_Haptic*& h : devices_) {
      if (h != nullptr) SDL_HapticClose(h);
      h = nullptr;
    }
    for (SDL_Joystick*& j : owners_) j = nullptr;
    if (started_) SDL_QuitSubSystem(SDL_INIT_HAPTIC);
    started_ = false;
  }

 private:
  // The haptic device of an SDL joystick, opened on first use.
  SDL_Haptic* Device(int joystick) {
    if (Joysticks() != &sSdlJoysticks) return nullptr;
    SDL_Joystick* j = sSdlJoysticks.Handle(joystick);
    if (j == nullptr || joystick >= kMaxSdlJoysticks) return nullptr;
    if (owners_[joystick] == j) return devices_[joystick];
    if (devices_[joystick] != nullptr) SDL_HapticClose(devices_[joystick]);
    devices_[joystick] = nullptr;
    owners_[joystick] = j;
    if (!started_) {
      if (SDL_InitSubSystem(SDL_INIT_HAPTIC) != 0) return nullptr;
      started_ = true;
    }
    if (SDL_JoystickIsHaptic(j) == 1) devices_[joystick] = SDL_HapticOpenFromJoystick(j);
    return devices_[joystick];
  }
  SDL_Haptic* devices_[kMaxSdlJoysticks] = {};
  SDL_Joystick* owners_[kMaxSdlJoysticks] = {};
  bool started_ = false;
};

SdlHaptics sSdlHaptics;
HapticBackend* sHaptics = nullptr;

}  // namespace

JoystickBackend* Joysticks() { return sJoysticks != nullptr ? sJoysticks : &sSdlJoysticks; }
HapticBackend* Haptics() { return sHaptics != nullptr ? sHaptics : &sSdlHaptics; }
void SetJoystickBackend(JoystickBackend* backend) { sJoysticks = backend; }
void SetHapticBackend(HapticBackend* backend) { sHaptics = backend; }

}  // namespace platform
