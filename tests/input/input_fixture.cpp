#include "input_fixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace {
void Screen640x480(int32_t* w, int32_t* h) {
  *w = 640;
  *h = 480;
}
}  // namespace

void InputTest::SetUp() {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  // The error log of these tests goes to a folder of their own.
  std::random_device rd;
  tempDir = std::filesystem::temp_directory_path() /
            ("orvale-input-" + std::to_string(rd()) + std::to_string(rd()));
  std::filesystem::create_directories(tempDir);
  setenv("TMPDIR", tempDir.c_str(), 1);
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
  std::error_code ec;
  std::filesystem::remove_all(tempDir, ec);
}

std::string InputTest::ErrorLogText() const {
  std::ifstream in(tempDir / "ErrorLog.txt", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}
