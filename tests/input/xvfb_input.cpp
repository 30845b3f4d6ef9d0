// The input layer on a real X display (run under Xvfb): pointer capture,
// the window pump's hand-over of input events and pointer warping.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>

#include "input_audio/input_commands.h"
#include "input_audio/input_state.h"
#include "platform/input.h"
#include "platform/system.h"
#include "platform/window.h"

namespace {

void Drain() {
  platform::WindowMessage m;
  while (platform::PeekMessage(nullptr, &m)) {
  }
}

}  // namespace

TEST(InputOnDisplay, CapturedAndSharedPointerOnAWindow) {
  std::string why;
  ASSERT_TRUE(platform::VideoInit(&why)) << why;
  platform::Window* w = platform::CreateGlWindow("input", 640, 480, 0);
  ASSERT_NE(w, nullptr);
  platform::ShowWindow(w);
  platform::RaiseWindow(w);
  for (int i = 0; i < 10; ++i) {
    Drain();
    platform::SleepMs(10);
  }

  NewInputState();
  EXPECT_EQ(InputInit(gInput, w, nullptr, true), kInputOk);  // the display can capture
  EXPECT_EQ(gInput->pointerShown, 0);

  platform::PushKeyEvent(28, true);
  Drain();  // the window pump takes the key and hands it over
  EXPECT_EQ(KeyState(28), 1.0);
  platform::PushKeyEvent(28, false);
  EXPECT_EQ(KeyState(28), 0.0);

  SetMousePosition(320, 240);
  SetSystemPointer(1);
  EXPECT_EQ(gInput->pointerShown, 1);
  double x = 0, y = 0, b1 = 0, b2 = 0;
  for (int i = 0; i < 10; ++i) {  // the warp's own motion arrives
    gInput->reread = 1;
    MouseState(x, y, b1, b2);
    platform::SleepMs(10);
  }
  EXPECT_EQ(x, 320);  // the system pointer stands where the virtual one was
  EXPECT_EQ(y, 240);
  gInput->reread = 1;
  platform::PushMouseMotion(123, 45, 1, 1);
  MouseState(x, y, b1, b2);
  EXPECT_EQ(x, 123);
  EXPECT_EQ(y, 45);
  SetSystemPointer(0);
  EXPECT_EQ(gInput->pointerShown, 0);

  ReleaseInput();
  platform::DestroyWindow(w);
  // The video system stays up to the end of the process, as in the
  // runtime: quitting SDL's X11 video leaves driver allocations behind.
}

// With the system pointer hidden the in-game pointer follows absolute
// pointing devices (here the X server's test pointer, moved to a place) as
// well as relative motion.
TEST(InputOnDisplay, HiddenPointerFollowsAbsoluteAndRelativeDevices) {
  std::string why;
  ASSERT_TRUE(platform::VideoInit(&why)) << why;
  platform::Window* w = platform::CreateGlWindow("absolute", 640, 480, 0);
  ASSERT_NE(w, nullptr);
  platform::ShowWindow(w);
  platform::RaiseWindow(w);
  NewInputState();
  ASSERT_EQ(InputInit(gInput, w, nullptr, true), kInputOk);
  auto settle = [] {
    for (int i = 0; i < 20; ++i) {
      Drain();
      platform::SleepMs(10);
    }
  };
  auto pointer = [] {
    double x = 0, y = 0, b1 = 0, b2 = 0;
    gInput->reread = 1;
    MouseState(x, y, b1, b2);
    return std::make_pair(x, y);
  };
  settle();
  ASSERT_EQ(std::system("xdotool mousemove 100 100"), 0);
  settle();
  const auto start = pointer();
  ASSERT_EQ(std::system("xdotool mousemove 250 180"), 0);
  settle();
  EXPECT_EQ(pointer(), std::make_pair(start.first + 150, start.second + 80));
  ASSERT_EQ(std::system("xdotool mousemove_relative -- -30 20"), 0);
  settle();
  EXPECT_EQ(pointer(), std::make_pair(start.first + 120, start.second + 100));
  ReleaseInput();
  platform::DestroyWindow(w);
}
