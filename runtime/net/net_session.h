// The network session: one per process, made at start-up, released at the
// program end (goodbye messages, thread stop, sockets closed).
#pragma once

#include <cstdint>

#include "core/basic_string.h"
#include "platform/net.h"
#include "platform/system.h"

constexpr int kNetPayloadMax = 1024;
constexpr int kNetHeaderSize = 17;
constexpr int kNetPacketSize = kNetHeaderSize + kNetPayloadMax;  // 1041

enum NetPacketType : uint8_t {
  kNetJoinRequest = 1,
  kNetJoinReply = 2,
  kNetText = 3,
  kNetRemovePlayer = 4,
  kNetPlayerCount = 0x65,
  kNetPlayerIdByIndex = 0x66,
  kNetPlayerName = 0x67,
  kNetConnectionCheck = 0x68,
};

#pragma pack(push, 1)
struct NetPacket {
  char magic[4];  // "ORVN"
  uint8_t type;
  uint32_t payloadLength;
  int32_t targetId;  // player id, 0 = host, -1 = all
  int32_t senderOrSubjectId;
  uint8_t payload[kNetPayloadMax];
};
#pragma pack(pop)
static_assert(sizeof(NetPacket) == kNetPacketSize, "wire size");

// Doubly linked list; elements begin with prev and next.
template <typename T>
struct NetQueue {
  T* head;
  T* tail;
  uint32_t count;
};

struct NetQueuedPacket {
  NetQueuedPacket* prev;
  NetQueuedPacket* next;
  NetPacket packet;
  // The socket the message came in on (the network thread's own note).
  platform::NLsocket origin;
};

// Size of the join payload: the player record from its socket field on,
// with the three queue words of a 32-bit list head at its end.
constexpr uint32_t kNetJoinPayloadSize = 152;
constexpr int kNetNameMax = 127;  // name characters; the record keeps a NUL after them

struct NetPlayerRecord {
  NetPlayerRecord* prev;
  NetPlayerRecord* next;
  int32_t socket;  // host: accepted socket of the owner; local: -1
  int32_t id;      // 101 and up; local also -1 new, -3 joining, -2 to remove
  uint8_t inactive;
  uint8_t hostFlag;
  char name[128];
  uint8_t padding[2];
  NetQueue<NetQueuedPacket> messages;
};

// The state of the network cycle (sockets, the host's lists), run by the
// network thread or by a thread that waits for the session.
struct NetCycle;

struct NetSession {
  int32_t nextPlayerId;
  int32_t requestPlayerId;
  uint8_t isHost;
  platform::NLsocket listenSocket;
  platform::NLsocket connectionSocket;
  NetQueue<NetPlayerRecord> localPlayers;
  NetQueue<NetPlayerRecord> hostPlayers;
  int32_t networkType;
  int32_t connectionType;
  uint8_t stopRequested;
  uint8_t threadRunning;
  platform::HtMutex mutex;
  // Broadcast, after the mutex is released and only while sleepers is not
  // 0, whenever news grows: messages or answers delivered, a player given
  // its id, the cycle handed on, the thread stopped.
  platform::HtCondition changed;
  NetQueue<NetQueuedPacket> incoming;
  NetQueue<NetQueuedPacket> replies;
  // Held by whoever runs the network cycle; cycle is set while the thread
  // runs (changed under both locks).
  platform::HtMutex cycleLock;
  NetCycle* cycle;
  // Under the mutex: threads asleep on changed, a count of news, and when a
  // thread last waited for the session (the thread leaves the cycle to it).
  uint32_t sleepers;
  uint32_t news;
  double lastWaitMs;
};

extern NetSession* gNetSession;

// Start-up: a fresh session (no socket, no thread, stop flag set) in
// gNetSession, with its release installed in the shutdown order.
NetSession* CreateNetSession();

// Program end: goodbye to the host for every local player with an id,
// stop the network thread (waiting at most waitLimitMs), close the sockets
// and free the session. When the thread does not stop in time the session
// is left to it (sockets closed, memory kept) and gNetSession is cleared.
void ShutdownNetSession(double waitLimitMs = 3000.0);
// A session left to a thread that did not stop in time (kept reachable).
extern NetSession* gAbandonedNetSession;
// Frees that session once its thread has stopped; true when none is left.
bool ReleaseAbandonedNetSession();
// Frees a session whose thread is not running: mutex, queues, players.
void FreeNetSession(NetSession* s);

// Writes one packet completely on socket ("ORVN" is stored first); false
// when a write failed or the payload length is above kNetPayloadMax. While
// more than kNetSendHighWater bytes wait to go out on the socket it first
// waits for them to move; when none has moved for kNetStallMs (and a
// second) it fails without writing.
bool NetSendPacket(platform::NLsocket socket, NetPacket* packet);
// The same without waiting for queued bytes to move (the network cycle,
// which holds back the senders instead).
bool NetWritePacket(platform::NLsocket socket, NetPacket* packet);
constexpr int64_t kNetSendHighWater = int64_t(1) << 20;
constexpr double kNetStallMs = 5000.0;

// The payload as text: at most payloadLength (and kNetPayloadMax) bytes,
// ending at the first NUL.
BasicString NetPayloadText(const NetPacket& packet);
// Little-endian u32 at the start of the payload (0 when shorter than 4).
uint32_t NetPayloadU32(const NetPacket& packet);
void NetSetPayloadU32(NetPacket& packet, uint32_t value);

// The connection socket, read under the session mutex (the network thread
// may close it when the session fails).
platform::NLsocket NetConnectionSocket(NetSession* s);

// Waits until ready() (called under the session mutex) is true, for at
// most limitMs. Meanwhile the waiting thread runs the network cycle itself
// when no other thread does, else sleeps until there is news. True when
// ready() came true.
template <typename Ready>
bool NetWaitUnderMutex(NetSession* s, double limitMs, Ready ready);
// One step of such a wait: runs one network cycle (at most ms long) when
// the cycle is free, else sleeps at most ms or until news differs from seen.
void NetWaitStep(NetSession* s, uint32_t seen, double now, double ms);

// Queue helpers: append links after the tail; remove unlinks and frees.
template <typename T>
void NetQueueAppend(NetQueue<T>& q, T* e) {
  e->prev = q.tail;
  e->next = nullptr;
  if (q.tail)
    q.tail->next = e;
  else
    q.head = e;
  q.tail = e;
  ++q.count;
}

template <typename T>
void NetQueueUnlink(NetQueue<T>& q, T* e) {
  if (e->prev)
    e->prev->next = e->next;
  else
    q.head = e->next;
  if (e->next)
    e->next->prev = e->prev;
  else
    q.tail = e->prev;
  e->prev = e->next = nullptr;
  --q.count;
}

// Frees every element of a packet queue.
void NetFreePackets(NetQueue<NetQueuedPacket>& q);
// Frees every player of a list, each with its message queue first.
void NetFreePlayers(NetQueue<NetPlayerRecord>& q);

template <typename Ready>
bool NetWaitUnderMutex(NetSession* s, double limitMs, Ready ready) {
  double end = platform::NowMs() + limitMs;
  for (;;) {
    platform::htMutexLock(&s->mutex);
    bool done = ready();
    uint32_t seen = s->news;
    platform::htMutexUnlock(&s->mutex);
    double now = platform::NowMs();
    if (done) return true;
    if (now >= end) return false;
    NetWaitStep(s, seen, now, end - now);
  }
}
