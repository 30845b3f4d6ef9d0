// Part One played from the opening screens to its end on the handheld's
// buttons (the F100), by the walkthrough player (walkthrough_player.cpp) in
// a program of its own: the end pages, the title again, the save marker and
// the part selection at the next start; and the same end where the marker
// cannot be written.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// A folder laid out as the installed game: the program (the player) with its
// data beside it. The runtime makes this folder the current one.
fs::path GameFolder(const std::string& name) {
  fs::path dir = fs::path(ORVALE_BINARY_DIR) / "tests" / "part_one" / "walkthrough" / name;
  fs::remove_all(dir);
  fs::create_directories(dir / "tmp");
  fs::create_directories(dir / "userdata");
  for (const char* f : {"media.gfx", "media.aud"})
    fs::copy_file(fs::path(ORVALE_DATA_ARCHIVE_DIR) / f, dir / f);
  fs::copy_file(WALKTHROUGH_PLAYER, dir / "player");
  return dir;
}

struct PlayerRun {
  std::string out;
  std::string status;
  std::string errorLog;
};

// Runs the player in dir as the F100 (no touchscreen file); userData is its
// per-user data folder.
PlayerRun Play(const fs::path& dir, const std::string& mode, const std::string& userData) {
  const std::string d = dir.string();
  const std::string cmd = "cd '" + d + "' && ORVALE_DEVICE=GP2X ORVALE_TOUCHSCREEN='" + d +
                          "/no-touchscreen' XDG_DATA_HOME='" + userData + "' TMPDIR='" + d +
                          "/tmp' timeout 900 ./player " + mode +
                          " >out.txt 2>err.txt; echo $? >status.txt";
  EXPECT_NE(std::system(cmd.c_str()), -1);
  PlayerRun run{ReadFile(dir / "out.txt"), ReadFile(dir / "status.txt"),
          ReadFile(dir / "tmp" / "ErrorLog.txt")};
  if (run.status != "0\n") {
    std::fprintf(stderr, "--- %s output ---\n%s\n--- errors ---\n%s\n", mode.c_str(),
                 run.out.c_str(), ReadFile(dir / "err.txt").c_str());
  }
  return run;
}

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(PartOneWalkthrough, EndsWithTheMarkerAndOffersPartTwo) {
  const fs::path dir = GameFolder("end");
  PlayerRun run = Play(dir, "walkthrough", (dir / "userdata").string());
  EXPECT_EQ(run.status, "0\n");
  EXPECT_TRUE(Has(run.out, "loc 51: Unchain the skeleton\n")) << run.out;
  EXPECT_TRUE(Has(run.out, "loc 51: Fire\nloc 1: Fire on the title\nloc 1: Play Part Two\n"
                           "PART TWO SELECTED\n"))
      << run.out;
  EXPECT_EQ(ReadFile(dir / "partone.kv"), "5093176\r\n");
  EXPECT_FALSE(fs::exists(dir / "userdata" / "kestrovar" / "partone.kv"));
  EXPECT_FALSE(Has(run.errorLog, "could not be written")) << run.errorLog;

  // The next start of the program offers both parts.
  PlayerRun next = Play(dir, "selection", (dir / "userdata").string());
  EXPECT_EQ(next.status, "0\n");
  EXPECT_TRUE(Has(next.out, "Fire on the title\nloc 1: Play Part Two\nPART TWO SELECTED\n"))
      << next.out;
  EXPECT_EQ(ReadFile(dir / "partone.kv"), "5093176\r\n");
}

TEST(PartOneWalkthrough, AMarkerThatCannotBeWrittenIsLoggedAndUnlocksNothing) {
  const fs::path dir = GameFolder("unwritable");
  // Neither place takes a file: the program folder holds a folder of the
  // marker's name, and the user data folder lies under a plain file.
  fs::create_directories(dir / "partone.kv");
  std::ofstream(dir / "userdata-file") << "not a folder";
  PlayerRun run = Play(dir, "unsaved", (dir / "userdata-file").string());
  EXPECT_EQ(run.status, "0\n");
  EXPECT_TRUE(Has(run.out, "loc 51: Unchain the skeleton\n")) << run.out;
  EXPECT_TRUE(Has(run.out, "loc 1: Fire on the title\nPART ONE AGAIN\n")) << run.out;
  EXPECT_TRUE(Has(run.errorLog, "Save marker partone.kv could not be written\r\n")) << run.errorLog;
  EXPECT_TRUE(fs::is_directory(dir / "partone.kv"));
}

}  // namespace
