// Arrays of the command layer: numbers (BasicArray), strings (StringArray)
// and bytes (ByteArray), each of up to four dimensions with the first index
// varying fastest. Every element access is bounds-tested and ends the
// program with runtime error 9 when it fails; a DIM without storage ends it
// with error 7.
#pragma once

#include <cstdint>

#include "core/basic_string.h"

struct BasicArray {
  double* data = nullptr;
  double inlineStorage[16] = {};
  uint32_t stride1 = 0, stride2 = 0, stride3 = 0;
  uint32_t size0 = 0, size1 = 0, size2 = 0, size3 = 0;
  uint32_t dimensionCount = 0;
  uint32_t capacity = 0;

  BasicArray() = default;
  BasicArray(const BasicArray&) = delete;
  BasicArray& operator=(const BasicArray&) = delete;
  ~BasicArray();
};

struct StringArray {
  BasicString* data = nullptr;
  uint32_t stride1 = 0, stride2 = 0, stride3 = 0;
  uint32_t size0 = 0, size1 = 0, size2 = 0, size3 = 0;
  uint32_t dimensionCount = 0;
  uint32_t capacity = 0;

  StringArray() = default;
  StringArray(const StringArray&) = delete;
  StringArray& operator=(const StringArray&) = delete;
  ~StringArray();
};

struct ByteArray {
  uint8_t* data = nullptr;
  uint32_t stride1 = 0, stride2 = 0, stride3 = 0;
  uint32_t size0 = 0, size1 = 0, size2 = 0, size3 = 0;
  uint32_t dimensionCount = 0;
  uint32_t capacity = 0;

  ByteArray() = default;
  ByteArray(const ByteArray&) = delete;
  ByteArray& operator=(const ByteArray&) = delete;
  ~ByteArray();
};

// DIM: sizes are truncated toward zero; a first size below 1 gives an empty
// array, a later size below 1 an unused dimension (only index 0 is valid).
// Storage is rounded up (8 numbers, 64 strings or bytes), never shrinks and
// is cleared; up to 16 numbers live inside the array object.
void ArrayDim(BasicArray& a, double d0, double d1 = 0, double d2 = 0, double d3 = 0);
void ArrayRedimKeep(BasicArray& a, double d0, double d1 = 0, double d2 = 0, double d3 = 0);
BasicArray& ArrayCopy(BasicArray& target, const BasicArray& source);
void ArrayFromValues(BasicArray& a, int32_t n, const double* values);
double* ArrayElement(BasicArray& a, int32_t i, int32_t j = 0, int32_t k = 0, int32_t l = 0);
double ArraySize(const BasicArray& a, double dimension);

void StrArrayDim(StringArray& a, double d0, double d1 = 0, double d2 = 0, double d3 = 0);
BasicString* StrArrayElement(StringArray& a, int32_t i, int32_t j = 0, int32_t k = 0, int32_t l = 0);
double StrArraySize(const StringArray& a, double dimension);

void ByteArrayDim(ByteArray& a, double d0, double d1 = 0, double d2 = 0, double d3 = 0);
uint8_t* ByteArrayElement(ByteArray& a, int32_t i, int32_t j = 0, int32_t k = 0, int32_t l = 0);
double ByteArraySize(const ByteArray& a, double dimension);

// Fills array with the entries of the current folder: every folder first
// (with "." and ".."), then the files whose names match pattern (see
// MatchWildcard). Returns folders * 65536 + files.
double ListDirectory(const BasicString& pattern, StringArray& array);
// Splits text at runs of delimiter characters into non-empty parts.
double SplitToArray(const BasicString& text, StringArray& array, const BasicString& delimiters);
