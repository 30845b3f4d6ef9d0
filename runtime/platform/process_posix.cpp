#include "platform/process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>

extern char** environ;

namespace platform {

static bool IsSpace(char c) { return c == ' ' || c == '\t'; }

std::vector<std::string> SplitCommandLine(const char* commandLine) {
  std::vector<std::string> args;
  const char* p = commandLine ? commandLine : "";
  while (IsSpace(*p)) ++p;
  if (!*p) return args;
  // Program name: no escapes.
  std::string name;
  if (*p == '"') {
    ++p;
    while (*p && *p != '"') name += *p++;
    if (*p == '"') ++p;
  } else {
    while (*p && !IsSpace(*p)) name += *p++;
  }
  args.push_back(name);
  while (true) {
    while (IsSpace(*p)) ++p;
    if (!*p) break;
    std::string arg;
    bool quoted = false;
    while (*p && (quoted || !IsSpace(*p))) {
      if (*p == '\\') {
        size_t n = 0;
        while (*p == '\\') ++n, ++p;
        if (*p == '"') {
          arg.append(n / 2, '\\');
          if (n % 2) {
            arg += '"';
            ++p;
          }
        } else {
          arg.append(n, '\\');
        }
        continue;
      }
      if (*p == '"') {
        if (quoted && p[1] == '"') {
          arg += '"';
          p += 2;
          continue;
        }
        quoted = !quoted;
        ++p;
        continue;
      }
      arg += *p++;
    }
    args.push_back(arg);
  }
  return args;
}

static int64_t Spawn(const std::vector<std::string>& args, const posix_spawn_file_actions_t* fa) {
  if (args.empty() || args[0].empty()) return -1;
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  int rc = posix_spawnp(&pid, argv[0], fa, nullptr, argv.data(), environ);
  return rc == 0 ? int64_t(pid) : -1;
}

int64_t LaunchProgram(const std::vector<std::string>& args) { return Spawn(args, nullptr); }

uint32_t WaitForProgram(int64_t process) {
  if (process <= 0) return 0;
  int status = 0;
  pid_t r;
  do {
    r = waitpid(pid_t(process), &status, 0);
  } while (r < 0 && errno == EINTR);
  if (r < 0) return 0;
  if (WIFEXITED(status)) return uint32_t(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) return 128u + uint32_t(WTERMSIG(status));
  return 0;
}

void ReleaseProgram(int64_t process) {
  if (process <= 0) return;
  std::thread([process] { WaitForProgram(process); }).detach();
}

bool RunAndCapture(const std::vector<std::string>& args, std::string& output,
                   uint32_t& exitStatus) {
  output.clear();
  exitStatus = 0;
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return false;
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_adddup2(&fa, fds[1], 1);
  int64_t pid = Spawn(args, &fa);
  posix_spawn_file_actions_destroy(&fa);
  close(fds[1]);
  if (pid < 0) {
    close(fds[0]);
    return false;
  }
  char buf[4096];
  while (true) {
    ssize_t n = read(fds[0], buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    output.append(buf, size_t(n));
  }
  close(fds[0]);
  exitStatus = WaitForProgram(pid);
  return true;
}

bool ProgramOnPath(const char* program) {
  if (!program || !*program) return false;
  if (std::strchr(program, '/')) return access(program, X_OK) == 0;
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  size_t start = 0;
  while (start <= dirs.size()) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    std::string dir = dirs.substr(start, end - start);
    if (dir.empty()) dir.push_back('.');
    std::string full = dir;
    full += '/';
    full.append(program);
    struct stat st;
    if (stat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(full.c_str(), X_OK) == 0)
      return true;
    start = end + 1;
  }
  return false;
}

}  // namespace platform
