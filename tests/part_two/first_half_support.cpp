#include "first_half_support.h"

#include <GL/gl.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "core/basic_array.h"
#include "game/element_access.h"
#include "game/game_state.h"
#include "game/main_program.h"
#include "game/save_marker.h"
#include "input_audio/input_commands.h"
#include "input_audio/input_state.h"
#include "platform/input.h"
#include "play_harness.h"

namespace fs = std::filesystem;

namespace firsthalf {

::testing::AssertionResult FlagsAre(std::initializer_list<std::pair<int, double>> set) {
  double want[50] = {};
  for (const auto& [index, value] : set) want[index] = value;
  std::ostringstream wrong;
  for (int i = 0; i < 50; ++i) {
    if (At(obj, i) != want[i]) wrong << " obj[" << i << "]=" << At(obj, i) << " (want " << want[i] << ")";
  }
  if (wrong.str().empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "at loc " << loc << ":" << wrong.str();
}

void StartAt(double where, const std::vector<int>& flags, double cell) {
  playtest::StartGame(2);
  for (int f : flags) At(obj, f) = 1;
  loc = where;
  mazeloc = cell;
}

namespace {

fs::path ScratchUserFolder() {
  static const fs::path dir = fs::temp_directory_path() /
                              ("orvale-part-two-" + std::to_string(std::rand()) + "-" +
                               std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  return dir;
}

}  // namespace

void PutSaveMarker(const char* content) {
  setenv("XDG_DATA_HOME", ScratchUserFolder().c_str(), 1);
  ASSERT_FALSE(fs::exists(kSaveMarkerName)) << "a save marker lies in the current folder";
  const fs::path marker = ScratchUserFolder() / "kestrovar" / kSaveMarkerName;
  if (content == nullptr) {
    fs::remove_all(ScratchUserFolder());
    return;
  }
  fs::create_directories(marker.parent_path());
  std::ofstream(marker, std::ios::binary) << content;
}

void ChoosePartRow(int row) {
  // The pointer on the row, then a press released once the menu took it.
  platform::PumpInputEvents();
  gInput->reread = 1;
  double mx, my, b1, b2;
  MouseState(mx, my, b1, b2);
  const int x = 4, y = 350 + 40 + 20 * (row - 1) + 10;
  platform::PushMouseMotion(x, y, x - int(mx), y - int(my));
  gInput->reread = 1;
  platform::PushMouseButton(0, true);
  std::atomic<bool> stop{false};
  std::thread release([&stop] {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!stop && (platform::MouseButton(0) & 0x80) == 0 &&
           std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    platform::PushMouseButton(0, false);
  });
  ChoosePart();
  stop = true;
  release.join();
  platform::PumpInputEvents();
}

uint64_t BoxHash(int x, int y, int width, int height) {
  std::vector<uint8_t> rgb(size_t(width) * height * 3);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x, 480 - y - height, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  uint64_t hash = 1469598103934665603ull;
  for (uint8_t b : rgb) hash = (hash ^ b) * 1099511628211ull;
  return hash;
}

}  // namespace firsthalf
