// Plain TCP on 127.0.0.1 by descriptor, outside the socket layer of net.h
// (its shutdown does not touch these): the raw peers of the network tests
// and the raw anchor of the network benchmark.
#pragma once

#include <cstdint>

namespace platform {

// A listening socket on 127.0.0.1 (port 0: any); its port in boundPort.
// -1 on failure.
int RawTcpListen(uint16_t port, uint16_t* boundPort);
// A connection from the listener within ms; -1 when none came.
int RawTcpAccept(int listener, double ms);
// A connection to 127.0.0.1:port within ms; -1 on failure.
int RawTcpConnect(uint16_t port, double ms);
// Sends all n bytes (waiting at most ms for room); false on failure.
bool RawTcpSend(int fd, const void* data, int64_t n, double ms = 10000);
// Up to n bytes within ms: the count, 0 when the peer closed, -1 on a
// failure (a reset), -2 when nothing came in time.
int64_t RawTcpRecv(int fd, void* buffer, int64_t n, double ms);
void RawTcpNoDelay(int fd);
void RawTcpClose(int fd);
// Closes with a reset instead of an orderly end.
void RawTcpReset(int fd);

}  // namespace platform
