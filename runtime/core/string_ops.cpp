#include "core/string_ops.h"

#include <cstring>

BasicString& StrAppendInt(BasicString& s, int32_t v) {
  BasicString t;
  StrAssignInt(t, v);
  return StrAppend(s, t);
}

BasicString& StrAppendFloat(BasicString& s, float v) {
  BasicString t;
  StrAssignFloat(t, v);
  return StrAppend(s, t);
}

BasicString& StrAppendDouble(BasicString& s, double v) {
  BasicString t;
  StrAssignDouble(t, v);
  return StrAppend(s, t);
}

// The left operand of a join, as a new string.
static BasicString Left(const BasicString& a) { return BasicString(a); }
static BasicString Left(const char* a) { return BasicString(a); }
static BasicString Left(int32_t a) {
  BasicString s;
  StrAssignInt(s, a);
  return s;
}
static BasicString Left(float a) {
  BasicString s;
  StrAssignFloat(s, a);
  return s;
}
static BasicString Left(double a) {
  BasicString s;
  StrAssignDouble(s, a);
  return s;
}

static void Right(BasicString& s, const BasicString& b) { StrAppend(s, b); }
static void Right(BasicString& s, const char* b) { StrAppendCStr(s, b); }
static void Right(BasicString& s, int32_t b) { StrAppendInt(s, b); }
static void Right(BasicString& s, float b) { StrAppendFloat(s, b); }
static void Right(BasicString& s, double b) { StrAppendDouble(s, b); }

template <typename A, typename B>
static BasicString Join(A a, B b) {
  BasicString s = Left(a);
  Right(s, b);
  return s;
}

BasicString StrConcat(const BasicString& a, const BasicString& b) { return Join<const BasicString&, const BasicString&>(a, b); }
BasicString StrConcatStrCStr(const BasicString& a, const char* b) { return Join<const BasicString&>(a, b); }
BasicString StrConcatCStrStr(const char* a, const BasicString& b) { return Join<const char*, const BasicString&>(a, b); }
BasicString StrConcat(const BasicString& a, const char* b) { return Join<const BasicString&>(a, b); }
BasicString StrConcat(const char* a, const BasicString& b) { return Join<const char*, const BasicString&>(a, b); }
BasicString StrConcat(const char* a, const char* b) { return Join(a, b); }
BasicString StrConcat(const BasicString& a, int32_t b) { return Join<const BasicString&>(a, b); }
BasicString StrConcat(const BasicString& a, float b) { return Join<const BasicString&>(a, b); }
BasicString StrConcat(const BasicString& a, double b) { return Join<const BasicString&>(a, b); }
BasicString StrConcat(const char* a, int32_t b) { return Join(a, b); }
BasicString StrConcat(const char* a, float b) { return Join(a, b); }
BasicString StrConcat(const char* a, double b) { return Join(a, b); }
BasicString StrConcat(int32_t a, const BasicString& b) { return Join<int32_t, const BasicString&>(a, b); }
BasicString StrConcat(float a, const BasicString& b) { return Join<float, const BasicString&>(a, b); }
BasicString StrConcat(double a, const BasicString& b) { return Join<double, const BasicString&>(a, b); }
BasicString StrConcat(int32_t a, const char* b) { return Join(a, b); }
BasicString StrConcat(float a, const char* b) { return Join(a, b); }
BasicString StrConcat(double a, const char* b) { return Join(a, b); }

static const char* Text(const char* c) { return c ? c : ""; }
static const char* Text(const BasicString& s) { return StrCStr(s); }
static double Truth(bool b) { return b ? 1.0 : 0.0; }

double StrEquals(const BasicString& a, const BasicString& b) {
  if (a.length != b.length) return 0.0;
  return Truth(std::strcmp(Text(a), Text(b)) == 0);
}
double StrEqualsCStr(const char* a, const char* b) { return Truth(std::strcmp(Text(a), Text(b)) == 0); }
double StrEqualsCStr(const char* a, const BasicString& b) { return Truth(std::strcmp(Text(a), Text(b)) == 0); }
double StrEqualsCStr(const BasicString& a, const char* b) { return Truth(std::strcmp(Text(a), Text(b)) == 0); }
double StrNotEquals(const BasicString& a, const BasicString& b) { return Truth(std::strcmp(Text(a), Text(b)) != 0); }
double StrNotEqualsCStr(const char* a, const char* b) { return Truth(std::strcmp(Text(a), Text(b)) != 0); }
double StrNotEqualsCStr(const char* a, const BasicString& b) { return Truth(std::strcmp(Text(a), Text(b)) != 0); }
double StrNotEqualsCStr(const BasicString& a, const char* b) { return Truth(std::strcmp(Text(a), Text(b)) != 0); }

#define ORVALE_TEXT_COMPARE(name, test)                                                                  \
  double name(const char* a, const char* b) { return Truth(std::strcmp(Text(a), Text(b)) test); }        \
  double name(const char* a, const BasicString& b) { return Truth(std::strcmp(Text(a), Text(b)) test); } \
  double name(const BasicString& a, const char* b) { return Truth(std::strcmp(Text(a), Text(b)) test); } \
  double name(const BasicString& a, const BasicString& b) { return Truth(std::strcmp(Text(a), Text(b)) test); }
ORVALE_TEXT_COMPARE(StrLess, < 0)
ORVALE_TEXT_COMPARE(StrGreater, > 0)
ORVALE_TEXT_COMPARE(StrLessEqual, < 1)
ORVALE_TEXT_COMPARE(StrGreaterEqual, >= 0)
#undef ORVALE_TEXT_COMPARE

int32_t StrCompare(const BasicString& a, const char* b) { return std::strcmp(Text(a), Text(b)); }

static double Value(const BasicString& s) { return ParseNumber(StrCStr(s)); }
static double Value(const char* c) { return ParseNumber(Text(c)); }
static double Value(double d) { return d; }
static double Value(float f) { return double(f); }
static double Value(int32_t i) { return double(i); }

// IEEE comparisons already give false for NaN, and true for != .
#define ORVALE_NUMBER_COMPARE(name, op)                                                              \
  double name(const BasicString& a, double b) { return Truth(Value(a) op Value(b)); }                \
  double name(const BasicString& a, float b) { return Truth(Value(a) op Value(b)); }                 \
  double name(const BasicString& a, int32_t b) { return Truth(Value(a) op Value(b)); }               \
  double name(double a, const BasicString& b) { return Truth(Value(a) op Value(b)); }                \
  double name(float a, const BasicString& b) { return Truth(Value(a) op Value(b)); }                 \
  double name(int32_t a, const BasicString& b) { return Truth(Value(a) op Value(b)); }               \
  double name(const char* a, double b) { return Truth(Value(a) op Value(b)); }                       \
  double name(const char* a, float b) { return Truth(Value(a) op Value(b)); }                        \
  double name(const char* a, int32_t b) { return Truth(Value(a) op Value(b)); }                      \
  double name(double a, const char* b) { return Truth(Value(a) op Value(b)); }                       \
  double name(float a, const char* b) { return Truth(Value(a) op Value(b)); }                        \
  double name(int32_t a, const char* b) { return Truth(Value(a) op Value(b)); }
ORVALE_NUMBER_COMPARE(StrNumEquals, ==)
ORVALE_NUMBER_COMPARE(StrNumGreater, >)
ORVALE_NUMBER_COMPARE(StrNumLess, <)
ORVALE_NUMBER_COMPARE(StrNumNotEquals, !=)
ORVALE_NUMBER_COMPARE(StrNumGreaterEqual, >=)
ORVALE_NUMBER_COMPARE(StrNumLessEqual, <=)
#undef ORVALE_NUMBER_COMPARE

int32_t StrCompareNumber(const BasicString& a, const double* number) {
  double v = Value(a);
  double n = number ? *number : 0.0;
  if (v < n) return -1;
  if (v > n) return 1;
  return 0;
}

static double Find(const char* h, const char* n) {
  const char* p = std::strstr(h, n);
  return p ? double(p - h) : -1.0;
}
double StrFind(const char* h, const char* n) { return Find(Text(h), Text(n)); }
double StrFind(const char* h, const BasicString& n) { return Find(Text(h), Text(n)); }
double StrFind(const BasicString& h, const char* n) { return Find(Text(h), Text(n)); }
double StrFind(const BasicString& h, const BasicString& n) { return Find(Text(h), Text(n)); }

const char* StrFindAnyOf(const char* text, const char* set) {
  if (!text || !set) return nullptr;
  for (const char* p = text; *p; ++p)
    for (const char* q = set; *q; ++q)
      if (*p == *q) return p;
  return nullptr;
}

const char* StrFindNotOf(const char* text, const char* set) {
  if (!text) return nullptr;
  if (!set) set = "";
  for (const char* p = text; *p; ++p) {
    bool inSet = false;
    for (const char* q = set; *q && !inSet; ++q) inSet = (*p == *q);
    if (!inSet) return p;
  }
  return nullptr;
}

BasicString StrLower(const BasicString& s) {
  BasicString r(s);
  for (uint32_t i = 0; i < r.length; ++i)
    if (r.buffer[i] >= 'A' && r.buffer[i] <= 'Z') r.buffer[i] = char(r.buffer[i] + 32);
  return r;
}

BasicString StrUpper(const BasicString& s) {
  BasicString r(s);
  for (uint32_t i = 0; i < r.length; ++i)
    if (r.buffer[i] >= 'a' && r.buffer[i] <= 'z') r.buffer[i] = char(r.buffer[i] - 32);
  return r;
}

int32_t StrTrimControl(BasicString& s) {
  while (s.length > 0 && int8_t(s.buffer[s.length - 1]) <= 31) {
    s.buffer[s.length - 1] = 0;
    --s.length;
  }
  return int32_t(s.length) - 1;
}
