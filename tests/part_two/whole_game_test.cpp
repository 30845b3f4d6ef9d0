// The whole game on the handheld's buttons (the F100), played by the
// walkthrough player (tests/part_one/walkthrough_player.cpp) around the real
// main program in a program of its own: Part One to its end, the part
// selection, Part Two to the ending and back to the title.
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

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(WholeGame, PartOneThenPartTwoToTheEndingAndTheTitle) {
  // A folder laid out as the installed game: the data beside the program.
  const fs::path dir = fs::path(ORVALE_BINARY_DIR) / "tests" / "part_two" / "whole_game";
  fs::remove_all(dir);
  fs::create_directories(dir / "tmp");
  fs::create_directories(dir / "userdata");
  for (const char* f : {"media.gfx", "media.aud"})
    fs::copy_file(fs::path(ORVALE_DATA_ARCHIVE_DIR) / f, dir / f);
  // The program's own folder is where it keeps the save marker.
  fs::copy_file(WALKTHROUGH_PLAYER, dir / "player");

  const std::string d = dir.string();
  const std::string cmd = "cd '" + d + "' && ORVALE_DEVICE=GP2X ORVALE_TOUCHSCREEN='" + d +
                          "/no-touchscreen' XDG_DATA_HOME='" + d + "/userdata' TMPDIR='" + d +
                          "/tmp' timeout 1500 ./player wholegame" +
                          " >out.txt 2>err.txt; echo $? >status.txt";
  ASSERT_NE(std::system(cmd.c_str()), -1);
  const std::string out = ReadFile(dir / "out.txt");
  const std::string status = ReadFile(dir / "status.txt");
  EXPECT_EQ(status, "0\n") << out << "\n--- errors ---\n" << ReadFile(dir / "err.txt");

  // Part One's end, the marker, the part selection.
  EXPECT_TRUE(Has(out, "loc 51: Fire\nloc 1: Fire on the title\nloc 1: Play Part Two\n")) << out;
  EXPECT_EQ(ReadFile(dir / "partone.kv"), "5093176\r\n");
  // Part Two through the maze, the library and the finale.
  EXPECT_TRUE(Has(out, "loc 3 cell 15: Go south\n")) << out;
  EXPECT_TRUE(Has(out, "loc 20: Take the map\n")) << out;
  EXPECT_TRUE(Has(out, "loc 42: Put the mirror in the slot\n")) << out;
  EXPECT_TRUE(Has(out, "loc 41: Press the red button\nloc 41: Fire\nloc 43: Fire\nloc 43: Fire\n"
                       "loc 44: Fire\nloc 44: Fire\nloc 44: Fire\nBACK AT THE TITLE\n"))
      << out;
}

}  // namespace
