// A small HawkNL-like layer: IPv4 TCP sockets by number, socket groups and
// polling, addresses, a thread-local error code, threads and mutexes, on
// POSIX sockets and std::thread. Socket numbers are this layer's own, not
// system descriptors, and are never reused within a process.
//
// Two socket kinds:
// - kNlReliable (0x10): a plain byte stream; a read returns what arrived.
// - kNlReliablePackets (0x11): framed messages. Each socket keeps a receive
//   buffer and a read hands out exactly one whole message (header plus the
//   payload length found in the header), never part of one and never two.
//   The framing is set for the whole layer with nlSetPacketFraming.
// Sockets are non-blocking unless kNlBlockingIo is enabled when they are
// opened. Writes never raise SIGPIPE.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

using NLsocket = int32_t;
constexpr NLsocket kNlInvalid = -1;

constexpr int32_t kNlIp = 3;                 // network type
constexpr int32_t kNlReliable = 0x10;        // TCP byte stream
constexpr int32_t kNlReliablePackets = 0x11; // TCP, one message per read
constexpr int32_t kNlBlockingIo = 0x40;      // nlEnable: new sockets block
constexpr int32_t kNlTcpNoDelay = 0x41;      // nlEnable: Nagle off on new sockets
constexpr int32_t kNlReadStatus = 0x50;      // nlPollGroup: sockets with data

// Error codes (nlGetError, per thread).
constexpr int32_t kNlNoError = 0;
constexpr int32_t kNlInvalidSocket = 0x101;
constexpr int32_t kNlInvalidArgument = 0x102;
constexpr int32_t kNlAddressError = 0x103;
constexpr int32_t kNlNoPending = 0x104;      // no connection waiting to be accepted
constexpr int32_t kNlConnectFailed = 0x105;
constexpr int32_t kNlSystemError = 0x106;
constexpr int32_t kNlSockDisconnect = 0x107; // reset, or closed in the middle of a message
constexpr int32_t kNlNotListen = 0x108;
constexpr int32_t kNlTimedOut = 0x109;       // a blocking call waited its limit
constexpr int32_t kNlPacketSize = 0x10A;     // a message longer than the framing allows
constexpr int32_t kNlBufferSize = 0x10B;     // the caller's buffer cannot hold the message
constexpr int32_t kNlMessageEnd = 0x10C;     // the peer closed the connection

struct NLaddress {
  uint32_t host;  // IPv4, host byte order
  uint16_t port;
  bool valid;
};

// Layer state. nlInit may be called again at any time; nlShutdown closes
// every socket and group the layer owns and resets the enabled options.
bool nlInit();
void nlShutdown();
bool nlSelectNetwork(int32_t network);  // only kNlIp
bool nlEnable(int32_t option);
bool nlDisable(int32_t option);
int32_t nlGetError();

// Framing of kNlReliablePackets sockets: headerSize bytes of header with a
// little-endian u32 payload length at lengthOffset; payloads above
// maxPayload are refused (the read fails with kNlPacketSize and the socket
// yields nothing more).
void nlSetPacketFraming(int32_t headerSize, int32_t lengthOffset, int32_t maxPayload);

// A socket bound to port (0: any) on every local address.
NLsocket nlOpen(uint16_t port, int32_t type);
bool nlListen(NLsocket socket);
// A waiting connection (same type as the listener, never blocking), or
// kNlInvalid with kNlNoPending when none waits.
NLsocket nlAcceptConnection(NLsocket socket);
// Connects and waits until the connection is made or refused (at most the
// socket's time limit).
bool nlConnect(NLsocket socket, const NLaddress* address);
bool nlClose(NLsocket socket);

// Stream sockets: writes up to n bytes (0 when a non-blocking socket cannot
// take any now). Packet sockets: writes the whole buffer as one message or
// fails; what the system cannot take now is queued in order (up to 16 MiB,
// beyond that the write fails); concurrent writers never interleave. -1 on
// failure.
int32_t nlWrite(NLsocket socket, const void* buffer, int32_t n);
// Stream sockets: up to n bytes. Packet sockets: one whole message. 0 when
// nothing (whole) has arrived on a non-blocking socket; -1 on failure or end
// of stream (kNlMessageEnd for an orderly close, kNlSockDisconnect for a
// reset or a close in the middle of a message).
int32_t nlRead(NLsocket socket, void* buffer, int32_t n);
// Waits at most ms for the socket to take more bytes; packet sockets first
// hand queued messages on (false when the connection failed).
bool nlWaitWritable(NLsocket socket, double ms);
// Packet sockets: false when no whole message is buffered and the last
// receive emptied the system's buffer (a read now would find nothing new;
// a poll tells when more comes). Other sockets: true.
bool nlReadPending(NLsocket socket);
// Packet sockets: bytes of messages written but not yet taken by the system
// (moving them on where room has appeared), and in stalledMs for how long
// none of them has moved (0 when none is queued). -1 when the connection
// failed.
int64_t nlSendQueued(NLsocket socket, double* stalledMs);
// A paused socket is left out of the read status of nlPollGroup (its queued
// messages still move on), so that its data waits in the system.
bool nlSetReadPaused(NLsocket socket, bool paused);
// Time limit of the blocking calls of a blocking socket (default 30 s).
bool nlSetTimeout(NLsocket socket, double ms);

// Groups of sockets for polling.
int32_t nlGroupCreate();
bool nlGroupDestroy(int32_t group);
bool nlGroupAddSocket(int32_t group, NLsocket socket);
bool nlGroupDeleteSocket(int32_t group, NLsocket socket);
// Up to max sockets of the group that can be read without waiting (a whole
// message buffered, data, a pending connection, or an end or error to
// report), waiting at most timeoutMs for the first; -1 on failure.
int32_t nlPollGroup(int32_t group, int32_t status, NLsocket* sockets, int32_t max,
                    double timeoutMs);

// Addresses. nlGetLocalAddr gives the address the socket is bound to, or
// 127.0.0.1 (this machine) when it is bound to every address.
bool nlGetLocalAddr(NLsocket socket, NLaddress* address);
bool nlGetRemoteAddr(NLsocket socket, NLaddress* address);
bool nlSetAddrPort(NLaddress* address, uint16_t port);
bool nlGetAddrFromName(const char* name, NLaddress* address);
bool nlStringToAddr(const char* text, NLaddress* address);
// Every IPv4 address of this machine's interfaces, loopback included.
std::vector<NLaddress> nlGetAllLocalAddr();
// "a.b.c.d:port".
std::string nlAddrToString(const NLaddress& address);

// Two connected local stream sockets (tests and in-process links).
bool nlSocketPair(NLsocket out[2]);

// Threads: a detached thread running fn(arg).
bool htThreadCreate(void* (*fn)(void*), void* arg);

// Mutex with HawkNL's results: 0 on success, else an errno value; a second
// lock by the owning thread is refused (EDEADLK).
struct HtMutex {
  void* impl;
};
int htMutexInit(HtMutex* m);
int htMutexLock(HtMutex* m);
// 0 when the mutex was free and is now held, else EBUSY (or an errno value).
int htMutexTryLock(HtMutex* m);
int htMutexUnlock(HtMutex* m);
int htMutexDestroy(HtMutex* m);

// Condition used with an HtMutex: a wait releases the mutex, sleeps until a
// broadcast or ms pass, and takes the mutex again (0, or ETIMEDOUT).
struct HtCondition {
  void* impl;
};
int htCondInit(HtCondition* c);
int htCondWait(HtCondition* c, HtMutex* m, double ms);
int htCondBroadcast(HtCondition* c);
int htCondDestroy(HtCondition* c);

}  // namespace platform
