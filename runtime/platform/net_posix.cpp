#include "platform/net.h"

#include <arpa/inet.h>
#include <errno.h>
#include <ifaddrs.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <pthread.h>
#include <time.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace platform {

namespace {

constexpr double kDefaultTimeoutMs = 30000.0;
// Bytes a packet socket queues at most for a peer that reads slowly (its
// writers hold back long before); a write that would pass this fails and
// leaves the stream whole.
constexpr size_t kSendQueueLimit = size_t(16) << 20;
// Sent bytes are dropped from the front of the queue once this many gather.
constexpr size_t kSendQueueCompact = size_t(512) << 10;
// Longest a close waits for queued messages to go out.
constexpr double kCloseFlushMs = 200.0;
constexpr size_t kReceiveChunk = 65536;

thread_local int32_t tError = kNlNoError;

int32_t Fail(int32_t code) {
  tError = code;
  return -1;
}

double Now() {
  return std::chrono::duration<double, std::milli>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

struct Socket {
  int fd = -1;
  int32_t type = kNlReliable;
  bool blocking = false;
  bool listening = false;
  double timeoutMs = kDefaultTimeoutMs;

  std::mutex readLock;
  // Packet sockets: bytes rxStart to rxEnd of rx were received and not yet
  // handed out; rx only grows (nothing is cleared before a receive).
  std::vector<uint8_t> rx;
  size_t rxStart = 0;
  size_t rxEnd = 0;
  bool rxShort = true;  // the last receive took less than it asked for
  int32_t readError = kNlNoError;  // sticky: end of stream or a bad frame
  std::atomic<bool> readPaused{false};

  std::mutex writeLock;
  bool writeBroken = false;      // the peer is gone: nothing more goes out
  std::vector<uint8_t> tx;       // packet sockets: messages not yet taken by the system
  size_t txStart = 0;
  double txMovedAt = 0;          // when the queue last moved (or filled from empty)

  ~Socket() {
    if (fd >= 0) close(fd);
  }
};
using SocketRef = std::shared_ptr<Socket>;

struct Framing {
  int32_t headerSize = 4;
  int32_t lengthOffset = 0;
  int32_t maxPayload = 1 << 20;
};

std::mutex sTableLock;
std::map<NLsocket, SocketRef> sSockets;
std::map<int32_t, std::vector<NLsocket>> sGroups;
NLsocket sNextSocket = 1;
int32_t sNextGroup = 1;
bool sBlocking = false;
bool sNoDelay = false;
Framing sFraming;

SocketRef Find(NLsocket s) {
  std::lock_guard<std::mutex> lock(sTableLock);
  auto it = sSockets.find(s);
  return it == sSockets.end() ? nullptr : it->second;
}

NLsocket Adopt(SocketRef sock) {
  std::lock_guard<std::mutex> lock(sTableLock);
  NLsocket s = sNextSocket++;
  if (sNextSocket < 1) sNextSocket = 1;
  sSockets[s] = std::move(sock);
  return s;
}

void SetNoDelay(int fd) {
  int one = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

int32_t ErrorOf(int err) {
  switch (err) {
    case ECONNRESET:
    case EPIPE:
    case ECONNABORTED:
    case ETIMEDOUT:
    case ENOTCONN:
      return kNlSockDisconnect;
    default:
      return kNlSystemError;
  }
}

// Waits for events on fd; false on timeout or failure.
bool WaitFd(int fd, short events, double ms) {
  double end = Now() + ms;
  for (;;) {
    double left = end - Now();
    if (left < 0) left = 0;
    pollfd p{fd, events, 0};
    int r = poll(&p, 1, int(left + 0.999));
    if (r > 0) return true;
    if (r == 0) return false;
    if (errno != EINTR) return false;
  }
}

uint32_t ReadLe32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Packet sockets, under readLock: 1 a whole message is buffered, 0 not yet,
// -1 the buffered header is refused (error recorded on the socket).
int FrameReady(Socket& s, const Framing& f, size_t* size) {
  size_t avail = s.rxEnd - s.rxStart;
  if (avail < size_t(f.headerSize)) return 0;
  uint32_t length = ReadLe32(s.rx.data() + s.rxStart + f.lengthOffset);
  if (length > uint32_t(f.maxPayload)) {
    s.readError = kNlPacketSize;
    return -1;
  }
  size_t total = size_t(f.headerSize) + length;
  if (avail < total) return 0;
  *size = total;
  return 1;
}

Framing CurrentFraming() {
  std::lock_guard<std::mutex> lock(sTableLock);
  return sFraming;
}

// Pulls what the system holds into the receive buffer. 1 bytes came, 0
// nothing waiting, -1 end or failure (recorded on the socket).
int Fill(Socket& s) {
  if (s.rxStart == s.rxEnd) {
    s.rxStart = s.rxEnd = 0;
  } else if (s.rxStart > kReceiveChunk) {
    std::memmove(s.rx.data(), s.rx.data() + s.rxStart, s.rxEnd - s.rxStart);
    s.rxEnd -= s.rxStart;
    s.rxStart = 0;
  }
  if (s.rx.size() < s.rxEnd + kReceiveChunk) s.rx.resize(s.rxEnd + kReceiveChunk);
  ssize_t r;
  do {
    r = recv(s.fd, s.rx.data() + s.rxEnd, kReceiveChunk, MSG_DONTWAIT);
  } while (r < 0 && errno == EINTR);
  int err = errno;
  if (r > 0) {
    s.rxEnd += size_t(r);
    s.rxShort = size_t(r) < kReceiveChunk;
    return 1;
  }
  s.rxShort = true;
  if (r == 0) {
    s.readError = s.rxEnd == s.rxStart ? kNlMessageEnd : kNlSockDisconnect;
    return -1;
  }
  if (err == EAGAIN || err == EWOULDBLOCK) return 0;
  s.readError = ErrorOf(err);
  return -1;
}

int32_t ReadPacket(Socket& s, uint8_t* out, int32_t n) {
  std::lock_guard<std::mutex> lock(s.readLock);
  Framing f = CurrentFraming();
  double end = s.blocking ? Now() + s.timeoutMs : 0;
  // A receive that took less than it asked for emptied the system's buffer:
  // another one now would find nothing.
  bool drained = false;
  for (;;) {
    if (s.readError == kNlPacketSize) return Fail(s.readError);
    size_t size = 0;
    int ready = FrameReady(s, f, &size);
    if (ready < 0) return Fail(s.readError);
    if (ready > 0) {
      if (size > size_t(n)) return Fail(kNlBufferSize);
      std::memcpy(out, s.rx.data() + s.rxStart, size);
      s.rxStart += size;
      return int32_t(size);
    }
    if (s.readError != kNlNoError) return Fail(s.readError);
    if (!drained) {
      int got = Fill(s);
      if (got > 0) {
        drained = s.rxShort;
        continue;
      }
      if (got < 0) {
        // What was already whole is still handed out before the end.
        if (FrameReady(s, f, &size) != 0) continue;
        return Fail(s.readError);
      }
    }
    if (!s.blocking) {
      tError = kNlNoError;
      return 0;
    }
    double left = end - Now();
    if (left <= 0 || !WaitFd(s.fd, POLLIN, left)) return Fail(kNlTimedOut);
    drained = false;
  }
}

int32_t ReadStream(Socket& s, uint8_t* out, int32_t n) {
  std::lock_guard<std::mutex> lock(s.readLock);
  if (s.readError != kNlNoError) return Fail(s.readError);
  if (n == 0) return 0;
  double end = Now() + s.timeoutMs;
  for (;;) {
    ssize_t r = recv(s.fd, out, size_t(n), MSG_DONTWAIT);
    if (r > 0) return int32_t(r);
    if (r == 0) {
      s.readError = kNlMessageEnd;
      return Fail(s.readError);
    }
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) {
      s.readError = ErrorOf(errno);
      return Fail(s.readError);
    }
    if (!s.blocking) {
      tError = kNlNoError;
      return 0;
    }
    double left = end - Now();
    if (left <= 0 || !WaitFd(s.fd, POLLIN, left)) return Fail(kNlTimedOut);
  }
}

// Sends all n bytes, waiting at most limitMs for room; the count sent.
int32_t SendAll(Socket& s, const uint8_t* p, int32_t n, double limitMs, int* err) {
  double end = Now() + limitMs;
  int32_t sent = 0;
  *err = 0;
  while (sent < n) {
    ssize_t w = send(s.fd, p + sent, size_t(n - sent), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (w > 0) {
      sent += int32_t(w);
      continue;
    }
    if (w < 0 && errno == EINTR) continue;
    if (w < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
      *err = errno;
      return sent;
    }
    double left = end - Now();
    if (left <= 0 || !WaitFd(s.fd, POLLOUT, left)) {
      *err = ETIMEDOUT;
      return sent;
    }
  }
  return sent;
}

// Packet sockets, under writeLock: hands queued bytes to the system without
// waiting. False when the connection failed.
bool FlushQueue(Socket& s) {
  while (s.txStart < s.tx.size()) {
    ssize_t w = send(s.fd, s.tx.data() + s.txStart, s.tx.size() - s.txStart,
                     MSG_NOSIGNAL | MSG_DONTWAIT);
    if (w > 0) {
      s.txStart += size_t(w);
      s.txMovedAt = Now();
      continue;
    }
    if (w < 0 && errno == EINTR) continue;
    if (w < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
    s.writeBroken = true;
    tError = ErrorOf(errno);
    return false;
  }
  if (s.txStart == s.tx.size()) {
    s.tx.clear();
    s.txStart = 0;
  } else if (s.txStart > kSendQueueCompact) {
    s.tx.erase(s.tx.begin(), s.tx.begin() + std::ptrdiff_t(s.txStart));
    s.txStart = 0;
  }
  return true;
}

// Packet sockets: the whole message goes out now or waits in the queue in
// order behind earlier ones; never part of it is lost.
int32_t WritePacket(Socket& s, const uint8_t* p, int32_t n) {
  std::lock_guard<std::mutex> lock(s.writeLock);
  if (s.writeBroken || !FlushQueue(s)) return Fail(kNlSockDisconnect);
  size_t done = 0;
  if (s.tx.size() == s.txStart) {
    while (done < size_t(n)) {
      ssize_t w = send(s.fd, p + done, size_t(n) - done, MSG_NOSIGNAL | MSG_DONTWAIT);
      if (w > 0) {
        done += size_t(w);
        continue;
      }
      if (w < 0 && errno == EINTR) continue;
      if (w < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
      s.writeBroken = true;
      return Fail(ErrorOf(errno));
    }
  }
  size_t rest = size_t(n) - done;
  if (rest == 0) return n;
  if (done == 0 && s.tx.size() - s.txStart + rest > kSendQueueLimit) return Fail(kNlBufferSize);
  if (s.tx.size() == s.txStart) s.txMovedAt = Now();
  s.tx.insert(s.tx.end(), p + done, p + n);
  return n;
}

bool HasQueued(Socket& s) {
  std::unique_lock<std::mutex> lock(s.writeLock, std::try_to_lock);
  if (!lock.owns_lock()) return false;
  FlushQueue(s);
  return s.txStart < s.tx.size() && !s.writeBroken;
}

SocketRef NewSocket(int32_t type) {
  if (type != kNlReliable && type != kNlReliablePackets) {
    tError = kNlInvalidArgument;
    return nullptr;
  }
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) {
    tError = kNlSystemError;
    return nullptr;
  }
  auto sock = std::make_shared<Socket>();
  sock->fd = fd;
  sock->type = type;
  {
    std::lock_guard<std::mutex> lock(sTableLock);
    sock->blocking = sBlocking;
    if (sNoDelay || type == kNlReliablePackets) SetNoDelay(fd);
  }
  return sock;
}

sockaddr_in ToSockaddr(const NLaddress& a) {
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_addr.s_addr = htonl(a.host);
  sa.sin_port = htons(a.port);
  return sa;
}

NLaddress FromSockaddr(const sockaddr_in& sa) {
  NLaddress a{};
  a.host = ntohl(sa.sin_addr.s_addr);
  a.port = ntohs(sa.sin_port);
  a.valid = true;
  return a;
}

}  // namespace

bool nlInit() {
  tError = kNlNoError;
  return true;
}

void nlShutdown() {
  std::map<NLsocket, SocketRef> open;
  {
    std::lock_guard<std::mutex> lock(sTableLock);
    open.swap(sSockets);
    sGroups.clear();
    sBlocking = false;
    sNoDelay = false;
  }
  for (auto& [n, s] : open) shutdown(s->fd, SHUT_RDWR);
  // Descriptors close when the last user lets go of each socket.
}

bool nlSelectNetwork(int32_t network) {
  if (network != kNlIp) return Fail(kNlInvalidArgument), false;
  return true;
}

bool nlEnable(int32_t option) {
  std::lock_guard<std::mutex> lock(sTableLock);
  if (option == kNlBlockingIo) sBlocking = true;
  else if (option == kNlTcpNoDelay) sNoDelay = true;
  else return Fail(kNlInvalidArgument), false;
  return true;
}

bool nlDisable(int32_t option) {
  std::lock_guard<std::mutex> lock(sTableLock);
  if (option == kNlBlockingIo) sBlocking = false;
  else if (option == kNlTcpNoDelay) sNoDelay = false;
  else return Fail(kNlInvalidArgument), false;
  return true;
}

int32_t nlGetError() { return tError; }

void nlSetPacketFraming(int32_t headerSize, int32_t lengthOffset, int32_t maxPayload) {
  if (headerSize < 4 || lengthOffset < 0 || lengthOffset + 4 > headerSize || maxPayload < 0)
    return;
  std::lock_guard<std::mutex> lock(sTableLock);
  sFraming = Framing{headerSize, lengthOffset, maxPayload};
}

NLsocket nlOpen(uint16_t port, int32_t type) {
  SocketRef sock = NewSocket(type);
  if (!sock) return kNlInvalid;
  if (port != 0) {
    int one = 1;
    setsockopt(sock->fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(INADDR_ANY);
    sa.sin_port = htons(port);
    if (bind(sock->fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
      tError = kNlSystemError;
      return kNlInvalid;
    }
  }
  return Adopt(sock);
}

bool nlListen(NLsocket socket) {
  SocketRef s = Find(socket);
  if (!s) return Fail(kNlInvalidSocket), false;
  if (listen(s->fd, SOMAXCONN) != 0) return Fail(kNlSystemError), false;
  s->listening = true;
  return true;
}

NLsocket nlAcceptConnection(NLsocket socket) {
  SocketRef s = Find(socket);
  if (!s) return Fail(kNlInvalidSocket);
  if (!s->listening) return Fail(kNlNotListen);
  for (;;) {
    int fd = accept4(s->fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd >= 0) {
      auto sock = std::make_shared<Socket>();
      sock->fd = fd;
      sock->type = s->type;
      if (s->type == kNlReliablePackets) SetNoDelay(fd);
      return Adopt(sock);
    }
    switch (errno) {
      case EINTR:
        continue;
      case EAGAIN:
#if EAGAIN != EWOULDBLOCK
      case EWOULDBLOCK:
#endif
      case ECONNABORTED:
      case EPROTO:
      case EMFILE:
      case ENFILE:
      case ENOBUFS:
      case ENOMEM:
        return Fail(kNlNoPending);
      case EINVAL:
        return Fail(kNlNotListen);
      default:
        return Fail(kNlSystemError);
    }
  }
}

bool nlConnect(NLsocket socket, const NLaddress* address) {
  SocketRef s = Find(socket);
  if (!s) return Fail(kNlInvalidSocket), false;
  if (!address || !address->valid) return Fail(kNlAddressError), false;
  sockaddr_in sa = ToSockaddr(*address);
  int r;
  do {
    r = connect(s->fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa);
  } while (r != 0 && errno == EINTR);
  if (r != 0) {
    if (errno != EINPROGRESS) return Fail(kNlConnectFailed), false;
    if (!WaitFd(s->fd, POLLOUT, s->timeoutMs)) return Fail(kNlTimedOut), false;
    int err = 0;
    socklen_t len = sizeof err;
    if (getsockopt(s->fd, SOL_SOCKET, SO_ERROR, &err, &len) != 0 || err != 0)
      return Fail(kNlConnectFailed), false;
  }
  return true;
}

bool nlClose(NLsocket socket) {
  SocketRef s;
  {
    std::lock_guard<std::mutex> lock(sTableLock);
    auto it = sSockets.find(socket);
    if (it == sSockets.end()) return Fail(kNlInvalidSocket), false;
    s = std::move(it->second);
    sSockets.erase(it);
    for (auto& [g, members] : sGroups)
      members.erase(std::remove(members.begin(), members.end(), socket), members.end());
  }
  if (s->type == kNlReliablePackets) {
    // Queued messages get a short while to go out.
    std::lock_guard<std::mutex> lock(s->writeLock);
    double end = Now() + kCloseFlushMs;
    while (FlushQueue(*s) && s->txStart < s->tx.size()) {
      double left = end - Now();
      if (left <= 0 || !WaitFd(s->fd, POLLOUT, left)) break;
    }
  }
  // Wakes a thread that waits on it; the descriptor closes with the last user.
  shutdown(s->fd, SHUT_RDWR);
  return true;
}

int32_t nlWrite(NLsocket socket, const void* buffer, int32_t n) {
  SocketRef s = Find(socket);
  if (!s) return Fail(kNlInvalidSocket);
  if (n < 0 || (!buffer && n > 0)) return Fail(kNlInvalidArgument);
  const uint8_t* p = static_cast<const uint8_t*>(buffer);
  if (s->type == kNlReliablePackets) return WritePacket(*s, p, n);
  std::lock_guard<std::mutex> lock(s->writeLock);
  if (s->writeBroken) return Fail(kNlSockDisconnect);
  if (s->blocking) {
    int err = 0;
    int32_t sent = SendAll(*s, p, n, s->timeoutMs, &err);
    if (sent == n) return n;
    if (sent > 0) return sent;
    return Fail(err == ETIMEDOUT ? kNlTimedOut : ErrorOf(err));
  }
  for (;;) {
    ssize_t w = send(s->fd, p, size_t(n), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (w >= 0) return int32_t(w);
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
    return Fail(ErrorOf(errno));
  }
}

int32_t nlRead(NLsocket socket, void* buffer, int32_t n) {
  SocketRef s = Find(socket);
  if (!s) return Fail(kNlInvalidSocket);
  if (n < 0 || (!buffer && n > 0)) return Fail(kNlInvalidArgument);
  uint8_t* out = static_cast<uint8_t*>(buffer);
  return s->type == kNlReliablePackets ? ReadPacket(*s, out, n) : ReadStream(*s, out, n);
}

bool nlWaitWritable(NLsocket socket, double ms) {
  SocketRef s = Find(socket);
  if (!s) return Fail(kNlInvalidSocket), false;
  if (s->type == kNlReliablePackets) {
    {
      std::lock_guard<std::mutex> lock(s->writeLock);
      if (s->writeBroken || !FlushQueue(*s)) return Fail(kNlSockDisconnect), false;
      if (s->txStart == s->tx.size()) return true;
    }
    bool room = WaitFd(s->fd, POLLOUT, ms);
    std::lock_guard<std::mutex> lock(s->writeLock);
    if (s->writeBroken || !FlushQueue(*s)) return Fail(kNlSockDisconnect), false;
    return room;
  }
  return WaitFd(s->fd, POLLOUT, ms);
}

bool nlSetTimeout(NLsocket socket, double ms) {
  SocketRef s = Find(socket);
  if (!s) return Fail(kNlInvalidSocket), false;
  s->timeoutMs = ms < 0 ? 0 : ms;
  return true;
}

int32_t nlGroupCreate() {
  std::lock_guard<std::mutex> lock(sTableLock);
  int32_t g = sNextGroup++;
  sGroups[g];
  return g;
}

bool nlGroupDestroy(int32_t group) {
  std::lock_guard<std::mutex> lock(sTableLock);
  if (sGroups.erase(group) == 0) return Fail(kNlInvalidArgument), false;
  return true;
}

bool nlGroupAddSocket(int32_t group, NLsocket socket) {
  std::lock_guard<std::mutex> lock(sTableLock);
  auto g = sGroups.find(group);
  if (g == sGroups.end()) return Fail(kNlInvalidArgument), false;
  if (!sSockets.count(socket)) return Fail(kNlInvalidSocket), false;
  if (std::find(g->second.begin(), g->second.end(), socket) == g->second.end())
    g->second.push_back(socket);
  return true;
}

bool nlGroupDeleteSocket(int32_t group, NLsocket socket) {
  std::lock_guard<std::mutex> lock(sTableLock);
  auto g = sGroups.find(group);
  if (g == sGroups.end()) return Fail(kNlInvalidArgument), false;
  auto& m = g->second;
  auto it = std::find(m.begin(), m.end(), socket);
  if (it == m.end()) return Fail(kNlInvalidSocket), false;
  m.erase(it);
  return true;
}

int32_t nlPollGroup(int32_t group, int32_t status, NLsocket* sockets, int32_t max,
                    double timeoutMs) {
  if (status != kNlReadStatus || max < 0 || (!sockets && max > 0))
    return Fail(kNlInvalidArgument);
  // Kept between calls: a poll allocates nothing once these have grown.
  thread_local std::vector<NLsocket> numbers;
  thread_local std::vector<SocketRef> members;
  thread_local std::vector<char> ready;
  thread_local std::vector<pollfd> fds;
  numbers.clear();
  members.clear();
  Framing f;
  {
    std::lock_guard<std::mutex> lock(sTableLock);
    auto g = sGroups.find(group);
    if (g == sGroups.end()) return Fail(kNlInvalidArgument);
    for (NLsocket n : g->second) {
      auto it = sSockets.find(n);
      if (it == sSockets.end()) continue;
      numbers.push_back(n);
      members.push_back(it->second);
    }
    f = sFraming;
  }
  // A message already buffered, or an end still to report, is ready now.
  ready.assign(members.size(), 0);
  bool any = false;
  for (size_t i = 0; i < members.size(); ++i) {
    Socket& s = *members[i];
    if (s.type != kNlReliablePackets || s.readPaused) continue;
    std::unique_lock<std::mutex> lock(s.readLock, std::try_to_lock);
    if (!lock.owns_lock()) continue;
    size_t size;
    if (s.readError != kNlNoError || FrameReady(s, f, &size) != 0) ready[i] = any = true;
  }
  // Queued messages move on here too; the wait also ends when room appears.
  // A paused socket is watched only for room for its queue.
  fds.resize(members.size());
  for (size_t i = 0; i < members.size(); ++i) {
    Socket& s = *members[i];
    bool queued = s.type == kNlReliablePackets && HasQueued(s);
    short events = s.readPaused ? 0 : POLLIN;
    if (queued) events |= POLLOUT;
    fds[i] = pollfd{events ? s.fd : -1, events, 0};
  }
  double wait = any ? 0 : timeoutMs;
  double end = wait > 0 ? Now() + wait : 0;
  for (;;) {
    double left = wait > 0 ? end - Now() : 0;
    if (left < 0) left = 0;
    int r = poll(fds.data(), nfds_t(fds.size()), int(left + 0.999));
    if (r >= 0) break;
    if (errno != EINTR) {
      members.clear();
      return Fail(kNlSystemError);
    }
  }
  int32_t count = 0;
  for (size_t i = 0; i < members.size() && count < max; ++i) {
    if (members[i]->readPaused) continue;
    if (ready[i] || (fds[i].revents & (POLLIN | POLLHUP | POLLERR))) sockets[count++] = numbers[i];
  }
  members.clear();  // no socket is kept alive by the scratch lists
  tError = kNlNoError;
  return count;
}

bool nlReadPending(NLsocket socket) {
  SocketRef s = Find(socket);
  if (!s) return false;
  if (s->type != kNlReliablePackets) return true;
  std::lock_guard<std::mutex> lock(s->readLock);
  size_t size;
  return !s->rxShort || s->readError != kNlNoError || FrameReady(*s, CurrentFraming(), &size) != 0;
}

bool nlSetReadPaused(NLsocket socket, bool paused) {
  SocketRef s = Find(socket);
  if (!s) return Fail(kNlInvalidSocket), false;
  s->readPaused = paused;
  return true;
}

int64_t nlSendQueued(NLsocket socket, double* stalledMs) {
  if (stalledMs) *stalledMs = 0;
  SocketRef s = Find(socket);
  if (!s) return Fail(kNlInvalidSocket);
  if (s->type != kNlReliablePackets) return 0;
  std::lock_guard<std::mutex> lock(s->writeLock);
  if (s->writeBroken || !FlushQueue(*s)) return Fail(kNlSockDisconnect);
  int64_t queued = int64_t(s->tx.size() - s->txStart);
  if (queued > 0 && stalledMs) *stalledMs = Now() - s->txMovedAt;
  return queued;
}

bool nlGetLocalAddr(NLsocket socket, NLaddress* address) {
  SocketRef s = Find(socket);
  if (!s) return Fail(kNlInvalidSocket), false;
  if (!address) return Fail(kNlInvalidArgument), false;
  sockaddr_in sa{};
  socklen_t len = sizeof sa;
  if (getsockname(s->fd, reinterpret_cast<sockaddr*>(&sa), &len) != 0)
    return Fail(kNlSystemError), false;
  *address = FromSockaddr(sa);
  if (address->host == INADDR_ANY) address->host = INADDR_LOOPBACK;
  return true;
}

bool nlGetRemoteAddr(NLsocket socket, NLaddress* address) {
  SocketRef s = Find(socket);
  if (!s) return Fail(kNlInvalidSocket), false;
  if (!address) return Fail(kNlInvalidArgument), false;
  sockaddr_in sa{};
  socklen_t len = sizeof sa;
  if (getpeername(s->fd, reinterpret_cast<sockaddr*>(&sa), &len) != 0)
    return Fail(kNlSystemError), false;
  *address = FromSockaddr(sa);
  return true;
}

bool nlSetAddrPort(NLaddress* address, uint16_t port) {
  if (!address || !address->valid) return Fail(kNlAddressError), false;
  address->port = port;
  return true;
}

bool nlStringToAddr(const char* text, NLaddress* address) {
  if (!text || !address) return Fail(kNlInvalidArgument), false;
  std::string host = text;
  uint16_t port = 0;
  size_t colon = host.rfind(':');
  if (colon != std::string::npos) {
    int value = std::atoi(host.c_str() + colon + 1);
    if (value < 0 || value > 65535) return Fail(kNlAddressError), false;
    port = uint16_t(value);
    host.resize(colon);
  }
  in_addr in{};
  if (inet_pton(AF_INET, host.c_str(), &in) != 1) return Fail(kNlAddressError), false;
  address->host = ntohl(in.s_addr);
  address->port = port;
  address->valid = true;
  return true;
}

bool nlGetAddrFromName(const char* name, NLaddress* address) {
  if (!name || !address) return Fail(kNlInvalidArgument), false;
  address->valid = false;
  if (!*name) return Fail(kNlAddressError), false;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* list = nullptr;
  if (getaddrinfo(name, nullptr, &hints, &list) != 0 || !list) return Fail(kNlAddressError), false;
  *address = FromSockaddr(*reinterpret_cast<sockaddr_in*>(list->ai_addr));
  address->port = 0;
  freeaddrinfo(list);
  return true;
}

std::vector<NLaddress> nlGetAllLocalAddr() {
  std::vector<NLaddress> out;
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) {
    tError = kNlSystemError;
    return out;
  }
  for (ifaddrs* i = list; i; i = i->ifa_next) {
    if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET) continue;
    NLaddress a = FromSockaddr(*reinterpret_cast<sockaddr_in*>(i->ifa_addr));
    a.port = 0;
    out.push_back(a);
  }
  freeifaddrs(list);
  return out;
}

std::string nlAddrToString(const NLaddress& address) {
  in_addr in{};
  in.s_addr = htonl(address.host);
  char text[INET_ADDRSTRLEN] = {};
  inet_ntop(AF_INET, &in, text, sizeof text);
  std::string s = text;
  if (address.port != 0) s += ":" + std::to_string(address.port);
  return s;
}

bool nlSocketPair(NLsocket out[2]) {
  int fds[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, fds) != 0)
    return Fail(kNlSystemError), false;
  for (int i = 0; i < 2; ++i) {
    auto sock = std::make_shared<Socket>();
    sock->fd = fds[i];
    sock->type = kNlReliable;
    out[i] = Adopt(sock);
  }
  return true;
}

bool htThreadCreate(void* (*fn)(void*), void* arg) {
  if (!fn) return false;
  try {
    std::thread(fn, arg).detach();
  } catch (...) {
    return false;
  }
  return true;
}

int htMutexInit(HtMutex* m) {
  if (!m) return EINVAL;
  auto* p = new pthread_mutex_t;
  pthread_mutexattr_t attr;
  pthread_mutexattr_init(&attr);
  pthread_mutexattr_settype(&attr, PTHREAD_MUTEX_ERRORCHECK);
  int rc = pthread_mutex_init(p, &attr);
  pthread_mutexattr_destroy(&attr);
  if (rc != 0) {
    delete p;
    m->impl = nullptr;
    return rc;
  }
  m->impl = p;
  return 0;
}

int htMutexLock(HtMutex* m) {
  if (!m || !m->impl) return EINVAL;
  return pthread_mutex_lock(static_cast<pthread_mutex_t*>(m->impl));
}

int htMutexTryLock(HtMutex* m) {
  if (!m || !m->impl) return EINVAL;
  return pthread_mutex_trylock(static_cast<pthread_mutex_t*>(m->impl));
}

int htMutexUnlock(HtMutex* m) {
  if (!m || !m->impl) return EINVAL;
  return pthread_mutex_unlock(static_cast<pthread_mutex_t*>(m->impl));
}

int htMutexDestroy(HtMutex* m) {
  if (!m || !m->impl) return EINVAL;
  auto* p = static_cast<pthread_mutex_t*>(m->impl);
  int rc = pthread_mutex_destroy(p);
  if (rc == 0) {
    delete p;
    m->impl = nullptr;
  }
  return rc;
}

int htCondInit(HtCondition* c) {
  if (!c) return EINVAL;
  auto* p = new pthread_cond_t;
  pthread_condattr_t attr;
  pthread_condattr_init(&attr);
  pthread_condattr_setclock(&attr, CLOCK_MONOTONIC);
  int rc = pthread_cond_init(p, &attr);
  pthread_condattr_destroy(&attr);
  if (rc != 0) {
    delete p;
    c->impl = nullptr;
    return rc;
  }
  c->impl = p;
  return 0;
}

int htCondWait(HtCondition* c, HtMutex* m, double ms) {
  if (!c || !c->impl || !m || !m->impl) return EINVAL;
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  if (ms < 0) ms = 0;
  int64_t ns = int64_t(t.tv_nsec) + int64_t(ms * 1e6);
  t.tv_sec += time_t(ns / 1000000000);
  t.tv_nsec = long(ns % 1000000000);
  return pthread_cond_timedwait(static_cast<pthread_cond_t*>(c->impl),
                                static_cast<pthread_mutex_t*>(m->impl), &t);
}

int htCondBroadcast(HtCondition* c) {
  if (!c || !c->impl) return EINVAL;
  return pthread_cond_broadcast(static_cast<pthread_cond_t*>(c->impl));
}

int htCondDestroy(HtCondition* c) {
  if (!c || !c->impl) return EINVAL;
  auto* p = static_cast<pthread_cond_t*>(c->impl);
  int rc = pthread_cond_destroy(p);
  if (rc == 0) {
    delete p;
    c->impl = nullptr;
  }
  return rc;
}

}  // namespace platform
