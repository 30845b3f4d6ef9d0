#include "net/net_commands.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "core/number_truncate.h"
#include "core/string_builtins.h"
#include "net/net_thread.h"

using platform::NLsocket;
using platform::kNlInvalid;

namespace {

constexpr uint16_t kDefaultPort = 26000;
constexpr double kWaitLimitMs = 5000.0;

int32_t IdFromText(const BasicString& text) { return TruncInt32(StrToNumber(text)); }

BasicString IntText(int32_t v) {
  BasicString r;
  StrAssignInt(r, v);
  return r;
}

void CloseSocket(NLsocket& socket) {
  if (socket != kNlInvalid) platform::nlClose(socket);
  socket = kNlInvalid;
}

// Asks the thread to stop and waits for it (50 ms sleeps).
void StopThread(NetSession* s) {
  platform::htMutexLock(&s->mutex);
  s->stopRequested = 1;
  platform::htMutexUnlock(&s->mutex);
  for (;;) {
    platform::htMutexLock(&s->mutex);
    bool running = s->threadRunning != 0;
    platform::htMutexUnlock(&s->mutex);
    if (!running) return;
    platform::SleepMs(50);
  }
}

void CloseSessionSockets(NetSession* s) {
  platform::htMutexLock(&s->mutex);
  CloseSocket(s->listenSocket);
  CloseSocket(s->connectionSocket);
  platform::htMutexUnlock(&s->mutex);
}

// Hosting, joining: opens the connection socket and connects it to address.
bool Connect(NetSession* s, NLsocket socket, platform::NLaddress address, uint16_t port) {
  if (!platform::nlSetAddrPort(&address, port) || !platform::nlConnect(socket, &address)) {
    CloseSessionSockets(s);
    return false;
  }
  return true;
}

}  // namespace

void EndNetSession(NetSession* s) {
  StopThread(s);
  CloseSessionSockets(s);
  platform::htMutexLock(&s->mutex);
  NetFreePlayers(s->localPlayers);
  NetFreePlayers(s->hostPlayers);
  NetFreePackets(s->replies);
  NetFreePackets(s->incoming);
  s->networkType = platform::kNlIp;
  s->connectionType = platform::kNlReliablePackets;
  s->nextPlayerId = 101;
  s->requestPlayerId = -1;
  s->isHost = 0;
  platform::htMutexUnlock(&s->mutex);
  platform::nlShutdown();
  if (platform::nlInit()) platform::nlSelectNetwork(s->networkType);
}

uint16_t NetPortFromText(const BasicString& port) {
  double v = StrToNumber(port);
  if (!(v > 0)) return kDefaultPort;
  return uint16_t(uint64_t(TruncInt64(v)) % 65536u);
}

double NetHostSession(const BasicString& portText) {
  NetSession* s = gNetSession;
  if (!s) return 0;
  EndNetSession(s);
  uint16_t port = NetPortFromText(portText);
  NLsocket listener = platform::nlOpen(port, s->connectionType);
  if (listener == kNlInvalid) return 0;
  platform::htMutexLock(&s->mutex);
  s->listenSocket = listener;
  platform::htMutexUnlock(&s->mutex);
  if (!platform::nlListen(listener)) {
    CloseSessionSockets(s);
    return 0;
  }
  NLsocket connection = platform::nlOpen(0, s->connectionType);
  if (connection == kNlInvalid) {
    CloseSessionSockets(s);
    return 0;
  }
  platform::htMutexLock(&s->mutex);
  s->connectionSocket = connection;
  platform::htMutexUnlock(&s->mutex);
  platform::NLaddress address{};
  if (!platform::nlGetLocalAddr(connection, &address) || !Connect(s, connection, address, port))
    return 0;
  s->isHost = 1;
  if (!NetStartThread(s)) {
    CloseSessionSockets(s);
    return 0;
  }
  return 1;
}

double NetJoinSession(const BasicString& host, const BasicString& portText) {
  NetSession* s = gNetSession;
  if (!s) return 0;
  EndNetSession(s);
  uint16_t port = NetPortFromText(portText);
  NLsocket connection = platform::nlOpen(0, s->connectionType);
  if (connection == kNlInvalid) return 0;
  platform::htMutexLock(&s->mutex);
  s->connectionSocket = connection;
  platform::htMutexUnlock(&s->mutex);
  platform::NLaddress address{};
  bool found = StrLength(host) == 0 ? platform::nlGetLocalAddr(connection, &address)
                                    : platform::nlGetAddrFromName(StrCStr(host), &address);
  if (!found) {
    CloseSessionSockets(s);
    return 0;
  }
  if (!Connect(s, connection, address, port)) return 0;
  s->isHost = 0;
  if (!NetStartThread(s)) {
    CloseSessionSockets(s);
    return 0;
  }
  NetPacket check{};
  check.type = kNetConnectionCheck;
  check.payloadLength = 0;
  if (NetRequest(s, &check)) return 1;
  StopThread(s);
  CloseSessionSockets(s);
  return 0;
}

BasicString NetGetLocalAddresses() {
  NetSession* s = gNetSession;
  if (!s) return BasicString();
  EndNetSession(s);
  // Any free port will do: the socket only shows that the network works.
  NLsocket probe = platform::nlOpen(0, s->connectionType);
  if (probe == kNlInvalid) return BasicString();
  std::vector<platform::NLaddress> addresses = platform::nlGetAllLocalAddr();
  platform::nlClose(probe);
  std::string text;
  for (size_t i = 0; i < addresses.size(); ++i) {
    text += platform::nlAddrToString(addresses[i]);
    if (i + 1 < addresses.size()) text += "|";
    if (text.size() + 32 > 4096) break;
  }
  return BasicString(text.c_str());
}

BasicString NetCreatePlayer(const BasicString& name) {
  NetSession* s = gNetSession;
  if (!s) return IntText(-1);
  platform::htMutexLock(&s->mutex);
  bool running = s->threadRunning != 0;
  platform::htMutexUnlock(&s->mutex);
  if (!running) return IntText(-1);  // nobody would send its join request
  auto* p = new NetPlayerRecord{};
  p->socket = kNlInvalid;
  p->id = -1;
  p->inactive = 0;
  p->hostFlag = s->isHost ? 1 : 0;
  std::strncpy(p->name, StrCStr(name), kNetNameMax);
  p->name[kNetNameMax] = 0;
  platform::htMutexLock(&s->mutex);
  NetQueueAppend(s->localPlayers, p);
  platform::htMutexUnlock(&s->mutex);
  // The record stays: only the thread removes records, and only those
  // marked -2.
  int32_t id = -1;
  NetWaitUnderMutex(s, kWaitLimitMs, [p, &id] {
    if (p->id < 0) return false;
    id = p->id;
    return true;
  });
  if (id < 0) {
    platform::htMutexLock(&s->mutex);
    if (p->id >= 0)
      id = p->id;  // came just in time
    else
      p->id = -2;
    platform::htMutexUnlock(&s->mutex);
  }
  return IntText(id);
}

double NetRemovePlayer(const BasicString& idText) {
  NetSession* s = gNetSession;
  int32_t id = IdFromText(idText);
  if (!s || id < 0) return 1;
  NetPacket packet{};
  packet.type = kNetRemovePlayer;
  packet.payloadLength = 0;
  packet.targetId = 0;
  packet.senderOrSubjectId = id;
  NetSendPacket(NetConnectionSocket(s), &packet);
  return 1;
}

double NetSendText(const BasicString& sender, const BasicString& target,
                   const BasicString& message) {
  NetSession* s = gNetSession;
  if (!s) return 0;
  int32_t to = IdFromText(target);
  NetPacket packet;
  packet.type = kNetText;
  packet.targetId = to == 0 ? -1 : to;
  packet.senderOrSubjectId = IdFromText(sender);
  uint32_t length = StrLength(message);
  if (length > uint32_t(kNetPayloadMax)) length = kNetPayloadMax;
  std::memcpy(packet.payload, StrCStr(message), length);
  packet.payloadLength = length;
  // The host hands its own players' texts on itself; others go to the host.
  bool sent = false;
  if (NetSendDirect(s, &packet, &sent)) return sent ? 1 : 0;
  return NetSendPacket(NetConnectionSocket(s), &packet) ? 1 : 0;
}

namespace {

// Under the mutex: moves the oldest message of local player id into packet.
bool TakeMessage(NetSession* s, int32_t id, NetPacket& packet) {
  for (NetPlayerRecord* p = s->localPlayers.head; p; p = p->next) {
    if (p->id != id) continue;
    NetQueuedPacket* m = p->messages.head;
    if (!m) return false;
    uint32_t length = std::min(uint32_t(m->packet.payloadLength), uint32_t(kNetPayloadMax));
    std::memcpy(&packet, &m->packet, kNetHeaderSize + length);
    NetQueueUnlink(p->messages, m);
    delete m;
    return true;
  }
  return false;
}

BasicString MessageText(const NetPacket& packet) {
  gNetLastSender = packet.senderOrSubjectId;
  return NetPayloadText(packet);
}

}  // namespace

BasicString NetGetMessage(const BasicString& idText) {
  NetSession* s = gNetSession;
  if (!s) return BasicString();
  int32_t id = IdFromText(idText);
  NetPacket packet;
  platform::htMutexLock(&s->mutex);
  bool got = TakeMessage(s, id, packet);
  platform::htMutexUnlock(&s->mutex);
  return got ? MessageText(packet) : BasicString();
}

BasicString NetWaitMessage(const BasicString& idText, double ms) {
  NetSession* s = gNetSession;
  if (!s) return BasicString();
  int32_t id = IdFromText(idText);
  NetPacket packet;
  bool got = NetWaitUnderMutex(s, ms, [&] { return TakeMessage(s, id, packet); });
  return got ? MessageText(packet) : BasicString();
}

double NetPlayerCount() {
  NetSession* s = gNetSession;
  if (!s) return 0;
  NetPacket packet{};
  packet.type = kNetPlayerCount;
  packet.payloadLength = 0;
  if (!NetRequest(s, &packet)) return 0;
  return double(NetPayloadU32(packet));
}

BasicString NetPlayerId(double index) {
  NetSession* s = gNetSession;
  if (!s) return IntText(0);
  NetPacket packet{};
  packet.type = kNetPlayerIdByIndex;
  NetSetPayloadU32(packet, uint32_t(TruncInt32(index)));
  if (!NetRequest(s, &packet)) return IntText(0);
  BasicString r;
  StrAssignDouble(r, double(NetPayloadU32(packet)));
  return r;
}

BasicString NetPlayerName(const BasicString& idText) {
  NetSession* s = gNetSession;
  if (!s) return BasicString("NO_DATA");
  NetPacket packet{};
  packet.type = kNetPlayerName;
  NetSetPayloadU32(packet, uint32_t(IdFromText(idText)));
  if (!NetRequest(s, &packet)) return BasicString("NO_DATA");
  return NetPayloadText(packet);
}
