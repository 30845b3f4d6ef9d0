// OpenDebugConsole: a program started without a terminal talks to its user
// in a terminal window (here a fake terminal program that types a line and
// records the screen); where no terminal opens, input and output stay where
// they were.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace fs = std::filesystem;

namespace {

std::string ReadText(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class Console : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::path(ORVALE_BINARY_DIR) / "tests" / "debug" / "console" / info->name();
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs the target with stdin and stdout redirected as given; its status.
  int Run(const std::string& terminal, const std::string& input) {
    std::string cmd = "cd '" + dir_.string() + "' && TMPDIR='" + dir_.string() +
                      "' ORVALE_TERMINAL='" + terminal + "' FAKE_TERMINAL_OUT='" +
                      (dir_ / "screen.txt").string() +
                      "' FAKE_TERMINAL_INPUT='hello\n' '" CONSOLE_TARGET_PATH "' " + input +
                      " >out.txt 2>err.txt";
    return std::system(cmd.c_str());
  }
  // The fake terminal's record once it has closed (at most 30 s).
  std::string Screen() {
    for (int i = 0; i < 300; ++i) {
      std::string s = ReadText(dir_ / "screen.txt");
      if (s.find("[closed]") != std::string::npos) return s;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return ReadText(dir_ / "screen.txt");
  }

  fs::path dir_;
};

}  // namespace

TEST_F(Console, WithoutATerminalTheProgramTalksInATerminalWindow) {
  ASSERT_EQ(Run(FAKE_TERMINAL_PATH, "</dev/null"), 0) << ReadText(dir_ / "err.txt");
  std::string screen = Screen();
  EXPECT_EQ(screen.rfind("options: -T Orvale console\n", 0), 0u) << screen;
  EXPECT_NE(screen.find("Your name?"), std::string::npos) << screen;
  EXPECT_NE(screen.find("Hello, hello"), std::string::npos) << screen;
  EXPECT_NE(screen.find("[closed]"), std::string::npos) << screen;
  EXPECT_EQ(ReadText(dir_ / "out.txt"), "");
}

TEST_F(Console, WhereNoTerminalOpensInputAndOutputStay) {
  for (const std::string terminal : {"/bin/false", "/no/such/terminal"}) {
    SCOPED_TRACE(terminal);
    fs::remove(dir_ / "ErrorLog.txt");
    std::ofstream(dir_ / "in.txt") << "bob\n";
    ASSERT_EQ(Run(terminal, "<in.txt"), 0) << ReadText(dir_ / "err.txt");
    EXPECT_EQ(ReadText(dir_ / "out.txt"), "Your name?\nHello, bob\n");
    EXPECT_NE(ReadText(dir_ / "ErrorLog.txt").find("No console window: the terminal program \"" +
                                                   terminal + "\" opened no terminal"),
              std::string::npos)
        << ReadText(dir_ / "ErrorLog.txt");
  }
}
