#include "net/net_session.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "core/runtime_error.h"
#include "platform/system.h"

NetSession* gNetSession = nullptr;
NetSession* gAbandonedNetSession = nullptr;

static void ReleaseNetSession() { ShutdownNetSession(); }

NetSession* CreateNetSession() {
  NetSession* s = new NetSession;
  std::memset(static_cast<void*>(s), 0, sizeof *s);
  s->nextPlayerId = 101;
  s->requestPlayerId = -1;
  s->listenSocket = platform::kNlInvalid;
  s->connectionSocket = platform::kNlInvalid;
  s->networkType = 3;         // IP
  s->connectionType = 0x11;   // reliable stream
  s->stopRequested = 1;
  s->threadRunning = 0;
  s->isHost = 0;
  platform::htMutexInit(&s->mutex);
  platform::htCondInit(&s->changed);
  platform::htMutexInit(&s->cycleLock);
  s->cycle = nullptr;
  platform::nlSetPacketFraming(kNetHeaderSize, 5, kNetPayloadMax);
  gNetSession = s;
  SetShutdownStep(kShutdownNetwork, ReleaseNetSession);
  return s;
}

bool NetWritePacket(platform::NLsocket socket, NetPacket* packet) {
  std::memcpy(packet->magic, "ORVN", 4);
  // A longer payload does not fit the receiver's buffer: it is not sent.
  if (packet->payloadLength > uint32_t(kNetPayloadMax)) return false;
  const uint8_t* p = reinterpret_cast<const uint8_t*>(packet);
  int32_t left = int32_t(kNetHeaderSize + packet->payloadLength);
  double idleSince = -1;
  while (left > 0) {
    int32_t n = platform::nlWrite(socket, p, left);
    if (n < 0) {
      platform::nlWrite(socket, p, left);  // one more try, result not needed
      return false;
    }
    if (n == 0) {
      // A stream socket takes nothing now: wait for room, but not for ever.
      double now = platform::NowMs();
      if (idleSince < 0) idleSince = now;
      if (now - idleSince > kNetStallMs) return false;
      platform::nlWaitWritable(socket, 50);
      continue;
    }
    idleSince = -1;
    p += n;
    left -= n;
  }
  return true;
}

bool NetSendPacket(platform::NLsocket socket, NetPacket* packet) {
  // Back-pressure: a peer that reads slowly slows its sender down; one that
  // reads nothing for kNetStallMs is given up on (the host drops it then;
  // the extra second leaves that to the host). A refused packet is not sent.
  for (;;) {
    double stalled = 0;
    int64_t queued = platform::nlSendQueued(socket, &stalled);
    if (queued < 0 || queued <= kNetSendHighWater) break;  // a failure shows in the write
    if (stalled > kNetStallMs + 1000.0) return false;
    platform::nlWaitWritable(socket, 50);
  }
  return NetWritePacket(socket, packet);
}

BasicString NetPayloadText(const NetPacket& packet) {
  uint32_t length = packet.payloadLength < uint32_t(kNetPayloadMax) ? packet.payloadLength
                                                                    : uint32_t(kNetPayloadMax);
  char text[kNetPayloadMax + 1];
  std::memcpy(text, packet.payload, length);
  text[length] = 0;
  return BasicString(text);
}

uint32_t NetPayloadU32(const NetPacket& packet) {
  if (packet.payloadLength < 4) return 0;
  const uint8_t* b = packet.payload;
  return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

void NetSetPayloadU32(NetPacket& packet, uint32_t value) {
  for (int i = 0; i < 4; ++i) packet.payload[i] = uint8_t(value >> (8 * i));
  packet.payloadLength = 4;
}

platform::NLsocket NetConnectionSocket(NetSession* s) {
  platform::htMutexLock(&s->mutex);
  platform::NLsocket socket = s->connectionSocket;
  platform::htMutexUnlock(&s->mutex);
  return socket;
}

void NetFreePackets(NetQueue<NetQueuedPacket>& q) {
  while (NetQueuedPacket* e = q.head) {
    NetQueueUnlink(q, e);
    delete e;
  }
}

void NetFreePlayers(NetQueue<NetPlayerRecord>& q) {
  while (NetPlayerRecord* e = q.head) {
    NetFreePackets(e->messages);
    NetQueueUnlink(q, e);
    delete e;
  }
}

void ShutdownNetSession(double waitLimitMs) {
  NetSession* s = gNetSession;
  if (!s) return;
  gNetSession = nullptr;

  // Goodbye to the host for every local player that got an id; the ids are
  // taken under the mutex, the messages go out without it.
  platform::NLsocket connection = NetConnectionSocket(s);
  if (connection != platform::kNlInvalid) {
    std::vector<int32_t> ids;
    platform::htMutexLock(&s->mutex);
    for (NetPlayerRecord* p = s->localPlayers.head; p; p = p->next)
      if (p->id >= 0) ids.push_back(p->id);
    platform::htMutexUnlock(&s->mutex);
    for (size_t i = 0; i < ids.size(); ++i) {
      NetPacket packet{};
      packet.type = kNetRemovePlayer;
      packet.payloadLength = 0;
      packet.targetId = 0;
      packet.senderOrSubjectId = ids[i];
      NetWritePacket(connection, &packet);  // no waiting on a host that stopped reading
    }
  }

  platform::htMutexLock(&s->mutex);
  s->stopRequested = 1;
  platform::htMutexUnlock(&s->mutex);

  // The thread ends within one cycle; a thread stuck in a system call must
  // not hold the program end for ever.
  double deadline = platform::NowMs() + waitLimitMs;
  bool stopped = false;
  for (;;) {
    platform::htMutexLock(&s->mutex);
    bool running = s->threadRunning != 0;
    platform::htMutexUnlock(&s->mutex);
    if (!running) {
      stopped = true;
      break;
    }
    if (platform::NowMs() >= deadline) break;
    platform::SleepMs(50);
  }

  if (s->listenSocket != platform::kNlInvalid) {
    platform::nlClose(s->listenSocket);
    s->listenSocket = platform::kNlInvalid;
  }
  if (s->connectionSocket != platform::kNlInvalid) {
    platform::nlClose(s->connectionSocket);
    s->connectionSocket = platform::kNlInvalid;
  }
  platform::nlShutdown();
  if (!stopped) {
    // The thread may still touch the session: it stays allocated (and
    // reachable) for the rest of the process.
    gAbandonedNetSession = s;
    AppendErrorLog("Network thread did not stop");
    return;
  }
  FreeNetSession(s);
}

bool ReleaseAbandonedNetSession() {
  NetSession* s = gAbandonedNetSession;
  if (!s) return true;
  platform::htMutexLock(&s->mutex);
  bool running = s->threadRunning != 0;
  platform::htMutexUnlock(&s->mutex);
  if (running) return false;
  gAbandonedNetSession = nullptr;
  FreeNetSession(s);
  return true;
}

void FreeNetSession(NetSession* s) {
  platform::htMutexDestroy(&s->mutex);
  platform::htCondDestroy(&s->changed);
  platform::htMutexDestroy(&s->cycleLock);
  NetFreePackets(s->replies);
  NetFreePackets(s->incoming);
  NetFreePlayers(s->hostPlayers);
  NetFreePlayers(s->localPlayers);
  delete s;
}
