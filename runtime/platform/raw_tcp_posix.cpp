#include "platform/raw_tcp.h"

#include <arpa/inet.h>
#include <errno.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace platform {

namespace {

double Now() {
  return std::chrono::duration<double, std::milli>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

bool Wait(int fd, short events, double ms) {
  double end = Now() + ms;
  for (;;) {
    double left = end - Now();
    if (left < 0) left = 0;
    pollfd p{fd, events, 0};
    int r = poll(&p, 1, int(left + 0.999));
    if (r > 0) return true;
    if (r == 0 || errno != EINTR) return false;
  }
}

sockaddr_in Loopback(uint16_t port) {
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  sa.sin_port = htons(port);
  return sa;
}

}  // namespace

int RawTcpListen(uint16_t port, uint16_t* boundPort) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return -1;
  int one = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in sa = Loopback(port);
  socklen_t len = sizeof sa;
  if (bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 || listen(fd, SOMAXCONN) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len) != 0) {
    close(fd);
    return -1;
  }
  if (boundPort) *boundPort = ntohs(sa.sin_port);
  return fd;
}

int RawTcpAccept(int listener, double ms) {
  double end = Now() + ms;
  for (;;) {
    int fd = accept4(listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd >= 0) return fd;
    if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR && errno != ECONNABORTED)
      return -1;
    double left = end - Now();
    if (left <= 0 || !Wait(listener, POLLIN, left)) return -1;
  }
}

int RawTcpConnect(uint16_t port, double ms) {
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return -1;
  sockaddr_in sa = Loopback(port);
  if (connect(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0) {
    int err = 0;
    socklen_t len = sizeof err;
    if (errno != EINPROGRESS || !Wait(fd, POLLOUT, ms) ||
        getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) != 0 || err != 0) {
      close(fd);
      return -1;
    }
  }
  return fd;
}

bool RawTcpSend(int fd, const void* data, int64_t n, double ms) {
  const char* p = static_cast<const char*>(data);
  double end = Now() + ms;
  while (n > 0) {
    ssize_t w = send(fd, p, size_t(n), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (w > 0) {
      p += w;
      n -= w;
      continue;
    }
    if (w < 0 && errno == EINTR) continue;
    if (w < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
    double left = end - Now();
    if (left <= 0 || !Wait(fd, POLLOUT, left)) return false;
  }
  return true;
}

int64_t RawTcpRecv(int fd, void* buffer, int64_t n, double ms) {
  double end = Now() + ms;
  for (;;) {
    ssize_t r = recv(fd, buffer, size_t(n), MSG_DONTWAIT);
    if (r >= 0) return r;
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) return -1;
    double left = end - Now();
    if (left <= 0 || !Wait(fd, POLLIN, left)) return -2;
  }
}

void RawTcpNoDelay(int fd) {
  int one = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

void RawTcpClose(int fd) {
  if (fd >= 0) close(fd);
}

void RawTcpReset(int fd) {
  if (fd < 0) return;
  linger l{1, 0};
  setsockopt(fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
  close(fd);
}

}  // namespace platform
