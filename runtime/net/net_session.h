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
  // Broadcast by the network thread whenever it delivers messages or
  // answers, gives a player its id, or stops.
  platform::HtCondition changed;
  NetQueue<NetQueuedPacket> incoming;
  NetQueue<NetQueuedPacket> replies;
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
// when a write failed or the payload length is above kNetPayloadMax.
bool NetSendPacket(platform::NLsocket socket, NetPacket* packet);

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
// most limitMs; between tries the mutex is released while waiting for the
// thread's signal (20 ms at most). True when ready() came true.
template <typename Ready>
bool NetWaitUnderMutex(NetSession* s, double limitMs, Ready ready);

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
  platform::htMutexLock(&s->mutex);
  for (;;) {
    if (ready()) break;
    double left = end - platform::NowMs();
    if (left <= 0) {
      platform::htMutexUnlock(&s->mutex);
      return false;
    }
    platform::htCondWait(&s->changed, &s->mutex, left < 20.0 ? left : 20.0);
  }
  platform::htMutexUnlock(&s->mutex);
  return true;
}
