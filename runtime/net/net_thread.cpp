#include "net/net_thread.h"

#include <algorithm>
#include <cstring>
#include <vector>

using platform::NLsocket;
using platform::kNlInvalid;

namespace {

// Whole messages taken from one socket before the others get their turn.
constexpr int kDrainLimit = 4096;
// Longest wait for network activity between two cycles; local work (new
// players, the stop flag) is seen at least this often.
constexpr double kCycleWaitMs = 10.0;

struct Lock {
  NetSession* s;
  explicit Lock(NetSession* session) : s(session) { platform::htMutexLock(&s->mutex); }
  ~Lock() { platform::htMutexUnlock(&s->mutex); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;
};

NetQueuedPacket* CopyPacket(const NetPacket& packet, NLsocket origin) {
  auto* e = new NetQueuedPacket{};
  std::memcpy(&e->packet, &packet, sizeof packet);
  e->origin = origin;
  return e;
}

void RemovePacket(NetQueue<NetQueuedPacket>& q, NetQueuedPacket* e) {
  NetQueueUnlink(q, e);
  delete e;
}

void RemovePlayer(NetQueue<NetPlayerRecord>& q, NetPlayerRecord* p) {
  NetFreePackets(p->messages);
  NetQueueUnlink(q, p);
  delete p;
}

void PutI32(uint8_t* out, int32_t v) {
  for (int i = 0; i < 4; ++i) out[i] = uint8_t(uint32_t(v) >> (8 * i));
}

// The join payload: socket, id, inactive, hostFlag, name[128], 2 padding
// bytes and three queue words (zeros), little-endian field by field.
void BuildJoinRequest(const NetPlayerRecord& p, NetPacket& out) {
  std::memset(&out, 0, kNetHeaderSize + kNetJoinPayloadSize);
  out.type = kNetJoinRequest;
  out.payloadLength = kNetJoinPayloadSize;
  out.targetId = 0;
  out.senderOrSubjectId = 0;
  uint8_t* b = out.payload;
  PutI32(b + 0, p.socket);
  PutI32(b + 4, p.id);
  b[8] = p.inactive;
  b[9] = p.hostFlag;
  std::memcpy(b + 10, p.name, sizeof p.name);
  b[10 + kNetNameMax] = 0;
}

class NetThread {
 public:
  explicit NetThread(NetSession* s) : s_(s) {
    Lock lock(s_);
    connection_ = s_->connectionSocket;
    listener_ = s_->listenSocket;
  }

  int Run() {
    waitSet_ = platform::nlGroupCreate();
    if (connection_ != kNlInvalid) platform::nlGroupAddSocket(waitSet_, connection_);
    if (listener_ != kNlInvalid) platform::nlGroupAddSocket(waitSet_, listener_);
    for (;;) {
      {
        Lock lock(s_);
        if (s_->stopRequested) break;
      }
      JoinLocalPlayers();
      if (Ready(connection_)) ReadConnection();
      if (listener_ != kNlInvalid) {
        // Accepting also notices a failed listener; an idle cycle tries it.
        if ((idle_ || Ready(listener_)) && !AcceptConnections()) break;
        ReadAccepted();
      }
      DeliverLocally();
      if (listener_ != kNlInvalid) HandleAsHost();
      TakeAnswers();
      NetFreePackets(s_->incoming);
      // Sleep until a socket has something (or room for queued messages),
      // at most one cycle time.
      int32_t n = platform::nlPollGroup(waitSet_, platform::kNlReadStatus, ready_,
                                        kNetMaxConnections + 2, kCycleWaitMs);
      readyCount_ = n > 0 ? n : 0;
      idle_ = n <= 0;
    }
    End();
    return 0;
  }

 private:
  // Local players: records marked -2 go, new records (-1) send their join
  // request and wait for the answer as -3.
  void JoinLocalPlayers() {
    Lock lock(s_);
    NetPlayerRecord* p = s_->localPlayers.head;
    while (p) {
      NetPlayerRecord* next = p->next;
      if (p->id == -2) {
        RemovePlayer(s_->localPlayers, p);
      } else if (p->id == -1) {
        BuildJoinRequest(*p, packet_);
        platform::htMutexUnlock(&s_->mutex);
        NetSendPacket(connection_, &packet_);
        platform::htMutexLock(&s_->mutex);
        if (p->id == -1) p->id = -3;
        next = p->next;  // only this thread removes records
      }
      p = next;
    }
  }

  // Reads every whole message waiting on socket into incoming; false when
  // the socket failed or its peer is gone.
  bool Drain(NLsocket socket) {
    for (int taken = 0; taken < kDrainLimit; ++taken) {
      int32_t n = platform::nlRead(socket, &packet_, kNetPacketSize);
      if (n == 0) return true;
      if (n < 0) return false;
      if (n < kNetHeaderSize || std::memcmp(packet_.magic, "ORVN", 4) != 0) continue;
      // The layer hands out exactly header + payloadLength bytes, at most 1024.
      uint32_t length = packet_.payloadLength;
      if (length > uint32_t(kNetPayloadMax)) return false;
      std::memset(packet_.payload + length, 0, size_t(kNetPayloadMax) - length);
      NetQueueAppend(s_->incoming, CopyPacket(packet_, socket));
    }
    return true;
  }

  void ReadConnection() {
    if (connectionLost_ || connection_ == kNlInvalid) return;
    if (!Drain(connection_)) {
      // The host is gone: its socket stays quiet from now on.
      connectionLost_ = true;
      platform::nlGroupDeleteSocket(waitSet_, connection_);
    }
  }

  bool AcceptConnections() {
    for (;;) {
      NLsocket a = platform::nlAcceptConnection(listener_);
      if (a != kNlInvalid) {
        if (int(open_.size()) >= kNetMaxConnections) {
          platform::nlClose(a);  // full: refused
          continue;
        }
        open_.push_back(a);
        platform::nlGroupAddSocket(waitSet_, a);
        continue;
      }
      int32_t error = platform::nlGetError();
      if (error == platform::kNlSystemError || error == platform::kNlNotListen) {
        Fail();
        return false;
      }
      return true;
    }
  }

  // The session cannot go on: stop, and close the session's sockets.
  void Fail() {
    Lock lock(s_);
    s_->stopRequested = 1;
    if (s_->listenSocket != kNlInvalid) platform::nlClose(s_->listenSocket);
    if (s_->connectionSocket != kNlInvalid) platform::nlClose(s_->connectionSocket);
    s_->listenSocket = kNlInvalid;
    s_->connectionSocket = kNlInvalid;
  }

  // Sockets the last wait reported; everything counts as ready at the start.
  bool Ready(NLsocket socket) const {
    if (socket == kNlInvalid) return false;
    if (readyCount_ < 0) return true;
    return std::find(ready_, ready_ + readyCount_, socket) != ready_ + readyCount_;
  }

  void ReadAccepted() {
    std::vector<NLsocket> ready;
    for (NLsocket a : open_)
      if (Ready(a)) ready.push_back(a);
    for (NLsocket a : ready)
      if (!Drain(a)) Disconnect(a);
  }

  // A peer that left, failed or sent what no buffer holds: its socket is
  // closed and every player it owned is removed.
  void Disconnect(NLsocket socket) {
    platform::nlGroupDeleteSocket(waitSet_, socket);
    platform::nlClose(socket);
    open_.erase(std::remove(open_.begin(), open_.end(), socket), open_.end());
    NetPlayerRecord* p = s_->hostPlayers.head;
    while (p) {
      NetPlayerRecord* next = p->next;
      if (p->socket == socket) RemovePlayer(s_->hostPlayers, p);
      p = next;
    }
  }

  bool IsOpen(NLsocket socket) const {
    return std::find(open_.begin(), open_.end(), socket) != open_.end();
  }

  // Texts to players of this process go to their queues; a text for one
  // player is used up by the first record with that id.
  void DeliverLocally() {
    Lock lock(s_);
    bool delivered = false;
    NetQueuedPacket* m = s_->incoming.head;
    while (m) {
      NetQueuedPacket* next = m->next;
      bool used = false;
      if (m->packet.type == kNetText) {
        int32_t target = m->packet.targetId;
        for (NetPlayerRecord* p = s_->localPlayers.head; p; p = p->next) {
          if (p->id < 0 || p->id != target) continue;
          NetQueueAppend(p->messages, CopyPacket(m->packet, m->origin));
          used = true;
          break;
        }
      }
      if (used) {
        RemovePacket(s_->incoming, m);
        delivered = true;
      }
      m = next;
    }
    if (delivered) platform::htCondBroadcast(&s_->changed);
  }

  // A peer whose socket fails a write has lost part of its stream: it is
  // disconnected once the messages of this cycle are handled.
  void Send(NLsocket socket, NetPacket& packet) {
    if (socket == kNlInvalid || !IsOpen(socket)) return;
    if (std::find(failed_.begin(), failed_.end(), socket) != failed_.end()) return;
    if (!NetSendPacket(socket, &packet)) failed_.push_back(socket);
  }

  NetPlayerRecord* HostPlayer(int32_t id) {
    for (NetPlayerRecord* p = s_->hostPlayers.head; p; p = p->next)
      if (p->id == id) return p;
    return nullptr;
  }

  // Messages from the accepted sockets: forwarding, requests, joins and
  // removals. hostPlayers and incoming belong to this thread alone.
  void HandleAsHost() {
    NetQueuedPacket* m = s_->incoming.head;
    while (m) {
      NetQueuedPacket* next = m->next;
      if (m->origin != connection_ && Handle(m->packet, m->origin)) RemovePacket(s_->incoming, m);
      m = next;
    }
    for (NLsocket socket : failed_)
      if (socket != connection_ && IsOpen(socket)) Disconnect(socket);
    failed_.clear();
  }

  void ReplyHeader(uint8_t type, int32_t requester) {
    reply_.type = type;
    reply_.targetId = requester;
    reply_.senderOrSubjectId = 0;
    reply_.payloadLength = 0;
  }

  // True when the message was used up.
  bool Handle(const NetPacket& m, NLsocket origin) {
    reply_.type = 0xFF;
    reply_.payloadLength = 0;
    reply_.targetId = -1;
    reply_.senderOrSubjectId = -1;
    // Answers go back on the socket the request came in on.
    if (m.type == kNetText) {
      std::memcpy(&reply_, &m, kNetHeaderSize + m.payloadLength);
      if (m.targetId == -1) {
        for (NetPlayerRecord* p = s_->hostPlayers.head; p; p = p->next) {
          if (p->inactive || p->hostFlag || p->id == m.senderOrSubjectId) continue;
          reply_.targetId = p->id;
          Send(p->socket, reply_);
        }
      } else if (NetPlayerRecord* p = HostPlayer(m.targetId)) {
        Send(p->socket, reply_);
      }
      return true;
    }
    if (m.targetId != 0) return false;
    switch (m.type) {
      case kNetPlayerCount: {
        uint32_t count = 0;
        for (NetPlayerRecord* p = s_->hostPlayers.head; p; p = p->next)
          if (!p->inactive) ++count;
        ReplyHeader(kNetPlayerCount, m.senderOrSubjectId);
        NetSetPayloadU32(reply_, count);
        Send(origin, reply_);
        return true;
      }
      case kNetPlayerIdByIndex: {
        uint32_t index = NetPayloadU32(m), seen = 0;
        int32_t id = 0;
        for (NetPlayerRecord* p = s_->hostPlayers.head; p; p = p->next) {
          if (p->inactive) continue;
          if (seen++ == index) {
            id = p->id;
            break;
          }
        }
        ReplyHeader(kNetPlayerIdByIndex, m.senderOrSubjectId);
        NetSetPayloadU32(reply_, uint32_t(id));
        Send(origin, reply_);
        return true;
      }
      case kNetPlayerName: {
        NetPlayerRecord* p = HostPlayer(int32_t(NetPayloadU32(m)));
        if (p && p->name[0]) {
          ReplyHeader(kNetPlayerName, m.senderOrSubjectId);
          size_t length = strnlen(p->name, kNetNameMax);
          std::memcpy(reply_.payload, p->name, length);
          reply_.payloadLength = uint32_t(length);
          Send(origin, reply_);
        }
        return true;
      }
      case kNetConnectionCheck:
        ReplyHeader(kNetConnectionCheck, m.senderOrSubjectId);
        NetSetPayloadU32(reply_, 1);
        Send(origin, reply_);
        return true;
      case kNetJoinRequest: {
        if (!IsOpen(origin)) return true;  // its sender has gone
        auto* p = new NetPlayerRecord{};
        p->socket = origin;
        p->inactive = m.payloadLength > 8 ? m.payload[8] : 0;
        p->hostFlag = 0;
        size_t room = m.payloadLength > 10 ? m.payloadLength - 10 : 0;
        size_t length = strnlen(reinterpret_cast<const char*>(m.payload + 10),
                                std::min<size_t>(room, kNetNameMax));
        std::memcpy(p->name, m.payload + 10, length);
        p->name[length] = 0;
        p->id = s_->nextPlayerId++;
        NetQueueAppend(s_->hostPlayers, p);
        ReplyHeader(kNetJoinReply, p->id);
        Send(origin, reply_);
        return true;
      }
      case kNetRemovePlayer: {
        NetPlayerRecord* p = s_->hostPlayers.head;
        while (p) {
          NetPlayerRecord* next = p->next;
          if (p->id == m.senderOrSubjectId) RemovePlayer(s_->hostPlayers, p);
          p = next;
        }
        return true;
      }
      default:
        return false;
    }
  }

  // Answers from the host: only what came in on this process's own
  // connection counts (on the host that is the thread itself).
  void TakeAnswers() {
    Lock lock(s_);
    bool answered = false;
    NetQueuedPacket* m = s_->incoming.head;
    while (m) {
      NetQueuedPacket* next = m->next;
      if (m->origin == connection_ && m->packet.senderOrSubjectId == 0) {
        if (m->packet.type > 99) {
          NetQueueAppend(s_->replies, CopyPacket(m->packet, m->origin));
          RemovePacket(s_->incoming, m);
        } else if (m->packet.type == kNetJoinReply) {
          for (NetPlayerRecord* p = s_->localPlayers.head; p; p = p->next)
            if (p->id == -3) {
              p->id = m->packet.targetId;
              break;
            }
          RemovePacket(s_->incoming, m);
        }
        answered = true;
      }
      m = next;
    }
    if (answered) platform::htCondBroadcast(&s_->changed);
  }

  void End() {
    for (NLsocket a : open_) platform::nlClose(a);
    for (NetPlayerRecord* p = s_->hostPlayers.head; p; p = p->next) p->socket = kNlInvalid;
    open_.clear();
    platform::nlGroupDestroy(waitSet_);
    NetFreePackets(s_->incoming);
    Lock lock(s_);
    s_->threadRunning = 0;
    s_->stopRequested = 1;
    platform::htCondBroadcast(&s_->changed);
  }

  NetSession* s_;
  NLsocket connection_ = kNlInvalid;
  NLsocket listener_ = kNlInvalid;
  bool connectionLost_ = false;
  int32_t waitSet_ = -1;
  std::vector<NLsocket> open_;
  std::vector<NLsocket> failed_;
  NLsocket ready_[kNetMaxConnections + 2] = {};
  int32_t readyCount_ = -1;
  bool idle_ = true;
  NetPacket packet_{};
  NetPacket reply_{};
};

void* ThreadEntry(void* arg) {
  NetThreadMain(static_cast<NetSession*>(arg));
  return nullptr;
}

}  // namespace

int NetThreadMain(NetSession* s) {
  NetThread thread(s);
  return thread.Run();
}

bool NetStartThread(NetSession* s) {
  {
    Lock lock(s);
    s->stopRequested = 0;
    s->threadRunning = 1;
  }
  if (platform::htThreadCreate(ThreadEntry, s)) return true;
  Lock lock(s);
  s->stopRequested = 1;
  s->threadRunning = 0;
  return false;
}

bool NetRequest(NetSession* s, NetPacket* packet) {
  {
    Lock lock(s);
    if (!s->threadRunning) return false;
  }
  if (s->requestPlayerId < 0) {
    auto* p = new NetPlayerRecord{};
    p->socket = kNlInvalid;
    p->id = -1;
    p->inactive = 1;
    p->hostFlag = s->isHost;
    {
      Lock lock(s);
      NetQueueAppend(s->localPlayers, p);
    }
    // Only the thread removes records, and only those marked -2.
    bool joined = NetWaitUnderMutex(s, 5000.0, [p] { return p->id >= 0; });
    Lock lock(s);
    if (joined || p->id >= 0)
      s->requestPlayerId = p->id;
    else
      p->id = -2;
  }
  if (s->requestPlayerId < 0) return false;
  packet->senderOrSubjectId = s->requestPlayerId;
  packet->targetId = 0;
  {
    Lock lock(s);
    NetFreePackets(s->replies);
  }
  if (!NetSendPacket(NetConnectionSocket(s), packet)) return false;
  bool answered = NetWaitUnderMutex(s, 5000.0, [s, packet] {
    NetQueuedPacket* r = s->replies.head;
    if (!r) return false;
    std::memcpy(packet, &r->packet, kNetPacketSize);
    RemovePacket(s->replies, r);
    return true;
  });
  return answered;
}
