#include "net/http_download.h"

#include <cctype>
#include <cmath>
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
// Header bytes kept for reading its fields.
constexpr size_t kHeaderKept = 65536;

// The value of the first well-formed Content-Length line of a header, or -1.
int64_t ContentLength(const std::string& header) {
  static const char kName[] = "content-length:";
  size_t lineStart = 0;
  while (lineStart < header.size()) {
    size_t lineEnd = header.find('\n', lineStart);
    if (lineEnd == std::string::npos) lineEnd = header.size();
    size_t nameLength = sizeof kName - 1;
    bool named = lineEnd - lineStart > nameLength;
    for (size_t i = 0; named && i < nameLength; ++i)
      named = std::tolower(static_cast<unsigned char>(header[lineStart + i])) == kName[i];
    if (named) {
      size_t i = lineStart + nameLength;
      while (i < lineEnd && (header[i] == ' ' || header[i] == '\t')) ++i;
      int64_t value = 0;
      size_t digits = 0;
      while (i < lineEnd && header[i] >= '0' && header[i] <= '9' && value < (int64_t(1) << 50)) {
        value = value * 10 + (header[i++] - '0');
        ++digits;
      }
      while (i < lineEnd && (header[i] == ' ' || header[i] == '\t' || header[i] == '\r')) ++i;
      if (digits > 0 && i == lineEnd) return value;
    }
    lineStart = lineEnd + 1;
  }
  return -1;
}

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
  std::string header;
  int64_t announced = -1;  // Content-Length, when the header gives one
  int64_t stored = 0;
  for (;;) {
    int32_t n = platform::nlRead(d.socket, buffer, kChunk);
    if (n < 0) break;
    int32_t start = 0;
    if (inHeader) {
      while (start < n && inHeader) {
        char c = buffer[start++];
        if (header.size() < kHeaderKept) header.push_back(c);
        if (c == '\n')
          ++lineEnds;
        else if (c != '\r')
          lineEnds = 0;
        if (lineEnds == 2) inHeader = false;
      }
      if (inHeader) continue;
      announced = ContentLength(header);
    }
    int64_t body = n - start;
    // Bytes beyond an announced length are not part of the body.
    if (announced >= 0 && body > announced - stored) body = announced - stored;
    if (body > 0 && platform::WriteFile(d.file, buffer + start, body) != body) return 0;
    stored += body;
  }
  if (platform::nlGetError() != platform::kNlMessageEnd) return 0;
  // Closed before the header ended (or before anything came), or before the
  // announced length arrived: a cut-short response, not kept.
  if (inHeader || (announced >= 0 && stored < announced)) {
    platform::CloseFile(d.file);
    d.file = platform::kNoFile;
    platform::DeleteFile(native.c_str());
    return 0;
  }
  return 1;
}
