#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/file_channels.h"
#include "core/file_commands.h"
#include "core_test_support.h"
#include "platform/system.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const std::string& data) {
  std::ofstream(path, std::ios::binary) << data;
}

class FileChannels : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = ScratchFolder(testing::UnitTest::GetInstance()->current_test_info()->name());
  }
  void TearDown() override { CloseAllFileChannels(); }
  std::string Path(const char* name) const { return dir_ + "/" + name; }
  BasicString Name(const char* name) const { return BasicString(Path(name).c_str()); }

  std::string dir_;
};

}  // namespace

TEST_F(FileChannels, BytesWrittenAndReadBackExactly) {
  ASSERT_EQ(OpenFileChannel(1, Name("data.bin"), 0), 1.0);
  EXPECT_EQ(ChannelAtEnd(1), 1.0);  // writing: at end at once
  WriteChannelByte(1, 300);
  WriteChannelByte(1, -1);
  WriteChannelWord(1, 65535);
  WriteChannelWord(1, 0x1234);
  WriteChannelLong(1, -1);
  WriteChannelLong(1, 3000000000.0);
  WriteChannelLong(1, 4294967295.0);
  WriteChannelLong(1, 2147483648.0);
  WriteChannelDouble(1, -2.5);
  WriteChannelBytes(1, BasicString("ab"));
  WriteChannelBytes(1, BasicString(""));
  WriteLineToChannel(1, BasicString("line"));
  WriteNumberLineToChannel(1, 0.5);
  WriteNumberLineToChannel(1, 1e20);
  CloseFileChannel(1);

  const char expected[] =
      "\x2C\xFF"
      "\xFF\xFF\x34\x12"
      "\xFF\xFF\xFF\xFF"
      "\x00\x5E\xD0\xB2"
      "\xFF\xFF\xFF\xFF"
      "\x00\x00\x00\x80"
      "\x00\x00\x00\x00\x00\x00\x04\xC0"
      "ab"
      "line\r\n0.5\r\n1.e+020\r\n";
  EXPECT_EQ(ReadAll(Path("data.bin")), std::string(expected, sizeof expected - 1));

  ASSERT_EQ(OpenFileChannel(2, Name("data.bin"), 1), 1.0);
  double v = 0;
  ReadChannelByte(2, v);
  EXPECT_EQ(v, 44.0);
  ReadChannelByte(2, v);
  EXPECT_EQ(v, 255.0);
  ReadChannelWord(2, v);
  EXPECT_EQ(v, 65535.0);
  ReadChannelWord(2, v);
  EXPECT_EQ(v, 0x1234);
  ReadChannelLong(2, v);
  EXPECT_EQ(v, 4294967295.0);
  ReadChannelLong(2, v);
  EXPECT_EQ(v, 3000000000.0);
  ReadChannelLong(2, v);
  EXPECT_EQ(v, 4294967295.0);
  ReadChannelLong(2, v);
  EXPECT_EQ(v, 2147483648.0);
  ReadChannelDouble(2, v);
  EXPECT_EQ(v, -2.5);
  BasicString s;
  ReadChannelBytes(2, s, 2);
  EXPECT_STREQ(s.c_str(), "ab");
  ReadChannelLine(2, s);
  EXPECT_STREQ(s.c_str(), "line");
  ReadChannelNumberLine(2, v);
  EXPECT_EQ(v, 0.5);
  EXPECT_EQ(ChannelAtEnd(2), 0.0);
  ReadChannelNumberLine(2, v);
  EXPECT_EQ(v, 1e20);
  EXPECT_EQ(ChannelAtEnd(2), 1.0);
  EXPECT_EQ(gFileChannels[2].position, gFileChannels[2].size);
}

TEST_F(FileChannels, ModeZeroEmptiesAndMissingFileFailsToOpen) {
  WriteAll(Path("old.txt"), "old contents");
  ASSERT_EQ(OpenFileChannel(0, Name("old.txt"), 0), 1.0);
  CloseFileChannel(0);
  EXPECT_EQ(ReadAll(Path("old.txt")), "");

  EXPECT_EQ(OpenFileChannel(3, Name("missing.txt"), 1), 0.0);
  EXPECT_EQ(gFileChannels[3].handle, -1);
  double v;
  EXPECT_RUNTIME_ERROR(ReadChannelByte(3, v), 3);
  EXPECT_EQ(OpenFileChannel(3, BasicString(dir_.c_str()), 1), 0.0);  // a folder is no file

  // Backslashes in names are folder separators.
  std::string back = Path("old.txt");
  for (char& c : back)
    if (c == '/') c = '\\';
  EXPECT_EQ(OpenFileChannel(4, BasicString(back.c_str()), 1), 1.0);
}

TEST_F(FileChannels, BadChannelAndFailedTransfers) {
  double v;
  BasicString s;
  EXPECT_RUNTIME_ERROR(ReadChannelByte(8, v), 7);
  EXPECT_RUNTIME_ERROR(ReadChannelByte(-0.5, v), 7);
  EXPECT_RUNTIME_ERROR(WriteChannelLong(99, 1), 7);
  EXPECT_RUNTIME_ERROR(OpenFileChannel(-1, Name("x"), 0), 7);
  EXPECT_RUNTIME_ERROR(ReadChannelBytes(8, s, 1), 7);
  ReadChannelBytes(8, s, 0);  // no count, no check
  EXPECT_EQ(s.length, 0u);
  EXPECT_EQ(ChannelAtEnd(42), 1.0);

  EXPECT_RUNTIME_ERROR(WriteChannelByte(5, 1), 3);  // closed
  WriteAll(Path("short.bin"), "abc");
  ASSERT_EQ(OpenFileChannel(5, Name("short.bin"), 1), 1.0);
  EXPECT_RUNTIME_ERROR(ReadChannelLong(5, v), 3);       // short read
  EXPECT_RUNTIME_ERROR(WriteChannelByte(5, 1), 3);      // opened for reading
  EXPECT_RUNTIME_ERROR(ReadChannelBytes(5, s, 1e9), 3); // more than the file holds
}

TEST_F(FileChannels, ReadBytesStopsAtZeroButAdvancesByCount) {
  WriteAll(Path("z.bin"), std::string("ab\0cdX", 6));
  ASSERT_EQ(OpenFileChannel(6, Name("z.bin"), 1), 1.0);
  BasicString s;
  ReadChannelBytes(6, s, 5);
  EXPECT_STREQ(s.c_str(), "ab");
  EXPECT_EQ(s.length, 2u);
  EXPECT_EQ(gFileChannels[6].position, 5u);
  double v;
  ReadChannelByte(6, v);
  EXPECT_EQ(v, 'X');
}

TEST_F(FileChannels, LineReaderEdgeCases) {
  std::string line64(64, 'q'), line1024(1024, 'w'), line2000(2000, 'e');
  std::string crSplit = std::string(63, 'c') + "\r\nnext\n";
  WriteAll(Path("a.txt"), "ab\r\ncd");
  WriteAll(Path("b.txt"), line64);                 // last line, no LF, 64 bytes
  WriteAll(Path("c.txt"), line1024 + "\r\ntail");  // a full 1024-byte line
  WriteAll(Path("d.txt"), line2000);
  WriteAll(Path("e.txt"), crSplit);                // CR ends one chunk, LF starts the next
  WriteAll(Path("f.txt"), "\n\r\nx\n");
  WriteAll(Path("g.txt"), std::string(128, 'g') + "\n");

  BasicString s;
  ASSERT_EQ(OpenFileChannel(0, Name("a.txt"), 1), 1.0);
  ReadChannelLine(0, s);
  EXPECT_STREQ(s.c_str(), "ab");
  EXPECT_EQ(ChannelAtEnd(0), 0.0);
  ReadChannelLine(0, s);
  EXPECT_STREQ(s.c_str(), "cd");
  EXPECT_EQ(ChannelAtEnd(0), 1.0);
  EXPECT_RUNTIME_ERROR(ReadChannelLine(0, s), 3);

  ASSERT_EQ(OpenFileChannel(1, Name("b.txt"), 1), 1.0);
  ReadChannelLine(1, s);
  EXPECT_EQ(std::string(s.c_str()), line64);
  EXPECT_EQ(ChannelAtEnd(1), 1.0);

  ASSERT_EQ(OpenFileChannel(2, Name("c.txt"), 1), 1.0);
  StrAssignCStr(s, std::string(1500, 'Z').c_str());  // old text must not leak in
  ReadChannelLine(2, s);
  EXPECT_EQ(s.length, 1024u);
  EXPECT_EQ(s.buffer[1024], 0);
  EXPECT_EQ(std::string(s.c_str()), line1024);
  ReadChannelLine(2, s);
  EXPECT_STREQ(s.c_str(), "");  // the CR LF after the full line
  ReadChannelLine(2, s);
  EXPECT_STREQ(s.c_str(), "tail");

  ASSERT_EQ(OpenFileChannel(3, Name("d.txt"), 1), 1.0);
  ReadChannelLine(3, s);
  EXPECT_EQ(s.length, 1024u);
  EXPECT_EQ(gFileChannels[3].position, 1024u);
  ReadChannelLine(3, s);
  EXPECT_EQ(s.length, 976u);

  ASSERT_EQ(OpenFileChannel(4, Name("e.txt"), 1), 1.0);
  ReadChannelLine(4, s);
  EXPECT_EQ(std::string(s.c_str()), std::string(63, 'c'));
  ReadChannelLine(4, s);
  EXPECT_STREQ(s.c_str(), "next");

  ASSERT_EQ(OpenFileChannel(5, Name("f.txt"), 1), 1.0);
  ReadChannelLine(5, s);
  EXPECT_STREQ(s.c_str(), "");
  ReadChannelLine(5, s);
  EXPECT_STREQ(s.c_str(), "");
  ReadChannelLine(5, s);
  EXPECT_STREQ(s.c_str(), "x");
  EXPECT_EQ(ChannelAtEnd(5), 1.0);

  ASSERT_EQ(OpenFileChannel(6, Name("g.txt"), 1), 1.0);
  ReadChannelLine(6, s);
  EXPECT_EQ(s.length, 128u);
  EXPECT_EQ(ChannelAtEnd(6), 1.0);
}

static void ReportChannelSeven(int) {
  std::fprintf(stderr, "channel 7 handle %d\n", gFileChannels[7].handle);
  std::fflush(stderr);
}

TEST_F(FileChannels, ExitFinaliserClosesOpenChannels) {
  EXPECT_EXIT(
      {
        SetProgramExitHandler(ReportChannelSeven);
        OpenFileChannel(7, Name("open.txt"), 0);
        EndProgram();
      },
      testing::ExitedWithCode(0), "channel 7 handle -1");
}

TEST_F(FileChannels, ExistsSizeKillAndCopy) {
  WriteAll(Path("src.bin"), std::string(10000, 'x') + "end");
  EXPECT_EQ(FileExists(Name("src.bin")), 1.0);
  EXPECT_EQ(FileExists(Name("none.bin")), 0.0);
  EXPECT_EQ(FileExists(BasicString(dir_.c_str())), 0.0);
  EXPECT_EQ(FileExists(BasicString("")), 0.0);
  EXPECT_EQ(FileSizeOf(Name("src.bin")), 10003.0);
  EXPECT_EQ(FileSizeOf(Name("none.bin")), 0.0);

  WriteAll(Path("dst.bin"), "previous");
  CopyFileCmd(Name("src.bin"), Name("dst.bin"));
  EXPECT_EQ(ReadAll(Path("dst.bin")), ReadAll(Path("src.bin")));
  WriteAll(Path("empty.bin"), "");
  CopyFileCmd(Name("empty.bin"), Name("copy_of_empty.bin"));
  EXPECT_EQ(FileExists(Name("copy_of_empty.bin")), 1.0);
  EXPECT_EQ(FileSizeOf(Name("copy_of_empty.bin")), 0.0);
  CopyFileCmd(Name("src.bin"), Name("src.bin"));  // onto itself: the data stays
  EXPECT_EQ(FileSizeOf(Name("src.bin")), 10003.0);
  CopyFileCmd(Name("none.bin"), Name("dst.bin"));  // missing source: nothing happens
  EXPECT_EQ(FileSizeOf(Name("dst.bin")), 10003.0);
  CopyFileCmd(Name("src.bin"), Name("no_such_folder/dst.bin"));
  EXPECT_EQ(FileExists(Name("no_such_folder/dst.bin")), 0.0);

  std::string back = Path("dst.bin");
  for (char& c : back)
    if (c == '/') c = '\\';
  EXPECT_EQ(FileExists(BasicString(back.c_str())), 1.0);
  KillFile(BasicString(back.c_str()));
  EXPECT_EQ(FileExists(Name("dst.bin")), 0.0);
  KillFile(Name("dst.bin"));  // silent
  KillFile(BasicString(dir_.c_str()));  // folders are not deleted
  EXPECT_TRUE(std::filesystem::is_directory(dir_));
}

TEST_F(FileChannels, CurrentFolder) {
  std::string before = platform::CurrentFolder();
  EXPECT_EQ(SetCurrentDir(BasicString(dir_.c_str())), 1.0);
  BasicString cur = GetCurrentDir();
  EXPECT_EQ(std::string(cur.c_str()), std::filesystem::canonical(dir_).string() + "/");
  EXPECT_EQ(SetCurrentDir(BasicString("/")), 1.0);
  EXPECT_STREQ(GetCurrentDir().c_str(), "/");
  EXPECT_EQ(SetCurrentDir(Name("missing_folder")), 0.0);
  EXPECT_EQ(SetCurrentDir(BasicString("")), 0.0);
  EXPECT_STREQ(GetCurrentDir().c_str(), "/");
  platform::SetCurrentFolder(before);

  BasicString s("a\\b\\c");
  EXPECT_EQ(BackslashesToSlashes(s), 5.0);
  EXPECT_STREQ(s.c_str(), "a/b/c");
}

TEST(MatchWildcard, Patterns) {
  struct Case {
    const char* pattern;
    const char* name;
    int match;
  } cases[] = {
      {"*.PNG", "title.png", 1}, {"a?c", "a.c", 0},     {"a?c", "abc", 1},
      {"*", "", 1},              {"", "", 1},           {"**", "", 1},
      {"", "a", 0},              {"?", "", 0},          {"*.txt", "notes.txt.bak", 0},
      {"*a*b", "xxaybab", 1},    {"*ab", "aab", 1},     {"a*", "a", 1},
      {"*.*", "readme", 0},      {"*.*", "a.b", 1},     {"ab*cd*", "abXcdYcdZ", 1},
      {"?*", "x", 1},            {"FILE?.DAT", "file1.dat", 1}, {"\xE9*", "\xC9x", 0},
      {"*x", "abc", 0},          {"abc", "abcd", 0},    {"abcd", "abc", 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MatchWildcard(c.pattern, c.name), c.match) << c.pattern << " vs " << c.name;
}
