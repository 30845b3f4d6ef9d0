#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "core/runtime_error.h"
#include "net/net_session.h"
#include "platform/net.h"
#include "platform/system.h"

namespace {

NetPlayerRecord* AddLocalPlayer(NetSession* s, int32_t id) {
  auto* p = new NetPlayerRecord{};
  p->socket = -1;
  p->id = id;
  NetQueueAppend(s->localPlayers, p);
  auto* m = new NetQueuedPacket{};
  NetQueueAppend(p->messages, m);  // freed by the shutdown with its player
  return p;
}

// Stands in for the network thread: runs until asked to stop, then clears
// its running flag (after an optional delay).
struct FakeNetThread {
  std::thread thread;
  uint8_t received[64] = {};
  int32_t receivedBytes = 0;
  // peer: a socket whose bytes the thread collects once asked to stop.
  FakeNetThread(NetSession* s, double stopDelayMs, platform::NLsocket peer = -1) {
    platform::htMutexLock(&s->mutex);
    s->stopRequested = 0;
    s->threadRunning = 1;
    platform::htMutexUnlock(&s->mutex);
    thread = std::thread([this, s, stopDelayMs, peer] {
      for (;;) {
        platform::htMutexLock(&s->mutex);
        bool stop = s->stopRequested != 0;
        platform::htMutexUnlock(&s->mutex);
        if (stop) break;
        platform::SleepMs(10);
      }
      if (peer != -1) receivedBytes = platform::nlRead(peer, received, sizeof received);
      platform::SleepMs(stopDelayMs);
      platform::htMutexLock(&s->mutex);
      s->threadRunning = 0;
      platform::htMutexUnlock(&s->mutex);
    });
  }
};

}  // namespace

TEST(NetSession, StartValues) {
  NetSession* s = CreateNetSession();
  ASSERT_EQ(s, gNetSession);
  EXPECT_EQ(s->nextPlayerId, 101);
  EXPECT_EQ(s->requestPlayerId, -1);
  EXPECT_EQ(s->listenSocket, -1);
  EXPECT_EQ(s->connectionSocket, -1);
  EXPECT_EQ(s->localPlayers.count, 0u);
  EXPECT_EQ(s->hostPlayers.head, nullptr);
  EXPECT_EQ(s->incoming.count, 0u);
  EXPECT_EQ(s->replies.tail, nullptr);
  EXPECT_EQ(s->stopRequested, 1);
  EXPECT_EQ(s->threadRunning, 0);
  EXPECT_EQ(platform::htMutexLock(&s->mutex), 0);
  EXPECT_NE(platform::htMutexLock(&s->mutex), 0);  // a second lock by its owner is refused
  EXPECT_EQ(platform::htMutexUnlock(&s->mutex), 0);
  ShutdownNetSession();
  EXPECT_EQ(gNetSession, nullptr);
}

TEST(NetSession, ShutdownSaysGoodbyeForPlayersWithIdsAndStopsTheThread) {
  NetSession* s = CreateNetSession();
  platform::NLsocket pair[2];
  ASSERT_TRUE(platform::nlSocketPair(pair));
  s->connectionSocket = pair[0];
  AddLocalPlayer(s, 101);
  AddLocalPlayer(s, -1);  // no id yet: no goodbye
  AddLocalPlayer(s, 204);
  FakeNetThread thread(s, 120, pair[1]);
  double t0 = platform::NowMs();
  ShutdownNetSession();
  double spent = platform::NowMs() - t0;
  thread.thread.join();
  EXPECT_GE(spent, 100.0);  // waited for the thread to stop
  EXPECT_EQ(gNetSession, nullptr);

  const uint8_t* got = thread.received;
  ASSERT_EQ(thread.receivedBytes, 34);
  const uint8_t first[17] = {'O', 'R', 'V', 'N', 4, 0, 0, 0, 0, 0, 0, 0, 0, 101, 0, 0, 0};
  const uint8_t second[17] = {'O', 'R', 'V', 'N', 4, 0, 0, 0, 0, 0, 0, 0, 0, 204, 0, 0, 0};
  EXPECT_EQ(std::memcmp(got, first, 17), 0);
  EXPECT_EQ(std::memcmp(got + 17, second, 17), 0);
  // The connection socket was closed (nlShutdown closes the rest).
  EXPECT_EQ(platform::nlWrite(pair[0], "x", 1), -1);
  EXPECT_EQ(platform::nlWrite(pair[1], "x", 1), -1);
}

TEST(NetSession, WaitForAStuckThreadIsBounded) {
  NetSession* s = CreateNetSession();
  FakeNetThread thread(s, 1500);
  double t0 = platform::NowMs();
  ShutdownNetSession(300.0);
  double spent = platform::NowMs() - t0;
  EXPECT_GE(spent, 290.0);
  EXPECT_LT(spent, 1000.0);
  EXPECT_EQ(gNetSession, nullptr);
  // The session stays allocated for the thread, which still uses it.
  EXPECT_EQ(gAbandonedNetSession, s);
  EXPECT_FALSE(ReleaseAbandonedNetSession());
  thread.thread.join();
  EXPECT_TRUE(ReleaseAbandonedNetSession());
  EXPECT_EQ(gAbandonedNetSession, nullptr);
}

TEST(NetSession, ShutdownWithoutSessionDoesNothing) {
  ASSERT_EQ(gNetSession, nullptr);
  ShutdownNetSession();
  EXPECT_EQ(gNetSession, nullptr);
}

TEST(NetSession, SendPacketFailsOnAClosedSocket) {
  NetPacket p{};
  p.type = kNetText;
  p.payloadLength = 0;
  EXPECT_FALSE(NetSendPacket(12345678, &p));
  EXPECT_EQ(std::memcmp(p.magic, "ORVN", 4), 0);
}
