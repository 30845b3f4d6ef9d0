// The continue prompt and the volume keys under injected input: frames
// presented, what continues and what does not, levels sent to the music.
#include <chrono>
#include <fstream>
#include <string>
#include <cmath>
#include <vector>

#include "core/debug_support.h"
#include "frame/frame_function.h"
#include "frame/graphics_commands.h"
#include "game/continue_prompt.h"
#include "game/game_state.h"
#include "game/volume_keys.h"
#include "input_audio/music.h"
#include "page_fixture.h"
#include "platform/input.h"

using namespace pagetest;

namespace {

// A music player without a track: SetMusicVolume stores what it is sent.
class WithMusic : public ::testing::Test {
 protected:
  void SetUp() override {
    ReleaseAllInput();
    gMusicWindow = &music_;
    mastervolume = 1;
    Unsent();
  }
  void TearDown() override {
    ReleaseAllInput();
    gMusicWindow = nullptr;
    mastervolume = 1;
    UseDevice("DESKTOP");
  }
  // Marks the player so that a later send shows.
  void Unsent() { music_.volume = -1; }
  int32_t Sent() const { return music_.volume; }

  MusicWindow music_{nullptr, nullptr, 1000};
};

using PagesPrompt = WithMusic;
using PagesVolume = WithMusic;

void Key(int code, bool down) { platform::PushKeyEvent(code, down); }

}  // namespace

TEST_F(PagesPrompt, DesktopWaitsForAClickAndItsRelease) {
  UseDevice("DESKTOP");
  WhitePage();
  std::vector<int> promptInk;
  AtFrame(1, [] { Key(4, true); });  // volume key 3 while waiting for the press
  AtFrame(2, [&] {
    promptInk = InkColumns(470, true);  // this frame, as presented
    platform::PushMouseButton(1, true);  // the right button does not continue
  });
  AtFrame(3, [] {
    platform::PushMouseButton(1, false);
    Key(4, false);
  });
  AtFrame(4, [] { platform::PushMouseButton(0, true); });
  AtFrame(5, [] { Key(6, true); });  // volume key 5 while waiting for the release
  AtFrame(7, [] { platform::PushMouseButton(0, false); });
  const int frames = FramesPresented();
  WaitContinue();
  EXPECT_EQ(FramesPresented() - frames, 7);
  EXPECT_EQ(mastervolume, 0.6);
  EXPECT_EQ(Sent(), 600);

  const std::string prompt = "Click to Continue";
  EXPECT_EQ(promptInk, ExpectedInk(prompt, int(std::trunc((640 - TextWidth(prompt)) * 0.5))));

  // The background is gone and the screen clear.
  EXPECT_EQ(BackPixel(320, 240), 0u);
  ShowScreen();
  EXPECT_EQ(FrontPixel(320, 240), 0u);
  EXPECT_EQ(FrontPixel(320, 470), 0u);
}

TEST_F(PagesPrompt, DesktopButtonDownOnEntryEndsAtItsRelease) {
  UseDevice("DESKTOP");
  WhitePage();
  platform::PushMouseButton(0, true);
  AtFrame(3, [] { platform::PushMouseButton(0, false); });
  const int frames = FramesPresented();
  WaitContinue();
  EXPECT_EQ(FramesPresented() - frames, 3);
}

TEST_F(PagesPrompt, F100WaitsUntilEveryFireKeyIsUp) {
  UseDevice("F100");
  WhitePage();
  std::vector<int> promptInk;
  AtFrame(1, [] { platform::PushMouseButton(0, true); });  // no fire key
  AtFrame(2, [&] {
    promptInk = InkColumns(235, true);
    platform::PushMouseButton(0, false);
    Key(17, true);
    Key(30, true);
  });
  AtFrame(4, [] { Key(17, false); });
  AtFrame(6, [] { Key(30, false); });
  const int frames = FramesPresented();
  WaitContinue();
  EXPECT_EQ(FramesPresented() - frames, 6);
  EXPECT_FALSE(promptInk.empty());  // "Press Fire to Continue" at half size
}

TEST_F(PagesPrompt, F200WaitsForATouchAndItsRelease) {
  UseDevice("F200");
  WhitePage();
  AtFrame(2, [] { Key(57, true); });  // fire keys do not continue here
  AtFrame(3, [] {
    Key(57, false);
    platform::PushMouseButton(0, true);
  });
  AtFrame(5, [] { platform::PushMouseButton(0, false); });
  const int frames = FramesPresented();
  WaitContinue();
  EXPECT_EQ(FramesPresented() - frames, 5);
}

TEST_F(PagesPrompt, ShowsTheDebuggerItsLineAndLocals) {
  UseDevice("DESKTOP");
  WhitePage();
  struct Seen {
    uint32_t file = 99, line = 0;
    std::vector<std::string> names;
  } seen;
  gDebugBlock.breakEveryStatement = 1;
  AtFrame(1, [&] {
    seen.file = gDebugBlock.sourceFile;
    seen.line = gDebugBlock.line;
    for (uint32_t i = 0; i < gDebugBlock.localCount; ++i)
      seen.names.push_back(gDebugBlock.localRecords[i].name);
    platform::PushMouseButton(0, true);
  });
  AtFrame(2, [] { platform::PushMouseButton(0, false); });
  WaitContinue();
  gDebugBlock.breakEveryStatement = 0;

  EXPECT_EQ(seen.file, 0u);
  EXPECT_EQ(seen.names, (std::vector<std::string>{"done", "mx", "my", "b1", "b2"}));
  // The statement that presented the frame, by its line in the source.
  std::ifstream source(ORVALE_SOURCE_DIR "/game/continue_prompt.cpp");
  std::string text;
  for (uint32_t n = 0; n < seen.line && std::getline(source, text); ++n) {
  }
  EXPECT_NE(text.find("STMT; ShowScreen();"), std::string::npos) << "line " << seen.line;
}

TEST_F(PagesVolume, DesktopLevelKeys) {
  UseDevice("DESKTOP");
  struct Case {
    std::vector<int> keys;
    double from, level;
  };
  const Case cases[] = {
      {{4}, 1, 0.6},       // digit 3
      {{11, 6}, 0.4, 1},   // digits 0 and 5: the loudest wins
      {{80}, 1, 0.4},      // keypad 2
      {{82}, 1, 0},        // keypad 0
      {{2}, 0, 0.2},       // digit 1
      {{201, 209}, 0.6, 0.6},  // the step keys do nothing here
  };
  for (const Case& c : cases) {
    mastervolume = c.from;
    Unsent();
    for (int k : c.keys) Key(k, true);
    VolumeKeys();
    EXPECT_EQ(mastervolume, c.level);
    EXPECT_EQ(Sent(), c.level == c.from ? -1 : int32_t(std::trunc(c.level * 1000)));
    // Held on: the same level, nothing sent again.
    Unsent();
    VolumeKeys();
    EXPECT_EQ(mastervolume, c.level);
    EXPECT_EQ(Sent(), -1);
    for (int k : c.keys) Key(k, false);
    ReleaseAllInput();
  }
}

TEST_F(PagesVolume, HandheldStepsStayOnTheSixLevels) {
  UseDevice("F100");
  auto press = [&](int code) {
    Unsent();
    Key(code, true);
    Later release(20, [code] { Key(code, false); });
    VolumeKeys();
  };
  const double down[] = {0.8, 0.6, 0.4, 0.2, 0};
  const int32_t sent[] = {800, 600, 400, 200, 0};
  for (int i = 0; i < 5; ++i) {
    press(209);
    EXPECT_EQ(mastervolume, down[i]);
    EXPECT_EQ(Sent(), sent[i]);
  }
  press(209);  // a sixth press stays at 0
  EXPECT_EQ(mastervolume, 0);
  EXPECT_EQ(Sent(), -1);
  for (int i = 0; i < 5; ++i) press(201);
  EXPECT_EQ(mastervolume, 1);
  EXPECT_EQ(Sent(), 1000);
  press(201);
  EXPECT_EQ(mastervolume, 1);
  EXPECT_EQ(Sent(), -1);

  // Many presses in both directions never drift off the levels.
  for (int i = 0; i < 8; ++i) press(209);
  for (int i = 0; i < 3; ++i) press(201);
  EXPECT_EQ(mastervolume, 0.6);

  // The digit keys do nothing here.
  Unsent();
  Key(6, true);
  VolumeKeys();
  EXPECT_EQ(mastervolume, 0.6);
  EXPECT_EQ(Sent(), -1);
}

TEST_F(PagesVolume, HandheldBothStepKeysHeld) {
  UseDevice("F100");
  mastervolume = 0.4;
  Key(201, true);
  Key(209, true);
  const auto start = std::chrono::steady_clock::now();
  {
    Later upFirst(40, [] { Key(201, false); });
    Later downLater(120, [] { Key(209, false); });
    VolumeKeys();
  }
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(110));
  EXPECT_EQ(mastervolume, 0.4);
  EXPECT_EQ(Sent(), -1);  // back at the entry level: nothing sent
}
