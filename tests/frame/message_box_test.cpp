// Line breaking of message box texts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "platform/message_box.h"

namespace {

// One unit a character, as a fixed-width font: UTF-8 continuation bytes
// take no room.
int Characters(std::string_view s) {
  int n = 0;
  for (char c : s) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

TEST(MessageBoxLines, BreaksAtBlanksAndStandsLongWordsAlone) {
  struct Case {
    const char* text;
    int width;
    const char* lines;
  };
  const Case cases[] = {
      {"aaa bbb ccc", 7, "aaa bbb\nccc"},
      {"aaa bbb ccc", 11, "aaa bbb ccc"},
      {"aaa bbb ccc", 10, "aaa bbb\nccc"},
      // The text's own line ends and empty lines stay.
      {"ab\n\ncd ef", 5, "ab\n\ncd ef"},
      {"ab cd\nef", 2, "ab\ncd\nef"},
      // Blanks inside a line stay; at a break they go.
      {"a  b", 10, "a  b"},
      {"aaa   bbb", 5, "aaa\nbbb"},
      {"  aaa", 5, "aaa"},
      // A path that fits a line stands on a line of its own.
      {"see /a/b/c.txt now", 10, "see\n/a/b/c.txt\nnow"},
      // One too long for any line is cut after a '/'...
      {"could not supply /very/long/path/media.gfx now", 20,
       "could not supply\n/very/long/path/\nmedia.gfx now"},
      // ... but not after one near its start ...
      {"/abcdefghijklmnop", 10, "/abcdefghi\njklmnop"},
      // ... and without one anywhere.
      {"abcdefghij", 4, "abcd\nefgh\nij"},
      // Characters of several bytes stay whole.
      {"\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9", 2,
       "\xc3\xa9\xc3\xa9\n\xc3\xa9\xc3\xa9\n\xc3\xa9"},
      {"", 10, ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(platform::BreakMessageLines(c.text, c.width, Characters), c.lines)
        << '"' << c.text << "\" at " << c.width;
}

TEST(MessageBoxLines, EveryLineFitsAndTheWordsStay) {
  const std::string text =
      "The game's data is missing or damaged: /home/player/games/kestrovar-1.0/build/game/"
      "media.gfx could not supply gfx/fontpc.png (the archive is missing or damaged). "
      "Reinstall the game or build it again.";
  for (int width : {20, 40, 60, 95}) {
    const std::string lines = platform::BreakMessageLines(text, width, Characters);
    std::istringstream in(lines);
    std::string line, joined;
    while (std::getline(in, line)) {
      EXPECT_LE(Characters(line), width) << line;
      EXPECT_FALSE(line.empty());
      // Only the path is ever cut inside a word: after one of its '/'.
      if (!joined.empty() && joined.back() != '/') joined += ' ';
      joined += line;
    }
    EXPECT_EQ(joined, text) << "at " << width;
  }
}

TEST(MessageBoxLines, SixtyCharactersWithoutADisplay) {
  const char* display = std::getenv("DISPLAY");
  const std::string saved = display ? display : "";
  unsetenv("DISPLAY");
  const std::string text(40, 'x');
  const std::string words = text + " " + text + " " + text;
  EXPECT_EQ(platform::MessageBoxLines(words), text + "\n" + text + "\n" + text);
  const std::string pair = "abcde " + std::string(54, 'y');
  EXPECT_EQ(platform::MessageBoxLines(pair), pair);
  if (display) setenv("DISPLAY", saved.c_str(), 1);
}

}  // namespace
