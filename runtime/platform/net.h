// A small HawkNL-like layer: TCP sockets by number and mutexes on POSIX
// threads. Socket numbers are this layer's own, not system descriptors.
#pragma once

#include <cstdint>

namespace platform {

using NLsocket = int32_t;
constexpr NLsocket kNlInvalid = -1;

// Writes up to n bytes; the count written, or -1 on failure.
int32_t nlWrite(NLsocket socket, const void* buffer, int32_t n);
// Reads up to n bytes without waiting; the count read (0 when nothing is
// waiting), or -1 on failure or end of stream.
int32_t nlRead(NLsocket socket, void* buffer, int32_t n);
bool nlClose(NLsocket socket);
// Closes every socket still open.
void nlShutdown();
// Two connected local stream sockets (tests and in-process links).
bool nlSocketPair(NLsocket out[2]);

// Mutex with HawkNL's results: 0 on success, else an errno value; a second
// lock by the owning thread is refused (EDEADLK).
struct HtMutex {
  void* impl;
};
int htMutexInit(HtMutex* m);
int htMutexLock(HtMutex* m);
int htMutexUnlock(HtMutex* m);
int htMutexDestroy(HtMutex* m);

}  // namespace platform
