// The game program as a user starts it: under X it opens its window, says
// "Init OK", and ends with status 0 and its end report on SIGTERM or
// Alt+F4.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

namespace {

std::string ReadText(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct ProgramRun {
  std::string out, log, status, windowClass, geometry;
};

// Starts kestrovar with its own temporary folder, waits for its window,
// records it, then ends it with the given shell commands ($pid, $wid).
ProgramRun RunProgram(const std::string& name, const std::string& endCommand) {
  std::filesystem::path dir = std::filesystem::temp_directory_path() / ("orvale-program-" + name);
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  std::string d = dir.string();
  std::string script =
      "cd '" + d + "' && (TMPDIR='" + d + "' '" ORVALE_BINARY_DIR "/game/kestrovar' >out.txt 2>err.txt & "
      "pid=$!; wid=; "
      "for i in $(seq 1 300); do wid=$(xdotool search --name '^Kestrovar$' 2>/dev/null | head -1); "
      "  [ -n \"$wid\" ] && grep -q 'Init OK' out.txt && break; sleep 0.1; done; "
      "xprop -id \"$wid\" WM_CLASS >class.txt 2>&1; xwininfo -id \"$wid\" >geometry.txt 2>&1; "
      "sleep 0.5; " +
      endCommand +
      "; for i in $(seq 1 200); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done; "
      "kill -0 $pid 2>/dev/null && kill -9 $pid; wait $pid; echo $? >status.txt)";
  EXPECT_NE(std::system(script.c_str()), -1);
  ProgramRun run;
  run.out = ReadText(dir / "out.txt");
  run.log = ReadText(dir / "ErrorLog.txt");
  run.status = ReadText(dir / "status.txt");
  run.windowClass = ReadText(dir / "class.txt");
  run.geometry = ReadText(dir / "geometry.txt");
  if (run.status != "0\n") std::fprintf(stderr, "%s\n", ReadText(dir / "err.txt").c_str());
  std::filesystem::remove_all(dir);
  return run;
}

void ExpectCleanEnd(const ProgramRun& run) {
  EXPECT_EQ(run.status, "0\n");
  EXPECT_NE(run.out.find("Init OK\n"), std::string::npos) << run.out;
  EXPECT_NE(run.windowClass.find("\"Orvale\", \"Orvale\""), std::string::npos) << run.windowClass;
  EXPECT_NE(run.geometry.find("Width: 640"), std::string::npos) << run.geometry;
  EXPECT_NE(run.geometry.find("Height: 480"), std::string::npos) << run.geometry;
}

// The report that ends the log: error code, error line - 1, current line and
// source file 0.
struct EndReport {
  int code = -99, errorLineMinusOne = -99, line = -99;
};

EndReport ReadEndReport(const std::string& log) {
  std::smatch m;
  EndReport r;
  if (std::regex_search(log, m,
                        std::regex("(^|\r\n)-End On Line\r\n(-?[0-9]+)\r\n(-?[0-9]+)\r\n([0-9]+)\r\n0\r\n$"))) {
    r.code = std::stoi(m[2]);
    r.errorLineMinusOne = std::stoi(m[3]);
    r.line = std::stoi(m[4]);
  }
  return r;
}

}  // namespace

TEST(Program, SigtermEndsWithReport) {
  ProgramRun run = RunProgram("sigterm", "kill -TERM $pid");
  ExpectCleanEnd(run);
  // A close records no error: code 0 and line -1.
  EndReport report = ReadEndReport(run.log);
  EXPECT_EQ(report.code, 0) << run.log;
  EXPECT_EQ(report.errorLineMinusOne, -1) << run.log;
  // The software-OpenGL line of start-up is kept ahead of the report.
  EXPECT_EQ(run.log.rfind("OpenGL Software Emulation\r\n", 0), 0u) << run.log;
}

TEST(Program, AltF4EndsWithReport) {
  // A quick chord, pressed and released between two frames, still ends it.
  ProgramRun run = RunProgram("altf4", "xdotool windowfocus --sync $wid; xdotool key alt+F4");
  ExpectCleanEnd(run);
  // Alt+F4 ends either as the system's close (nothing recorded: line -1) or,
  // when the frame function sees the chord first, as END does (code 0 with
  // the current line as error line).
  EndReport report = ReadEndReport(run.log);
  EXPECT_EQ(report.code, 0) << run.log;
  EXPECT_GT(report.line, 0) << run.log;
  EXPECT_TRUE(report.errorLineMinusOne == -1 || report.errorLineMinusOne == report.line - 1)
      << run.log;
}
