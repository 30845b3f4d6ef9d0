// Text messages between two runtime processes over loopback (this process
// hosts, a second copy of this program joins and echoes), against raw TCP
// between the same two processes with messages of the same sizes (17-byte
// header plus payload), in one run. Two patterns: ping-pong (one message in
// flight) and a window of 32 in flight. Reports one-way messages per second
// and the ratio runtime / raw: medians of five runs, raw and runtime
// measured back to back in each.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/basic_string.h"
#include "core/string_builtins.h"
#include "net/net_commands.h"
#include "net/net_session.h"
#include "platform/process.h"
#include "platform/raw_tcp.h"
#include "platform/system.h"

namespace {

const int kSizes[] = {16, 256, 1024};
const int kWindows[] = {1, 32};
constexpr int kRoundTrips = 10000;
constexpr int kRuns = 5;

// The middle of kRuns measurements (a failed one counts as -1).
double Median(const double (&runs)[kRuns]) {
  double sorted[kRuns];
  std::copy(runs, runs + kRuns, sorted);
  std::sort(sorted, sorted + kRuns);
  return sorted[kRuns / 2];
}

std::string Payload(int size, int seq) {
  std::string s = std::to_string(seq) + ":";
  s.resize(size_t(size), 'x');
  return s;
}

// Raw side: messages of our header layout, echoed whole.
bool RawReadMessage(int fd, std::vector<char>& buffer, std::string& out) {
  for (;;) {
    if (buffer.size() >= 17) {
      uint32_t length;
      std::memcpy(&length, buffer.data() + 5, 4);
      if (buffer.size() >= 17 + length) {
        out.assign(buffer.data(), 17 + length);
        buffer.erase(buffer.begin(), buffer.begin() + 17 + length);
        return true;
      }
    }
    char chunk[65536];
    int64_t n = platform::RawTcpRecv(fd, chunk, sizeof chunk, 10000);
    if (n <= 0) return false;
    buffer.insert(buffer.end(), chunk, chunk + n);
  }
}

std::string RawMessage(const std::string& payload) {
  std::string m = "ORVN";
  m.push_back(3);
  uint32_t length = uint32_t(payload.size());
  int32_t zero = 0;
  m.append(reinterpret_cast<const char*>(&length), 4);
  m.append(reinterpret_cast<const char*>(&zero), 4);
  m.append(reinterpret_cast<const char*>(&zero), 4);
  return m + payload;
}

int RawPeer(uint16_t port) {
  int fd = platform::RawTcpConnect(port, 5000);
  if (fd < 0) return 1;
  platform::RawTcpNoDelay(fd);
  std::vector<char> buffer;
  std::string m;
  while (RawReadMessage(fd, buffer, m))
    if (!platform::RawTcpSend(fd, m.data(), int64_t(m.size()))) break;
  platform::RawTcpClose(fd);
  return 0;
}

std::string NextMessage(const BasicString& id) {
  BasicString m = NetWaitMessage(id, 10000);
  return std::string(StrCStr(m), StrLength(m));
}

int RuntimePeer(const char* port) {
  CreateNetSession();
  if (NetJoinSession("127.0.0.1", port) != 1.0) return 1;
  BasicString me = NetCreatePlayer("echo");
  for (;;) {
    std::string m = NextMessage(me);
    if (m.empty() || m == "#end") break;
    BasicString to = NetLastSenderText();
    NetSendText(me, to, BasicString(m.c_str()));
  }
  ShutdownNetSession();
  return 0;
}

// One-way messages per second for a pattern; send(i) sends message i,
// receive(i) takes and checks the echo of message i.
template <typename Send, typename Receive>
double Measure(int window, int size, Send send, Receive receive) {
  int warm = 200;
  for (int i = 0; i < warm; ++i) {
    send(size, i);
    if (!receive(size, i)) return -1;
  }
  double t0 = platform::NowMs();
  int sent = 0, got = 0;
  while (got < kRoundTrips) {
    while (sent < kRoundTrips && sent - got < window) send(size, sent++);
    if (!receive(size, got++)) return -1;
  }
  double seconds = (platform::NowMs() - t0) / 1000.0;
  return 2.0 * kRoundTrips / seconds;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--raw-peer") == 0)
    return RawPeer(uint16_t(std::atoi(argv[2])));
  if (argc == 3 && std::strcmp(argv[1], "--runtime-peer") == 0) return RuntimePeer(argv[2]);

  std::string self = platform::ProgramPath();
  // rate[kind][window][size][run], kind 0 raw TCP, 1 the runtime.
  double rate[2][2][3][kRuns] = {};

  // Raw TCP peer.
  uint16_t rawPort = 0;
  int listener = platform::RawTcpListen(0, &rawPort);
  int64_t rawChild = platform::LaunchProgram({self, "--raw-peer", std::to_string(rawPort)});
  int fd = platform::RawTcpAccept(listener, 5000);
  if (rawChild < 0 || fd < 0) {
    std::fprintf(stderr, "bench_net_messages: raw peer did not connect\n");
    return 1;
  }
  platform::RawTcpNoDelay(fd);
  std::vector<char> buffer;
  std::string m;
  auto rawSend = [&](int size, int seq) {
    std::string out = RawMessage(Payload(size, seq));
    platform::RawTcpSend(fd, out.data(), int64_t(out.size()));
  };
  auto rawReceive = [&](int size, int seq) {
    return RawReadMessage(fd, buffer, m) && m.compare(17, std::string::npos, Payload(size, seq)) == 0;
  };

  // The runtime: this process hosts, the peer joins.
  CreateNetSession();
  uint16_t port = 0;
  platform::RawTcpClose(platform::RawTcpListen(0, &port));
  std::string portText = std::to_string(port);
  if (NetHostSession(portText.c_str()) != 1.0) {
    std::fprintf(stderr, "bench_net_messages: cannot host on port %u\n", port);
    return 1;
  }
  BasicString me = NetCreatePlayer("bench");
  int64_t child = platform::LaunchProgram({self, "--runtime-peer", portText});
  double end = platform::NowMs() + 10000;
  while (NetPlayerCount() < 2 && platform::NowMs() < end) platform::SleepMs(20);
  BasicString peer = NetPlayerId(1);
  if (child < 0 || NetPlayerCount() < 2) {
    std::fprintf(stderr, "bench_net_messages: runtime peer did not join\n");
    return 1;
  }
  auto send = [&](int size, int seq) {
    NetSendText(me, peer, BasicString(Payload(size, seq).c_str()));
  };
  auto receive = [&](int size, int seq) { return NextMessage(me) == Payload(size, seq); };

  // Runs alternate between the two, so that a change in the machine's load
  // falls on both.
  for (int run = 0; run < kRuns; ++run)
    for (int w = 0; w < 2; ++w)
      for (int s = 0; s < 3; ++s) {
        rate[0][w][s][run] = Measure(kWindows[w], kSizes[s], rawSend, rawReceive);
        rate[1][w][s][run] = Measure(kWindows[w], kSizes[s], send, receive);
      }

  platform::RawTcpClose(fd);
  platform::RawTcpClose(listener);
  platform::WaitForProgram(rawChild);
  NetSendText(me, peer, "#end");
  platform::WaitForProgram(child);
  ShutdownNetSession();

  std::printf("one-way messages per second over loopback, %d round trips each, median of %d runs\n"
              "(ratio: the median of the runs' runtime / raw, each pair measured back to back)\n",
              kRoundTrips, kRuns);
  std::printf("%-10s %8s %14s %14s %8s\n", "pattern", "payload", "runtime", "raw TCP", "ratio");
  double worst = 1e9;
  for (int w = 0; w < 2; ++w)
    for (int s = 0; s < 3; ++s) {
      double raw = Median(rate[0][w][s]), runtime = Median(rate[1][w][s]);
      double ratios[kRuns];
      for (int run = 0; run < kRuns; ++run) {
        double a = rate[1][w][s][run], b = rate[0][w][s][run];
        ratios[run] = a > 0 && b > 0 ? a / b : 0;
      }
      double ratio = Median(ratios);
      if (ratio < worst) worst = ratio;
      std::printf("%-10s %8d %14.0f %14.0f %8.2f\n", w == 0 ? "ping-pong" : "window 32",
                  kSizes[s], runtime, raw, ratio);
    }
  std::printf("lowest ratio %.2f (goal 0.80)\n", worst);
  return 0;
}
