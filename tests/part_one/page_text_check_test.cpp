// Every story text of the parts, checked with the real glyph widths.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "core/basic_array.h"
#include "frame/graphics_commands.h"
#include "game/element_access.h"
#include "game/game_state.h"
#include "game/text_print.h"
#include "game/part_two/part_two_texts.h"
#include "page_text_check.h"

int WrappedLines(const std::string& text, double margin) {
  // The word wrap's own steps, counting the lines it prints.
  std::string rest = text;
  int lines = 0;
  while (!rest.empty()) {
    size_t lastspace = 0, testch = 0;
    double width = 0;
    while (width < margin && testch != rest.size()) {
      const int ch = static_cast<unsigned char>(rest[testch]) - 32;
      if (ch == 0) lastspace = testch;
      width += At(kern, ch);
      ++testch;
    }
    ++lines;
    if (testch == rest.size() && width < margin) {
      rest.clear();
    } else if (lastspace > 0) {
      rest = rest.substr(lastspace + 1);
    } else {
      testch = testch > 1 ? testch - 1 : 1;
      rest = rest.substr(testch);
    }
  }
  return lines;
}

void CheckPageTexts(const PageTextTable& table, const std::string& lookup,
                    const std::string& sourceFolder) {
  ASSERT_GT(table.count, 0);
  std::set<std::string> keys;
  for (int i = 0; i < table.count; ++i) {
    const PageText& t = table.entries[i];
    SCOPED_TRACE(t.key);
    EXPECT_TRUE(keys.insert(t.key).second) << "key entered twice";
    const std::string text = t.text;
    ASSERT_FALSE(text.empty());
    for (char c : text) {
      const int code = static_cast<unsigned char>(c);
      EXPECT_TRUE(code >= 32 && code <= 127) << "character " << code;
    }
    EXPECT_LE(text.size(), 249u);
    if (t.length > 0) {
      EXPECT_LE(std::abs(double(text.size()) - t.length), t.length * 0.1)
          << text.size() << " characters for " << t.length;
    }
    if (t.margin == 0) {
      double width = 0;
      for (char c : text) width += At(kern, static_cast<unsigned char>(c) - 32);
      EXPECT_LE((t.x < 0 ? 0 : t.x) + width, 640) << "line wider than the screen";
      EXPECT_LE(t.y + 20, t.limitY) << "line runs into what follows";
    } else {
      const int lines = WrappedLines(text, t.margin);
      EXPECT_LE(t.y + 20 * lines + 20, t.limitY)
          << lines << " lines from y " << t.y << " at margin " << t.margin;
    }
  }

  // Every key the part's procedures look up is in the table.
  const std::string call = lookup + "(\"";
  int uses = 0;
  for (const auto& file : std::filesystem::directory_iterator(std::string(ORVALE_SOURCE_DIR) +
                                                               "/game/" + sourceFolder)) {
    if (file.path().extension() != ".cpp") continue;
    std::ifstream in(file.path());
    std::stringstream all;
    all << in.rdbuf();
    const std::string source = all.str();
    for (size_t at = source.find(call); at != std::string::npos; at = source.find(call, at + 1)) {
      const size_t start = at + call.size();
      const size_t end = source.find('"', start);
      if (end == std::string::npos) break;
      ++uses;
      const std::string key = source.substr(start, end - start);
      EXPECT_EQ(keys.count(key), 1u)
          << file.path().filename() << " looks up the unknown key " << key;
    }
  }
  EXPECT_GT(uses, 0) << "no look-ups found in game/" << sourceFolder;
}

TEST(PageTexts, WrapCountsFollowTheMargin) {
  // The glyph table is the real one: a short word fits one line, a long run
  // of words takes more lines at a narrower margin.
  EXPECT_EQ(WrappedLines("Yes", 640), 1);
  const std::string words = "one two three four five six seven eight nine ten eleven twelve";
  EXPECT_GE(WrappedLines(words, 200), WrappedLines(words, 640) + 1);
  EXPECT_GT(At(kern, 'm' - 32), At(kern, 'i' - 32));
}

namespace {

// The glyph widths of the handheld's strip (in page units) for the checks
// that follow, until the end of the scope.
class HandheldWidths {
 public:
  HandheldWidths() { Use(2, "gfx/fontgp.png", 10); }
  ~HandheldWidths() { Use(1, "gfx/fontpc.png", 20); }

 private:
  static void Use(double divisor, const char* strip, double cell) {
    resx = divisor;
    LoadAnimCmd(strip, kFontSprite, cell, cell);
    BuildKernTable();
    ClearScreen();
  }
};

}  // namespace

TEST(PageTexts, PartOne) {
  CheckPageTexts(gPartOneTexts, "PartOneText", "part_one");
  HandheldWidths handheld;
  CheckPageTexts(gPartOneTexts, "PartOneText", "part_one");
}

TEST(PageTexts, PartTwo) {
  CheckPageTexts(gPartTwoTexts, "PartTwoText", "part_two");
  HandheldWidths handheld;
  CheckPageTexts(gPartTwoTexts, "PartTwoText", "part_two");
}
