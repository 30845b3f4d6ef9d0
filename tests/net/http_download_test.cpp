// HttpGetToFile against a small server on 127.0.0.1 that answers in
// scripted pieces.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "net/http_download.h"
#include "net/net_commands.h"
#include "net/net_session.h"
#include "platform/files.h"
#include "platform/raw_tcp.h"
#include "platform/system.h"
#include "platform/temp_file.h"
#include "raw_peer.h"

namespace {

enum class Ending { Close, Stall, Reset };

// Serves one connection: reads the request up to its empty line, sends the
// pieces with a pause between them, then ends as told.
class HttpServer {
 public:
  HttpServer(std::vector<std::string> pieces, Ending ending = Ending::Close)
      : pieces_(std::move(pieces)), ending_(ending) {
    listener_ = platform::RawTcpListen(0, &port_);
    thread_ = std::thread([this] { Serve(); });
  }
  ~HttpServer() {
    release_ = true;
    thread_.join();
    platform::RawTcpClose(listener_);
  }
  uint16_t port() const { return port_; }
  std::string request() {
    thread_.join();
    thread_ = std::thread([] {});
    return request_;
  }

 private:
  void Serve() {
    int fd = platform::RawTcpAccept(listener_, 5000);
    if (fd < 0) return;
    char buffer[4096];
    while (request_.find("\r\n\r\n") == std::string::npos) {
      int64_t n = platform::RawTcpRecv(fd, buffer, sizeof buffer, 5000);
      if (n <= 0) break;
      request_.append(buffer, size_t(n));
    }
    for (const std::string& p : pieces_) {
      platform::RawTcpSend(fd, p.data(), int64_t(p.size()));
      platform::SleepMs(40);  // each piece its own read
    }
    if (ending_ == Ending::Stall) {
      double end = platform::NowMs() + 10000;
      while (!release_ && platform::NowMs() < end) platform::SleepMs(10);
    }
    if (ending_ == Ending::Reset)
      platform::RawTcpReset(fd);
    else
      platform::RawTcpClose(fd);
  }

  std::vector<std::string> pieces_;
  Ending ending_;
  int listener_ = -1;
  uint16_t port_ = 0;
  std::string request_;
  std::atomic<bool> release_{false};
  std::thread thread_;
};

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class HttpDownload : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = platform::MakePrivateFolder("http-test-");
    ASSERT_FALSE(folder_.empty());
    folder_.pop_back();  // the trailing '/'
  }
  void TearDown() override {
    for (const platform::FolderEntry& e : platform::ListFolder(folder_.c_str()))
      if (!e.isFolder) platform::DeleteFile((folder_ + "/" + e.name).c_str());
    platform::RemoveFolder(folder_);
  }
  std::string folder_;
};

}  // namespace

TEST_F(HttpDownload, SendsTheExactRequestAndStoresTheBody) {
  HttpServer server({"HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nline one\r\n\r\nend"});
  std::string file = folder_ + "/body.txt";
  EXPECT_EQ(HttpGetToFile("127.0.0.1", "/files/a.txt?x=1", server.port(), file.c_str()), 1.0);
  EXPECT_EQ(server.request(),
            "GET /files/a.txt?x=1 HTTP/1.0\r\nHost:127.0.0.1\r\nAccept: */*\r\n"
            "User-Agent: Orvale game\r\n\r\n");
  EXPECT_EQ(ReadAll(file), "line one\r\n\r\nend");
}

TEST_F(HttpDownload, HeaderEndsWhereverTheReadsSplitIt) {
  struct Case {
    std::vector<std::string> pieces;
    std::string body;
  } cases[] = {
      {{"HTTP/1.0 200 OK\r\nA: b\r", "\n\r", "\nbody", " and more"}, "body and more"},
      {{"HTTP/1.0 200 OK\r\n", "\r\n"}, ""},
      {{"HTTP/1.0 200 OK\nX: y\n", "\nlf body"}, "lf body"},
      {{"HTTP/1.0 200 OK\r\n\r\n", std::string(10000, 'b'), std::string(5000, 'c')},
       std::string(10000, 'b') + std::string(5000, 'c')},
  };
  int i = 0;
  for (const Case& c : cases) {
    HttpServer server(c.pieces);
    std::string file = folder_ + "/split" + std::to_string(i++);
    EXPECT_EQ(HttpGetToFile("localhost", "/", server.port(), file.c_str()), 1.0) << i;
    EXPECT_EQ(ReadAll(file), c.body) << i;
  }
}

// An announced length must arrive whole, however large; a length that is
// none (negative, not digits, two that disagree) makes the response
// malformed; a response without one ends at the close, and one that never
// finishes its header is no response.
TEST_F(HttpDownload, ResponsesCutShortFailAndLeaveNoFile) {
  struct Case {
    std::vector<std::string> pieces;
    double result;
    std::string body;  // when the result is 1
  } cases[] = {
      {{"HTTP/1.0 200 OK\r\nContent-Length: 3000\r\n\r\n", std::string(1500, 'h')}, 0, ""},
      {{"HTTP/1.0 200 OK\r\ncontent-length:10\r\n\r\n0123456789"}, 1, "0123456789"},
      {{"HTTP/1.0 200 OK\r\nCONTENT-LENGTH: 4 \r\n\r\n", "abcdef"}, 1, "abcd"},
      {{"HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\n"}, 1, ""},
      {{"HTTP/1.0 200 OK\r\nX-Content-Length: 9\r\n\r\nfree"}, 1, "free"},
      {{"HTTP/1.0 200 OK\r\n\r\n", std::string(7000, 'n')}, 1, std::string(7000, 'n')},
      {{}, 0, ""},
      {{"HTTP/1.0 200 OK\r\nno empty line"}, 0, ""},
      {{"HTTP/1.0 200 OK\r\nContent-Length: 5\r\n"}, 0, ""},
      // Lengths too large for any counter can still not arrive.
      {{"HTTP/1.0 200 OK\r\nContent-Length: 1000000000000000000\r\n\r\n0123456789"}, 0, ""},
      {{"HTTP/1.0 200 OK\r\nContent-Length: 99999999999999999999999999\r\n\r\n", "abc"}, 0, ""},
      // No length the body can be checked against: malformed.
      {{"HTTP/1.0 200 OK\r\nContent-Length: -5\r\n\r\n0123456789"}, 0, ""},
      {{"HTTP/1.0 200 OK\r\nContent-Length: 4\r\nContent-Length: 10\r\n\r\n0123456789"}, 0, ""},
      {{"HTTP/1.0 200 OK\r\nContent-Length: 10\r\nX: y\r\ncontent-length: 4\r\n\r\n0123456789"},
       0, ""},
      {{"HTTP/1.0 200 OK\r\nContent-Length: 4, 10\r\n\r\n0123456789"}, 0, ""},
      {{"HTTP/1.0 200 OK\r\nContent-Length: ten\r\n\r\n0123456789"}, 0, ""},
      {{"HTTP/1.0 200 OK\r\nContent-Length:\r\n\r\n0123456789"}, 0, ""},
      {{"HTTP/1.0 200 OK\r\nContent-Length: " + std::string(5000, '0') + "4\r\n\r\nabcdef"}, 0, ""},
      // One length given twice (or as a list of itself) stays that length.
      {{"HTTP/1.0 200 OK\r\nContent-Length: 4\r\nContent-Length: 4\r\n\r\n0123456789"}, 1, "0123"},
      {{"HTTP/1.0 200 OK\r\nContent-Length: 4\r\nContent-Length: 004\r\n\r\n", "0123"}, 1, "0123"},
      {{"HTTP/1.0 200 OK\r\nContent-Length: 6, 6\r\n\r\n0123456789"}, 1, "012345"},
      {{"HTTP/1.0 200 OK\r\nContent-Length: 10\r\nContent-Length: 10\r\n\r\n01234"}, 0, ""},
  };
  int i = 0;
  for (const Case& c : cases) {
    HttpServer server(c.pieces);
    std::string file = folder_ + "/cut" + std::to_string(i++);
    EXPECT_EQ(HttpGetToFile("127.0.0.1", "/", server.port(), file.c_str()), c.result) << i;
    if (c.result == 1)
      EXPECT_EQ(ReadAll(file), c.body) << i;
    else
      EXPECT_EQ(platform::OpenFileForReading(file.c_str()), platform::kNoFile) << i;
  }
}

TEST_F(HttpDownload, BackslashesNameFolders) {
  HttpServer server({"HTTP/1.0 200 OK\r\n\r\nsaved"});
  std::string folder = folder_;
  std::string name = folder + "\\saved.bin";
  EXPECT_EQ(HttpGetToFile("127.0.0.1", "/", server.port(), name.c_str()), 1.0);
  EXPECT_EQ(ReadAll(folder_ + "/saved.bin"), "saved");
}

TEST_F(HttpDownload, FailuresGiveZero) {
  // A file that cannot be created.
  {
    HttpServer server({"HTTP/1.0 200 OK\r\n\r\ndata"});
    std::string file = folder_ + "/no/such/folder/file.txt";
    EXPECT_EQ(HttpGetToFile("127.0.0.1", "/", server.port(), file.c_str()), 0.0);
  }
  // Nobody listens.
  EXPECT_EQ(HttpGetToFile("127.0.0.1", "/", nettest::FreePort(), (folder_ + "/x").c_str()), 0.0);
  // A request that does not fit its buffer is not sent.
  EXPECT_EQ(HttpGetToFile("127.0.0.1", BasicString(std::string(5000, 'p').c_str()), 1,
                          (folder_ + "/y").c_str()),
            0.0);
  // A reset in the middle of the body.
  {
    HttpServer server({"HTTP/1.0 200 OK\r\n\r\npart of"}, Ending::Reset);
    std::string file = folder_ + "/reset.txt";
    EXPECT_EQ(HttpGetToFile("127.0.0.1", "/", server.port(), file.c_str()), 0.0);
  }
}

TEST_F(HttpDownload, AStallingServerIsGivenUpOn) {
  for (auto pieces : {std::vector<std::string>{}, std::vector<std::string>{"HTTP/1.0 200 OK\r\n\r\nsome"}}) {
    HttpServer server(pieces, Ending::Stall);
    std::string file = folder_ + "/stall.txt";
    double t0 = platform::NowMs();
    EXPECT_EQ(HttpGetToFileWithin("127.0.0.1", "/", server.port(), file.c_str(), 300), 0.0);
    double spent = platform::NowMs() - t0;
    EXPECT_LT(spent, 3000.0);
    EXPECT_EQ(ReadAll(file), pieces.empty() ? "" : "some");  // kept as far as it came
  }
}

TEST_F(HttpDownload, LeavesARunningSessionAlone) {
  CreateNetSession();
  uint16_t port = nettest::FreePort();
  ASSERT_EQ(NetHostSession(BasicString(std::to_string(port).c_str())), 1.0);
  ASSERT_EQ(std::string(StrCStr(NetCreatePlayer("Alice"))), "101");
  {
    HttpServer server({"HTTP/1.0 200 OK\r\n\r\nok"});
    EXPECT_EQ(HttpGetToFile("127.0.0.1", "/", server.port(), (folder_ + "/s").c_str()), 1.0);
  }
  EXPECT_EQ(NetPlayerCount(), 1.0);
  EXPECT_EQ(NetSendText("101", "101", "still on"), 1.0);
  std::string got;
  double end = platform::NowMs() + 5000;
  while (got.empty() && platform::NowMs() < end) got = StrCStr(NetGetMessage("101"));
  EXPECT_EQ(got, "still on");
  ShutdownNetSession();
}
