#include "input_fixture.h"

#include <cstdlib>

namespace {
void Screen640x480(int32_t* w, int32_t* h) {
  *w = 640;
  *h = 480;
}
}  // namespace

void InputTest::SetUp() {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  platform::SetJoystickBackend(&sticks);
  platform::SetHapticBackend(&haptics);
  SetInputScreenSizeQuery(Screen640x480);
}

void InputTest::Open(bool hidePointer) {
  ASSERT_NE(NewInputState(), nullptr);
  InputInit(gInput, nullptr, nullptr, hidePointer);
  ASSERT_EQ(gInput->inputOpen, 1);
  platform::ReleaseAllKeys();
  ReadKeyChar(gInput);  // forget the character of an earlier test
}

void InputTest::TearDown() {
  ReleaseInput();
  platform::SetJoystickBackend(nullptr);
  platform::SetHapticBackend(nullptr);
  SetInputScreenSizeQuery(nullptr);
}
