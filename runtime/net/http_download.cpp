#include "net/http_download.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/number_truncate.h"
#include "platform/files.h"
#include "platform/net.h"
#include "platform/system.h"

namespace {

constexpr double kDefaultTimeoutMs = 30000.0;
constexpr int kRequestRoom = 4096;
constexpr int kChunk = 4095;
// Bytes kept of one header line for reading its field.
constexpr size_t kLineKept = 4096;

// What the Content-Length lines of a header announce, read line by line as
// the header arrives.
class AnnouncedLength {
 public:
  // One header line, its line end taken off; truncated when the line ran
  // past what was kept of it.
  void Line(const std::string& line, bool truncated) {
    static const char kName[] = "content-length:";
    const size_t nameLength = sizeof kName - 1;
    if (line.size() < nameLength) return;
    for (size_t i = 0; i < nameLength; ++i)
      if (std::tolower(static_cast<unsigned char>(line[i])) != kName[i]) return;
    if (truncated) {
      malformed_ = true;
      return;
    }
    // A list of one value, repeated (as proxies join repeated fields), is
    // that value; anything but digits is no length at all.
    size_t at = nameLength;
    for (;;) {
      while (at < line.size() && (line[at] == ' ' || line[at] == '\t' || line[at] == '\r')) ++at;
      size_t first = at;
      while (at < line.size() && line[at] >= '0' && line[at] <= '9') ++at;
      if (at == first) {
        malformed_ = true;
        return;
      }
      Value(line.substr(first, at - first));
      while (at < line.size() && (line[at] == ' ' || line[at] == '\t' || line[at] == '\r')) ++at;
      if (at == line.size()) break;
      if (line[at++] != ',') {
        malformed_ = true;
        return;
      }
    }
  }

  // No Content-Length line: the body ends at the close.
  bool Given() const { return !digits_.empty(); }
  // Negative, not a number, or lines that disagree.
  bool Malformed() const { return malformed_; }
  // The length; one too large for 64 bits stands as the largest, which no
  // body reaches.
  int64_t Bytes() const {
    if (digits_.size() > 18) return INT64_MAX;
    int64_t v = 0;
    for (char c : digits_) v = v * 10 + (c - '0');
    return v;
  }

 private:
  void Value(std::string digits) {
    size_t zeros = 0;
    while (zeros + 1 < digits.size() && digits[zeros] == '0') ++zeros;
    digits.erase(0, zeros);
    if (!digits_.empty() && digits_ != digits) malformed_ = true;
    digits_ = digits;
  }

  std::string digits_;  // without leading zeros; empty while none was given
  bool malformed_ = false;
};

// Owns the socket and the file of one download. The layer is left running:
// a session may be using it at the same time.
struct Download {
  platform::NLsocket socket = platform::kNlInvalid;
  int file = platform::kNoFile;
  ~Download() {
    if (socket != platform::kNlInvalid) platform::nlClose(socket);
    if (file != platform::kNoFile) platform::CloseFile(file);
  }
};

}  // namespace

double HttpTimeoutMs() {
  const char* text = std::getenv("ORVALE_HTTP_TIMEOUT");
  if (text && *text) {
    char* end = nullptr;
    double seconds = std::strtod(text, &end);
    if (end != text && seconds > 0 && std::isfinite(seconds)) return seconds * 1000.0;
  }
  return kDefaultTimeoutMs;
}

double HttpGetToFile(const BasicString& host, const BasicString& path, double port,
                     const BasicString& fileName) {
  return HttpGetToFileWithin(host, path, port, fileName, HttpTimeoutMs());
}

double HttpGetToFileWithin(const BasicString& host, const BasicString& path, double port,
                           const BasicString& fileName, double limitMs) {
  if (!platform::nlInit()) return 0;
  Download d;

  char request[kRequestRoom];
  int length = std::snprintf(request, sizeof request,
                             "GET %s HTTP/1.0\r\nHost:%s\r\nAccept: */*\r\n"
                             "User-Agent: Orvale game\r\n\r\n",
                             StrCStr(path), StrCStr(host));
  if (length < 0 || length >= kRequestRoom) return 0;  // does not fit: refused

  platform::nlSelectNetwork(platform::kNlIp);
  platform::nlEnable(platform::kNlTcpNoDelay);
  platform::nlEnable(platform::kNlBlockingIo);
  platform::NLaddress address{};
  uint16_t portNumber = uint16_t(uint64_t(TruncInt64(port)) & 0xFFFFu);
  bool found = platform::nlGetAddrFromName(StrCStr(host), &address) &&
               platform::nlSetAddrPort(&address, portNumber);
  if (found) d.socket = platform::nlOpen(0, platform::kNlReliable);
  // Only this download's socket blocks; later sockets are opened as usual.
  platform::nlDisable(platform::kNlBlockingIo);
  platform::nlDisable(platform::kNlTcpNoDelay);
  if (d.socket == platform::kNlInvalid) return 0;
  platform::nlSetTimeout(d.socket, limitMs);
  if (!platform::nlConnect(d.socket, &address)) return 0;

  std::string native = platform::NativePath(StrCStr(fileName));
  platform::DeleteFile(native.c_str());
  d.file = platform::CreateFileForWriting(native.c_str());
  if (d.file == platform::kNoFile) return 0;

  if (platform::nlWrite(d.socket, request, length) != length) return 0;

  // The body starts after the first empty line; line ends may be CR LF or
  // LF alone, and the header may arrive in any number of pieces.
  char buffer[kChunk];
  bool inHeader = true;
  int lineEnds = 0;
  std::string line;
  bool lineTruncated = false;
  AnnouncedLength field;
  int64_t announced = -1;  // Content-Length, when the header gives one
  int64_t stored = 0;
  for (;;) {
    int32_t n = platform::nlRead(d.socket, buffer, kChunk);
    if (n < 0) break;
    int32_t start = 0;
    if (inHeader) {
      while (start < n && inHeader) {
        char c = buffer[start++];
        if (c == '\n') {
          ++lineEnds;
          field.Line(line, lineTruncated);
          line.clear();
          lineTruncated = false;
        } else {
          if (c != '\r') lineEnds = 0;
          if (line.size() < kLineKept)
            line.push_back(c);
          else
            lineTruncated = true;
        }
        if (lineEnds == 2) inHeader = false;
      }
      if (inHeader) continue;
      // A length the body cannot be checked against: not a response to keep.
      if (field.Malformed()) break;
      if (field.Given()) announced = field.Bytes();
    }
    int64_t body = n - start;
    // Bytes beyond an announced length are not part of the body.
    if (announced >= 0 && body > announced - stored) body = announced - stored;
    if (body > 0 && platform::WriteFile(d.file, buffer + start, body) != body) return 0;
    stored += body;
  }
  const bool malformed = !inHeader && field.Malformed();
  if (!malformed && platform::nlGetError() != platform::kNlMessageEnd) return 0;
  // Closed before the header ended (or before anything came), or before the
  // announced length arrived, or with a length that is none: not kept.
  if (malformed || inHeader || (announced >= 0 && stored < announced)) {
    platform::CloseFile(d.file);
    d.file = platform::kNoFile;
    platform::DeleteFile(native.c_str());
    return 0;
  }
  return 1;
}
