// The save marker: reading in both places, the rejected contents, writing
// with its fall-back to the user folder; and the bounds of the location
// dispatch.
#include "game/save_marker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/runtime_error.h"
#include "game/location_table.h"
#include "platform/system.h"

namespace fs = std::filesystem;

namespace {

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Spit(const fs::path& p, const std::string& bytes) {
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << bytes;
}

// Reaching the program end (a runtime error) fails the test run.
void ProgramEndFails(int) {
  std::fprintf(stderr, "the program end was reached: runtime error %g\n", gErrorState.errorCode);
  std::_Exit(99);
}

class SaveMarker : public ::testing::Test {
 protected:
  void SetUp() override {
    SetProgramExitHandler(ProgramEndFails);
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "-" + info->name();
    for (char& c : name)
      if (c == '/') c = '-';
    root_ = fs::path(ORVALE_BINARY_DIR) / "tests" / "game" / "marker" / name;
    fs::remove_all(root_);
    fs::create_directories(root_ / "program");
    fs::create_directories(root_ / "tmp");
    setenv("XDG_DATA_HOME", (root_ / "user").c_str(), 1);
    setenv("TMPDIR", (root_ / "tmp").c_str(), 1);
    DeleteErrorLog();
    home_ = platform::CurrentFolder();
    ASSERT_TRUE(platform::SetCurrentFolder((root_ / "program").string()));
  }
  void TearDown() override {
    platform::SetCurrentFolder(home_);
    fs::remove_all(root_);
  }

  fs::path ProgramMarker() const { return root_ / "program" / "partone.kv"; }
  fs::path UserMarker() const { return root_ / "user" / "kestrovar" / "partone.kv"; }

  fs::path root_;
  std::string home_;
};

TEST_F(SaveMarker, NoMarkerAnywhere) {
  EXPECT_EQ(SaveMarkerExists(), 0.0);
  EXPECT_STREQ(StrCStr(ReadSaveMarker()), "");
}

// A pipe or device in the marker's place is not a marker: nothing blocks on
// it, it is not read, removed or written through, and the end of Part One
// writes the marker in the user folder instead.
TEST_F(SaveMarker, PipeOrDeviceIsNoMarker) {
  ASSERT_EQ(std::system(("mkfifo " + ProgramMarker().string()).c_str()), 0);
  EXPECT_EQ(SaveMarkerExists(), 0.0);
  EXPECT_STREQ(StrCStr(ReadSaveMarker()), "");
  KillSaveMarkers();
  EXPECT_TRUE(fs::is_fifo(ProgramMarker()));
  EXPECT_EQ(WriteSaveMarker(), 1.0);
  EXPECT_EQ(Slurp(UserMarker()), "5093176\r\n");
  EXPECT_TRUE(fs::is_fifo(ProgramMarker()));
  EXPECT_EQ(SaveMarkerExists(), 1.0);

  fs::remove(ProgramMarker());
  fs::create_symlink("/dev/zero", ProgramMarker());
  EXPECT_STREQ(StrCStr(ReadSaveMarker()), "5093176");
}

// First line as the game compares it; empty files and blank lines read as ""
// instead of ending the program.
TEST_F(SaveMarker, ReadsTheFirstLineOfEveryContent) {
  struct Case {
    const char* bytes;
    size_t size;
    const char* line;
  } cases[] = {
      {"5093176\r\n", 9, "5093176"},
      {"5093176", 7, "5093176"},
      {"5093176\n", 8, "5093176"},
      {"5093176\r\nmore\r\n", 15, "5093176"},
      {"5093176 \r\n", 10, "5093176 "},
      {"1234567\r\n", 9, "1234567"},
      {"", 0, ""},
      {"\r\n", 2, ""},
      {"\0\0\0\0", 4, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::string(c.bytes, c.size)));
    Spit(ProgramMarker(), std::string(c.bytes, c.size));
    EXPECT_EQ(SaveMarkerExists(), 1.0);
    EXPECT_STREQ(StrCStr(ReadSaveMarker()), c.line);
  }
}

TEST_F(SaveMarker, FolderOfThatNameIsNoMarker) {
  fs::create_directories(ProgramMarker());
  EXPECT_EQ(SaveMarkerExists(), 0.0);
}

// A marker that cannot be read is not a wrong marker: it is left alone,
// logged and taken as absent, also beside a readable one. Root reads any
// file, so the unreadable markers are links to files nobody can read: a
// write-only setting of the kernel (the open fails) and this process's
// memory file (the read fails).
TEST_F(SaveMarker, UnreadableMarkerIsLeftAloneAndTakenAsAbsent) {
  const char* const targets[] = {"/proc/sys/vm/drop_caches", "/proc/self/mem"};
  for (const char* target : targets) {
    SCOPED_TRACE(target);
    if (!fs::is_regular_file(target)) continue;
    fs::remove(ProgramMarker());
    fs::remove(UserMarker());
    DeleteErrorLog();
    fs::create_symlink(target, ProgramMarker());
    EXPECT_EQ(SaveMarkerExists(), 0.0);
    EXPECT_NE(Slurp(ErrorLogPath()).find("Save marker partone.kv cannot be read ("),
              std::string::npos)
        << Slurp(ErrorLogPath());
    EXPECT_STREQ(StrCStr(ReadSaveMarker()), "");
    KillSaveMarkers();
    EXPECT_TRUE(fs::is_symlink(ProgramMarker()));

    // Beside it, a wrong marker in the user folder is read and removed, and
    // the unreadable one stays.
    Spit(UserMarker(), "111\r\n");
    EXPECT_EQ(SaveMarkerExists(), 1.0);
    EXPECT_STREQ(StrCStr(ReadSaveMarker()), "111");
    KillSaveMarkers();
    EXPECT_FALSE(fs::exists(UserMarker()));
    EXPECT_TRUE(fs::is_symlink(ProgramMarker()));
  }
}

TEST_F(SaveMarker, UserFolderMarkerUnlocksEvenBesideAWrongOne) {
  Spit(UserMarker(), "5093176\r\n");
  EXPECT_EQ(SaveMarkerExists(), 1.0);
  EXPECT_STREQ(StrCStr(ReadSaveMarker()), kUnlockCode);
  Spit(ProgramMarker(), "");
  EXPECT_STREQ(StrCStr(ReadSaveMarker()), kUnlockCode);
}

TEST_F(SaveMarker, WrongMarkersReadAsTheFirstOne) {
  Spit(ProgramMarker(), "111\r\n");
  Spit(UserMarker(), "222\r\n");
  EXPECT_STREQ(StrCStr(ReadSaveMarker()), "111");
}

TEST_F(SaveMarker, KillRemovesBothPlaces) {
  Spit(ProgramMarker(), "x");
  Spit(UserMarker(), "");
  KillSaveMarkers();
  EXPECT_FALSE(fs::exists(ProgramMarker()));
  EXPECT_FALSE(fs::exists(UserMarker()));
  EXPECT_EQ(SaveMarkerExists(), 0.0);
}

TEST_F(SaveMarker, WritesTheCodeLineInTheProgramFolder) {
  Spit(ProgramMarker(), "an older, longer marker\r\n");
  EXPECT_EQ(WriteSaveMarker(), 1.0);
  EXPECT_EQ(Slurp(ProgramMarker()), "5093176\r\n");
  EXPECT_FALSE(fs::exists(root_ / "user"));
  EXPECT_STREQ(StrCStr(ReadSaveMarker()), kUnlockCode);
}

// /proc takes no new files, not even from root: the marker goes to the user
// folder, which is made, and is found there again.
TEST_F(SaveMarker, UnwritableProgramFolderFallsBackToTheUserFolder) {
  ASSERT_TRUE(platform::SetCurrentFolder("/proc"));
  EXPECT_EQ(WriteSaveMarker(), 1.0);
  EXPECT_EQ(Slurp(UserMarker()), "5093176\r\n");
  EXPECT_EQ(SaveMarkerExists(), 1.0);
  EXPECT_STREQ(StrCStr(ReadSaveMarker()), kUnlockCode);
}

TEST_F(SaveMarker, NowhereToWriteIsLoggedAndSurvived) {
  ASSERT_TRUE(platform::SetCurrentFolder("/proc"));
  setenv("XDG_DATA_HOME", "/proc/no-such-folder", 1);
  EXPECT_EQ(WriteSaveMarker(), 0.0);
  EXPECT_EQ(SaveMarkerExists(), 0.0);
  EXPECT_NE(Slurp(ErrorLogPath()).find("Save marker partone.kv could not be written\r\n"),
            std::string::npos);
}

TEST(SaveMarkerPlaces, UserFolderFromTheEnvironment) {
  setenv("XDG_DATA_HOME", "/data/home", 1);
  EXPECT_STREQ(StrCStr(SaveMarkerPath(1)), "/data/home/kestrovar/partone.kv");
  setenv("XDG_DATA_HOME", "relative/ignored", 1);
  setenv("HOME", "/home/kv", 1);
  EXPECT_STREQ(StrCStr(SaveMarkerPath(1)), "/home/kv/.local/share/kestrovar/partone.kv");
  unsetenv("XDG_DATA_HOME");
  unsetenv("HOME");
  EXPECT_STREQ(StrCStr(SaveMarkerPath(1)), "");
  EXPECT_STREQ(StrCStr(SaveMarkerPath(0)), "partone.kv");
}

TEST(LocationTable, OnlyWholeNumbersOfEachPartSelect) {
  EXPECT_EQ(gPartOneProcedures.count, 52);
  EXPECT_EQ(gPartTwoProcedures.count, 44);
  for (double part : {1.0, 2.0}) {
    const PartProcedures* t = PartTable(part);
    ASSERT_NE(t, nullptr);
    for (double loc : {0.0, -1.0, 0.5, 1.5, t->count + 1.0, 999.0, std::nan("")})
      EXPECT_EQ(FindLocation(part, loc), nullptr) << part << " " << loc;
    for (int n = 1; n <= t->count; ++n) EXPECT_EQ(FindLocation(part, n), t->locations[n]);
  }
  EXPECT_EQ(PartTable(0), nullptr);
  EXPECT_EQ(PartTable(3), nullptr);
  EXPECT_EQ(FindLocation(3, 1), nullptr);
  EXPECT_EQ(FindIntro(3), nullptr);
}

}  // namespace
