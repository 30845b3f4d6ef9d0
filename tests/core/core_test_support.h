// Helpers shared by the core tests.
#pragma once

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <string>

#include "core/runtime_error.h"

// Writes the code of the runtime error that ended the program to standard
// error, where death tests look for it.
inline void ReportRuntimeEnd(int) {
  std::fprintf(stderr, "runtime error %d at end\n", int(gErrorState.errorCode));
  std::fflush(stderr);
}

// The statement must end the program through EndProgram with that code.
#define EXPECT_RUNTIME_ERROR(statement, code)                                        \
  EXPECT_EXIT(                                                                       \
      {                                                                              \
        SetProgramExitHandler(ReportRuntimeEnd);                                     \
        statement;                                                                   \
      },                                                                             \
      ::testing::ExitedWithCode(0), "runtime error " #code " at end")

// Switches to a locale whose decimal separator is a comma for the scope.
class CommaLocale {
 public:
  CommaLocale() {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "German"}) {
      if (std::setlocale(LC_ALL, name)) {
        active_ = true;
        break;
      }
    }
  }
  ~CommaLocale() { std::setlocale(LC_ALL, "C"); }
  bool active() const { return active_; }

 private:
  bool active_ = false;
};

// A fresh empty folder under the build tree for one test.
inline std::string ScratchFolder(const char* name) {
  std::string dir = std::string(ORVALE_BINARY_DIR) + "/test_scratch/" + name;
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  std::filesystem::create_directories(dir, ec);
  return dir;
}
