// The window at a debugger break: hidden while the debugger has the
// program, marked for the next frame to show again; untouched without a
// debugger. A thread of this process plays the debugger.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "core/debug_support.h"
#include "frame/debugger_window.h"
#include "frame/frame_function.h"
#include "frame/main_window.h"
#include "platform/debug_link.h"
#include "platform/window.h"

namespace {

class DebugWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(platform::VideoInit(&why)) << why;
    window_ = platform::CreateGlWindow("Kestrovar", 320, 240, 0);
    ASSERT_NE(window_, nullptr) << platform::VideoError();
    platform::ShowWindow(window_);
    gMainWindow = window_;
    gPaused = 1;
    InstallDebuggerWindowHooks();
    gDebugBlock.breakEveryStatement = 1000;
    gDebugBlock.breakpointCount = 0;
    gDebugBlock.stopRequest = 0;
  }
  void TearDown() override {
    platform::CloseDebugLink();
    SetDebugBreakHooks({});
    gMainWindow = nullptr;
    if (window_) platform::DestroyWindow(window_);
    gDebugBlock.breakEveryStatement = 0;
  }
  platform::Window* window_ = nullptr;
};

}  // namespace

TEST_F(DebugWindow, WithoutDebuggerTheWindowStays) {
  platform::CloseDebugLink();
  DebugLineHook(0, 10, nullptr);
  EXPECT_TRUE(platform::IsWindowShown(window_));
  EXPECT_FALSE(WindowRestorePending());
  EXPECT_EQ(gPaused, 1);  // no break reached the frame
  EXPECT_NE(GetMainWindowHandle(), 0u);
}

TEST_F(DebugWindow, BreakHidesUntilTheNextFrame) {
  std::string path = (std::filesystem::temp_directory_path() /
                      ("orvdbg-window-" + std::to_string(std::rand()))).string();
  int listener = platform::DebuggerListen(path);
  ASSERT_GE(listener, 0);
  bool hiddenDuringBreak = false;
  std::string message;
  std::thread debugger([&] {
    int pid = 0;
    int link = platform::DebuggerAccept(listener, 20000, &pid);
    if (link < 0) return;
    if (platform::DebuggerReceive(link, message, 20000) == 1)
      hiddenDuringBreak = !platform::IsWindowShown(window_);
    platform::DebuggerAnswer(link);
    platform::DebuggerClose(link);
  });
  setenv(platform::kDebugLinkVariable, path.c_str(), 1);
  platform::detail::gDebugLinkState = -1;  // test the environment again
  DebugLineHook(0, 42, nullptr);
  debugger.join();
  unsetenv(platform::kDebugLinkVariable);
  platform::DebuggerClose(listener);
  std::filesystem::remove(path);

  char expected[32];
  std::snprintf(expected, sizeof expected, "BP%llx",
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(&gDebugBlock)));
  EXPECT_EQ(message, expected);
  EXPECT_TRUE(hiddenDuringBreak);
  EXPECT_TRUE(WindowRestorePending());  // the frame function shows it again
  EXPECT_EQ(gPaused, 0);
}
