// The choice menu under injected mouse, touch and key input: hit bands,
// highlight bar, pointer pictures, the result and the frames presented.
#include <chrono>
#include <string>
#include <vector>

#include "core/basic_array.h"
#include "core/debug_support.h"
#include "frame/graphics_commands.h"
#include "game/choice_menu.h"
#include "game/element_access.h"
#include "game/game_state.h"
#include "input_audio/input_commands.h"
#include "page_fixture.h"
#include "platform/input.h"

using namespace pagetest;

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kGrey50 = 0x323232;
constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kGreen = 0x00FF00;

double HandheldWidth(const std::string& text) {
  double w = 0;
  for (char ch : text) w += HandheldAdvance(ch - 32);
  return w;
}

class PagesMenu : public ::testing::Test {
 protected:
  void SetUp() override { NewPage("DESKTOP"); }
  void TearDown() override {
    ReleaseAllInput();
    UseDevice("DESKTOP");
  }
  // A white page whose menu has not been called yet.
  void NewPage(const char* device) {
    ReleaseAllInput();
    UseDevice(device);
    WhitePage();
    screendrawn = 0;
    hicol = 50;
    hilite = 1;
    pressed = 0;
  }
};

}  // namespace

TEST_F(PagesMenu, DesktopFrameShowsBarPointerAndOptions) {
  MovePointer(20, 395);
  const int frames = FramesPresented();
  EXPECT_EQ(ChoiceMenu(350, "abcdef", "ghijk", "", "", ""), 0);
  EXPECT_EQ(FramesPresented(), frames + 1);
  EXPECT_EQ(screendrawn, 1);
  EXPECT_EQ(hilite, 1);

  const double w1 = TextWidth("abcdef") + 1, w2 = TextWidth("ghijk") + 1;
  EXPECT_EQ(At(optwide, 1), w1);
  EXPECT_EQ(At(optwide, 2), w2);
  for (int k = 3; k <= 5; ++k) EXPECT_EQ(At(optwide, k), 0);

  // The presented frame: heading, bar under row 1 with its text over it,
  // row 2, and the pointer 15 up and left of the pointer position.
  EXPECT_EQ(InkColumns(360, true), ExpectedInk("Do you want to:", 0));
  EXPECT_EQ(InkColumns(400, true), ExpectedInk("abcdef", 0));
  EXPECT_EQ(InkColumns(420, true), ExpectedInk("ghijk", 0));
  EXPECT_EQ(FrontPixel(0, 390), kGrey50);
  EXPECT_EQ(FrontPixel(0, 409), kGrey50);
  EXPECT_EQ(FrontPixel(int(w1) - 1, 395), kGrey50);
  EXPECT_EQ(FrontPixel(int(w1), 395), kWhite);
  EXPECT_EQ(FrontPixel(0, 389), kWhite);
  EXPECT_EQ(FrontPixel(0, 410), kWhite);
  EXPECT_EQ(FrontPixel(5, 380), kRed);
  EXPECT_EQ(FrontPixel(8, 383), kRed);
  EXPECT_EQ(FrontPixel(9, 380), kWhite);

  // The page became the background: the next frame starts from it alone.
  EXPECT_EQ(BackPixel(0, 395), kWhite);
  EXPECT_TRUE(InkColumns(400).empty());

  // The pulse sets the bar's grey.
  hicol = 200.7;
  EXPECT_EQ(ChoiceMenu(350, "abcdef", "ghijk", "", "", ""), 0);
  EXPECT_EQ(FrontPixel(0, 395), 0xC8C8C8u);
}

TEST_F(PagesMenu, DesktopHitBands) {
  ASSERT_EQ(ChoiceMenu(350, "abcdef", "ghijk", "", "", ""), 0);
  const int w1 = int(At(optwide, 1)), w2 = int(At(optwide, 2));
  struct Case {
    int x, y;
    double row;
  };
  const Case cases[] = {
      {20, 390, 0}, {20, 391, 1}, {20, 409, 1}, {20, 410, 2}, {20, 429, 2}, {20, 430, 0},
      {20, 370, 0}, {w1 - 1, 395, 1}, {w1, 395, 0}, {w2 - 1, 415, 2}, {w2, 415, 0}, {0, 400, 1},
  };
  for (const Case& c : cases) {
    MovePointer(c.x, c.y);
    const int frames = FramesPresented();
    EXPECT_EQ(ChoiceMenu(350, "abcdef", "ghijk", "", "", ""), 0);
    EXPECT_EQ(FramesPresented(), frames + 1);
    EXPECT_EQ(hilite, c.row) << "pointer " << c.x << ", " << c.y;
    EXPECT_EQ(FrontPixel(0, 395), c.row == 1 ? kGrey50 : kWhite);
    EXPECT_EQ(FrontPixel(0, 415), c.row == 2 ? kGrey50 : kWhite);
  }

  // Five options from o = 100: rows 140 to 220, the band ends below 240.
  NewPage("DESKTOP");
  for (auto [y, row] : {std::pair{141, 1.0}, {221, 5.0}, {239, 5.0}, {240, 0.0}}) {
    MovePointer(5, y);
    EXPECT_EQ(ChoiceMenu(100, "ab", "cd", "ef", "gh", "ij"), 0);
    EXPECT_EQ(hilite, row) << y;
  }
  EXPECT_EQ(InkColumns(230, true), ExpectedInk("ij", 0));
}

TEST_F(PagesMenu, DesktopClickChoosesTheRowPressedOnceReleased) {
  ASSERT_EQ(ChoiceMenu(350, "abcdef", "ghijk", "", "", ""), 0);
  MovePointer(20, 415);
  platform::PushMouseButton(0, true);
  const int frames = FramesPresented();
  const int32_t depth = gCallDepth;
  double chosen = -1;
  {
    // Dragged off the options before the release.
    Later release(80, [] {
      platform::PushMouseMotion(600, 100, 580, -315);
      platform::PushMouseButton(0, false);
    });
    chosen = ChoiceMenu(350, "abcdef", "ghijk", "", "", "");
  }
  EXPECT_EQ(chosen, 2);
  EXPECT_EQ(gCallDepth, depth);          // every way out lowers the depth again
  EXPECT_EQ(FramesPresented(), frames);  // nothing presented
  // What the call drew stays in the back buffer.
  EXPECT_EQ(BackPixel(0, 415), kGrey50);
  EXPECT_EQ(InkColumns(420), ExpectedInk("ghijk", 0));

  // A press off the options waits for its release and chooses nothing.
  MovePointer(300, 200);
  platform::PushMouseButton(0, true);
  {
    Later release(50, [] { platform::PushMouseButton(0, false); });
    chosen = ChoiceMenu(350, "abcdef", "ghijk", "", "", "");
  }
  EXPECT_EQ(chosen, 0);
  EXPECT_EQ(FramesPresented(), frames);

  // The right button chooses nothing.
  MovePointer(20, 395);
  platform::PushMouseButton(1, true);
  EXPECT_EQ(ChoiceMenu(350, "abcdef", "ghijk", "", "", ""), 0);
  EXPECT_EQ(FramesPresented(), frames + 1);
}

TEST_F(PagesMenu, F100CursorMovesOneRowAPressAndFireChooses) {
  NewPage("F100");
  ASSERT_STREQ(StrCStr(info_Str), "F100");
  const char* o[3] = {"abc", "def", "ghi"};
  EXPECT_EQ(ChoiceMenu(100, o[0], o[1], o[2], "", ""), 0);
  EXPECT_EQ(At(optwide, 1), HandheldWidth("abc") + 2);

  struct Case {
    double from;
    int key;
    double to;
  };
  for (const Case& c : {Case{3, 208, 1}, Case{1, 208, 2}, Case{1, 200, 3}, Case{2, 200, 1}}) {
    hilite = c.from;
    platform::PushKeyEvent(c.key, true);
    const int frames = FramesPresented();
    const auto start = std::chrono::steady_clock::now();
    double result = -1;
    {
      Later release(80, [key = c.key] { platform::PushKeyEvent(key, false); });
      result = ChoiceMenu(100, o[0], o[1], o[2], "", "");
    }
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(70));
    EXPECT_EQ(result, 0);
    EXPECT_EQ(hilite, c.to) << "from " << c.from << " key " << c.key;
    EXPECT_EQ(FramesPresented(), frames + 1);  // only the frame after the release
  }

  // The half-size bar of the cursor row: y (100 + 40) / 2 + 10 (row - 1).
  hilite = 2;
  EXPECT_EQ(ChoiceMenu(100, o[0], o[1], o[2], "", ""), 0);
  const int half = int(At(optwide, 2) * 0.5);
  EXPECT_EQ(FrontPixel(0, 80), kGrey50);
  EXPECT_EQ(FrontPixel(0, 89), kGrey50);
  EXPECT_EQ(FrontPixel(half - 1, 85), kGrey50);
  EXPECT_EQ(FrontPixel(half + 1, 85), kWhite);
  EXPECT_EQ(FrontPixel(0, 79), kWhite);
  EXPECT_EQ(FrontPixel(0, 90), kWhite);

  // Fire returns the cursor row at once, after the release.
  const int frames = FramesPresented();
  const int32_t depth = gCallDepth;
  platform::PushKeyEvent(57, true);
  double result = -1;
  {
    Later release(50, [] { platform::PushKeyEvent(57, false); });
    result = ChoiceMenu(100, o[0], o[1], o[2], "", "");
  }
  EXPECT_EQ(result, 2);
  EXPECT_EQ(gCallDepth, depth);
  EXPECT_EQ(hilite, 1);
  EXPECT_EQ(FramesPresented(), frames);
  EXPECT_FALSE(InkColumns(55).empty());  // heading at y 50
  EXPECT_TRUE(InkColumns(75).empty());   // no options drawn

  // A cursor outside the rows draws no bar; fire still returns it.
  hilite = 7;
  EXPECT_EQ(ChoiceMenu(100, o[0], o[1], o[2], "", ""), 0);
  EXPECT_EQ(FrontPixel(0, 75), kWhite);
  platform::PushKeyEvent(44, true);
  {
    Later release(30, [] { platform::PushKeyEvent(44, false); });
    result = ChoiceMenu(100, o[0], o[1], o[2], "", "");
  }
  EXPECT_EQ(result, 7);
}

TEST_F(PagesMenu, F200TouchChoosesWhereItIsLifted) {
  NewPage("F200");
  const std::string longOption = "abcdefghijklmnopqabcdefghijklmnopq";
  ASSERT_GT(HandheldWidth(longOption), 400);
  EXPECT_EQ(ChoiceMenu(350, longOption.c_str(), "ab", "", "", ""), 0);

  // No touch: no bar, no target.
  EXPECT_EQ(FrontPixel(0, 197), kWhite);

  // Touch held at screen (100, 200), tested as (200, 400): row 1.
  MovePointer(100, 200);
  platform::PushMouseButton(0, true);
  for (int frame = 0; frame < 2; ++frame) {
    const int frames = FramesPresented();
    EXPECT_EQ(ChoiceMenu(350, longOption.c_str(), "ab", "", "", ""), 0);
    EXPECT_EQ(FramesPresented(), frames + 1);
    EXPECT_EQ(pressed, 1);
    EXPECT_EQ(hilite, 1);
    EXPECT_EQ(FrontPixel(98, 198), kGreen);  // target 2 up and left
    EXPECT_EQ(FrontPixel(98, 202), kGreen);
    EXPECT_EQ(FrontPixel(98, 197), kGrey50);
    EXPECT_EQ(FrontPixel(98, 203), kGrey50);
    EXPECT_EQ(FrontPixel(0, 195), kGrey50);  // half-size bar at y 195
    EXPECT_EQ(FrontPixel(0, 204), kGrey50);
    EXPECT_EQ(FrontPixel(0, 205), kWhite);
  }
  // Lifted: the row under the last position, at once.
  platform::PushMouseButton(0, false);
  const int frames = FramesPresented();
  EXPECT_EQ(ChoiceMenu(350, longOption.c_str(), "ab", "", "", ""), 1);
  EXPECT_EQ(pressed, 0);
  EXPECT_EQ(FramesPresented(), frames);

  // Lifted off the options: 0.
  MovePointer(100, 100);
  platform::PushMouseButton(0, true);
  EXPECT_EQ(ChoiceMenu(350, longOption.c_str(), "ab", "", "", ""), 0);
  EXPECT_EQ(hilite, 0);
  platform::PushMouseButton(0, false);
  EXPECT_EQ(ChoiceMenu(350, longOption.c_str(), "ab", "", "", ""), 0);
  EXPECT_EQ(pressed, 0);
  EXPECT_EQ(FramesPresented(), frames + 1);
}
