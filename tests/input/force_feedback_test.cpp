#include "input_fixture.h"

TEST_F(InputTest, ForceFeedbackEffectParameters) {
  FakeStick s;
  s.instance = s.product = "Wheel";
  s.forceFeedback = true;
  sticks.sticks.push_back(s);
  Open();
  ForceFeedbackCmd(0, 250, 0.5, -2.0);  // y is limited to -1
  ASSERT_EQ(haptics.calls.size(), 3u);
  EXPECT_EQ(haptics.calls[0].what, "reset");
  const HapticCall& create = haptics.calls[1];
  EXPECT_EQ(create.what, "create");
  EXPECT_EQ(create.joystick, 0);
  EXPECT_EQ(create.force.durationUs, 250000u);
  EXPECT_EQ(create.force.gain, 10000u);
  EXPECT_EQ(create.force.direction[0], 16383);
  EXPECT_EQ(create.force.direction[1], -32767);
  EXPECT_EQ(create.force.magnitude, 6250);  // (0.25 + 1) * 5000
  EXPECT_EQ(haptics.calls[2].what, "start");
  EXPECT_EQ(haptics.calls[2].effect, create.effect);
  EXPECT_EQ(haptics.calls[2].iterations, 1u);
}

TEST_F(InputTest, ForceFeedbackReleasesThePreviousEffect) {
  FakeStick s;
  s.forceFeedback = true;
  sticks.sticks.push_back(s);
  Open();
  ForceFeedbackCmd(0, 100, 1, 0);
  ForceFeedbackCmd(0, 100, 0, 1);
  ForceFeedbackCmd(0, 100, 0, 0);
  EXPECT_EQ(haptics.live.size(), 1u);  // only the newest effect is held
  const HapticCall* lastCreate = nullptr;
  int destroys = 0;
  for (const HapticCall& c : haptics.calls) {
    if (c.what == "destroy") {
      ++destroys;
      ASSERT_NE(lastCreate, nullptr);
      EXPECT_EQ(c.effect, lastCreate->effect);  // the one made before
    }
    if (c.what == "create") lastCreate = &c;
  }
  EXPECT_EQ(destroys, 2);
  EXPECT_EQ(lastCreate->force.magnitude, 0);
  ReleaseInput();
  EXPECT_TRUE(haptics.live.empty());
  EXPECT_TRUE(haptics.closed);
}

TEST_F(InputTest, ForceFeedbackOnlyOnCapableDevices) {
  FakeStick plain;
  sticks.sticks.push_back(plain);
  Open();
  ForceFeedbackCmd(0, 100, 1, 1);
  ForceFeedbackCmd(1, 100, 1, 1);   // no such joystick
  ForceFeedbackCmd(-1, 100, 1, 1);
  EXPECT_TRUE(haptics.calls.empty());
}

TEST_F(InputTest, ForceFeedbackOddDurations) {
  FakeStick s;
  s.forceFeedback = true;
  sticks.sticks.push_back(s);
  Open();
  struct Case {
    double ms;
    uint32_t us;
  } cases[] = {{-5, 0}, {0.0015, 1}, {1e12, 0xFFFFFFFFu}};
  for (const Case& c : cases) {
    haptics.calls.clear();
    ForceFeedbackCmd(0, c.ms, 0.0, 0.0);
    const HapticCall* create = nullptr;
    for (const HapticCall& call : haptics.calls)
      if (call.what == "create") create = &call;
    ASSERT_NE(create, nullptr);
    EXPECT_EQ(create->force.durationUs, c.us) << c.ms;
  }
}

TEST_F(InputTest, RepeatedStartDropsEffectsAndReopensSticks) {
  FakeStick s;
  s.instance = s.product = "Wheel";
  s.forceFeedback = true;
  sticks.sticks.push_back(s);
  Open();
  ForceFeedbackCmd(0, 100, 1, 0);
  ASSERT_EQ(haptics.live.size(), 1u);
  sticks.sticks.clear();  // the wheel was unplugged
  InputInit(gInput, nullptr, nullptr, false);
  EXPECT_TRUE(haptics.live.empty());
  EXPECT_EQ(JoystickCountCmd(), 0);
  EXPECT_STREQ(JoystickNameCmd(0).c_str(), "");
  EXPECT_EQ(gInput->pointerShown, 1);
  EXPECT_EQ(gInput->mouseCoopLevel, kMouseShared);
}
