#include "input_fixture.h"

#include <string>

namespace {

FakeStick Stick(const std::string& name) {
  FakeStick s;
  s.instance = name;
  s.product = name + " product";
  return s;
}

}  // namespace

TEST_F(InputTest, AtMostTenJoysticksWithJoinedNames) {
  for (int i = 0; i < 12; ++i) sticks.sticks.push_back(Stick("Pad " + std::to_string(i)));
  sticks.sticks[3].instance = std::string(600, 'x');
  Open();
  EXPECT_EQ(JoystickCountCmd(), 10);
  EXPECT_STREQ(JoystickNameCmd(0).c_str(), "Pad 0, Pad 0 product");
  EXPECT_STREQ(JoystickNameCmd(9.7).c_str(), "Pad 9, Pad 9 product");
  EXPECT_EQ(JoystickNameCmd(3).size(), static_cast<uint32_t>(kJoystickNameSize - 1));
  EXPECT_STREQ(JoystickNameCmd(10).c_str(), "");
  EXPECT_STREQ(JoystickNameCmd(-1).c_str(), "");
}

TEST_F(InputTest, AxesAreScaledAndLimited) {
  sticks.sticks.push_back(Stick("Pad"));
  platform::JoystickReading& r = sticks.sticks[0].reading;
  r.lX = 32768;
  r.lY = -32768;
  r.lZ = 16384;
  r.lRx = -32767;
  r.lRy = 0;
  r.lRz = 32767;
  Open();
  EXPECT_EQ(JoystickXCmd(0), 1.0);
  EXPECT_EQ(JoystickYCmd(0), -1.0);
  EXPECT_NEAR(JoystickZCmd(0), 0.5, 1e-4);
  EXPECT_EQ(JoystickRxCmd(0), -1.0);
  EXPECT_EQ(JoystickRyCmd(0), 0.0);
  EXPECT_EQ(JoystickRzCmd(0), 1.0);
  EXPECT_EQ(JoystickXCmd(256), 1.0);  // the number is taken as 8 bits
}

TEST_F(InputTest, JoystickStateNeedsMoreThan30000) {
  sticks.sticks.push_back(Stick("Pad"));
  Open();
  struct Case {
    int32_t axis;
    double expected;
  } cases[] = {{29999, 0}, {30000, 1}, {32768, 1}, {-29999, 0}, {-30000, -1}, {0, 0}};
  for (const Case& c : cases) {
    sticks.sticks[0].reading.lX = c.axis;
    sticks.sticks[0].reading.lY = -c.axis;
    double x = 9, y = 9, b1 = 9, b2 = 9;
    JoystickStateCmd(x, y, b1, b2);
    EXPECT_EQ(x, c.expected) << c.axis;
    EXPECT_EQ(y, -c.expected + 0.0) << c.axis;
    EXPECT_EQ(b1, 0);
    EXPECT_EQ(b2, 0);
  }
  sticks.sticks[0].reading.buttons[1] = 0x80;
  double x, y, b1, b2;
  JoystickStateCmd(x, y, b1, b2);
  EXPECT_EQ(b1, 0);
  EXPECT_EQ(b2, 128);
}

TEST_F(InputTest, PovDirections) {
  sticks.sticks.push_back(Stick("Pad"));
  Open();
  struct Case {
    uint32_t pov;
    double x, y;
  } cases[] = {{0, 0, -1},     {9000, 1, 0},  {18000, 0, 1}, {27000, -1, 0},
               {4500, 0, 0},   {31500, 0, 0}, {platform::kPovCentred, 0, 0}};
  for (const Case& c : cases) {
    sticks.sticks[0].reading.pov[0] = c.pov;
    EXPECT_EQ(JoystickPovXCmd(0), c.x) << c.pov;
    EXPECT_EQ(JoystickPovYCmd(0), c.y) << c.pov;
  }
}

TEST_F(InputTest, MissingOrFailingJoystickReadsCentred) {
  sticks.sticks.push_back(Stick("Pad"));
  sticks.sticks[0].reading.pov[0] = 0;  // pushed up
  sticks.sticks[0].reading.lX = 32768;
  sticks.sticks[0].readable = false;    // pulled out
  Open();
  EXPECT_EQ(JoystickPovYCmd(0), 0.0);
  EXPECT_EQ(JoystickXCmd(0), 0.0);
  for (double n : {1.0, 2.0, 9.0, -1.0, 100.0}) {
    EXPECT_EQ(JoystickPovYCmd(n), 0.0) << n;
    EXPECT_EQ(JoystickPovXCmd(n), 0.0) << n;
    EXPECT_EQ(JoystickButtonCmd(n, 0), 0.0) << n;
  }
  platform::JoystickReading r{};
  EXPECT_TRUE(ReadJoystick(gInput, &r, 1));
  EXPECT_EQ(r.pov[0], platform::kPovCentred);
  r.lX = 77;
  EXPECT_FALSE(ReadJoystick(gInput, &r, 2));
  EXPECT_EQ(r.lX, 77);  // nothing written
}

TEST_F(InputTest, ButtonsGiveTheirRawByte) {
  sticks.sticks.push_back(Stick("Pad"));
  sticks.sticks[0].reading.buttons[0] = 0x80;
  sticks.sticks[0].reading.buttons[31] = 0x80;
  Open();
  EXPECT_EQ(JoystickButtonCmd(0, 0), 128);
  EXPECT_EQ(JoystickButtonCmd(0, 1), 0);
  EXPECT_EQ(JoystickButtonCmd(0, 31.9), 128);
  int before = sticks.reads;
  EXPECT_EQ(JoystickButtonCmd(0, 32), 0);
  EXPECT_EQ(JoystickButtonCmd(0, -1), 0);
  EXPECT_EQ(sticks.reads, before);  // answered without reading
}

TEST_F(InputTest, NoJoysticksWithTheSystemBackend) {
  platform::SetJoystickBackend(nullptr);
  platform::SetHapticBackend(nullptr);
  setenv("SDL_JOYSTICK_DISABLE_UDEV", "1", 1);
  Open();
  EXPECT_GE(JoystickCountCmd(), 0);
  EXPECT_LE(JoystickCountCmd(), 10);
  EXPECT_EQ(JoystickPovYCmd(9), 0.0);
  ForceFeedbackCmd(9, 100, 1, 1);  // no device: nothing happens
}

TEST(JoystickConversion, DeviceAxesReachTheFullRange) {
  struct Case {
    int16_t device;
    int32_t reading;
  } cases[] = {{-32768, -32768}, {-1, -1}, {0, 0}, {1, 1}, {16384, 16385}, {32767, 32768}};
  for (const Case& c : cases) EXPECT_EQ(platform::AxisFromDevice(c.device), c.reading) << c.device;
}

TEST(JoystickConversion, HatsBecomePovHundredthsOfADegree) {
  struct Case {
    uint8_t hat;
    uint32_t pov;
  } cases[] = {{0, platform::kPovCentred}, {1, 0},      {3, 4500},  {2, 9000},
               {6, 13500},               {4, 18000},  {12, 22500}, {8, 27000},
               {9, 31500},               {5, platform::kPovCentred}, {15, platform::kPovCentred}};
  for (const Case& c : cases) EXPECT_EQ(platform::PovFromHat(c.hat), c.pov) << int(c.hat);
}
