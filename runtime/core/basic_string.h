// BasicString: the runtime's string value.
//
// Three fields: buffer (always NUL-terminated at length), capacity (0 while
// the buffer is the shared empty buffer, otherwise a multiple of 512 greater
// than length) and length. The free functions carry the runtime's string
// rules; the C++ members are thin conveniences over them.
#pragma once

#include <cstdint>

struct BasicString;

extern char* const gEmptyStringBuffer;  // one static NUL byte, never written

void StrInit(BasicString& s);
void StrRelease(BasicString& s);
void StrReserve(BasicString& s, uint32_t n);
void StrFromCStr(BasicString& s, const char* text);
void StrCopy(BasicString& s, const BasicString& src);
void StrFromInt(BasicString& s, int32_t v);
void StrFromFloat(BasicString& s, float v);
void StrFromDouble(BasicString& s, double v);
BasicString& StrAssignCStr(BasicString& s, const char* text);
void StrSetCStr(BasicString& s, const char* text);
BasicString& StrAssign(BasicString& s, const BasicString& src);
BasicString& StrAssignInt(BasicString& s, int32_t v);
BasicString& StrAssignFloat(BasicString& s, float v);
BasicString& StrAssignDouble(BasicString& s, double v);
char* StrAssignCStrExact(BasicString& s, const char* text);
BasicString& StrAppendCStr(BasicString& s, const char* text);
BasicString& StrAppend(BasicString& s, const BasicString& src);
char* StrGetBuffer(BasicString& s, uint32_t n);
void StrSyncLength(BasicString& s);
void StrTruncateAt(BasicString& s, int32_t index);
const char* StrCStr(const BasicString& s);
uint32_t StrLength(const BasicString& s);
int32_t StrCharAt(const BasicString& s, int32_t index);
void StrSetCharAt(BasicString& s, int32_t index, uint8_t byte);
double StrToNumber(const BasicString& s);

// Locale-free conversions shared by the string type and the built-ins.
// FormatNumber writes the 10-significant-digit text of v into out (at least
// 32 bytes) and returns its length. ParseNumber reads a leading decimal
// number (white space, sign, digits, point, exponent) and returns 0.0 when
// the text has none; *consumed, when given, receives the characters used.
int FormatNumber(double v, char* out);
double ParseNumber(const char* text, int* consumed = nullptr);

struct BasicString {
  char* buffer;
  uint32_t capacity;
  uint32_t length;

  BasicString() { StrInit(*this); }
  BasicString(const char* text) { StrFromCStr(*this, text); }
  BasicString(const BasicString& o) { StrCopy(*this, o); }
  BasicString(BasicString&& o) noexcept : buffer(o.buffer), capacity(o.capacity), length(o.length) {
    StrInit(o);
  }
  ~BasicString() { StrRelease(*this); }

  BasicString& operator=(const BasicString& o) { return StrAssign(*this, o); }
  BasicString& operator=(BasicString&& o) noexcept {
    if (this != &o) {
      StrRelease(*this);
      buffer = o.buffer;
      capacity = o.capacity;
      length = o.length;
      StrInit(o);
    }
    return *this;
  }
  BasicString& operator=(const char* text) { return StrAssignCStr(*this, text); }

  const char* c_str() const { return StrCStr(*this); }
  uint32_t size() const { return length; }
  bool empty() const { return length == 0; }
};
