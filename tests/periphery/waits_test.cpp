// Waits and line input driven by input injected at each polling pass.
#include <gtest/gtest.h>

#include "core/basic_string.h"
#include "frame/graphics_commands.h"
#include "frame/text_input.h"
#include "frame/waits.h"
#include "input_audio/input_state.h"
#include "periphery_fixture.h"
#include "platform/input.h"

using namespace periphery;

namespace {

constexpr int kScanA = 30, kScan1 = 2, kScan2 = 3, kScan5 = 6, kScanPoint = 52, kScanBackspace = 14,
              kScanEnter = 28;

using Waits = Periphery;

// Passes one WaitAnyInput takes with the script's first step applied at its
// first pass.
int PassesOfWaitAnyInput(std::function<void()> first) {
  InputScript s;
  s.steps = {std::move(first)};
  RunScript(&s);
  WaitAnyInput();
  RunScript(nullptr);
  return s.passes;
}

void Settle() {
  // The pointer state WaitAnyInput keeps catches up with the present one.
  for (int i = 0; i < 20 && PassesOfWaitAnyInput(nullptr) < 15; ++i) {
  }
}

TEST_F(Waits, WaitAnyInputEndsOnKeyPointerAndJoystickElseAfterFifteenPasses) {
  Settle();
  EXPECT_EQ(PassesOfWaitAnyInput(nullptr), 15);
  EXPECT_EQ(PassesOfWaitAnyInput([] { Key(kScanA, true); }), 1);
  Key(kScanA, false);
  Settle();
  EXPECT_EQ(PassesOfWaitAnyInput([] { platform::PushMouseMotion(0, 0, 7, 3); }), 1);
  EXPECT_EQ(PassesOfWaitAnyInput([] { Button(1, true); }), 1);
  Button(1, false);
  Settle();
  // The pointer is held inside the screen.
  PassesOfWaitAnyInput([] { platform::PushMouseMotion(0, 0, 30000, 30000); });
  EXPECT_EQ(gInput->mouseX, 639);
  EXPECT_EQ(gInput->mouseY, 479);
  Settle();

  struct Case {
    const char* what;
    std::function<void(platform::JoystickReading&)> set;
    int passes;
  };
  const Case cases[] = {
      {"x at 10%", [](auto& j) { j.lX = 3276; }, 15},
      {"x at 11%", [](auto& j) { j.lX = 3605; }, 1},
      {"y at -11%", [](auto& j) { j.lY = -3605; }, 1},
      {"z full", [](auto& j) { j.lZ = 32768; }, 1},
      {"button 31", [](auto& j) { j.buttons[31] = 0x80; }, 1},
      {"hat right", [](auto& j) { j.pov[0] = 9000; }, 1},
      {"hat up", [](auto& j) { j.pov[0] = 0; }, 1},
      {"hat up-right", [](auto& j) { j.pov[0] = 4500; }, 15},
  };
  for (const Case& c : cases) {
    gStick.reading = platform::NeutralJoystickReading();
    c.set(gStick.reading);
    EXPECT_EQ(PassesOfWaitAnyInput(nullptr), c.passes) << c.what;
  }
  gStick.reading = platform::NeutralJoystickReading();
}

TEST_F(Waits, WaitKeyReturnsOnlyAfterTheKeyIsReleased) {
  for (int round = 0; round < 2; ++round) {  // the same key works again
    InputScript s;
    s.steps.resize(8);
    s.steps[0] = [] { Key(kScanA, true); };
    s.steps[7] = [] { Key(kScanA, false); };
    RunScript(&s);
    WaitKeyCmd();
    RunScript(nullptr);
    EXPECT_GE(s.passes, 8) << round;
    PollKeyboard(gInput);
    EXPECT_FALSE(KeyIsDown(gInput, kScanA)) << round;
  }
}

TEST_F(Waits, WaitKeyIgnoresKeysWithoutACharacter) {
  InputScript s;
  s.steps.resize(6);
  s.steps[0] = [] { Key(42, true); };  // Shift alone types nothing
  s.steps[3] = [] { Key(kScan1, true); };
  s.steps[5] = [] { Key(kScan1, false); };
  RunScript(&s);
  WaitKeyCmd();
  RunScript(nullptr);
  EXPECT_GE(s.passes, 6);
  Key(42, false);
}

TEST_F(Waits, WaitButtonWaitsForTheHeldButtonsReleaseThenANewPress) {
  Button(0, true);
  ASSERT_TRUE(AnyMouseButtonDown(gInput));
  InputScript s;
  s.steps.resize(10);
  s.steps[3] = [] { Button(0, false); };
  s.steps[8] = [] { Button(0, true); };
  RunScript(&s);
  WaitButtonCmd();
  RunScript(nullptr);
  EXPECT_GE(s.passes, 9);
  EXPECT_TRUE(AnyMouseButtonDown(gInput));
}

// One tap of a key over two frames.
void Tap(InputScript& s, int scan) {
  s.steps.push_back([scan] { Key(scan, true); });
  s.steps.push_back([scan] { Key(scan, false); });
}

int LitPixels(int x0, int y0, int w, int h, uint32_t background) {
  int n = 0;
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x) n += Pixel(x, y) != background;
  return n;
}

TEST_F(Waits, LineInputEditsWithBackspaceAndEndsOnEnter) {
  const uint32_t kBlue = Rgb(0, 0, 255);
  DrawRectCmd(0, 0, 640, 480, double(kBlue));
  BasicString text("ab");
  int litWithText = -1, litEmpty = -1;
  uint32_t behind = 0;
  InputScript s;
  s.steps.push_back([&] { litWithText = LitPixels(100, 100, 40, 10, kBlue); });
  Tap(s, kScanBackspace);
  Tap(s, kScanBackspace);
  Tap(s, kScanBackspace);  // on an empty text: no change
  s.steps.push_back([&] {
    litEmpty = LitPixels(100, 100, 40, 10, kBlue);
    behind = Pixel(300, 300);
  });
  Tap(s, kScan1);
  // Held for several frames, the key types once.
  s.steps.push_back([] { Key(kScan2, true); });
  for (int i = 0; i < 4; ++i) s.steps.push_back(nullptr);
  s.steps.push_back([] { Key(kScan2, false); });
  s.steps.push_back([] { Key(kScanEnter, true); });
  RunScript(&s);
  InputLineCmd(text, 100.7, 100.2);
  RunScript(nullptr);
  EXPECT_EQ(std::string(StrCStr(text)), "12");
  EXPECT_GT(litWithText, 20);  // "ab" was shown at once
  EXPECT_LE(litEmpty, 12);     // at most the cursor
  EXPECT_EQ(behind, kBlue);    // the picture stays behind the text
  EXPECT_EQ(gRenderer->screens[3].tilesX, 0);  // screen 3 is given back
}

TEST_F(Waits, NumberInputStoresTheTypedNumber) {
  struct Case {
    std::vector<int> keys;
    double expected;
  };
  const Case cases[] = {
      {{kScan1, kScan2, kScanPoint, kScan5}, 12.5},
      {{kScanA, kScan1}, StrToNumber(BasicString("a1"))},
      {{}, StrToNumber(BasicString(""))},
  };
  for (const Case& c : cases) {
    InputScript s;
    for (int k : c.keys) Tap(s, k);
    s.steps.push_back([] { Key(kScanEnter, true); });
    RunScript(&s);
    double out = -99;
    InputNumberCmd(out, 10, 10);
    RunScript(nullptr);
    EXPECT_EQ(out, c.expected);
    ReleaseEverything();
  }
}

}  // namespace
