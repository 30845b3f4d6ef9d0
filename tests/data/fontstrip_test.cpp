// orvale-fontstrip: refuses bad input with a failure status and no output,
// and lays out any cell size as one strip of 96 cells.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "frame/image_png.h"
#include "frame/renderer.h"
#include "platform/system.h"

namespace {

// Names of this test process alone: the cases run as parallel processes.
std::string OutPath(const char* name) {
  static const std::string token = std::to_string(std::random_device{}());
  return platform::TempFolder() + "orvale_fontstrip_" + token + "_" + name;
}

// Exit status of the tool, passed back through a file by the shell.
int RunTool(const std::string& args) {
  const std::string statusFile = OutPath("status.txt");
  std::string cmd = std::string("'") + ORVALE_FONTSTRIP_TOOL + "' " + args + " 2>/dev/null; echo $? > '" +
                    statusFile + "'";
  if (std::system(cmd.c_str()) != 0) return -1;
  int status = -1;
  if (std::FILE* f = std::fopen(statusFile.c_str(), "r")) {
    if (std::fscanf(f, "%d", &status) != 1) status = -1;
    std::fclose(f);
  }
  std::remove(statusFile.c_str());
  return status;
}

bool Exists(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f) std::fclose(f);
  return f != nullptr;
}

TEST(FontStripTool, RejectsBadInputWithoutWritingAFile) {
  const std::string out = OutPath("bad.png");
  std::remove(out.c_str());
  struct Case {
    std::string args;
    int status;
  } cases[] = {
      {"", 2},
      {"'" ORVALE_TEXT_FONT "' 5 '" + out + "'", 2},           // cell too small
      {"'" ORVALE_TEXT_FONT "' 20 '" + out + "' --outline 9", 2},  // outline out of range
      {"'" ORVALE_TEXT_FONT "' 20 '" + out + "' --ink 12345", 2},  // colour not RRGGBB
      {"'" ORVALE_TEXT_FONT "' 20 '" + out + "' --bold 3", 2},     // thickening out of range
      {"/nonexistent/font.ttf 20 '" + out + "'", 1},
      {"'" ORVALE_TEXT_FONT "' 20 /nonexistent/folder/strip.png", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args);
    EXPECT_EQ(RunTool(c.args), c.status);
    EXPECT_FALSE(Exists(out));
  }
}

TEST(FontStripTool, AnyCellSizeGivesOneStripOfNinetySixCells) {
  const std::string out = OutPath("16.png");
  ASSERT_EQ(RunTool("'" ORVALE_TEXT_FONT "' 16 '" + out + "'"), 0);
  RgbaImage image{};
  ASSERT_EQ(LoadPngImage(&image, out.c_str(), 0xFFFFFFFF), 1);
  EXPECT_EQ(image.width, 96 * 16);
  EXPECT_EQ(image.height, 16);
  // Cell 0 (the space) is empty; cell 33 ('A') has ink.
  int spaceInk = 0, letterInk = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      spaceInk += image.pixels[(size_t(y) * image.width + x) * 4 + 3] != 0;
      letterInk += image.pixels[(size_t(y) * image.width + 33 * 16 + x) * 4 + 3] != 0;
    }
  EXPECT_EQ(spaceInk, 0);
  EXPECT_GT(letterInk, 20);
  FreeRgbaImage(&image);
  std::remove(out.c_str());
}

// Each glyph's ink (outline or shadow included) starts exactly `gap` columns
// into its cell, whatever the face's bearings: the printer's advance then
// leaves gap + 1 blank columns between letters.
TEST(FontStripTool, GlyphInkStartsAtTheGapColumn) {
  struct Case {
    int cell;
    const char* options;
    int gap;
  } cases[] = {{20, "--gap 0", 0}, {20, "--gap 2 --widen 1.05", 2}, {10, "--shadow --gap 1", 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options);
    const std::string out = OutPath("gap.png");
    ASSERT_EQ(RunTool("'" ORVALE_TEXT_FONT "' " + std::to_string(c.cell) + " '" + out + "' " + c.options), 0);
    RgbaImage image{};
    ASSERT_EQ(LoadPngImage(&image, out.c_str(), 0xFFFFFFFF), 1);
    for (int glyph = 1; glyph < 96; ++glyph) {
      int first = c.cell;
      for (int y = 0; y < c.cell; ++y)
        for (int x = 0; x < first; ++x)
          if (image.pixels[(size_t(y) * image.width + size_t(glyph) * c.cell + x) * 4 + 3] != 0) first = x;
      EXPECT_EQ(first, c.gap) << "glyph " << glyph;
    }
    FreeRgbaImage(&image);
    std::remove(out.c_str());
  }
}

}  // namespace
