// Text outside the font's codes 32 to 127 ends the program with runtime
// error 9 and its end report, before anything is drawn.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "core/basic_array.h"
#include "core/project_settings.h"
#include "game/choice_menu.h"
#include "game/game_state.h"
#include "game/text_print.h"
#include "game/word_wrap.h"

namespace {

class PagesErrors : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("orvale-pages-errors-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir_);
    setenv("TMPDIR", dir_.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("TMPDIR");
    std::filesystem::remove_all(dir_);
  }
  std::string Log() const {
    std::ifstream in(dir_ / "ErrorLog.txt", std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::filesystem::path dir_;
};

void Prepare() {
  gProjectSettings.debugMode = 1;
  resx = 1;
  maxkern = 640;
  ArrayDim(kern, 96);
  for (int i = 0; i < 96; ++i) *ArrayElement(kern, i) = 10;
  ArrayDim(optwide, 6);
  screendrawn = 0;
}

}  // namespace

TEST_F(PagesErrors, CharactersOutsideTheFontEndWithError9) {
  const struct {
    const char* name;
    void (*run)();
  } cases[] = {
      {"centred line with LF", [] { PrintTxt("ab\n", -1, 0); }},
      {"line with tab", [] { PrintTxt("a\tb", 0, 0); }},
      {"wrapped text above 127", [] { WrapText("caf\xe9", 0); }},
      {"menu option with CR", [] { ChoiceMenu(100, "go\r", "", "", "", ""); }},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(dir_ / "ErrorLog.txt");
    EXPECT_EXIT(
        {
          Prepare();
          c.run();
          std::exit(3);  // not reached
        },
        ::testing::ExitedWithCode(0), "")
        << c.name;
    EXPECT_NE(Log().find("-End On Line\r\n9\r\n"), std::string::npos) << c.name << ": " << Log();
  }
}
