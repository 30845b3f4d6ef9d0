#include "input_fixture.h"

#include <chrono>
#include <thread>

namespace {

void Move(int dx, int dy) { platform::PushMouseMotion(0, 0, dx, dy); }

struct Mouse {
  double x, y, b1, b2;
};

Mouse ReadState() {
  Mouse m{};
  MouseState(m.x, m.y, m.b1, m.b2);
  return m;
}

}  // namespace

TEST_F(InputTest, HiddenPointerIsAVirtualPointerClampedToTheScreen) {
  Open(true);
  ASSERT_EQ(gInput->pointerShown, 0);
  SetMousePosition(600, 100);
  NextFrame();
  Move(100, -150);
  Mouse m = ReadState();
  EXPECT_EQ(m.x, 639);
  EXPECT_EQ(m.y, 0);
  NextFrame();
  Move(-10, 20);  // leftward movement starts from the edge
  m = ReadState();
  EXPECT_EQ(m.x, 629);
  EXPECT_EQ(m.y, 20);
  NextFrame();
  Move(-1000, 1000);
  m = ReadState();
  EXPECT_EQ(m.x, 0);
  EXPECT_EQ(m.y, 479);
}

TEST_F(InputTest, DeltasAreSampledOncePerFrame) {
  Open(true);
  SetMousePosition(100, 100);
  NextFrame();
  Move(5, -3);
  EXPECT_EQ(MouseAxisCmd(0), 5);
  EXPECT_EQ(MouseAxisCmd(1), -3);
  Move(7, 7);  // same frame: the sample stays, the position moved once
  EXPECT_EQ(MouseAxisCmd(0), 5);
  EXPECT_EQ(gInput->mouseX, 105);
  EXPECT_EQ(gInput->mouseY, 97);
  NextFrame();  // the later motion is not lost
  EXPECT_EQ(MouseAxisCmd(0), 7);
  EXPECT_EQ(gInput->mouseX, 112);
  NextFrame();
  EXPECT_EQ(MouseAxisCmd(0), 0);
}

TEST_F(InputTest, ShownPointerUsesTheAbsolutePosition) {
  Open(false);
  ASSERT_EQ(gInput->pointerShown, 1);
  NextFrame();
  platform::PushMouseMotion(300, 200, 3, 2);
  Mouse m = ReadState();
  EXPECT_EQ(m.x, 300);
  EXPECT_EQ(m.y, 200);
  NextFrame();
  platform::PushMouseMotion(310, 190, 10, -10);
  EXPECT_EQ(MouseAxisCmd(0), 10);  // difference to the previous position
  EXPECT_EQ(MouseAxisCmd(1), -10);
  NextFrame();
  platform::PushMouseMotion(900, -5, 590, -195);
  m = ReadState();
  EXPECT_EQ(m.x, 639);
  EXPECT_EQ(m.y, 0);
}

TEST_F(InputTest, SystemPointerSwitchesBetweenModes) {
  Open(true);
  SetMousePosition(50, 60);
  SetSystemPointer(1);
  EXPECT_EQ(gInput->pointerShown, 1);
  EXPECT_EQ(gInput->mouseCoopLevel, kMouseShared);
  NextFrame();
  platform::PushMouseMotion(400, 300, 1, 1);
  Mouse m = ReadState();
  EXPECT_EQ(m.x, 400);
  EXPECT_EQ(m.y, 300);
  SetSystemPointer(0);
  EXPECT_EQ(gInput->pointerShown, 0);
  EXPECT_EQ(gInput->mouseCoopLevel, kMouseCaptured);
  NextFrame();
  Move(-20, 4);  // relative again, from where the pointer stood
  m = ReadState();
  EXPECT_EQ(m.x, 380);
  EXPECT_EQ(m.y, 304);
  SetSystemPointer(0.0);  // unchanged: nothing happens
  EXPECT_EQ(gInput->pointerShown, 0);
}

TEST_F(InputTest, WheelGivesItsDirectionOncePerFrame) {
  Open(true);
  NextFrame();
  platform::PushMouseWheel(3);
  EXPECT_EQ(MouseAxisCmd(2), 1);
  EXPECT_EQ(MouseAxisCmd(2), 1);  // same frame, same sample
  NextFrame();
  EXPECT_EQ(MouseAxisCmd(2), 0);
  NextFrame();
  platform::PushMouseWheel(-1);
  EXPECT_EQ(MouseAxisCmd(2), -1);
}

TEST_F(InputTest, ButtonsAreLiveWithinAFrame) {
  Open(true);
  platform::PushMouseButton(0, true);
  Mouse m = ReadState();
  EXPECT_EQ(m.b1, 1);
  EXPECT_EQ(m.b2, 0);
  EXPECT_TRUE(AnyMouseButtonDown(gInput));
  platform::PushMouseButton(1, true);
  platform::PushMouseButton(0, false);
  m = ReadState();  // no new frame: buttons still follow
  EXPECT_EQ(m.b1, 0);
  EXPECT_EQ(m.b2, 1);
  platform::PushMouseButton(1, false);
  platform::PushMouseButton(2, true);
  EXPECT_EQ(MouseAxisCmd(5), 1);
  EXPECT_EQ(MouseAxisCmd(4), 0);
  EXPECT_EQ(MouseAxisCmd(9), 0);
  platform::PushMouseButton(2, false);
  // A release wait: AnyMouseButtonDown must see the release by itself.
  int polls = 0;
  while (AnyMouseButtonDown(gInput) && polls < 10) ++polls;
  EXPECT_EQ(polls, 0);
}

TEST_F(InputTest, StartValuesAndCapturedPointer) {
  NewInputState();
  EXPECT_EQ(gInput->mouseX, 100);
  EXPECT_EQ(gInput->mouseY, 100);
  EXPECT_EQ(gInput->reread, 1);
  EXPECT_EQ(gInput->joystickCount, 0);
  EXPECT_EQ(InputInit(gInput, nullptr, nullptr, true), kInputOk);
  EXPECT_EQ(ErrorLogText(), "");  // nothing failed, nothing logged
  EXPECT_EQ(gInput->pointerShown, 0);
  EXPECT_EQ(gInput->mouseCoopLevel, kMouseCaptured);
  platform::PushMouseMotion(0, 0, 4, 4);
  EXPECT_EQ(MouseAxisCmd(0), 4);  // deltas still arrive
}

#include "core/project_settings.h"

TEST_F(InputTest, PointerClampsToTheSettingsScreenWithoutARenderer) {
  SetInputScreenSizeQuery(nullptr);
  ProjectSettings saved = gProjectSettings;
  gProjectSettings.screenWidth = 320;
  gProjectSettings.screenHeight = 240;
  Open(true);
  SetMousePosition(1000, 1000);
  Mouse m = ReadState();
  EXPECT_EQ(m.x, 319);
  EXPECT_EQ(m.y, 239);
  gProjectSettings = saved;
}

TEST_F(InputTest, AClickBetweenTwoReadsIsSeenOnce) {
  Open(true);
  // Pressed and released before any read: down for one read, then up.
  platform::PushMouseButton(0, true);
  platform::PushMouseButton(0, false);
  EXPECT_EQ(ReadState().b1, 1);
  EXPECT_EQ(ReadState().b1, 0);
  // Quick clicks of the other two buttons in one pump.
  platform::PushMouseButton(1, true);
  platform::PushMouseButton(1, false);
  platform::PushMouseButton(2, true);
  platform::PushMouseButton(2, false);
  MouseReading r{};
  ASSERT_TRUE(ReadMouse(gInput, &r));
  EXPECT_EQ(r.right, 0x80);
  EXPECT_EQ(r.middle, 0x80);
  ASSERT_TRUE(ReadMouse(gInput, &r));
  EXPECT_EQ(r.right, 0);
  EXPECT_EQ(r.middle, 0);
  // Released, pressed again and held before the read: stays down.
  platform::PushMouseButton(0, true);
  EXPECT_EQ(ReadState().b1, 1);
  platform::PushMouseButton(0, false);
  platform::PushMouseButton(0, true);
  EXPECT_EQ(ReadState().b1, 1);
  EXPECT_EQ(ReadState().b1, 1);
  platform::PushMouseButton(0, false);
  EXPECT_EQ(ReadState().b1, 0);
}

TEST_F(InputTest, AnUnreadClickIsLetGoAfterHalfASecond) {
  Open(true);
  platform::PushMouseButton(0, true);
  platform::PushMouseButton(0, false);
  platform::PumpAllEvents();
  std::this_thread::sleep_for(std::chrono::milliseconds(600));
  EXPECT_EQ(ReadState().b1, 0);
}
