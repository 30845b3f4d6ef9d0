#include "net/net_thread.h"

#include <algorithm>
#include <cstring>
#include <vector>

using platform::NLsocket;
using platform::kNlInvalid;

namespace {

// Bytes of whole messages taken from one socket before the others get
// their turn (at least one message).
constexpr int32_t kDrainBudget = 64 * 1024;
// Longest wait for network activity between two cycles; local work (new
// players, the stop flag) is seen at least this often.
constexpr double kCycleWaitMs = 10.0;
// The thread leaves the cycle to a thread that waited this recently (counted
// from the end of its last wait step).
constexpr double kHandOverMs = 5.0;
// A source held back for a full destination reads again once that queue
// is down to this.
constexpr int64_t kSendLowWater = kNetSendHighWater / 2;
// How often the host looks for peers whose queues have stopped moving.
constexpr double kStallCheckMs = 100.0;

struct Lock {
  NetSession* s;
  explicit Lock(NetSession* session) : s(session) { platform::htMutexLock(&s->mutex); }
  ~Lock() { platform::htMutexUnlock(&s->mutex); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;
};

// A queue element holding the header and payload of packet (the rest of
// its payload is not copied).
NetQueuedPacket* CopyPacket(const NetPacket& packet, NLsocket origin) {
  auto* e = new NetQueuedPacket;
  e->prev = e->next = nullptr;
  uint32_t length = std::min(uint32_t(packet.payloadLength), uint32_t(kNetPayloadMax));
  std::memcpy(&e->packet, &packet, kNetHeaderSize + length);
  if (length < uint32_t(kNetPayloadMax)) e->packet.payload[length] = 0;
  e->origin = origin;
  return e;
}

// Under the mutex: counts news; true when someone sleeps on the condition
// (to be woken once the mutex is released).
bool AddNews(NetSession* s) {
  ++s->news;
  return s->sleepers > 0;
}

void Wake(NetSession* s, bool wake) {
  if (wake) platform::htCondBroadcast(&s->changed);
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

}  // namespace

struct NetCycle {
 public:
  explicit NetCycle(NetSession* s) : s_(s) {
    Lock lock(s_);
    connection_ = s_->connectionSocket;
    listener_ = s_->listenSocket;
    waitSet_ = platform::nlGroupCreate();
    if (connection_ != kNlInvalid) platform::nlGroupAddSocket(waitSet_, connection_);
    if (listener_ != kNlInvalid) platform::nlGroupAddSocket(waitSet_, listener_);
  }
  ~NetCycle() { delete spare_; }
  NetCycle(const NetCycle&) = delete;
  NetCycle& operator=(const NetCycle&) = delete;

  // One cycle: local players' joins, a wait of at most waitMs for the
  // network, then everything that came in.
  void Run(double waitMs) {
    JoinLocalPlayers();
    if (listener_ != kNlInvalid) ResumeHeldBack();
    int32_t n = platform::nlPollGroup(waitSet_, platform::kNlReadStatus, ready_,
                                      kNetMaxConnections + 2, waitMs);
    readyCount_ = n > 0 ? n : 0;
    bool idle = n <= 0;
    if (Ready(connection_)) ReadConnection();
    if (listener_ != kNlInvalid) {
      // Accepting also notices a failed listener; an idle cycle tries it.
      if ((idle || Ready(listener_)) && !AcceptConnections()) return;
      ReadAccepted();
    }
    DeliverLocally();
    if (listener_ != kNlInvalid) {
      HandleAsHost();
      DropStalledPeers();
    }
    TakeAnswers();
    NetFreePackets(s_->incoming);
  }

  void End() {
    for (NLsocket a : open_) platform::nlClose(a);
    for (NetPlayerRecord* p = s_->hostPlayers.head; p; p = p->next) p->socket = kNlInvalid;
    open_.clear();
    platform::nlGroupDestroy(waitSet_);
    NetFreePackets(s_->incoming);
    NetFreePackets(localOut_);
    Lock lock(s_);
    routes_.clear();
  }

  // The hosting program's own text: its players get it at once, other
  // processes' players through their sockets (waiting while a peer's queue
  // is full). Called with the mutex held; it is released while writing.
  bool SendDirect(NetPacket& packet, bool* sent);

 private:
  struct Route {
    int32_t id;
    NLsocket socket;
    bool inactive;
  };

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
        NetWritePacket(connection_, &packet_);
        platform::htMutexLock(&s_->mutex);
        if (p->id == -1) p->id = -3;
        next = p->next;  // only the cycle removes records
      }
      p = next;
    }
  }

  // Reads the whole messages waiting on socket into incoming, up to the
  // budget; false when the socket failed or its peer is gone.
  bool Drain(NLsocket socket) {
    int32_t taken = 0;
    for (;;) {
      if (!spare_) spare_ = new NetQueuedPacket;
      int32_t n = platform::nlRead(socket, &spare_->packet, kNetPacketSize);
      if (n == 0) return true;
      if (n < 0) return false;
      taken += n;
      NetPacket& m = spare_->packet;
      if (n >= kNetHeaderSize && std::memcmp(m.magic, "ORVN", 4) == 0) {
        // The layer hands out exactly header + payloadLength bytes, at most 1024.
        uint32_t length = m.payloadLength;
        if (length > uint32_t(kNetPayloadMax)) return false;
        if (length < uint32_t(kNetPayloadMax)) m.payload[length] = 0;
        spare_->origin = socket;
        NetQueueAppend(s_->incoming, spare_);
        spare_ = nullptr;
      }
      if (taken >= kDrainBudget || !platform::nlReadPending(socket)) return true;
    }
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

  // Sockets the last wait reported.
  bool Ready(NLsocket socket) const {
    if (socket == kNlInvalid) return false;
    return std::find(ready_, ready_ + readyCount_, socket) != ready_ + readyCount_;
  }

  void ReadAccepted() {
    readable_.clear();
    for (NLsocket a : open_)
      if (Ready(a) && !IsHeldBack(a)) readable_.push_back(a);
    for (NLsocket a : readable_)
      if (!Drain(a)) Disconnect(a);
  }

  // A peer that left, failed, sent what no buffer holds or stopped reading:
  // its socket is closed and every player it owned is removed.
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
    for (auto it = heldBack_.begin(); it != heldBack_.end();) {
      it->full.erase(std::remove(it->full.begin(), it->full.end(), socket), it->full.end());
      if (it->source == socket) {
        it = heldBack_.erase(it);
      } else {
        ++it;
      }
    }
    PublishRoutes();
  }

  bool IsOpen(NLsocket socket) const {
    return std::find(open_.begin(), open_.end(), socket) != open_.end();
  }

  // Texts from the host to players of this process go to their queues; a
  // text for one player is used up by the first record with that id. (The
  // host hands texts from other processes on in the order they came.)
  void DeliverLocally() {
    if (!s_->incoming.head) return;
    bool wake = false;
    {
      Lock lock(s_);
      bool delivered = false;
      NetQueuedPacket* m = s_->incoming.head;
      while (m) {
        NetQueuedPacket* next = m->next;
        if (m->packet.type == kNetText && m->origin == connection_) {
          if (NetPlayerRecord* p = LocalPlayer(m->packet.targetId)) {
            NetQueueUnlink(s_->incoming, m);
            NetQueueAppend(p->messages, m);
            delivered = true;
          }
        }
        m = next;
      }
      if (delivered) wake = AddNews(s_);
    }
    Wake(s_, wake);
  }

  // Under the mutex: the first local player with that id (ids 0 and up).
  NetPlayerRecord* LocalPlayer(int32_t id) {
    if (id < 0) return nullptr;
    for (NetPlayerRecord* p = s_->localPlayers.head; p; p = p->next)
      if (p->id == id) return p;
    return nullptr;
  }

  // A peer whose socket fails a write has lost part of its stream: it is
  // disconnected once the messages of this cycle are handled.
  void Send(NLsocket socket, NetPacket& packet) {
    if (socket == kNlInvalid || !IsOpen(socket)) return;
    if (std::find(failed_.begin(), failed_.end(), socket) != failed_.end()) return;
    if (!NetWritePacket(socket, &packet)) failed_.push_back(socket);
  }

  // A text forwarded from origin to a player: this process's own players
  // get it directly, others through their socket (noting who feeds whom).
  void Forward(NLsocket origin, NetPlayerRecord* p, NetPacket& packet) {
    if (IsLocalId(p->id)) {
      NetQueueAppend(localOut_, CopyPacket(packet, origin));
      return;
    }
    Send(p->socket, packet);
    Feed feed{origin, p->socket};
    if (std::find(fed_.begin(), fed_.end(), feed) == fed_.end()) fed_.push_back(feed);
  }

  bool IsLocalId(int32_t id) const {
    return id >= 0 && std::find(localIds_.begin(), localIds_.end(), id) != localIds_.end();
  }

  NetPlayerRecord* HostPlayer(int32_t id) {
    for (NetPlayerRecord* p = s_->hostPlayers.head; p; p = p->next)
      if (p->id == id) return p;
    return nullptr;
  }

  // Messages from the accepted sockets: forwarding, requests, joins and
  // removals. hostPlayers and incoming belong to the cycle alone.
  void HandleAsHost() {
    if (!s_->incoming.head) return;
    {
      // Only the cycle gives local players their ids or removes them.
      Lock lock(s_);
      localIds_.clear();
      for (NetPlayerRecord* p = s_->localPlayers.head; p; p = p->next)
        if (p->id >= 0) localIds_.push_back(p->id);
    }
    fed_.clear();
    NetQueuedPacket* m = s_->incoming.head;
    while (m) {
      NetQueuedPacket* next = m->next;
      if (m->origin == connection_) {
        m = next;
        continue;
      }
      if (m->packet.type == kNetText && IsLocalId(m->packet.targetId)) {
        // For a player of this process: the message itself moves on.
        NetQueueUnlink(s_->incoming, m);
        NetQueueAppend(localOut_, m);
      } else if (Handle(m->packet, m->origin)) {
        RemovePacket(s_->incoming, m);
      }
      m = next;
    }
    HandOverLocal();
    HoldBackSources();
    for (NLsocket socket : failed_)
      if (socket != connection_ && IsOpen(socket)) Disconnect(socket);
    failed_.clear();
  }

  // Texts for this process's players, gathered while handling, go to their
  // queues in the order they came.
  void HandOverLocal() {
    if (!localOut_.head) return;
    bool wake = false;
    {
      Lock lock(s_);
      while (NetQueuedPacket* m = localOut_.head) {
        NetQueueUnlink(localOut_, m);
        if (NetPlayerRecord* p = LocalPlayer(m->packet.targetId))
          NetQueueAppend(p->messages, m);
        else
          delete m;
      }
      wake = AddNews(s_);
    }
    Wake(s_, wake);
  }

  // Back-pressure: a source whose texts went to a peer whose queue is now
  // above the high-water mark is not read until that queue drains.
  void HoldBackSources() {
    for (size_t i = 0; i < fed_.size(); ++i) {
      NLsocket target = fed_[i].target;
      bool seen = false;
      for (size_t j = 0; j < i; ++j) seen = seen || fed_[j].target == target;
      if (seen || !IsOpen(target)) continue;
      if (platform::nlSendQueued(target, nullptr) <= kNetSendHighWater) continue;
      for (const Feed& f : fed_) {
        if (f.target != target || !IsOpen(f.source)) continue;
        HeldBack* h = FindHeldBack(f.source);
        if (!h) {
          heldBack_.push_back(HeldBack{f.source, {}});
          h = &heldBack_.back();
          platform::nlSetReadPaused(f.source, true);
        }
        if (std::find(h->full.begin(), h->full.end(), target) == h->full.end())
          h->full.push_back(target);
      }
    }
  }

  // Sources read again once every queue that held them back is down to the
  // low-water mark (or its peer is gone).
  void ResumeHeldBack() {
    for (auto it = heldBack_.begin(); it != heldBack_.end();) {
      auto& full = it->full;
      full.erase(std::remove_if(full.begin(), full.end(),
                                [this](NLsocket t) {
                                  return !IsOpen(t) ||
                                         platform::nlSendQueued(t, nullptr) <= kSendLowWater;
                                }),
                 full.end());
      if (full.empty()) {
        platform::nlSetReadPaused(it->source, false);
        it = heldBack_.erase(it);
      } else {
        ++it;
      }
    }
  }

  bool IsHeldBack(NLsocket socket) { return FindHeldBack(socket) != nullptr; }

  // A peer whose queue has not moved for kNetStallMs reads nothing: it is
  // dropped, as is one whose connection failed.
  void DropStalledPeers() {
    double now = platform::NowMs();
    if (now - lastStallCheck_ < kStallCheckMs) return;
    lastStallCheck_ = now;
    readable_.clear();
    for (NLsocket a : open_) {
      double stalled = 0;
      int64_t queued = platform::nlSendQueued(a, &stalled);
      if (queued < 0 || (queued > 0 && stalled > kNetStallMs)) readable_.push_back(a);
    }
    for (NLsocket a : readable_)
      if (a != connection_) Disconnect(a);
  }

  // The route list of the hosting program's direct texts follows
  // hostPlayers (copied under the mutex).
  void PublishRoutes() {
    Lock lock(s_);
    routes_.clear();
    for (NetPlayerRecord* p = s_->hostPlayers.head; p; p = p->next)
      routes_.push_back(Route{p->id, p->socket, p->inactive != 0});
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
      // (Texts for this process's own players have moved on already.)
      std::memcpy(&reply_, &m, kNetHeaderSize + m.payloadLength);
      if (m.targetId == -1) {
        for (NetPlayerRecord* p = s_->hostPlayers.head; p; p = p->next) {
          if (p->inactive || p->hostFlag || p->id == m.senderOrSubjectId) continue;
          reply_.targetId = p->id;
          Forward(origin, p, reply_);
        }
      } else if (NetPlayerRecord* p = HostPlayer(m.targetId)) {
        Forward(origin, p, reply_);
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
        PublishRoutes();
        ReplyHeader(kNetJoinReply, p->id);
        Send(origin, reply_);
        return true;
      }
      case kNetRemovePlayer: {
        NetPlayerRecord* p = s_->hostPlayers.head;
        bool removed = false;
        while (p) {
          NetPlayerRecord* next = p->next;
          if (p->id == m.senderOrSubjectId) {
            RemovePlayer(s_->hostPlayers, p);
            removed = true;
          }
          p = next;
        }
        if (removed) PublishRoutes();
        return true;
      }
      default:
        return false;
    }
  }

  // Answers from the host: only what came in on this process's own
  // connection counts (on the host that is the cycle itself).
  void TakeAnswers() {
    if (!s_->incoming.head) return;
    bool wake = false;
    {
      Lock lock(s_);
      bool answered = false;
      NetQueuedPacket* m = s_->incoming.head;
      while (m) {
        NetQueuedPacket* next = m->next;
        if (m->origin == connection_ && m->packet.senderOrSubjectId == 0) {
          if (m->packet.type > 99) {
            NetQueueUnlink(s_->incoming, m);
            NetQueueAppend(s_->replies, m);
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
      if (answered) wake = AddNews(s_);
    }
    Wake(s_, wake);
  }

  struct Feed {
    NLsocket source;
    NLsocket target;
    bool operator==(const Feed& o) const { return source == o.source && target == o.target; }
  };
  struct HeldBack {
    NLsocket source;
    std::vector<NLsocket> full;  // the queues it waits for
  };

  HeldBack* FindHeldBack(NLsocket source) {
    for (HeldBack& h : heldBack_)
      if (h.source == source) return &h;
    return nullptr;
  }

  NetSession* s_;
  NLsocket connection_ = kNlInvalid;
  NLsocket listener_ = kNlInvalid;
  bool connectionLost_ = false;
  int32_t waitSet_ = -1;
  std::vector<NLsocket> open_;
  std::vector<NLsocket> failed_;
  std::vector<NLsocket> readable_;
  std::vector<int32_t> localIds_;
  std::vector<Feed> fed_;
  std::vector<HeldBack> heldBack_;
  std::vector<Route> routes_;  // under the session mutex
  NetQueue<NetQueuedPacket> localOut_{};
  NetQueuedPacket* spare_ = nullptr;
  double lastStallCheck_ = 0;
  NLsocket ready_[kNetMaxConnections + 2] = {};
  int32_t readyCount_ = 0;
  NetPacket packet_{};
  NetPacket reply_{};
};

bool NetCycle::SendDirect(NetPacket& packet, bool* sent) {
  struct Target {
    int32_t id;
    NLsocket socket;
  };
  std::vector<Target> remote;
  bool wake = false;
  int32_t target = packet.targetId, sender = packet.senderOrSubjectId;
  // Under the session mutex (held by the caller).
  bool delivered = false;
  for (const Route& r : routes_) {
    if (target == -1) {
      if (r.inactive || r.id == sender) continue;
    } else if (r.id != target) {
      continue;
    }
    if (NetPlayerRecord* p = LocalPlayer(r.id)) {
      packet.targetId = r.id;
      NetQueueAppend(p->messages, CopyPacket(packet, kNlInvalid));
      delivered = true;
    } else {
      remote.push_back(Target{r.id, r.socket});
    }
    if (target != -1) break;
  }
  if (delivered) wake = AddNews(s_);
  // The cycle may end while the mutex is released: only locals from here.
  NetSession* s = s_;
  platform::htMutexUnlock(&s->mutex);
  Wake(s, wake);
  *sent = true;
  for (const Target& t : remote) {
    packet.targetId = t.id;
    if (!NetSendPacket(t.socket, &packet)) *sent = false;
  }
  platform::htMutexLock(&s->mutex);
  return true;
}

namespace {


void* ThreadEntry(void* arg) {
  NetThreadMain(static_cast<NetSession*>(arg));
  return nullptr;
}

}  // namespace

int NetThreadMain(NetSession* s) {
  {
    Lock lock(s);
    if (!s->cycle) s->cycle = new NetCycle(s);
  }
  for (;;) {
    double parkedUntil;
    {
      Lock lock(s);
      if (s->stopRequested) break;
      parkedUntil = s->lastWaitMs + kHandOverMs;
    }
    // A thread that waits for the session runs the cycle itself; this one
    // takes over again a moment after the last wait.
    double now = platform::NowMs();
    if (now < parkedUntil) {
      platform::SleepMs(parkedUntil - now);
      continue;
    }
    if (platform::htMutexTryLock(&s->cycleLock) != 0) {
      platform::SleepMs(kHandOverMs);
      continue;
    }
    s->cycle->Run(kCycleWaitMs);
    bool wake;
    {
      Lock lock(s);
      wake = AddNews(s);
    }
    platform::htMutexUnlock(&s->cycleLock);
    Wake(s, wake);
  }
  platform::htMutexLock(&s->cycleLock);
  NetCycle* cycle = s->cycle;
  cycle->End();
  {
    Lock lock(s);
    s->cycle = nullptr;
  }
  platform::htMutexUnlock(&s->cycleLock);
  delete cycle;
  Lock lock(s);
  s->threadRunning = 0;
  s->stopRequested = 1;
  platform::htCondBroadcast(&s->changed);
  return 0;
}

void NetWaitStep(NetSession* s, uint32_t seen, double now, double ms) {
  double slice = ms < kCycleWaitMs ? ms : kCycleWaitMs;
  if (platform::htMutexTryLock(&s->cycleLock) == 0) {
    bool running;
    {
      Lock lock(s);
      running = s->cycle && !s->stopRequested;
      s->lastWaitMs = now;
    }
    if (running) {
      s->cycle->Run(slice);
      bool wake;
      {
        Lock lock(s);
        wake = AddNews(s);
        s->lastWaitMs = platform::NowMs();
      }
      platform::htMutexUnlock(&s->cycleLock);
      Wake(s, wake);
      return;
    }
    platform::htMutexUnlock(&s->cycleLock);
  }
  // Another thread runs the cycle (or none runs): sleep until it has news.
  // The network thread leaves the cycle to this one after its current turn.
  Lock lock(s);
  s->lastWaitMs = now;
  if (s->news != seen) return;
  ++s->sleepers;
  platform::htCondWait(&s->changed, &s->mutex, slice);
  --s->sleepers;
  s->lastWaitMs = platform::NowMs();
}

bool NetSendDirect(NetSession* s, NetPacket* packet, bool* sent) {
  if (packet->payloadLength > uint32_t(kNetPayloadMax)) return false;
  std::memcpy(packet->magic, "ORVN", 4);
  Lock lock(s);
  if (!s->cycle || s->stopRequested || !s->isHost) return false;
  return s->cycle->SendDirect(*packet, sent);
}

bool NetStartThread(NetSession* s) {
  {
    Lock lock(s);
    s->stopRequested = 0;
    s->threadRunning = 1;
  }
  {
    platform::htMutexLock(&s->cycleLock);
    NetCycle* cycle = new NetCycle(s);
    {
      Lock lock(s);
      s->cycle = cycle;
    }
    platform::htMutexUnlock(&s->cycleLock);
  }
  if (platform::htThreadCreate(ThreadEntry, s)) return true;
  platform::htMutexLock(&s->cycleLock);
  NetCycle* cycle = s->cycle;
  cycle->End();
  {
    Lock lock(s);
    s->cycle = nullptr;
    s->stopRequested = 1;
    s->threadRunning = 0;
  }
  platform::htMutexUnlock(&s->cycleLock);
  delete cycle;
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
    uint32_t length = std::min(uint32_t(r->packet.payloadLength), uint32_t(kNetPayloadMax));
    std::memcpy(packet, &r->packet, kNetHeaderSize + length);
    RemovePacket(s->replies, r);
    return true;
  });
  return answered;
}
