#include "core/string_builtins.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>

#include "core/debug_support.h"
#include "core/number_truncate.h"
#include "core/runtime_error.h"
#include "platform/debug_link.h"

int32_t gNetLastSender = 0;

// Builds a string from n bytes of text.
static BasicString FromBytes(const char* p, uint32_t n) {
  BasicString r("");
  StrReserve(r, n);
  std::memcpy(r.buffer, p, n);
  r.buffer[n] = 0;
  StrSyncLength(r);
  return r;
}

BasicString MidString(const BasicString& text, double start, double count) {
  int64_t len = text.length;
  if (start != start || count != count) return BasicString("");
  int64_t s = TruncInt64(start);
  int64_t c = TruncInt64(count);
  // The end is read as an unsigned 32-bit number: a negative sum counts as
  // past the end and leaves the rest of the text.
  uint32_t end = uint32_t(uint64_t(TruncInt64(start + count)));
  if (int64_t(end) > len) c = len - s;
  if (c <= 0 || s < 0 || s > len) return BasicString("");
  if (c > len - s) c = len - s;
  return FromBytes(StrCStr(text) + s, uint32_t(c));
}

BasicString ReplaceString(const BasicString& text, const BasicString& find,
                          const BasicString& replacement) {
  BasicString work(text);
  uint32_t fl = find.length, rl = replacement.length;
  if (fl == 0 || StrCStr(find)[0] == 0) return work;
  const char* f = StrCStr(find);
  const char* r = StrCStr(replacement);
  uint32_t p = 0;
  while (p <= work.length) {
    const char* base = StrCStr(work);
    const char* hit = std::strstr(base + p, f);
    if (!hit) break;
    uint32_t at = uint32_t(hit - base);
    if (fl == rl) {
      std::memcpy(work.buffer + at, r, rl);
    } else {
      BasicString next = FromBytes(base, at);
      StrAppend(next, replacement);
      StrAppendCStr(next, base + at + fl);
      work = std::move(next);
    }
    p = at + rl;
  }
  return work;
}

double StrLengthNumber(const BasicString& s) { return double(s.length); }

double NumberTextLength(double v) {
  char buf[64];
  return double(FormatNumber(v, buf));
}

double AscCode(const BasicString& s) {
  if (s.length == 0) return 0.0;
  return double(int8_t(s.buffer[0]));
}

BasicString ChrString(double code) {
  char c = char(uint8_t(uint16_t(int16_t(TruncInt32(code) & 0xFFFF)) & 0xFF));
  if (c == 0) return BasicString("");
  return FromBytes(&c, 1);
}

BasicString HexBytes(const uint8_t* bytes, int32_t count) {
  static const char kDigits[] = "0123456789ABCDEF";
  BasicString r("");
  if (!bytes || count <= 0) return r;
  StrReserve(r, uint32_t(count) * 2);
  for (int32_t i = 0; i < count; ++i) {
    r.buffer[2 * i] = kDigits[bytes[i] >> 4];
    r.buffer[2 * i + 1] = kDigits[bytes[i] & 15];
  }
  r.length = uint32_t(count) * 2;
  r.buffer[r.length] = 0;
  return r;
}

BasicString FormatNumber(double width, double precision, double value) {
  int32_t w = TruncInt32(width);
  int32_t p = TruncInt32(precision);
  bool left = w < 0;
  if (left) w = w == INT32_MIN ? INT32_MAX : -w;
  if (w > 255) w = 255;      // the text stays within 255 characters
  if (p < 0) p = 6;          // printf's default when no precision is given
  if (p > 100) p = 100;
  char num[512];
  int n;
  if (value != value) {
    n = std::snprintf(num, sizeof num, "%s", std::signbit(value) ? "-nan" : "nan");
  } else {
    auto res = std::to_chars(num, num + sizeof num - 1, value, std::chars_format::fixed, p);
    if (res.ec != std::errc()) {
      std::strcpy(num, "0");
      res.ptr = num + 1;
    }
    n = int(res.ptr - num);
  }
  if (n > 255) n = 255;
  char out[512];
  int pad = w > n ? w - n : 0;
  int k = 0;
  if (!left) {
    std::memset(out, ' ', pad);
    k = pad;
  }
  std::memcpy(out + k, num, n);
  k += n;
  if (left) {
    std::memset(out + k, ' ', pad);
    k += pad;
  }
  if (k > 255) k = 255;
  return FromBytes(out, uint32_t(k));
}

void DebugPrint(const BasicString& text) {
  if (platform::DebugLinkPresent()) {
    DebugSendText(StrCStr(text));
    return;
  }
  // Without a debugger the text is shown on standard output.
  std::fwrite(StrCStr(text), 1, text.length, stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

void EndStatement() {
  SetRuntimeError(kErrorEnd);
  EndProgram();
}

BasicString NetLastSenderText() {
  BasicString r;
  StrAssignInt(r, gNetLastSender);
  return r;
}
