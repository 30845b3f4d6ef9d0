#include "core/basic_string.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

static char sEmptyByte = 0;
char* const gEmptyStringBuffer = &sEmptyByte;
static const char kStaticEmpty[1] = {0};

static void FreeBuffer(BasicString& s) {
  if (s.buffer && s.buffer != gEmptyStringBuffer) delete[] s.buffer;
}

void StrInit(BasicString& s) {
  s.buffer = gEmptyStringBuffer;
  s.capacity = 0;
  s.length = 0;
}

void StrRelease(BasicString& s) {
  FreeBuffer(s);
  s.buffer = nullptr;
  s.capacity = 0;
  s.length = 0;
}

void StrReserve(BasicString& s, uint32_t n) {
  if (s.capacity > n) return;
  uint64_t cap = (uint64_t(n) & ~uint64_t(511)) + 512;
  char* fresh = new char[cap];
  if (s.buffer == gEmptyStringBuffer || s.buffer == nullptr) {
    fresh[0] = 0;
  } else {
    // The old text ends at its NUL or, at the latest, at the old capacity.
    uint32_t keep = 0;
    while (keep < s.capacity && s.buffer[keep]) ++keep;
    std::memcpy(fresh, s.buffer, keep);
    fresh[keep] = 0;
    delete[] s.buffer;
  }
  s.buffer = fresh;
  s.capacity = uint32_t(cap);
}

// Copies up to n characters, stopping at a NUL and filling the rest with NULs.
static void CopyChars(char* dst, const char* src, uint32_t n) {
  uint32_t i = 0;
  for (; i < n && src[i]; ++i) dst[i] = src[i];
  for (; i < n; ++i) dst[i] = 0;
}

void StrFromCStr(BasicString& s, const char* text) {
  StrInit(s);
  uint32_t n = text ? uint32_t(std::strlen(text)) : 0;
  StrReserve(s, n);
  if (n) std::memcpy(s.buffer, text, n);
  s.length = n;
  s.buffer[n] = 0;
}

void StrCopy(BasicString& s, const BasicString& src) {
  StrInit(s);
  uint32_t n = src.length;
  StrReserve(s, n);
  CopyChars(s.buffer, src.buffer ? src.buffer : kStaticEmpty, n);
  s.length = n;
  s.buffer[n] = 0;
}

static void SetFromText(BasicString& s, const char* text, uint32_t n) {
  // The source may live inside s's own buffer: keep it alive until copied.
  char* old = nullptr;
  if (s.capacity <= n && text >= s.buffer && text < s.buffer + s.capacity) {
    old = s.buffer;
    s.buffer = new char[1]{0};
    s.capacity = 1;
  }
  s.length = n;
  StrReserve(s, n);
  std::memmove(s.buffer, text, n);
  s.buffer[n] = 0;
  delete[] old;
}

BasicString& StrAssignCStr(BasicString& s, const char* text) {
  if (!text) text = kStaticEmpty;
  SetFromText(s, text, uint32_t(std::strlen(text)));
  return s;
}

void StrSetCStr(BasicString& s, const char* text) { StrAssignCStr(s, text); }

BasicString& StrAssign(BasicString& s, const BasicString& src) {
  if (&s == &src) return s;
  uint32_t n = src.length;
  // Characters after an embedded NUL copy as NULs, as in StrCopy.
  uint32_t textLen = 0;
  while (textLen < n && src.buffer[textLen]) ++textLen;
  SetFromText(s, src.buffer, textLen);
  if (n > textLen) {
    StrReserve(s, n);
    std::memset(s.buffer + textLen, 0, n - textLen + 1);
    s.length = n;
  }
  return s;
}

void StrFromInt(BasicString& s, int32_t v) {
  StrInit(s);
  StrAssignInt(s, v);
}

void StrFromFloat(BasicString& s, float v) {
  StrInit(s);
  StrAssignDouble(s, double(v));
}

void StrFromDouble(BasicString& s, double v) {
  StrInit(s);
  StrAssignDouble(s, v);
}

BasicString& StrAssignInt(BasicString& s, int32_t v) {
  StrReserve(s, 64);
  auto r = std::to_chars(s.buffer, s.buffer + 63, v);
  *r.ptr = 0;
  s.length = uint32_t(r.ptr - s.buffer);
  return s;
}

BasicString& StrAssignFloat(BasicString& s, float v) { return StrAssignDouble(s, double(v)); }

BasicString& StrAssignDouble(BasicString& s, double v) {
  StrReserve(s, 64);
  s.length = uint32_t(FormatNumber(v, s.buffer));
  return s;
}

char* StrAssignCStrExact(BasicString& s, const char* text) {
  if (!text) text = kStaticEmpty;
  uint32_t n = uint32_t(std::strlen(text));
  char* fresh = new char[n + 1];
  std::memcpy(fresh, text, n + 1);
  FreeBuffer(s);
  s.buffer = fresh;
  s.length = n;
  s.capacity = n + 1;
  return fresh;
}

BasicString& StrAppendCStr(BasicString& s, const char* text) {
  if (!text || !*text) return s;
  uint32_t add = uint32_t(std::strlen(text));
  uint32_t old = s.length;
  // Text taken from our own buffer must survive the reallocation.
  if (text >= s.buffer && text < s.buffer + s.capacity) {
    BasicString copy(text);
    return StrAppend(s, copy);
  }
  StrReserve(s, old + add);
  std::memcpy(s.buffer + old, text, add);
  s.length = old + add;
  s.buffer[s.length] = 0;
  return s;
}

BasicString& StrAppend(BasicString& s, const BasicString& src) {
  uint32_t old = s.length;
  uint32_t add = src.length;
  StrReserve(s, old + add);
  // src may be s itself: read its buffer after the reserve.
  CopyChars(s.buffer + old, src.buffer, add);
  s.length = old + add;
  s.buffer[s.length] = 0;
  return s;
}

char* StrGetBuffer(BasicString& s, uint32_t n) {
  StrReserve(s, n);
  return s.buffer;
}

void StrSyncLength(BasicString& s) {
  s.length = 0;
  if (s.capacity == 0 || !s.buffer || s.buffer[0] == 0) return;
  while (s.length < s.capacity && s.buffer[s.length]) ++s.length;
  // A buffer without a NUL keeps its full capacity as length; terminate it
  // in one more byte so the string stays terminated.
  if (s.length == s.capacity) {
    uint32_t n = s.length;
    char* fresh = new char[(uint64_t(n) & ~uint64_t(511)) + 512];
    std::memcpy(fresh, s.buffer, n);
    fresh[n] = 0;
    delete[] s.buffer;
    s.buffer = fresh;
    s.capacity = (n & ~511u) + 512;
  }
}

void StrTruncateAt(BasicString& s, int32_t index) {
  if (index >= 0 && uint32_t(index) < s.capacity) s.buffer[index] = 0;
  StrSyncLength(s);
}

const char* StrCStr(const BasicString& s) { return s.length == 0 ? kStaticEmpty : s.buffer; }

uint32_t StrLength(const BasicString& s) { return s.length; }

int32_t StrCharAt(const BasicString& s, int32_t index) {
  if (s.length == 0) return 0;
  if (index < 0 || uint32_t(index) >= s.capacity) return 0;
  return int32_t(int8_t(s.buffer[index]));
}

void StrSetCharAt(BasicString& s, int32_t index, uint8_t byte) {
  if (index < 0 || uint32_t(index) >= s.capacity) return;
  s.buffer[index] = char(byte);
}

double StrToNumber(const BasicString& s) { return ParseNumber(StrCStr(s)); }

// Ten significant digits, fixed form while the decimal exponent p (value =
// 0.d1d2... x 10^p) satisfies -1 <= p - 1 <= 9, exponential form otherwise;
// trailing fraction zeros removed, a bare trailing point removed.
int FormatNumber(double v, char* out) {
  if (std::isnan(v)) {
    std::strcpy(out, "nan");
    return 3;
  }
  if (std::isinf(v)) {
    std::strcpy(out, v < 0 ? "-inf" : "inf");
    return v < 0 ? 4 : 3;
  }
  char tmp[400];
  int n = 0;
  if (v == 0.0) {
    std::strcpy(out, "0");
    return 1;
  }
  // The shortest round-trip form carries the value's own decimal exponent.
  auto sr = std::to_chars(tmp, tmp + sizeof tmp, v, std::chars_format::scientific);
  *sr.ptr = 0;
  const char* e = std::strchr(tmp, 'e');
  int exp10 = std::atoi(e + 1);
  int p = exp10 + 1;
  if (p - 1 < -1 || p - 1 > 9) {
    auto r = std::to_chars(tmp, tmp + sizeof tmp, v, std::chars_format::scientific, 9);
    *r.ptr = 0;
    char* ep = std::strchr(tmp, 'e');
    int ex = std::atoi(ep + 1);
    *ep = 0;
    // Strip trailing zeros of the fraction, keeping the point.
    char* end = ep;
    while (end > tmp && end[-1] == '0') --end;
    *end = 0;
    n = int(end - tmp);
    std::memcpy(out, tmp, n);
    int ax = ex < 0 ? -ex : ex;
    out[n++] = 'e';
    out[n++] = ex < 0 ? '-' : '+';
    out[n++] = char('0' + (ax / 100) % 10);
    out[n++] = char('0' + (ax / 10) % 10);
    out[n++] = char('0' + ax % 10);
    out[n] = 0;
  } else {
    int prec = 10 - p;
    auto r = std::to_chars(tmp, tmp + sizeof tmp, v, std::chars_format::fixed, prec);
    *r.ptr = 0;
    n = int(r.ptr - tmp);
    if (std::strchr(tmp, '.')) {
      while (n > 0 && tmp[n - 1] == '0') --n;
    }
    tmp[n] = 0;
    std::memcpy(out, tmp, n + 1);
  }
  if (std::strcmp(out, ".0") == 0) {
    std::strcpy(out, "0");
    return 1;
  }
  if (n > 0 && out[n - 1] == '.') out[--n] = 0;
  return n;
}

static bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Power of ten of the first non-zero digit of the number text [p, end)
// (digits, an optional point and fraction, an optional exponent).
static int64_t DecimalMagnitude(const char* p, const char* end) {
  int64_t integerDigits = 0, digits = 0, firstSignificant = -1;
  bool fraction = false;
  for (; p < end && (IsDigit(*p) || *p == '.'); ++p) {
    if (*p == '.') {
      fraction = true;
      continue;
    }
    if (!fraction) ++integerDigits;
    if (firstSignificant < 0 && *p != '0') firstSignificant = digits;
    ++digits;
  }
  if (firstSignificant < 0) return INT64_MIN;  // all zeros
  int64_t exponent = 0;
  if (p < end && (*p == 'e' || *p == 'E')) {
    ++p;
    const bool negative = p < end && *p == '-';
    if (p < end && (*p == '+' || *p == '-')) ++p;
    for (; p < end && IsDigit(*p); ++p)
      if (exponent < 1000000) exponent = exponent * 10 + (*p - '0');
    if (negative) exponent = -exponent;
  }
  return integerDigits - 1 - firstSignificant + exponent;
}

double ParseNumber(const char* text, int* consumed) {
  if (consumed) *consumed = 0;
  if (!text) return 0.0;
  const char* p = text;
  while (IsSpace(*p)) ++p;
  bool neg = false;
  if (*p == '+' || *p == '-') neg = (*p++ == '-');
  const char* start = p;
  const char* q = p;
  int digits = 0;
  while (IsDigit(*q)) ++q, ++digits;
  if (*q == '.') {
    ++q;
    while (IsDigit(*q)) ++q, ++digits;
  }
  if (digits == 0) return 0.0;
  if (*q == 'e' || *q == 'E') {
    const char* x = q + 1;
    if (*x == '+' || *x == '-') ++x;
    if (IsDigit(*x)) {
      while (IsDigit(*x)) ++x;
      q = x;
    }
  }
  double value = 0.0;
  auto r = std::from_chars(start, q, value, std::chars_format::general);
  if (r.ec == std::errc::result_out_of_range) {
    // Too large gives infinity, too small gives zero, decided by the decimal
    // magnitude of the first significant digit plus the exponent.
    value = DecimalMagnitude(start, q) > 0 ? HUGE_VAL : 0.0;
  }
  if (consumed) *consumed = int(q - text);
  return neg ? -value : value;
}
