// The runtime started once per test program on its own X screen, a fake
// joystick, a scripted input hook and helpers to build sprites and read
// the back buffer.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "frame/renderer.h"
#include "platform/input.h"

namespace periphery {

class FakeJoystick : public platform::JoystickBackend {
 public:
  platform::JoystickReading reading = platform::NeutralJoystickReading();
  int Open(int maxCount) override { return opened = maxCount > 0 ? 1 : 0; }
  void Close() override { opened = 0; }
  int Count() override { return opened; }
  std::string InstanceName(int) override { return "fake"; }
  std::string ProductName(int) override { return "fake stick"; }
  bool Read(int i, platform::JoystickReading* out) override {
    if (i != 0 || !opened) return false;
    *out = reading;
    return true;
  }
  int opened = 0;
};
extern FakeJoystick gStick;

// Steps run one per polling pass (or frame) of a wait, through the wait
// hook; passes beyond the script run nothing. Passes are counted.
struct InputScript {
  std::vector<std::function<void()>> steps;
  int passes = 0;
};
void RunScript(InputScript* script);  // installs it; null removes it

// Key and button changes as a device delivers them.
inline void Key(int scan, bool down) { platform::PushKeyEvent(scan, down); }
inline void Button(int button, bool down) { platform::PushMouseButton(button, down); }
// Releases every key and button and lets the input layer see it.
void ReleaseEverything();

class Periphery : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  OpenGLLumenar* r = nullptr;
};

constexpr uint32_t Rgb(int red, int green, int blue) {
  return uint32_t(red) | uint32_t(green) << 8 | uint32_t(blue) << 16;
}

// Slot holds a w x h picture whose pixel (x, y) (top-left origin) has
// colour rgb(x, y) and alpha alpha(x, y); sampled without filtering.
void MakeSprite(OpenGLLumenar* r, int slot, int w, int h,
                const std::function<uint32_t(int, int)>& rgb,
                const std::function<uint8_t(int, int)>& alpha);

// Colour number of back-buffer pixel (x, y), top-left origin.
uint32_t Pixel(int x, int y);
// The whole back buffer, RGBA rows bottom-up.
std::vector<uint8_t> ReadScreen();
// Writes RGBA rows bottom-up straight into the back buffer.
void WriteScreen(const std::vector<uint8_t>& rgba);

}  // namespace periphery
