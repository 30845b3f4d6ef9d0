#include "input_fixture.h"

#include "core/runtime_error.h"

namespace {

void Press(int scan) { platform::PushKeyEvent(scan, true); }
void Release(int scan) { platform::PushKeyEvent(scan, false); }

}  // namespace

TEST_F(InputTest, KeyStateFollowsPressAndReleaseWithoutAFrame) {
  Open();
  EXPECT_EQ(KeyState(201), 0.0);
  Press(201);  // Page Up
  EXPECT_EQ(KeyState(201), 1.0);
  EXPECT_EQ(KeyState(201), 1.0);  // held
  EXPECT_EQ(KeyState(209), 0.0);
  Release(201);
  // A release wait polls KeyState alone; it must see the release.
  int polls = 0;
  while (KeyState(201) != 0.0 && polls < 10) ++polls;
  EXPECT_EQ(polls, 0);
}

TEST_F(InputTest, KeyStateMasksTheKeyNumber) {
  Open();
  Press(1);  // Escape
  struct Case {
    double code;
    double expected;
  } cases[] = {{1, 1}, {1.9, 1}, {257, 1}, {513.5, 1}, {-255, 1},
               {2, 0}, {0, 0},   {256, 0}, {1e30, 0},  {-0.5, 0}};
  for (const Case& c : cases) EXPECT_EQ(KeyState(c.code), c.expected) << "code " << c.code;
  Release(1);
  EXPECT_EQ(KeyState(257), 0.0);
}

TEST_F(InputTest, KeysArePositionalScanCodes) {
  Open();
  const int keys[] = {28, 57, 200, 203, 205, 208, 42, 54, 59, 68, 156, 2, 11, 14, 71, 83};
  for (int k : keys) {
    Press(k);
    EXPECT_EQ(KeyState(k), 1.0) << "scan " << k;
    Release(k);
    EXPECT_EQ(KeyState(k), 0.0) << "scan " << k;
  }
}

TEST_F(InputTest, FocusLossReleasesKeysAndButtons) {
  Open();
  Press(57);
  platform::PushMouseButton(0, true);
  EXPECT_EQ(KeyState(57), 1.0);
  EXPECT_EQ(MouseAxisCmd(3), 1.0);
  platform::PushFocusLost();
  platform::PumpAllEvents();  // as the window pump does
  EXPECT_EQ(KeyState(57), 0.0);
  EXPECT_EQ(MouseAxisCmd(3), 0.0);
}

TEST_F(InputTest, CharactersWithAndWithoutShift) {
  Open();
  Press(30);  // A
  EXPECT_STREQ(InkeyCmd().c_str(), "a");
  EXPECT_STREQ(InkeyCmd().c_str(), "");  // held: once only
  Release(30);
  EXPECT_STREQ(InkeyCmd().c_str(), "");
  Press(42);  // left shift alone types nothing
  EXPECT_STREQ(InkeyCmd().c_str(), "");
  Press(30);
  EXPECT_STREQ(InkeyCmd().c_str(), "A");
  Release(30);
  Release(42);
  Press(54);  // right shift, digit: only letters change
  Press(2);
  EXPECT_STREQ(InkeyCmd().c_str(), "1");
  Release(2);
  Release(54);
  EXPECT_EQ(ReadKeyChar(gInput), 0);
}

TEST_F(InputTest, EnterBackspaceAndModifierCharacters) {
  Open();
  struct Case {
    int scan;
    char expected;
  } cases[] = {{28, 10}, {156, 10}, {14, 8}, {57, ' '}, {29, 0},  {56, 0},  {58, 0},
               {1, 0},   {15, 0},   {59, 0}, {200, 0},  {52, '.'}, {55, '*'}, {12, '-'}};
  for (const Case& c : cases) {
    EXPECT_EQ(ScanToChar(c.scan), c.expected) << "scan " << c.scan;
    Press(c.scan);
    EXPECT_EQ(ReadKeyChar(gInput), c.expected) << "scan " << c.scan;
    Release(c.scan);
    ReadKeyChar(gInput);
  }
}

TEST_F(InputTest, LowestHeldScanCodeWinsAndANewKeyGivesItsCharacter) {
  Open();
  Press(31);  // S
  Press(30);  // A
  EXPECT_EQ(ReadKeyChar(gInput), 'a');
  Release(30);
  EXPECT_EQ(ReadKeyChar(gInput), 's');  // another key's character differs
  Release(31);
}

TEST_F(InputTest, KeyCharPressedSharesTheLastCharacter) {
  Open();
  Press(32);  // D
  EXPECT_TRUE(KeyCharPressed(gInput));
  EXPECT_EQ(ReadKeyChar(gInput), 0);
  EXPECT_FALSE(KeyCharPressed(gInput));
  Release(32);
  EXPECT_FALSE(KeyCharPressed(gInput));
  Press(32);
  EXPECT_EQ(ReadKeyChar(gInput), 'd');
  EXPECT_FALSE(KeyCharPressed(gInput));
  Release(32);
}

TEST_F(InputTest, ProgramEndReleasesTheInputRecord) {
  Open();
  ASSERT_NE(gInput, nullptr);
  ShutdownRuntime();
  EXPECT_EQ(gInput, nullptr);
  EXPECT_FALSE(platform::InputIsOpen());
  EXPECT_EQ(KeyState(1), 0.0);  // no record: nothing is down
}

#include "platform/window.h"

TEST_F(InputTest, EventsTakenByTheWindowPumpReachTheKeyboard) {
  std::string why;
  if (!platform::VideoInit(&why)) GTEST_SKIP() << why;
  Open();
  Press(57);
  platform::PushMouseButton(0, true);
  platform::WindowMessage m;
  int taken = 0;
  while (platform::PeekMessage(nullptr, &m)) ++taken;
  EXPECT_GE(taken, 2);
  EXPECT_EQ(KeyState(57), 1.0);
  EXPECT_TRUE(AnyMouseButtonDown(gInput));
  Release(57);
  while (platform::PeekMessage(nullptr, &m)) {
  }
  EXPECT_EQ(KeyState(57), 0.0);
  ReleaseInput();
  platform::VideoQuit();
}

TEST_F(InputTest, AKeyTappedBetweenTwoReadsIsSeenOnce) {
  Open();
  Press(1);
  Release(1);
  EXPECT_EQ(KeyState(1), 1.0);
  EXPECT_EQ(KeyState(1), 0.0);
  // A lost focus drops a tap that was not read yet.
  Press(57);
  Release(57);
  platform::PushFocusLost();
  platform::PumpAllEvents();
  EXPECT_EQ(KeyState(57), 0.0);
}
