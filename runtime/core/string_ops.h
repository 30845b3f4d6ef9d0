// Operators on BasicString: appending, joining, comparisons (text with text
// and text with numbers), search, case conversion and trimming. Truth values
// are returned as 1.0 or 0.0.
#pragma once

#include <cstdint>

#include "core/basic_string.h"

// Appending (+=): the right operand is appended to s, which is returned.
BasicString& StrAppendInt(BasicString& s, int32_t v);
BasicString& StrAppendFloat(BasicString& s, float v);
BasicString& StrAppendDouble(BasicString& s, double v);

// Joining (+): a new string holding left followed by right. Numbers take
// their text by the integer rule (int32_t) or the number-to-text rule.
BasicString StrConcat(const BasicString& a, const BasicString& b);
BasicString StrConcatStrCStr(const BasicString& a, const char* b);
BasicString StrConcatCStrStr(const char* a, const BasicString& b);
BasicString StrConcat(const BasicString& a, const char* b);
BasicString StrConcat(const char* a, const BasicString& b);
BasicString StrConcat(const char* a, const char* b);
BasicString StrConcat(const BasicString& a, int32_t b);
BasicString StrConcat(const BasicString& a, float b);
BasicString StrConcat(const BasicString& a, double b);
BasicString StrConcat(const char* a, int32_t b);
BasicString StrConcat(const char* a, float b);
BasicString StrConcat(const char* a, double b);
BasicString StrConcat(int32_t a, const BasicString& b);
BasicString StrConcat(float a, const BasicString& b);
BasicString StrConcat(double a, const BasicString& b);
BasicString StrConcat(int32_t a, const char* b);
BasicString StrConcat(float a, const char* b);
BasicString StrConcat(double a, const char* b);

// Text comparisons by strcmp of the texts. Only StrEquals of two strings
// compares the lengths first.
double StrEquals(const BasicString& a, const BasicString& b);
double StrEqualsCStr(const char* a, const char* b);
double StrEqualsCStr(const char* a, const BasicString& b);
double StrEqualsCStr(const BasicString& a, const char* b);
double StrNotEquals(const BasicString& a, const BasicString& b);
double StrNotEqualsCStr(const char* a, const char* b);
double StrNotEqualsCStr(const char* a, const BasicString& b);
double StrNotEqualsCStr(const BasicString& a, const char* b);
#define ORVALE_TEXT_COMPARE(name)                         \
  double name(const char* a, const char* b);              \
  double name(const char* a, const BasicString& b);       \
  double name(const BasicString& a, const char* b);       \
  double name(const BasicString& a, const BasicString& b);
ORVALE_TEXT_COMPARE(StrLess)
ORVALE_TEXT_COMPARE(StrGreater)
ORVALE_TEXT_COMPARE(StrLessEqual)
ORVALE_TEXT_COMPARE(StrGreaterEqual)
#undef ORVALE_TEXT_COMPARE

// strcmp's own result.
int32_t StrCompare(const BasicString& a, const char* b);

// Text with number: the text is read by the text-to-number rule and the two
// numbers compared as left operator right. A NaN operand gives 0.0 for every
// operator but StrNumNotEquals, which gives 1.0.
#define ORVALE_NUMBER_COMPARE(name)                \
  double name(const BasicString& a, double b);     \
  double name(const BasicString& a, float b);      \
  double name(const BasicString& a, int32_t b);    \
  double name(double a, const BasicString& b);     \
  double name(float a, const BasicString& b);      \
  double name(int32_t a, const BasicString& b);    \
  double name(const char* a, double b);            \
  double name(const char* a, float b);             \
  double name(const char* a, int32_t b);           \
  double name(double a, const char* b);            \
  double name(float a, const char* b);             \
  double name(int32_t a, const char* b);
ORVALE_NUMBER_COMPARE(StrNumEquals)
ORVALE_NUMBER_COMPARE(StrNumGreater)
ORVALE_NUMBER_COMPARE(StrNumLess)
ORVALE_NUMBER_COMPARE(StrNumNotEquals)
ORVALE_NUMBER_COMPARE(StrNumGreaterEqual)
ORVALE_NUMBER_COMPARE(StrNumLessEqual)
#undef ORVALE_NUMBER_COMPARE

// -1 when the text's value is below *number, 1 when above, 0 otherwise.
int32_t StrCompareNumber(const BasicString& a, const double* number);

// 0-based byte index of the first occurrence of needle, -1.0 when none;
// an empty needle gives 0.
double StrFind(const char* haystack, const char* needle);
double StrFind(const char* haystack, const BasicString& needle);
double StrFind(const BasicString& haystack, const char* needle);
double StrFind(const BasicString& haystack, const BasicString& needle);

// First character of text that is (AnyOf) or is not (NotOf) in set, or null.
const char* StrFindAnyOf(const char* text, const char* set);
const char* StrFindNotOf(const char* text, const char* set);

// Copies with only the ASCII letters changed.
BasicString StrLower(const BasicString& s);
BasicString StrUpper(const BasicString& s);

// Removes trailing bytes that are 31 or less read as signed (so also bytes
// 128..255); returns the index of the last byte kept, -1 when none is left.
int32_t StrTrimControl(BasicString& s);

// C++ operator forms for code written against the runtime.
inline BasicString operator+(const BasicString& a, const BasicString& b) { return StrConcat(a, b); }
inline BasicString operator+(const BasicString& a, const char* b) { return StrConcat(a, b); }
inline BasicString operator+(const char* a, const BasicString& b) { return StrConcat(a, b); }
inline BasicString operator+(const BasicString& a, int32_t b) { return StrConcat(a, b); }
inline BasicString operator+(const BasicString& a, float b) { return StrConcat(a, b); }
inline BasicString operator+(const BasicString& a, double b) { return StrConcat(a, b); }
inline BasicString operator+(int32_t a, const BasicString& b) { return StrConcat(a, b); }
inline BasicString operator+(float a, const BasicString& b) { return StrConcat(a, b); }
inline BasicString operator+(double a, const BasicString& b) { return StrConcat(a, b); }
inline BasicString& operator+=(BasicString& a, const BasicString& b) { return StrAppend(a, b); }
inline BasicString& operator+=(BasicString& a, const char* b) { return StrAppendCStr(a, b); }
inline BasicString& operator+=(BasicString& a, int32_t b) { return StrAppendInt(a, b); }
inline BasicString& operator+=(BasicString& a, float b) { return StrAppendFloat(a, b); }
inline BasicString& operator+=(BasicString& a, double b) { return StrAppendDouble(a, b); }
