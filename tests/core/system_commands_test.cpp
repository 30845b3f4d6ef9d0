#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/system_commands.h"
#include "core_test_support.h"
#include "platform/process.h"
#include "platform/system.h"

TEST(SplitCommandLine, WindowsRules) {
  struct Case {
    const char* line;
    std::vector<std::string> args;
  } cases[] = {
      {"prog a b", {"prog", "a", "b"}},
      {"  prog   a\t b  ", {"prog", "a", "b"}},
      {"\"C:\\Program Files\\x.exe\" arg", {"C:\\Program Files\\x.exe", "arg"}},
      {"prog \"a b\" c", {"prog", "a b", "c"}},
      {"prog a\\\\b", {"prog", "a\\\\b"}},
      {"prog a\\\\\"b c\"", {"prog", "a\\b c"}},
      {"prog a\\\"b", {"prog", "a\"b"}},
      {"prog \"a\"\"b\"", {"prog", "a\"b"}},
      {"prog \"\"", {"prog", ""}},
      {"prog a\"b c\"d", {"prog", "ab cd"}},
      {"dir\\prog.exe x", {"dir\\prog.exe", "x"}},
      {"", {}},
      {"   ", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::SplitCommandLine(c.line), c.args) << c.line;
}

TEST(RunProgram, WaitsAndReportsExitCodes) {
  double code = -1;
  EXPECT_EQ(RunProgram(BasicString("sh -c \"exit 3\""), 1, 0, code), 1.0);
  EXPECT_EQ(code, 3.0);
  EXPECT_EQ(RunProgram(BasicString("sh -c \"exit 0\""), 1, 1, code), 1.0);
  EXPECT_EQ(code, 0.0);
  // 259 is the Windows "still running" value; here it is an ordinary status
  // (the low byte, 3, is what a POSIX child can report).
  EXPECT_EQ(RunProgram(BasicString("sh -c \"exit 259\""), 1, 0, code), 1.0);
  EXPECT_EQ(code, 3.0);
  EXPECT_EQ(RunProgram(BasicString("false"), 1, 0, code), 1.0);
  EXPECT_EQ(code, 1.0);
}

TEST(RunProgram, NoWaitAndMissingProgram) {
  std::string dir = ScratchFolder("run_program");
  std::string marker = dir + "/marker";
  double code = -1;
  std::string cmd = "sh -c \"sleep 0.2; echo done > '" + marker + "'; exit 7\"";
  EXPECT_EQ(RunProgram(BasicString(cmd.c_str()), 0, 0, code), 1.0);
  EXPECT_EQ(code, 0.0);
  EXPECT_FALSE(std::filesystem::exists(marker));  // returned without waiting
  for (int i = 0; i < 100 && !std::filesystem::exists(marker); ++i) platform::SleepMs(50);
  EXPECT_TRUE(std::filesystem::exists(marker));

  code = -1;
  EXPECT_EQ(RunProgram(BasicString("no_such_program_orvale_xyz --flag"), 1, 0, code), 0.0);
  EXPECT_EQ(code, 0.0);
  EXPECT_EQ(RunProgram(BasicString(""), 1, 0, code), 0.0);
}

TEST(RunProgram, ArgumentsArriveSplitAsWindowsProgramsExpect) {
  std::string dir = ScratchFolder("run_program_args");
  std::string out = dir + "/args.txt";
  // printf writes each argument on its own line.
  std::string cmd = "sh -c \"printf '%s\\n' \\\"$@\\\" > " + out + "\" sh \"two words\" a\\\"b";
  double code = -1;
  ASSERT_EQ(RunProgram(BasicString(cmd.c_str()), 1, 0, code), 1.0);
  EXPECT_EQ(code, 0.0);
  std::ifstream f(out);
  std::string a, b;
  std::getline(f, a);
  std::getline(f, b);
  EXPECT_EQ(a, "two words");
  EXPECT_EQ(b, "a\"b");
}

TEST(RunProgram, ChildrenNotWaitedForAreReaped) {
  int64_t pid = platform::LaunchProgram({"true"});
  ASSERT_GT(pid, 0);
  platform::ReleaseProgram(pid);
  std::string proc = "/proc/" + std::to_string(pid);
  // A finished child that nobody reaps stays behind as a zombie entry.
  for (int i = 0; i < 100 && std::filesystem::exists(proc); ++i) platform::SleepMs(20);
  EXPECT_FALSE(std::filesystem::exists(proc));
}

TEST(FileRequestDialog, CancelledOrUnavailableGivesNoFile) {
  std::string dir = ScratchFolder("file_dialog");
  std::string before = platform::CurrentFolder();
  const char* oldPath = getenv("PATH");
  std::string savedPath = oldPath ? oldPath : "";

  // No zenity on the path: the cancelled-dialog result.
  setenv("PATH", dir.c_str(), 1);
  EXPECT_STREQ(FileRequestDialog(0, BasicString("All|*.*")).c_str(), "NO_FILE");

  // A stand-in zenity that picks a file and wanders off to another folder.
  std::string fake = dir + "/zenity";
  std::ofstream(fake) << "#!/bin/sh\ncd /\nfor a in \"$@\"; do echo \"$a\" >> " << dir
                      << "/zenity_args; done\necho 'C:\\Games\\save.dat'\n";
  std::filesystem::permissions(fake, std::filesystem::perms::owner_all);
  setenv("PATH", (dir + ":" + savedPath).c_str(), 1);
  BasicString chosen = FileRequestDialog(1, BasicString("Pictures|*.png;*.bmp|All files|*.*"));
  EXPECT_STREQ(chosen.c_str(), "C:/Games/save.dat");
  EXPECT_EQ(platform::CurrentFolder(), before);
  std::ifstream argsFile(dir + "/zenity_args");
  std::string all((std::istreambuf_iterator<char>(argsFile)), std::istreambuf_iterator<char>());
  EXPECT_NE(all.find("--save"), std::string::npos);
  EXPECT_NE(all.find("--file-filter=Pictures | *.png *.bmp"), std::string::npos);

  // A cancelled dialog exits with status 1 and prints nothing.
  std::ofstream(fake) << "#!/bin/sh\nexit 1\n";
  EXPECT_STREQ(FileRequestDialog(0, BasicString("")).c_str(), "NO_FILE");
  setenv("PATH", savedPath.c_str(), 1);
}

TEST(CommandLine, CopyOfTheStoredText) {
  gCommandLine = "game.exe -debug";
  BasicString copy = GetCommandLineText();
  EXPECT_STREQ(copy.c_str(), "game.exe -debug");
  EXPECT_NE(copy.buffer, gCommandLine.buffer);
  gCommandLine = "";
}

TEST(EndAndRun, StartsTheProgramAndExits) {
  std::string dir = ScratchFolder("end_and_run");
  std::string marker = dir + "/started";
  std::string cmd = "touch " + marker;
  EXPECT_EXIT(EndAndRun(BasicString(cmd.c_str())), testing::ExitedWithCode(0), "");
  for (int i = 0; i < 100 && !std::filesystem::exists(marker); ++i) platform::SleepMs(50);
  EXPECT_TRUE(std::filesystem::exists(marker));
}
