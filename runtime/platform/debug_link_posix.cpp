#include "platform/debug_link.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace platform {

namespace detail {
int gDebugLinkState = -1;
}

static int sLinkSocket = -1;

static bool FillAddress(const std::string& path, sockaddr_un& addr) {
  std::memset(&addr, 0, sizeof addr);
  addr.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof addr.sun_path) return false;
  std::memcpy(addr.sun_path, path.data(), path.size());
  return true;
}

static bool SendAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t n = send(fd, data, size, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= size_t(n);
  }
  return true;
}

bool detail::OpenDebugLink() {
  gDebugLinkState = 0;
  const char* path = std::getenv(kDebugLinkVariable);
  if (!path || !*path) return false;
  sockaddr_un addr;
  if (!FillAddress(path, addr)) {
    std::fprintf(stderr, "debug link: path too long: %s\n", path);
    return false;
  }
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  int rc;
  do {
    rc = connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  } while (rc < 0 && errno == EINTR);
  if (rc < 0) {
    std::fprintf(stderr, "debug link: cannot connect to %s: %s\n", path, std::strerror(errno));
    close(fd);
    return false;
  }
  // Let the debugger at the other end read and write our memory even when
  // it is not our parent (Yama's restricted ptrace scope).
  ucred cred;
  socklen_t len = sizeof cred;
  if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) == 0 && cred.pid > 0)
    prctl(PR_SET_PTRACER, static_cast<unsigned long>(cred.pid), 0, 0, 0);
  else
    prctl(PR_SET_PTRACER, PR_SET_PTRACER_ANY, 0, 0, 0);
  sLinkSocket = fd;
  gDebugLinkState = 1;
  return true;
}

void CloseDebugLink() {
  if (sLinkSocket >= 0) close(sLinkSocket);
  sLinkSocket = -1;
  detail::gDebugLinkState = 0;
}

bool DebugLinkSend(const char* text) {
  if (!DebugLinkPresent()) return false;
  if (!text) text = "";
  if (!SendAll(sLinkSocket, text, std::strlen(text) + 1)) {
    CloseDebugLink();
    return false;
  }
  return true;
}

bool DebugLinkBreak(const char* text) {
  if (!DebugLinkSend(text)) return false;
  char answer;
  for (;;) {
    ssize_t n = recv(sLinkSocket, &answer, 1, 0);
    if (n == 1) return true;
    if (n < 0 && errno == EINTR) continue;
    CloseDebugLink();
    return false;
  }
}

// ---- Debugger side -------------------------------------------------------

int DebuggerListen(const std::string& path) {
  sockaddr_un addr;
  if (!FillAddress(path, addr)) return -1;
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  unlink(path.c_str());
  if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) < 0 || listen(fd, 1) < 0) {
    close(fd);
    return -1;
  }
  return fd;
}

static bool WaitReadable(int fd, int timeoutMs) {
  pollfd p = {fd, POLLIN, 0};
  for (;;) {
    int rc = poll(&p, 1, timeoutMs);
    if (rc < 0 && errno == EINTR) continue;
    return rc > 0;
  }
}

int DebuggerAccept(int listener, int timeoutMs, int* peerPid) {
  if (listener < 0 || !WaitReadable(listener, timeoutMs)) return -1;
  int fd = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
  if (fd < 0) return -1;
  ucred cred;
  socklen_t len = sizeof cred;
  if (peerPid) {
    *peerPid = (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) == 0) ? int(cred.pid) : -1;
  }
  return fd;
}

int DebuggerReceive(int connection, std::string& text, int timeoutMs) {
  text.clear();
  for (;;) {
    if (!WaitReadable(connection, timeoutMs)) return -1;
    char c;
    ssize_t n = recv(connection, &c, 1, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) return text.empty() ? 0 : -1;
    if (c == '\0') return 1;
    text.push_back(c);
  }
}

bool DebuggerAnswer(int connection) {
  char c = 'G';
  return SendAll(connection, &c, 1);
}

void DebuggerClose(int handle) {
  if (handle >= 0) close(handle);
}

bool ReadProcessMemory(int pid, uint64_t address, void* out, size_t size) {
  iovec local = {out, size};
  iovec remote = {reinterpret_cast<void*>(static_cast<uintptr_t>(address)), size};
  return process_vm_readv(pid, &local, 1, &remote, 1, 0) == ssize_t(size);
}

bool WriteProcessMemory(int pid, uint64_t address, const void* data, size_t size) {
  iovec local = {const_cast<void*>(data), size};
  iovec remote = {reinterpret_cast<void*>(static_cast<uintptr_t>(address)), size};
  return process_vm_writev(pid, &local, 1, &remote, 1, 0) == ssize_t(size);
}

int StartProcess(const std::string& path, const std::vector<std::string>& args,
                 const std::vector<std::string>& extraEnv) {
  std::vector<std::string> env;
  for (char** e = environ; e && *e; ++e) {
    std::string entry = *e;
    bool replaced = false;
    for (const std::string& x : extraEnv) {
      size_t eq = x.find('=');
      if (eq != std::string::npos && entry.compare(0, eq + 1, x, 0, eq + 1) == 0) replaced = true;
    }
    if (!replaced) env.push_back(entry);
  }
  for (const std::string& x : extraEnv) env.push_back(x);
  std::vector<char*> argv, envp;
  argv.push_back(const_cast<char*>(path.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  pid_t pid;
  if (posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0) return -1;
  return int(pid);
}

int WaitProcess(int pid, int timeoutMs, int* exitCode) {
  for (int waited = 0;; waited += 5) {
    int status = 0;
    pid_t r = waitpid(pid, &status, WNOHANG);
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) return -1;
    if (r == pid) {
      if (exitCode) *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      return 1;
    }
    if (waited >= timeoutMs) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return 0;
    }
    timespec ts = {0, 5 * 1000 * 1000};
    nanosleep(&ts, nullptr);
  }
}

}  // namespace platform
