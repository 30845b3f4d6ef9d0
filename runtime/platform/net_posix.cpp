#include "platform/net.h"

#include <errno.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

#include <map>
#include <mutex>

namespace platform {

namespace {

std::mutex sTableLock;
std::map<NLsocket, int> sSockets;  // our number -> descriptor
NLsocket sNextSocket = 1;

int Descriptor(NLsocket s) {
  std::lock_guard<std::mutex> lock(sTableLock);
  auto it = sSockets.find(s);
  return it == sSockets.end() ? -1 : it->second;
}

NLsocket Adopt(int fd) {
  std::lock_guard<std::mutex> lock(sTableLock);
  NLsocket s = sNextSocket++;
  if (sNextSocket < 1) sNextSocket = 1;
  sSockets[s] = fd;
  return s;
}

}  // namespace

int32_t nlWrite(NLsocket socket, const void* buffer, int32_t n) {
  int fd = Descriptor(socket);
  if (fd < 0 || n < 0 || (!buffer && n > 0)) return -1;
  for (;;) {
    ssize_t w = send(fd, buffer, size_t(n), MSG_NOSIGNAL);
    if (w >= 0) return int32_t(w);
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
    return -1;
  }
}

int32_t nlRead(NLsocket socket, void* buffer, int32_t n) {
  int fd = Descriptor(socket);
  if (fd < 0 || n < 0 || (!buffer && n > 0)) return -1;
  for (;;) {
    ssize_t r = recv(fd, buffer, size_t(n), MSG_DONTWAIT);
    if (r > 0) return int32_t(r);
    if (r == 0) return -1;  // peer closed
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
    return -1;
  }
}

bool nlClose(NLsocket socket) {
  int fd;
  {
    std::lock_guard<std::mutex> lock(sTableLock);
    auto it = sSockets.find(socket);
    if (it == sSockets.end()) return false;
    fd = it->second;
    sSockets.erase(it);
  }
  shutdown(fd, SHUT_RDWR);
  close(fd);
  return true;
}

void nlShutdown() {
  std::map<NLsocket, int> open;
  {
    std::lock_guard<std::mutex> lock(sTableLock);
    open.swap(sSockets);
  }
  for (auto& [s, fd] : open) {
    shutdown(fd, SHUT_RDWR);
    close(fd);
  }
}

bool nlSocketPair(NLsocket out[2]) {
  int fds[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) return false;
  out[0] = Adopt(fds[0]);
  out[1] = Adopt(fds[1]);
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

}  // namespace platform
