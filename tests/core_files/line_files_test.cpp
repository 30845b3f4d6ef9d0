#include "core/line_files.h"

#include <clocale>
#include <string>

#include "file_fixture.h"

namespace {

class LineFileTest : public FileFixture {
 protected:
  void SetUp() override {
    FileFixture::SetUp();
    Clear();
  }
  void TearDown() override {
    Clear();
    FileFixture::TearDown();
  }
  // Empties the cache without writing anything back.
  static void Clear() {
    gLineFile.dirty = 0;
    SwitchLineFile(gLineFile, nullptr);
  }
  static std::string Get(const char* name, double n) {
    BasicString out;
    GetLineFileText(BasicString(name), n, out);
    return out.c_str();
  }
};

}  // namespace

TEST_F(LineFileTest, ReadsMixedLineEndsOnce) {
  Write("lines.txt", "a\r\nb\nc");
  EXPECT_EQ(Get("lines.txt", 0), "a");
  EXPECT_EQ(Get("lines.txt", 1), "b");
  EXPECT_EQ(Get("lines.txt", 2), "c");
  EXPECT_EQ(Get("lines.txt", 3), "");
  EXPECT_EQ(gLineFile.highest, 2u);
  Write("lines.txt", "changed\r\n");  // held in memory: not read again
  EXPECT_EQ(Get("lines.txt", 0), "a");
  // Control characters go from the end of a line; blanks and UTF-8 stay.
  Write("tail.txt", std::string("x\t\x01\r\ny \t\ncaf\xC3\xA9\n\xC3\xA9\n"));
  EXPECT_EQ(Get("tail.txt", 0), "x");
  EXPECT_EQ(Get("tail.txt", 1), "y ");
  EXPECT_EQ(Get("tail.txt", 2), "caf\xC3\xA9");
  EXPECT_EQ(Get("tail.txt", 3), "\xC3\xA9");
  EXPECT_EQ(gErrorState.errorCode, 0);
}

TEST_F(LineFileTest, PutWritesBackOnSwitch) {
  Write("lines.txt", "a\r\nb\nc");
  PutLineFileText(BasicString("lines.txt"), 5, BasicString("new"));
  EXPECT_EQ(Read("lines.txt"), "a\r\nb\nc");  // nothing written yet
  EXPECT_EQ(Get("other.txt", 0), "NO_FILE");
  EXPECT_EQ(Read("lines.txt"), "a\r\nb\r\nc\r\n\r\n\r\nnew\r\n");

  // Numbers as text, and back; the exit step writes a changed file too.
  PutLineFileNumber(BasicString("num.txt"), 0, 3.5);
  PutLineFileNumber(BasicString("num.txt"), 1, 2.0);
  double v = 0;
  GetLineFileNumber(BasicString("num.txt"), 0, v);
  EXPECT_EQ(v, 3.5);
  FinaliseLineFile();
  EXPECT_EQ(Read("num.txt"), "3.5\r\n2\r\n");
}

TEST_F(LineFileTest, BadLineNumbersAndMissingFiles) {
  Write("lines.txt", "a\r\n");
  for (double n : {256.0, -1.0, 1e12}) {
    gErrorState.errorCode = 0;
    EXPECT_EQ(Get("lines.txt", n), "NO_DATA") << n;
    EXPECT_EQ(gErrorState.errorCode, 7) << n;
    gErrorState.errorCode = 0;
    PutLineFileText(BasicString("lines.txt"), n, BasicString("x"));
    EXPECT_EQ(gErrorState.errorCode, 7) << n;
  }
  EXPECT_EQ(gLineFile.dirty, 0);

  gErrorState.errorCode = 0;
  EXPECT_EQ(Get("missing.txt", 0), "NO_FILE");
  EXPECT_EQ(gErrorState.errorCode, 3);
  EXPECT_EQ(Get("missing.txt", 0), "");  // already current: empty lines
  double v = -1;
  GetLineFileNumber(BasicString("gone.txt"), 0, v);
  EXPECT_EQ(v, 0);
}

TEST_F(LineFileTest, LongFilesKeepTheirTailByteForByte) {
  std::string original;
  for (int i = 0; i < 300; ++i) original += "line " + std::to_string(i) + "\r\n";
  Write("long.txt", original);
  EXPECT_EQ(Get("long.txt", 255), "line 255");
  PutLineFileText(BasicString("long.txt"), 10, BasicString("ten"));
  Clear();  // nothing written: dirty cleared first
  EXPECT_EQ(Read("long.txt"), original);

  PutLineFileText(BasicString("long.txt"), 10, BasicString("ten"));
  FinaliseLineFile();
  std::string expected = original;
  expected.replace(expected.find("line 10\r\n"), 9, "ten\r\n");
  EXPECT_EQ(Read("long.txt"), expected);
}

TEST_F(LineFileTest, LongLinesFitTheirSlots) {
  std::string longLine(1500, 'q');
  std::string exact(1023, 'e');
  std::string nearly(1022, 'n');
  std::string original = longLine + "\r\n" + exact + "\r\n" + nearly + "\r\nend\r\n";
  Write("wide.txt", original);
  EXPECT_EQ(Get("wide.txt", 0), std::string(1023, 'q'));
  EXPECT_EQ(Get("wide.txt", 1), std::string(477, 'q'));
  EXPECT_EQ(Get("wide.txt", 2), exact);
  EXPECT_EQ(Get("wide.txt", 3), nearly);
  PutLineFileText(BasicString("wide.txt"), 4, BasicString("END"));
  FinaliseLineFile();
  std::string expected = original;
  expected.replace(expected.size() - 5, 5, "END\r\n");
  EXPECT_EQ(Read("wide.txt"), expected);

  // A put longer than a slot keeps its first 1023 bytes.
  PutLineFileText(BasicString("put.txt"), 0, BasicString(std::string(5000, 'z').c_str()));
  EXPECT_EQ(Get("put.txt", 0), std::string(1023, 'z'));
}

// The 256th line longer than a slot goes on in the kept tail: writing back
// puts no line end inside it.
TEST_F(LineFileTest, LongLastCachedLineIsWrittenBackWhole) {
  std::string original;
  for (int i = 0; i < 255; ++i) original += "line " + std::to_string(i) + "\r\n";
  original += std::string(1500, 'w') + "\r\nline 256\r\n";
  Write("edge.txt", original);
  PutLineFileText(BasicString("edge.txt"), 3, BasicString("three"));
  FinaliseLineFile();
  std::string expected = original;
  expected.replace(expected.find("line 3\r\n"), 8, "three\r\n");
  EXPECT_EQ(Read("edge.txt"), expected);
}

// A line holding NUL bytes reads up to the first of them but is written
// back whole, also when it fills its slot and goes on in the next one.
TEST_F(LineFileTest, LinesWithNulBytesAreWrittenBackWhole) {
  std::string withNul = std::string("ab\0cd", 5);
  std::string longNul = std::string(10, 'p') + std::string(1, '\0') + std::string(1400, 'r');
  std::string original = withNul + "\r\n" + longNul + "\r\nlast\r\n";
  Write("nul.txt", original);
  EXPECT_EQ(Get("nul.txt", 0), "ab");
  EXPECT_EQ(Get("nul.txt", 1), std::string(10, 'p'));
  EXPECT_EQ(Get("nul.txt", 3), "last");
  PutLineFileText(BasicString("nul.txt"), 3, BasicString("LAST"));
  FinaliseLineFile();
  std::string expected = original;
  expected.replace(expected.size() - 6, 6, "LAST\r\n");
  EXPECT_EQ(Read("nul.txt"), expected);
}

// Numbers read from a line file are read the same under any locale.
TEST_F(LineFileTest, NumbersReadLocaleFree) {
  Write("num2.txt", "2.5\r\n");
  const char* locale = std::setlocale(LC_ALL, "de_DE.UTF-8");
  double v = 0;
  GetLineFileNumber(BasicString("num2.txt"), 0, v);
  std::setlocale(LC_ALL, "C");
  if (!locale) GTEST_SKIP() << "no de_DE locale installed";
  EXPECT_EQ(v, 2.5);
}

TEST_F(LineFileTest, ArchiveFileIsReadFromItsCopyAndWrittenToTheRealName) {
  Write("src/data/scores.txt", "100\r\n200\r\n");
  PackAndUse((root_ / "src").string(), (root_ / "media.gfx").string());
  EXPECT_EQ(Get("data/scores.txt", 1), "200");
  EXPECT_FALSE(std::filesystem::exists("data/scores.txt"));
  PutLineFileNumber(BasicString("scores.txt"), 0, 150);
  Get("data/scores.txt", 0);  // another name: writes scores.txt back
  EXPECT_EQ(Read("scores.txt"), "150\r\n200\r\n");
}
