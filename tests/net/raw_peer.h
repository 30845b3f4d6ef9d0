// Raw TCP peers for the network tests: byte streams on 127.0.0.1, with
// messages built byte by byte.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/raw_tcp.h"
#include "platform/system.h"

namespace nettest {

using Bytes = std::vector<uint8_t>;

inline void PutI32(Bytes& b, int32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(uint8_t(uint32_t(v) >> (8 * i)));
}

inline int32_t GetI32(const uint8_t* p) {
  return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                 uint32_t(p[3]) << 24);
}

// One message: "ORVN", type, payload length, target, sender, payload.
inline Bytes Message(uint8_t type, int32_t target, int32_t sender, const Bytes& payload = {},
                     const char* magic = "ORVN") {
  Bytes b(magic, magic + 4);
  b.push_back(type);
  PutI32(b, int32_t(payload.size()));
  PutI32(b, target);
  PutI32(b, sender);
  b.insert(b.end(), payload.begin(), payload.end());
  return b;
}

inline Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

// A 152-byte join payload: socket -1, id -1, inactive, hostFlag 0, name
// (not terminated when it fills all 128 bytes), padding, queue words.
inline Bytes JoinPayload(const std::string& name, uint8_t inactive = 0) {
  Bytes b;
  PutI32(b, -1);
  PutI32(b, -1);
  b.push_back(inactive);
  b.push_back(0);
  Bytes n(128, 0);
  std::memcpy(n.data(), name.data(), name.size() < 128 ? name.size() : 128);
  b.insert(b.end(), n.begin(), n.end());
  b.resize(152, 0);
  return b;
}

struct Received {
  uint8_t type = 0;
  int32_t target = 0;
  int32_t sender = 0;
  Bytes payload;
  std::string text() const { return std::string(payload.begin(), payload.end()); }
};

// A port that was free a moment ago.
inline uint16_t FreePort() {
  uint16_t port = 0;
  int fd = platform::RawTcpListen(0, &port);
  platform::RawTcpClose(fd);
  return port;
}

class RawPeer {
 public:
  RawPeer() = default;
  explicit RawPeer(int fd) : fd_(fd) {}
  RawPeer(const RawPeer&) = delete;
  RawPeer& operator=(const RawPeer&) = delete;
  ~RawPeer() { Close(); }

  bool Connect(uint16_t port) {
    fd_ = platform::RawTcpConnect(port, 5000);
    return fd_ >= 0;
  }
  void Close() {
    platform::RawTcpClose(fd_);
    fd_ = -1;
  }
  int fd() const { return fd_; }

  bool Send(const Bytes& b) { return platform::RawTcpSend(fd_, b.data(), int64_t(b.size())); }

  // Exactly n bytes within ms; false on end of stream or time out.
  bool ReadBytes(size_t n, Bytes& out, double ms = 5000) {
    double end = platform::NowMs() + ms;
    while (buffer_.size() < n) {
      uint8_t chunk[65536];
      double left = end - platform::NowMs();
      if (left <= 0) return false;
      int64_t r = platform::RawTcpRecv(fd_, chunk, sizeof chunk, left);
      if (r <= 0) return false;
      buffer_.insert(buffer_.end(), chunk, chunk + r);
    }
    out.assign(buffer_.begin(), buffer_.begin() + std::ptrdiff_t(n));
    buffer_.erase(buffer_.begin(), buffer_.begin() + std::ptrdiff_t(n));
    return true;
  }

  bool Read(Received& m, double ms = 5000) {
    Bytes h;
    if (!ReadBytes(17, h, ms)) return false;
    if (std::memcmp(h.data(), "ORVN", 4) != 0) return false;
    m.type = h[4];
    uint32_t length = uint32_t(GetI32(&h[5]));
    m.target = GetI32(&h[9]);
    m.sender = GetI32(&h[13]);
    return ReadBytes(length, m.payload, ms);
  }

  // True when the other end closed the connection within ms.
  bool EndsWithin(double ms) {
    double end = platform::NowMs() + ms;
    for (;;) {
      double left = end - platform::NowMs();
      if (left <= 0) return false;
      uint8_t chunk[4096];
      int64_t r = platform::RawTcpRecv(fd_, chunk, sizeof chunk, left);
      if (r == 0 || r == -1) return true;
      if (r == -2) return false;
    }
  }

  // Joins as a player of that name; the id from the host's reply, or -1.
  int32_t Join(const std::string& name, uint8_t inactive = 0) {
    if (!Send(Message(1, 0, 0, JoinPayload(name, inactive)))) return -1;
    Received r;
    if (!Read(r) || r.type != 2 || r.sender != 0 || !r.payload.empty()) return -1;
    return r.target;
  }

 private:
  int fd_ = -1;
  Bytes buffer_;
};

}  // namespace nettest
