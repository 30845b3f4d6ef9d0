#include "platform/display_probe.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/system.h"

namespace platform {

namespace {

volatile sig_atomic_t sStartupSignal = 0;
volatile sig_atomic_t sExitOnSignal = 0;
struct sigaction sSavedTerm, sSavedInt;
bool sSignalsSaved = false;
bool sSignalsKept = false;  // EndStartupSignals waits for the watch's end
int sProbeSocket = -1;

// The start-up watch. The pipe lives as long as the process, so that a
// signal handler never writes to a descriptor closed under it.
enum WatchState { kWatchOff, kWatchArmed, kWatchEnding };
std::atomic<int> sWatchState{kWatchOff};
int sWatchPipe[2] = {-1, -1};
volatile sig_atomic_t sWatchWake = -1;  // write end, once the pipe exists
std::thread sWatchThread;
double sWatchDeadline = 0;
double sWatchMs = 0;
StartupEndHandler sWatchOnEnd = nullptr;

void OnStartupSignal(int sig) {
  sStartupSignal = sig;
  if (sWatchState.load() == kWatchArmed && sWatchWake >= 0) {
    // The watch ends the start-up: it can, where this thread may be held
    // inside the window system.
    char c = 's';
    ssize_t ignored = write(sWatchWake, &c, 1);
    (void)ignored;
    return;
  }
  if (sExitOnSignal) {
    static const char text[] = "Orvale: start-up ended by a signal\n";
    ssize_t ignored = write(2, text, sizeof text - 1);
    (void)ignored;
    _exit(1);
  }
}

struct Endpoint {
  int family;
  std::vector<char> address;  // a sockaddr of that family
  socklen_t length;
};

Endpoint UnixEndpoint(const std::string& path, bool abstract) {
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  size_t at = abstract ? 1 : 0;  // abstract names start with a NUL byte
  std::memcpy(addr.sun_path + at, path.data(), path.size());
  Endpoint e{AF_UNIX, {}, socklen_t(offsetof(sockaddr_un, sun_path) + at + path.size())};
  e.address.assign(reinterpret_cast<char*>(&addr), reinterpret_cast<char*>(&addr) + sizeof addr);
  return e;
}

void TcpEndpoints(const std::string& host, int port, std::vector<Endpoint>& out) {
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* list = nullptr;
  if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &list) != 0) return;
  for (addrinfo* a = list; a; a = a->ai_next) {
    Endpoint e{a->ai_family, {}, a->ai_addrlen};
    e.address.assign(reinterpret_cast<char*>(a->ai_addr),
                     reinterpret_cast<char*>(a->ai_addr) + a->ai_addrlen);
    out.push_back(e);
  }
  freeaddrinfo(list);
}

// Where Xlib looks for the server of a display name; false for names it
// reads in ways this probe does not.
bool Endpoints(const char* display, std::vector<Endpoint>& out) {
  std::string name = display ? display : "";
  if (name.empty() || name[0] == '/') return false;
  std::string protocol;
  size_t slash = name.find('/');
  if (slash != std::string::npos) {
    protocol = name.substr(0, slash);
    name = name.substr(slash + 1);
  }
  size_t colon = name.rfind(':');
  if (colon == std::string::npos) return false;
  if (colon > 0 && name[colon - 1] == ':' && name.find(':') == colon - 1) return false;  // DECnet
  std::string host = name.substr(0, colon);
  std::string rest = name.substr(colon + 1);
  size_t digits = 0;
  while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9') ++digits;
  if (digits == 0 || digits > 5 || (digits < rest.size() && rest[digits] != '.')) return false;
  int number = std::atoi(rest.substr(0, digits).c_str());
  if (host.size() > 2 && host.front() == '[' && host.back() == ']')
    host = host.substr(1, host.size() - 2);
  const bool local = host.empty() || host == "unix" || protocol == "unix";
  if (!protocol.empty() && protocol != "unix" && protocol != "tcp" && protocol != "inet" &&
      protocol != "inet6")
    return false;
  if (local && protocol != "tcp" && protocol != "inet" && protocol != "inet6") {
    const std::string path = "/tmp/.X11-unix/X" + std::to_string(number);
    out.push_back(UnixEndpoint(path, true));
    out.push_back(UnixEndpoint(path, false));
    if (protocol == "unix" || host == "unix") return true;
  }
  TcpEndpoints(host.empty() || host == "unix" ? "localhost" : host, 6000 + number, out);
  return true;
}

bool Interrupted() { return sStartupSignal != 0; }

// Waits for events on fd until deadline (NowMs). 1 ready, 0 time out, -1
// interrupted by a start-up signal.
int WaitFor(int fd, short events, double deadline) {
  while (true) {
    if (Interrupted()) return -1;
    double left = deadline - NowMs();
    if (left <= 0) return 0;
    pollfd p{fd, events, 0};
    int r = poll(&p, 1, left > 50 ? 50 : int(left) + 1);
    if (r > 0) return 1;
    if (r < 0 && errno != EINTR) return 0;
  }
}

// 1 connected, 0 nothing there, -1 interrupted or out of time.
int Connect(int fd, const Endpoint& e, double deadline) {
  if (connect(fd, reinterpret_cast<const sockaddr*>(e.address.data()), e.length) == 0) return 1;
  if (errno != EINPROGRESS && errno != EAGAIN && errno != EINTR) return 0;
  int r = WaitFor(fd, POLLOUT, deadline);
  if (r <= 0) return -1;
  int error = 0;
  socklen_t len = sizeof error;
  getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len);
  return error == 0 ? 1 : 0;
}

// Reads the server's whole reply to a connection setup: 8 bytes (status,
// reason length, protocol version, then the length of the rest in 4-byte
// units) and the rest, whatever the status. 1 read (or the server closed
// the connection), 0 out of time, -1 interrupted by a start-up signal.
int ReadSetupReply(int fd, double deadline) {
  unsigned char head[8];
  size_t got = 0, want = sizeof head;
  char rest[4096];
  while (got < want) {
    int r = WaitFor(fd, POLLIN, deadline);
    if (r <= 0) return r;
    size_t room = want - got;
    ssize_t n = got < sizeof head ? recv(fd, head + got, sizeof head - got, 0)
                                  : recv(fd, rest, room < sizeof rest ? room : sizeof rest, 0);
    if (n == 0) return 1;
    if (n < 0) {
      if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
      return 1;  // reset: the real client hears of it as well
    }
    got += size_t(n);
    if (got == sizeof head) want += 4 * size_t(head[6] | head[7] << 8);
  }
  return 1;
}

}  // namespace

DisplayAnswer ProbeXDisplay(const char* display, double timeoutMs) {
  EndDisplayProbe();
  std::vector<Endpoint> endpoints;
  if (!Endpoints(display, endpoints)) return DisplayAnswer::kUnknownName;
  const double deadline = NowMs() + timeoutMs;
  for (const Endpoint& e : endpoints) {
    int fd = socket(e.family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) continue;
    int c = Connect(fd, e, deadline);
    if (c == 0) {
      close(fd);
      continue;
    }
    if (c < 0) {
      close(fd);
      return Interrupted() ? DisplayAnswer::kInterrupted : DisplayAnswer::kSilent;
    }
    // Connection setup: little-endian, protocol 11.0, no credentials.
    static const unsigned char setup[12] = {'l', 0, 11, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    bool sent = send(fd, setup, sizeof setup, MSG_NOSIGNAL) == ssize_t(sizeof setup);
    int r = sent ? ReadSetupReply(fd, deadline) : 1;
    if (r < 0) {
      close(fd);
      return DisplayAnswer::kInterrupted;
    }
    if (r == 0) {
      close(fd);
      return DisplayAnswer::kSilent;
    }
    // A whole reply, or the server closed the connection: it is alive
    // either way, and the real client will hear what it says.
    sProbeSocket = fd;
    return DisplayAnswer::kAnswers;
  }
  return DisplayAnswer::kNoServer;
}

void EndDisplayProbe() {
  if (sProbeSocket >= 0) close(sProbeSocket);
  sProbeSocket = -1;
}

void BeginStartupSignals() {
  if (sSignalsSaved) return;
  sStartupSignal = 0;
  sExitOnSignal = 0;
  struct sigaction a{};
  a.sa_handler = OnStartupSignal;
  sigemptyset(&a.sa_mask);
  sigaction(SIGTERM, &a, &sSavedTerm);
  sigaction(SIGINT, &a, &sSavedInt);
  sSignalsSaved = true;
}

void EndStartupSignals() {
  if (!sSignalsSaved) return;
  if (sWatchState.load() != kWatchOff) {
    sSignalsKept = true;
    return;
  }
  sigaction(SIGTERM, &sSavedTerm, nullptr);
  sigaction(SIGINT, &sSavedInt, nullptr);
  sSignalsSaved = false;
}

int StartupSignal() { return int(sStartupSignal); }

void ExitOnStartupSignal(bool on) {
  sExitOnSignal = on ? 1 : 0;
  if (on && sStartupSignal) OnStartupSignal(sStartupSignal);
}

namespace {

const char* SignalName(int sig) { return sig == SIGINT ? "SIGINT" : "SIGTERM"; }

void Watch() {
  for (;;) {
    double left = sWatchDeadline - NowMs();
    pollfd p{sWatchPipe[0], POLLIN, 0};
    poll(&p, 1, left <= 0 ? 0 : left > 100 ? 100 : int(left) + 1);
    char drain[64];
    while (read(sWatchPipe[0], drain, sizeof drain) > 0) {
    }
    if (sWatchState.load() != kWatchArmed) return;
    const int sig = sStartupSignal;
    if (sig == 0 && NowMs() < sWatchDeadline) continue;
    int armed = kWatchArmed;
    if (!sWatchState.compare_exchange_strong(armed, kWatchEnding)) return;
    std::string why;
    if (sig != 0) {
      why = std::string("start-up was interrupted by ") + SignalName(sig);
    } else {
      const char* display = std::getenv("DISPLAY");
      why = "no display to show a window on (";
      why += display && *display ? std::string("DISPLAY \"") + display + "\"" : "the display";
      why += " stopped answering: no window with an OpenGL context after " +
             std::to_string(int(sWatchMs / 1000)) + " s)";
    }
    if (sWatchOnEnd) sWatchOnEnd(why.c_str());
    _exit(1);
  }
}

}  // namespace

void BeginStartupWatch(double timeoutMs, StartupEndHandler onEnd) {
  if (sWatchState.load() != kWatchOff) return;
  if (sWatchPipe[0] < 0) {
    if (pipe2(sWatchPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;  // start-up goes unwatched
    sWatchWake = sWatchPipe[1];
  }
  sWatchOnEnd = onEnd;
  sWatchMs = timeoutMs;
  sWatchDeadline = NowMs() + timeoutMs;
  sWatchState.store(kWatchArmed);
  sWatchThread = std::thread(Watch);
}

std::string EndStartupWatch() {
  int armed = kWatchArmed;
  if (sWatchState.compare_exchange_strong(armed, kWatchOff)) {
    char c = 'e';
    ssize_t ignored = write(sWatchPipe[1], &c, 1);
    (void)ignored;
    sWatchThread.join();
  } else if (armed == kWatchEnding) {
    for (;;) pause();  // the watch is ending the process
  }
  if (sSignalsKept) {
    sSignalsKept = false;
    EndStartupSignals();
  }
  const int sig = StartupSignal();
  return sig ? std::string("start-up was interrupted by ") + SignalName(sig) : std::string();
}

}  // namespace platform
