// Start-up of the runtime once per test program, with the game's settings,
// under the test's own X screen.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/project_settings.h"
#include "core/runtime_error.h"
#include "frame/runtime_startup.h"
#include "platform/system.h"

inline std::string ReadTextFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline std::string ErrorLogText() { return ReadTextFile(ErrorLogPath()); }

// Output of a shell command (xprop, xwininfo).
inline std::string CommandOutput(const std::string& command) {
  std::filesystem::path out = std::filesystem::temp_directory_path() /
                              ("orvale-cmd-" + std::to_string(platform::NowMs()) + ".txt");
  std::string line = command + " > '" + out.string() + "' 2>&1";
  if (std::system(line.c_str()) == -1) return std::string();
  std::string text = ReadTextFile(out);
  std::filesystem::remove(out);
  return text;
}

// Starts the runtime as the program entry does; returns what start-up
// printed on standard output.
inline std::string StartRuntimeOnce() {
  static bool started = false;
  static std::string printed;
  if (started) return printed;
  started = true;
  // A log of the test run of our own.
  static std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                     ("orvale-frame-" + std::to_string(platform::NowMs()));
  std::filesystem::create_directories(dir);
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  });
  setenv("TMPDIR", dir.c_str(), 1);
  // A previous run's log must go at start-up.
  std::ofstream(dir / "ErrorLog.txt") << "stale line\r\n";
  gProjectSettings.screenWidth = 640;
  gProjectSettings.screenHeight = 480;
  gProjectSettings.fullscreen = 0;
  gProjectSettings.multisampleSamples = 0;
  gProjectSettings.framesPerSecond = 60;
  gProjectSettings.debugMode = 1;
  gProjectSettings.hideSystemPointer = 1;
  testing::internal::CaptureStdout();
  RuntimeStartup(nullptr, nullptr, "", 10, "Kestrovar");
  printed = testing::internal::GetCapturedStdout();
  return printed;
}
