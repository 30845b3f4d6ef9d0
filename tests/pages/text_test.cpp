// Glyph widths measured from the generated strips, line printing, word
// wrap and the picture procedures, read back from the back buffer.
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "core/basic_array.h"
#include "frame/graphics_commands.h"
#include "game/element_access.h"
#include "game/game_state.h"
#include "game/pictures.h"
#include "game/text_print.h"
#include "game/word_wrap.h"
#include "page_fixture.h"

using namespace pagetest;

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlue = 0x0000FF;

// Lines that WrapText printed from wy down, read back until an empty row.
std::vector<std::string> PrintedLines(int wy) {
  std::vector<std::string> lines;
  for (int y = wy + 10; y < 480; y += 20) {
    auto ink = InkColumns(y);
    if (ink.empty()) break;
    lines.push_back(DecodeLine(ink));
  }
  return lines;
}

std::string Join(const std::vector<std::string>& lines, const std::string& gap) {
  std::string all;
  for (size_t i = 0; i < lines.size(); ++i) all += (i ? gap : "") + lines[i];
  return all;
}

class PagesText : public ::testing::Test {
 protected:
  void SetUp() override {
    UseDevice("DESKTOP");
    maxkern = 640;
    WhitePage();
  }
  void TearDown() override {
    UseDevice("DESKTOP");
    maxkern = 640;
  }
};

}  // namespace

TEST_F(PagesText, KernTableMeasuresEveryGlyph) {
  for (int n = 0; n < 96; ++n) EXPECT_EQ(At(kern, n), DesktopAdvance(n)) << "glyph " << n;
  // The cases the scan has to get right, spelled out.
  EXPECT_EQ(At(kern, 0), 20);  // the space is not measured
  EXPECT_EQ(At(kern, 2), 21);  // ink in the frame's last column
  EXPECT_EQ(At(kern, 93), 7);  // odd-row ink further right is not seen
  EXPECT_EQ(At(kern, 94), 2);  // no ink

  UseDevice("F100");
  ASSERT_EQ(resx, 2);
  for (int n = 0; n < 96; ++n) EXPECT_EQ(At(kern, n), HandheldAdvance(n)) << "glyph " << n;
  EXPECT_EQ(At(kern, 2), 20);
  EXPECT_EQ(At(kern, 94), 2);
}

TEST_F(PagesText, PrintTxtPlacesGlyphsByTheirAdvances) {
  PrintTxt("abc", 100, 200);
  EXPECT_EQ(InkColumns(210), ExpectedInk("abc", 100));
  EXPECT_EQ(InkColumns(200), ExpectedInk("abc", 100));
  EXPECT_EQ(InkColumns(219), ExpectedInk("abc", 100));
  EXPECT_TRUE(InkColumns(199).empty());
  EXPECT_TRUE(InkColumns(220).empty());

  // A space moves on 20 and draws nothing.
  WhitePage();
  PrintTxt("a  b", 0, 100);
  EXPECT_EQ(InkColumns(110), ExpectedInk("a  b", 0));

  // -1.5 is a position, not a request to centre.
  WhitePage();
  PrintTxt("d", -1.5, 300);
  EXPECT_EQ(InkColumns(310), std::vector<int>{0});
}

TEST_F(PagesText, PrintTxtCentresOnTheGameScreen) {
  struct Case {
    std::string text;
    int left;
  };
  const std::string wide(41, 'q');  // 41 x 16 = 656
  const Case cases[] = {
      {"abc", int(std::trunc((640 - TextWidth("abc")) * 0.5))},
      {"Click to Continue", int(std::trunc((640 - TextWidth("Click to Continue")) * 0.5))},
      {wide, -8},         // (640 - 656) / 2
      {wide + "d", -9},   // 659 wide: -9.5 truncated toward zero
  };
  ASSERT_EQ(TextWidth(wide + "d"), 659);
  for (const Case& c : cases) {
    WhitePage();
    PrintTxt(c.text.c_str(), -1, 240);
    EXPECT_EQ(InkColumns(250), ExpectedInk(c.text, c.left)) << c.text;
  }
  WhitePage();
  PrintTxt("", -1, 240);
  EXPECT_TRUE(InkColumns(250).empty());
}

TEST_F(PagesText, PrintTxtHalvesPositionsOnTheHandheld) {
  UseDevice("F100");
  WhitePage();
  PrintTxt("A", 100, 460);  // frame 33 at (50, 230)
  const int column = 50 + HandheldInkColumn(33);
  EXPECT_EQ(InkColumns(230), std::vector<int>{column});
  EXPECT_EQ(InkColumns(239), std::vector<int>{column});
  EXPECT_TRUE(InkColumns(240).empty());

  // Advance in 640-space: the second glyph starts kern[33] / 2 further on.
  WhitePage();
  PrintTxt("AA", 100, 100);
  EXPECT_EQ(InkColumns(55), (std::vector<int>{column, column + HandheldAdvance(33) / 2}));
}

TEST_F(PagesText, WrapTextShortTextsAndExactMargin) {
  WrapText("", 100);
  EXPECT_TRUE(PrintedLines(100).empty());

  WrapText("abc def", 100);
  EXPECT_EQ(PrintedLines(100), std::vector<std::string>{"abc def"});

  // Exactly as wide as the margin: broken into two lines.
  WhitePage();
  maxkern = TextWidth("abc def");
  WrapText("abc def", 100);
  EXPECT_EQ(PrintedLines(100), (std::vector<std::string>{"abc", "def"}));
  EXPECT_TRUE(InkColumns(100 + 40 + 10).empty());
}

TEST_F(PagesText, WrapTextBreaksAtSpacesBeforeTheMargin) {
  // 30 words of the letters a to q.
  std::string text;
  for (int w = 0; w < 30; ++w) {
    if (w) text += ' ';
    for (int i = 0; i < 2 + (w * 7) % 6; ++i) text += char('a' + (w * 5 + i * 3) % 17);
  }
  maxkern = 400;
  WrapText(text.c_str(), 20);
  auto lines = PrintedLines(20);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(Join(lines, " "), text);  // only the break spaces are gone
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_LT(TextWidth(lines[i]), 400) << lines[i];
    if (i + 1 < lines.size()) {
      // The next word would have reached the margin.
      std::string next = lines[i + 1].substr(0, lines[i + 1].find(' '));
      EXPECT_GE(TextWidth(lines[i] + " " + next), 400) << lines[i];
    }
  }
}

TEST_F(PagesText, WrapTextSecondSpaceStartsTheNextLine) {
  maxkern = TextWidth("abcd") + 10;  // the first space reaches the margin
  WrapText("abcd  efg", 100);
  EXPECT_EQ(PrintedLines(100), (std::vector<std::string>{"abcd", " efg"}));
}

TEST_F(PagesText, WrapTextBreaksAWordWiderThanTheMargin) {
  std::string word;
  for (int i = 0; i < 50; ++i) word += char('a' + (i * 4) % 17);
  maxkern = 200;
  ASSERT_GT(TextWidth(word), 2 * 200);
  WrapText(("ab " + word + " cd").c_str(), 40);
  auto lines = PrintedLines(40);
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines.front(), "ab");
  EXPECT_EQ(lines.back(), "cd");
  // Nothing of the long word is lost, and each piece fills its line.
  std::vector<std::string> pieces(lines.begin() + 1, lines.end() - 1);
  EXPECT_EQ(Join(pieces, ""), word);
  for (size_t i = 0; i < pieces.size(); ++i) {
    EXPECT_LT(TextWidth(pieces[i]), 200) << pieces[i];
    if (i + 1 < pieces.size()) {
      EXPECT_GE(TextWidth(pieces[i] + pieces[i + 1][0]), 200);
    }
  }
}

TEST_F(PagesText, WrapTextMarginBelowOneGlyphStillEnds) {
  maxkern = 2;
  WrapText("ab c", 100);
  EXPECT_EQ(PrintedLines(100), (std::vector<std::string>{"a", "b"}));
  // The space got a line of its own and "c" the one after it.
  EXPECT_EQ(DecodeLine(InkColumns(100 + 60 + 10)), "c");
}

TEST_F(PagesText, LoadPicAndDrawPic) {
  std::filesystem::create_directories(ScratchDir() + "/gfx/sub");
  WritePng(ScratchDir() + "/gfx/plate.png", 300, 40, [](int, int) { return kBlue; });
  WritePng(ScratchDir() + "/gfx/wide.png", 700, 10, [](int, int) { return kBlue; });
  WritePng(ScratchDir() + "/gfx/sub/inner.png", 10, 12, [](int, int) { return kBlue; });

  double w = 0, h = 0;
  LoadPic("sub/inner", 3);
  GetSpriteSizeCmd(3, w, h);
  EXPECT_EQ(w, 10);
  EXPECT_EQ(h, 12);
  LoadPic("plate", 3);  // replaces the slot's picture
  GetSpriteSizeCmd(3, w, h);
  EXPECT_EQ(w, 300);
  EXPECT_EQ(h, 40);

  DrawPic(3, -1, 25);  // centred: (170, 25)
  EXPECT_EQ(BackPixel(170, 25), kBlue);
  EXPECT_EQ(BackPixel(469, 64), kBlue);
  EXPECT_EQ(BackPixel(169, 40), kWhite);
  EXPECT_EQ(BackPixel(470, 40), kWhite);
  EXPECT_EQ(BackPixel(300, 24), kWhite);
  EXPECT_EQ(BackPixel(300, 65), kWhite);

  WhitePage();
  DrawPic(3, 0, -1);  // only x = -1 centres
  EXPECT_EQ(BackPixel(0, 0), kBlue);
  EXPECT_EQ(BackPixel(0, 38), kBlue);
  EXPECT_EQ(BackPixel(0, 39), kWhite);

  WhitePage();
  LoadPic("wide", 4);
  DrawPic(4, -1, 300);  // left edge at -30
  EXPECT_EQ(BackPixel(0, 305), kBlue);
  EXPECT_EQ(BackPixel(639, 305), kBlue);

  // The handheld halves position and size.
  resx = 2;
  WhitePage();
  DrawPic(3, 100, 40);  // (50, 20), 150 x 20
  EXPECT_EQ(BackPixel(50, 20), kBlue);
  EXPECT_EQ(BackPixel(199, 39), kBlue);
  EXPECT_EQ(BackPixel(49, 30), kWhite);
  EXPECT_EQ(BackPixel(200, 30), kWhite);
  EXPECT_EQ(BackPixel(100, 40), kWhite);
  WhitePage();
  DrawPic(3, -1, 26);  // (85, 13), 150 wide
  EXPECT_EQ(BackPixel(85, 20), kBlue);
  EXPECT_EQ(BackPixel(234, 20), kBlue);
  EXPECT_EQ(BackPixel(84, 20), kWhite);
  EXPECT_EQ(BackPixel(235, 20), kWhite);
  resx = 1;
}
