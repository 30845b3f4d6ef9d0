// Shared set-up of the input tests: SDL's dummy video driver for injected
// events, fake joystick and haptic backends, a fresh gInput per test.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "input_audio/input_commands.h"
#include "input_audio/input_state.h"
#include "platform/input.h"

struct FakeStick {
  std::string instance;
  std::string product;
  platform::JoystickReading reading = platform::NeutralJoystickReading();
  bool readable = true;
  bool forceFeedback = false;
};

class FakeJoysticks : public platform::JoystickBackend {
 public:
  std::vector<FakeStick> sticks;
  int opened = 0;
  int reads = 0;

  int Open(int maxCount) override {
    opened = static_cast<int>(sticks.size()) < maxCount ? static_cast<int>(sticks.size()) : maxCount;
    return opened;
  }
  void Close() override { opened = 0; }
  int Count() override { return opened; }
  std::string InstanceName(int i) override { return sticks.at(i).instance; }
  std::string ProductName(int i) override { return sticks.at(i).product; }
  bool Read(int i, platform::JoystickReading* out) override {
    ++reads;
    if (i < 0 || i >= opened || !sticks[i].readable) return false;
    *out = sticks[i].reading;
    return true;
  }
};

struct HapticCall {
  std::string what;  // "reset", "create", "start", "destroy"
  int joystick;
  int effect;
  platform::ConstantForce force;
  uint32_t iterations;
};

class FakeHaptics : public platform::HapticBackend {
 public:
  explicit FakeHaptics(FakeJoysticks* sticks) : sticks_(sticks) {}
  std::vector<HapticCall> calls;
  std::vector<int> live;  // effects created and not destroyed
  int nextId = 7;
  bool closed = false;

  bool HasForceFeedback(int j) override {
    return j >= 0 && j < static_cast<int>(sticks_->sticks.size()) && sticks_->sticks[j].forceFeedback;
  }
  void Reset(int j) override { calls.push_back({"reset", j, -1, {}, 0}); }
  int CreateConstantForce(int j, const platform::ConstantForce& f) override {
    int id = nextId++;
    calls.push_back({"create", j, id, f, 0});
    live.push_back(id);
    return id;
  }
  bool Start(int j, int effect, uint32_t iterations) override {
    calls.push_back({"start", j, effect, {}, iterations});
    return true;
  }
  void Destroy(int j, int effect) override {
    calls.push_back({"destroy", j, effect, {}, 0});
    std::erase(live, effect);
  }
  void Close() override { closed = true; }

 private:
  FakeJoysticks* sticks_;
};

class InputTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Starts input; the joystick list must be filled before.
  void Open(bool hidePointer = true);
  // A new frame: the next mouse read samples fresh deltas.
  void NextFrame() { gInput->reread = 1; }

  std::string ErrorLogText() const;

  std::filesystem::path tempDir;
  FakeJoysticks sticks;
  FakeHaptics haptics{&sticks};
};
