#include "platform/console.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/process.h"
#include "platform/system.h"
#include "platform/temp_file.h"

namespace platform {

namespace {

constexpr double kTerminalStartMs = 10000;

// Runs in the terminal window: tells us the name of its pseudo-terminal,
// then stays (reading nothing) while this process lives.
const char kHelperScript[] =
    "tty > \"$1\" || exit 1; while kill -0 \"$2\" 2>/dev/null; do sleep 1; done";

std::string TerminalProgram() {
  const char* named = std::getenv("ORVALE_TERMINAL");
  if (named && *named) return named;
  if (ProgramOnPath("x-terminal-emulator")) return "x-terminal-emulator";
  return std::string();
}

// The first line written into the FIFO fd, waiting at most until deadline;
// "" when none came or the terminal program failed first.
std::string ReadTerminalName(int fd, int64_t terminal, double deadline) {
  std::string line;
  bool launcherDone = false;
  while (NowMs() < deadline) {
    if (!launcherDone) {
      int status = 0;
      pid_t r = waitpid(pid_t(terminal), &status, WNOHANG);
      if (r == pid_t(terminal)) {
        launcherDone = true;
        // Some launchers hand the window to a server and end at once; one
        // that fails has failed.
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::string();
      }
    }
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 50) <= 0) continue;
    char buf[256];
    ssize_t n = read(fd, buf, sizeof buf);
    if (n <= 0) continue;
    line.append(buf, size_t(n));
    size_t end = line.find('\n');
    if (end != std::string::npos) {
      if (!launcherDone) ReleaseProgram(terminal);
      return line.substr(0, end);
    }
  }
  if (!launcherDone) ReleaseProgram(terminal);
  return std::string();
}

}  // namespace

bool HasTerminal() { return isatty(0) || isatty(1); }

bool OpenConsoleWindow(const char* title, std::string* why) {
  const std::string program = TerminalProgram();
  if (program.empty()) {
    if (why) *why = "no terminal program (x-terminal-emulator) is installed";
    return false;
  }
  const std::string folder = MakePrivateFolder("orvale-console-");
  if (folder.empty()) {
    if (why) *why = "no room for the terminal's handshake in " + TempFolder();
    return false;
  }
  const std::string fifo = folder + "tty";
  int fd = -1;
  if (mkfifo(fifo.c_str(), 0600) == 0) fd = open(fifo.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
  std::string name;
  if (fd >= 0) {
    const std::vector<std::string> args = {
        program, "-T", title && *title ? title : "Console", "-e", "/bin/sh", "-c",
        kHelperScript, "sh", fifo, std::to_string(getpid())};
    const int64_t terminal = LaunchProgram(args);
    if (terminal > 0) name = ReadTerminalName(fd, terminal, NowMs() + kTerminalStartMs);
    close(fd);
  }
  unlink(fifo.c_str());
  RemoveFolder(folder);

  int tty = -1;
  if (name.rfind("/dev/", 0) == 0) tty = open(name.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (tty >= 0 && !isatty(tty)) {
    close(tty);
    tty = -1;
  }
  if (tty < 0) {
    if (why) *why = "the terminal program \"" + program + "\" opened no terminal";
    return false;
  }
  std::fflush(stdout);
  dup2(tty, 0);
  dup2(tty, 1);
  close(tty);
  std::clearerr(stdin);
  std::clearerr(stdout);
  return true;
}

}  // namespace platform
