// The runtime hosts a session on 127.0.0.1; raw TCP peers written here join,
// talk, misbehave and leave.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/string_builtins.h"
#include "net/net_commands.h"
#include "net/net_session.h"
#include "net/net_thread.h"
#include "raw_peer.h"

using namespace nettest;

namespace {

std::string S(const BasicString& s) { return std::string(StrCStr(s), StrLength(s)); }

template <typename F>
bool WaitFor(F ready, double ms = 5000) {
  double end = platform::NowMs() + ms;
  while (!ready()) {
    if (platform::NowMs() > end) return false;
    platform::SleepMs(2);
  }
  return true;
}

// The next message of a local player, waiting for it to arrive.
std::string NextMessage(const char* id, double ms = 5000) {
  std::string got;
  WaitFor([&] { return !(got = S(NetGetMessage(id))).empty(); }, ms);
  return got;
}

class NetHost : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateNetSession();
    port_ = FreePort();
    ASSERT_EQ(NetHostSession(BasicString(std::to_string(port_).c_str())), 1.0);
    ASSERT_EQ(gNetSession->isHost, 1);
  }
  void TearDown() override { ShutdownNetSession(); }

  std::unique_ptr<RawPeer> Peer() {
    auto p = std::make_unique<RawPeer>();
    EXPECT_TRUE(p->Connect(port_));
    return p;
  }

  uint16_t port_ = 0;
};

}  // namespace

TEST_F(NetHost, JoinAndPlayerList) {
  EXPECT_EQ(S(NetCreatePlayer("Alice")), "101");
  auto bob = Peer();
  EXPECT_EQ(bob->Join("Bob"), 102);
  // A name that fills all 128 bytes without a terminator keeps 127.
  auto carol = Peer();
  EXPECT_EQ(carol->Join(std::string(128, 'c')), 103);
  auto hidden = Peer();
  int32_t ask = hidden->Join("", 1);  // a hidden request player
  EXPECT_EQ(ask, 104);

  EXPECT_EQ(NetPlayerCount(), 3.0);  // hidden players are not counted
  EXPECT_EQ(S(NetPlayerId(0)), "101");
  EXPECT_EQ(S(NetPlayerId(1)), "102");
  EXPECT_EQ(S(NetPlayerId(2)), "103");
  EXPECT_EQ(S(NetPlayerId(3)), "0");
  EXPECT_EQ(S(NetPlayerId(-1)), "0");
  EXPECT_EQ(S(NetPlayerName("102")), "Bob");
  EXPECT_EQ(S(NetPlayerName("103")), std::string(127, 'c'));
  EXPECT_EQ(S(NetPlayerName("101")), "Alice");

  // A raw peer's own requests are answered on its socket.
  ASSERT_TRUE(hidden->Send(Message(0x65, 0, ask)));
  Received r;
  ASSERT_TRUE(hidden->Read(r));
  EXPECT_EQ(r.type, 0x65);
  EXPECT_EQ(r.target, ask);
  EXPECT_EQ(r.sender, 0);
  ASSERT_EQ(r.payload.size(), 4u);
  EXPECT_EQ(GetI32(r.payload.data()), 3);
  ASSERT_TRUE(hidden->Send(Message(0x68, 0, ask)));
  ASSERT_TRUE(hidden->Read(r));
  EXPECT_EQ(r.type, 0x68);
  EXPECT_EQ(GetI32(r.payload.data()), 1);
  // Unknown types are dropped; the next request still gets its answer.
  ASSERT_TRUE(hidden->Send(Message(0x33, 0, ask)));
  Bytes index;
  PutI32(index, 1);
  ASSERT_TRUE(hidden->Send(Message(0x66, 0, ask, index)));
  ASSERT_TRUE(hidden->Read(r));
  EXPECT_EQ(r.type, 0x66);
  EXPECT_EQ(GetI32(r.payload.data()), 102);

  // Names from the program are cut to fit.
  std::string longName = S(NetCreatePlayer(BasicString(std::string(300, 'z').c_str())));
  EXPECT_EQ(longName, "106");  // 105 is the hidden player of this process's requests
  EXPECT_EQ(S(NetPlayerName("106")), std::string(127, 'z'));

  // Hosting again starts a new session whose ids begin at 101.
  ASSERT_EQ(NetHostSession(BasicString(std::to_string(port_).c_str())), 1.0);
  EXPECT_EQ(S(NetCreatePlayer("Again")), "101");
  EXPECT_EQ(NetPlayerCount(), 1.0);
}

TEST_F(NetHost, TextsToOnePlayerAndToAll) {
  ASSERT_EQ(S(NetCreatePlayer("Alice")), "101");
  auto bob = Peer();
  auto carol = Peer();
  ASSERT_EQ(bob->Join("Bob"), 102);
  ASSERT_EQ(carol->Join("Carol"), 103);

  // Host player to one raw peer, and an empty text.
  EXPECT_EQ(NetSendText("101", "102", "hello Bob"), 1.0);
  EXPECT_EQ(NetSendText("101", "102", ""), 1.0);
  Received r;
  ASSERT_TRUE(bob->Read(r));
  EXPECT_EQ(r.type, 3);
  EXPECT_EQ(r.target, 102);
  EXPECT_EQ(r.sender, 101);
  EXPECT_EQ(r.text(), "hello Bob");
  ASSERT_TRUE(bob->Read(r));
  EXPECT_EQ(r.text(), "");

  // Raw peer to the host's player.
  ASSERT_TRUE(bob->Send(Message(3, 101, 102, Text("hi Alice"))));
  EXPECT_EQ(NextMessage("101"), "hi Alice");
  EXPECT_EQ(S(NetLastSenderText()), "102");

  // Broadcast from a raw peer: everyone but the sender, each copy addressed.
  ASSERT_TRUE(carol->Send(Message(3, -1, 103, Text("to all"))));
  EXPECT_EQ(NextMessage("101"), "to all");
  EXPECT_EQ(S(NetLastSenderText()), "103");
  ASSERT_TRUE(bob->Read(r));
  EXPECT_EQ(r.target, 102);
  EXPECT_EQ(r.sender, 103);
  EXPECT_EQ(r.text(), "to all");

  // Target "0" from the program is everyone else too; its own id comes back.
  EXPECT_EQ(NetSendText("101", "0", "broadcast"), 1.0);
  EXPECT_EQ(NetSendText("101", "101", "note to self"), 1.0);
  ASSERT_TRUE(bob->Read(r));
  EXPECT_EQ(r.text(), "broadcast");
  ASSERT_TRUE(carol->Read(r));
  EXPECT_EQ(r.target, 103);
  EXPECT_EQ(r.text(), "broadcast");
  EXPECT_EQ(NextMessage("101"), "note to self");
  EXPECT_EQ(S(NetGetMessage("101")), "");  // nothing else (no broadcast echo)
  EXPECT_EQ(S(NetGetMessage("999")), "");

  // A message that trickles in byte by byte arrives whole; waiting for one
  // gives up after its time when none comes.
  Bytes slow = Message(3, 101, 102, Text("slowly"));
  for (uint8_t b : slow) {
    ASSERT_TRUE(bob->Send(Bytes{b}));
    platform::SleepMs(1);
  }
  EXPECT_EQ(S(NetWaitMessage("101", 5000)), "slowly");
  double t0 = platform::NowMs();
  EXPECT_EQ(S(NetWaitMessage("101", 60)), "");
  EXPECT_GE(platform::NowMs() - t0, 55.0);

  // Texts longer than a payload are cut to 1024 bytes.
  std::string big(3000, 'x');
  EXPECT_EQ(NetSendText("101", "102", BasicString(big.c_str())), 1.0);
  ASSERT_TRUE(bob->Read(r));
  EXPECT_EQ(r.payload.size(), 1024u);
  // A full 1024-byte text arrives whole at a local player.
  ASSERT_TRUE(bob->Send(Message(3, 101, 102, Text(std::string(1024, 'y')))));
  EXPECT_EQ(NextMessage("101"), std::string(1024, 'y'));
}

TEST_F(NetHost, RemovalAndDisconnects) {
  ASSERT_EQ(S(NetCreatePlayer("Alice")), "101");
  auto bob = Peer();
  ASSERT_EQ(bob->Join("Bob"), 102);
  ASSERT_EQ(bob->Join("Bob2"), 103);
  auto dan = Peer();
  ASSERT_EQ(dan->Join("Dan"), 104);
  ASSERT_EQ(dan->Join("Dan2"), 105);
  EXPECT_EQ(NetPlayerCount(), 5.0);

  // Removal by message; a negative id sends nothing.
  ASSERT_TRUE(bob->Send(Message(4, 0, 103)));
  EXPECT_EQ(NetRemovePlayer("-5"), 1.0);
  EXPECT_TRUE(WaitFor([] { return NetPlayerCount() == 4.0; }));
  EXPECT_EQ(S(NetPlayerId(1)), "102");
  EXPECT_EQ(S(NetPlayerId(2)), "104");

  // A peer that disconnects in the middle of a message: every player it
  // owned goes, its socket is closed, the rest keep working.
  Bytes half = Message(3, 101, 104, Text("never finished"));
  half.resize(10);
  ASSERT_TRUE(dan->Send(half));
  dan->Close();
  EXPECT_TRUE(WaitFor([] { return NetPlayerCount() == 2.0; }));
  EXPECT_EQ(S(NetPlayerName("105")), "NO_DATA");
  EXPECT_EQ(S(NetGetMessage("101")), "");

  // A plain close removes that client's players too.
  bob->Close();
  EXPECT_TRUE(WaitFor([] { return NetPlayerCount() == 1.0; }));
  auto eve = Peer();
  EXPECT_EQ(eve->Join("Eve"), 107);
  ASSERT_TRUE(eve->Send(Message(3, 101, 107, Text("still here"))));
  EXPECT_EQ(NextMessage("101"), "still here");
}

TEST_F(NetHost, MalformedAndOversizedMessages) {
  ASSERT_EQ(S(NetCreatePlayer("Alice")), "101");
  auto bob = Peer();
  ASSERT_EQ(bob->Join("Bob"), 102);
  auto mallory = Peer();
  ASSERT_EQ(mallory->Join("Mallory"), 103);

  // A wrong magic is no message; what follows it still arrives.
  ASSERT_TRUE(bob->Send(Message(3, 101, 102, Text("bad"), "XXXX")));
  ASSERT_TRUE(bob->Send(Message(3, 101, 102, Text("good"))));
  EXPECT_EQ(NextMessage("101"), "good");
  // A short join request makes a player with an empty name.
  ASSERT_TRUE(bob->Send(Message(1, 0, 0, Text("abc"))));
  Received r;
  ASSERT_TRUE(bob->Read(r));
  EXPECT_EQ(r.type, 2);
  EXPECT_EQ(r.target, 104);

  // A payload length above 1024: rejected, and its sender dropped.
  Bytes huge = Message(3, 101, 103, Bytes(2000, 'h'));
  ASSERT_TRUE(mallory->Send(huge));
  EXPECT_TRUE(mallory->EndsWithin(3000));
  EXPECT_TRUE(WaitFor([] { return NetPlayerCount() == 3.0; }));
  EXPECT_EQ(S(NetGetMessage("101")), "");
  // A length far beyond any buffer, announced in a header alone.
  auto oscar = Peer();
  ASSERT_EQ(oscar->Join("Oscar"), 106);
  Bytes header = Message(3, 101, 106);
  header[8] = 0x7F;
  ASSERT_TRUE(oscar->Send(header));
  EXPECT_TRUE(oscar->EndsWithin(3000));
  EXPECT_TRUE(WaitFor([] { return NetPlayerCount() == 3.0; }));

  // Forged answers from a client are not taken as the host's.
  std::atomic<bool> stop{false};
  std::thread forger([&] {
    Bytes count;
    PutI32(count, 77);
    while (!stop) {
      bob->Send(Message(2, 999, 0));
      bob->Send(Message(0x65, 1000, 0, count));
      platform::SleepMs(1);
    }
  });
  for (int i = 0; i < 3; ++i) EXPECT_EQ(NetPlayerCount(), 3.0);
  std::string id = S(NetCreatePlayer("Late"));
  stop = true;
  forger.join();
  EXPECT_EQ(id, "107");
}

TEST_F(NetHost, FloodOfTenThousandMessagesLosesNothing) {
  ASSERT_EQ(S(NetCreatePlayer("Alice")), "101");
  auto bob = Peer();
  ASSERT_EQ(bob->Join("Bob"), 102);
  constexpr int kCount = 10000;

  // Raw peer to the host's player, all written at once.
  double t0 = platform::NowMs();
  std::thread writer([&] {
    Bytes all;
    for (int i = 0; i < kCount; ++i) {
      Bytes m = Message(3, 101, 102, Text("m" + std::to_string(i)));
      all.insert(all.end(), m.begin(), m.end());
    }
    EXPECT_TRUE(bob->Send(all));
  });
  int got = 0;
  while (got < kCount) {
    std::string m = NextMessage("101");
    if (m.empty()) break;
    ASSERT_EQ(m, "m" + std::to_string(got));
    ++got;
  }
  writer.join();
  EXPECT_EQ(got, kCount);
  double inbound = platform::NowMs() - t0;

  // The host's player to the raw peer, through the host's forwarding.
  t0 = platform::NowMs();
  std::thread reader([&] {
    Received r;
    for (int i = 0; i < kCount; ++i) {
      ASSERT_TRUE(bob->Read(r)) << i;
      ASSERT_EQ(r.text(), "n" + std::to_string(i));
    }
  });
  for (int i = 0; i < kCount; ++i)
    ASSERT_EQ(NetSendText("101", "102", BasicString(("n" + std::to_string(i)).c_str())), 1.0);
  reader.join();
  double outbound = platform::NowMs() - t0;
  // Far below one message per 10 ms cycle.
  EXPECT_LT(inbound, 20000.0);
  EXPECT_LT(outbound, 20000.0);
  std::printf("10000 messages in: %.0f ms, out: %.0f ms\n", inbound, outbound);
}

// Several threads wait on the session at once (each then runs the network
// cycle in turn); a program that only polls, never waiting, is still served
// by the network thread.
TEST_F(NetHost, WaitingThreadsAndPollingShareTheSession) {
  ASSERT_EQ(S(NetCreatePlayer("Alice")), "101");
  auto carol = Peer();
  ASSERT_EQ(carol->Join("Carol"), 102);
  constexpr int kTexts = 300;
  constexpr int kPlayers = 30;
  std::atomic<bool> stop{false};
  std::string fault;
  std::thread reader([&] {
    for (int i = 0; i < kTexts && fault.empty(); ++i) {
      std::string m = S(NetWaitMessage("101", 5000));
      if (m != std::to_string(i)) fault = "text " + std::to_string(i) + " was '" + m + "'";
    }
  });
  std::vector<int> ids;
  std::thread creator([&] {
    for (int i = 0; i < kPlayers; ++i) ids.push_back(std::stoi(S(NetCreatePlayer("extra"))));
  });
  std::thread asker([&] {
    while (!stop) EXPECT_GE(NetPlayerCount(), 2.0);
  });
  for (int i = 0; i < kTexts; ++i)
    ASSERT_TRUE(carol->Send(Message(3, 101, 102, Text(std::to_string(i)))));
  reader.join();
  creator.join();
  stop = true;
  asker.join();
  EXPECT_EQ(fault, "");
  ASSERT_EQ(ids.size(), size_t(kPlayers));
  for (int i = 1; i < kPlayers; ++i) EXPECT_GT(ids[i], ids[i - 1]);
  EXPECT_GT(ids[0], 102);
  EXPECT_EQ(NetPlayerCount(), 2.0 + kPlayers);

  // Polling without waiting.
  ASSERT_TRUE(carol->Send(Message(3, 101, 102, Text("polled"))));
  std::string got;
  double end = platform::NowMs() + 5000;
  while (got.empty() && platform::NowMs() < end) got = S(NetWaitMessage("101", 0));
  EXPECT_EQ(got, "polled");
}

// A peer that sends itself more than the host's queue for it holds, and
// reads slower than it writes: the host stops reading from it instead of
// dropping it, and keeps answering the others.
TEST_F(NetHost, ABurstToAReadingPeerArrivesWholeWhileOthersAreAnswered) {
  ASSERT_EQ(S(NetCreatePlayer("Alice")), "101");
  auto busy = Peer();
  ASSERT_EQ(busy->Join("Busy"), 102);
  auto other = Peer();
  ASSERT_EQ(other->Join("Other"), 103);
  constexpr int kCount = 10000;
  auto text = [](int i) {
    std::string t = std::to_string(i) + ":";
    t.resize(1024, 'b');
    return t;
  };

  std::thread writer([&] {
    for (int i = 0; i < kCount; ++i) {
      Bytes m = Message(3, 102, 102, Text(text(i)));
      if (!platform::RawTcpSend(busy->fd(), m.data(), int64_t(m.size()), 60000)) {
        ADD_FAILURE() << "the host stopped taking the burst at " << i;
        return;
      }
    }
  });
  std::atomic<int> got{0};
  std::atomic<bool> done{false};
  std::string wrong;
  std::thread reader([&] {
    Received r;
    while (got < kCount) {
      if (!busy->Read(r, 20000)) break;
      if (r.target != 102 || r.sender != 102 || r.text() != text(got)) {
        wrong = r.text().substr(0, 16);
        break;
      }
      if (++got % 40 == 0) platform::SleepMs(4);  // a steady, slower reader
    }
    done = true;
  });

  int trips = 0;
  double slowest = 0;
  while (!done) {
    double t0 = platform::NowMs();
    std::string ping = "ping " + std::to_string(trips);
    ASSERT_TRUE(other->Send(Message(3, 103, 103, Text(ping))));
    Received r;
    ASSERT_TRUE(other->Read(r, 5000)) << "round trip " << trips;
    ASSERT_EQ(r.text(), ping);
    slowest = std::max(slowest, platform::NowMs() - t0);
    ++trips;
  }
  writer.join();
  reader.join();
  EXPECT_EQ(got, kCount) << wrong;
  EXPECT_EQ(NetPlayerCount(), 3.0);  // nobody was dropped
  EXPECT_GT(trips, 10);
  EXPECT_LT(slowest, 1000.0);
  std::printf("round trips during the burst: %d, slowest %.1f ms\n", trips, slowest);
}

TEST_F(NetHost, APeerThatStopsReadingIsDropped) {
  ASSERT_EQ(S(NetCreatePlayer("Alice")), "101");
  auto stuck = Peer();
  ASSERT_EQ(stuck->Join("Stuck"), 102);
  auto fine = Peer();
  ASSERT_EQ(fine->Join("Fine"), 103);
  // Far more than the system's buffers and the host's queue hold.
  std::string big(1024, 'q');
  int refused = 0;
  for (int i = 0; i < 40000; ++i)
    if (NetSendText("101", "102", BasicString(big.c_str())) != 1.0) ++refused;
  EXPECT_TRUE(WaitFor([] { return NetPlayerCount() == 2.0; }, 20000));
  // The others still hear from the host, in one piece.
  EXPECT_EQ(NetSendText("101", "103", "after"), 1.0);
  Received r;
  ASSERT_TRUE(fine->Read(r));
  EXPECT_EQ(r.text(), "after");
  std::printf("texts refused while the host was busy: %d\n", refused);
}

TEST_F(NetHost, RefusesTheConnectionAfterOneHundred) {
  // The host's own connection holds one of the hundred.
  std::vector<std::unique_ptr<RawPeer>> peers;
  for (int i = 0; i < 99; ++i) peers.push_back(Peer());
  ASSERT_EQ(peers.back()->Join("last"), 101);
  auto extra = Peer();
  EXPECT_TRUE(extra->EndsWithin(3000));
  // A freed place can be taken again.
  peers.front()->Close();
  platform::SleepMs(100);
  auto again = Peer();
  EXPECT_EQ(again->Join("again"), 102);
}

// The runtime joins a host written here; at the program end it says goodbye
// for every player that has an id.
TEST(NetClient, JoinPayloadAndGoodbyeMessages) {
  CreateNetSession();
  uint16_t port = 0;
  int listener = platform::RawTcpListen(0, &port);
  ASSERT_GE(listener, 0);

  std::atomic<double> joined{-1};
  std::thread join(
      [&] { joined = NetJoinSession("127.0.0.1", BasicString(std::to_string(port).c_str())); });
  RawPeer host(platform::RawTcpAccept(listener, 5000));
  ASSERT_GE(host.fd(), 0);

  // The hidden request player's join, field by field, queue words zero.
  Received r;
  ASSERT_TRUE(host.Read(r));
  EXPECT_EQ(r.type, 1);
  EXPECT_EQ(r.target, 0);
  EXPECT_EQ(r.payload, JoinPayload("", 1));
  ASSERT_TRUE(host.Send(Message(2, 7, 0)));
  ASSERT_TRUE(host.Read(r));
  EXPECT_EQ(r.type, 0x68);
  EXPECT_EQ(r.target, 0);
  EXPECT_EQ(r.sender, 7);
  Bytes one;
  PutI32(one, 1);
  ASSERT_TRUE(host.Send(Message(0x68, 7, 0, one)));
  join.join();
  ASSERT_EQ(joined, 1.0);
  EXPECT_EQ(gNetSession->isHost, 0);

  std::string id;
  std::thread create([&] { id = S(NetCreatePlayer("Zed")); });
  ASSERT_TRUE(host.Read(r));
  EXPECT_EQ(r.type, 1);
  EXPECT_EQ(r.payload, JoinPayload("Zed"));
  ASSERT_TRUE(host.Send(Message(2, 8, 0)));
  create.join();
  EXPECT_EQ(id, "8");

  // A text from the host reaches the local player.
  ASSERT_TRUE(host.Send(Message(3, 8, 9, Text("welcome"))));
  EXPECT_EQ(NextMessage("8"), "welcome");

  // The program end: one goodbye per player with an id, then the close.
  ShutdownNetSession();
  EXPECT_EQ(gNetSession, nullptr);
  Bytes bye;
  ASSERT_TRUE(host.ReadBytes(34, bye));
  Bytes expected = Message(4, 0, 7);
  Bytes second = Message(4, 0, 8);
  expected.insert(expected.end(), second.begin(), second.end());
  EXPECT_EQ(bye, expected);
  EXPECT_TRUE(host.EndsWithin(2000));
  platform::RawTcpClose(listener);
}

// A host that stops reading: the program's sends wait for it, then are
// refused; every text reported as sent arrives whole and in order, the
// refused one never.
TEST(NetClient, SendsToAHostThatStopsReadingAreRefusedNotLost) {
  CreateNetSession();
  uint16_t port = 0;
  int listener = platform::RawTcpListen(0, &port);
  ASSERT_GE(listener, 0);
  std::atomic<double> joined{-1};
  std::thread join(
      [&] { joined = NetJoinSession("127.0.0.1", BasicString(std::to_string(port).c_str())); });
  RawPeer host(platform::RawTcpAccept(listener, 5000));
  ASSERT_GE(host.fd(), 0);
  Received r;
  ASSERT_TRUE(host.Read(r));  // the hidden request player's join
  ASSERT_TRUE(host.Send(Message(2, 7, 0)));
  ASSERT_TRUE(host.Read(r));  // the connection check
  Bytes one;
  PutI32(one, 1);
  ASSERT_TRUE(host.Send(Message(0x68, 7, 0, one)));
  join.join();
  ASSERT_EQ(joined, 1.0);

  auto text = [](int i) {
    std::string t = std::to_string(i) + ":";
    t.resize(1024, 't');
    return t;
  };
  int sent = 0;
  double t0 = platform::NowMs(), refusedAfter = 0;
  for (;;) {
    if (NetSendText("7", "8", BasicString(text(sent).c_str())) != 1.0) {
      refusedAfter = platform::NowMs() - t0;
      break;
    }
    ++sent;
    ASSERT_LT(platform::NowMs() - t0, 30000.0);
  }
  EXPECT_GT(sent, 1000);
  EXPECT_GE(refusedAfter, kNetStallMs);

  for (int i = 0; i < sent; ++i) {
    ASSERT_TRUE(host.Read(r, 10000)) << i;
    ASSERT_EQ(r.type, 3);
    ASSERT_EQ(r.text(), text(i));
  }
  ShutdownNetSession();
  ASSERT_TRUE(host.Read(r));
  EXPECT_EQ(r.type, 4);  // the goodbye, not the refused text
  platform::RawTcpClose(listener);
}

TEST(NetClient, JoinFailsWithoutAHost) {
  CreateNetSession();
  uint16_t port = FreePort();
  EXPECT_EQ(NetJoinSession("127.0.0.1", BasicString(std::to_string(port).c_str())), 0.0);
  EXPECT_EQ(gNetSession->connectionSocket, -1);
  EXPECT_EQ(S(NetCreatePlayer("nobody")), "-1");
  EXPECT_EQ(NetPlayerCount(), 0.0);
  EXPECT_EQ(S(NetPlayerName("101")), "NO_DATA");
  ShutdownNetSession();
}

TEST(NetCommands, PortTextsAndAddresses) {
  EXPECT_EQ(NetPortFromText(""), 26000);
  EXPECT_EQ(NetPortFromText("0"), 26000);
  EXPECT_EQ(NetPortFromText("-4"), 26000);
  EXPECT_EQ(NetPortFromText("abc"), 26000);
  EXPECT_EQ(NetPortFromText("2500.9"), 2500);
  EXPECT_EQ(NetPortFromText("65537"), 1);
  CreateNetSession();
  std::string list = S(NetGetLocalAddresses());
  EXPECT_NE(list.find("127.0.0.1"), std::string::npos) << list;
  ShutdownNetSession();
}
