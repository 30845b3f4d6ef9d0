#include "core/basic_array.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "core/file_commands.h"
#include "core/grow_array.h"
#include "core/number_truncate.h"
#include "core/runtime_error.h"
#include "platform/files.h"

namespace {

[[noreturn]] void Fail(int code) {
  SetRuntimeError(code);
  EndProgram();
}

double Clean(double d) { return d == d ? d : 0.0; }
double Factor(double d) { return d >= 1.0 ? d : 1.0; }

// Sizes, strides and element count of one DIM.
struct DimPlan {
  bool forceFresh;
  uint32_t count;
  uint32_t size[4];
  uint32_t dimensionCount;
};

DimPlan PlanDim(double d0, double d1, double d2, double d3, uint32_t maxCount) {
  DimPlan p = {};
  d0 = Clean(d0), d1 = Clean(d1), d2 = Clean(d2), d3 = Clean(d3);
  if (!(d0 >= 1.0)) {
    d0 = 0.0;
    p.forceFresh = true;
  }
  double count = d0 * Factor(d1) * Factor(d2) * Factor(d3);
  if (!(count <= double(maxCount))) Fail(kErrorBadArgument);
  p.count = uint32_t(count);
  // A size below zero counts as a dimension that was not given: only index 0.
  const double d[4] = {d0, d1, d2, d3};
  for (int i = 0; i < 4; ++i) p.size[i] = TruncUInt32(d[i]);
  p.dimensionCount = d3 != 0 ? 4 : d2 != 0 ? 3 : d1 != 0 ? 2 : d0 != 0 ? 1 : 0;
  return p;
}

template <typename A>
void ApplyPlan(A& a, const DimPlan& p, uint32_t capacity) {
  a.capacity = capacity;
  a.size0 = p.size[0];
  a.size1 = p.size[1];
  a.size2 = p.size[2];
  a.size3 = p.size[3];
  a.dimensionCount = p.dimensionCount;
  // Products stay below the element count whenever size0 is not 0, and are
  // 0 when it is.
  a.stride1 = a.size0;
  a.stride2 = uint32_t(uint64_t(a.size0) * a.size1);
  a.stride3 = uint32_t(uint64_t(a.stride2) * a.size2);
}

template <typename A>
uint64_t ElementIndex(const A& a, int32_t i, int32_t j, int32_t k, int32_t l) {
  auto fits = [](int32_t index, uint32_t size) {
    return uint32_t(index) < size || (size == 0 && index == 0);
  };
  if (i < 0 || j < 0 || k < 0 || l < 0 || !a.data || uint32_t(i) >= a.size0 ||
      !fits(j, a.size1) || !fits(k, a.size2) || !fits(l, a.size3))
    Fail(kErrorIndex);
  uint64_t at = uint64_t(i) + uint64_t(j) * a.stride1 + uint64_t(k) * a.stride2 +
                uint64_t(l) * a.stride3;
  if (at >= a.capacity) Fail(kErrorIndex);
  return at;
}

template <typename A>
double SizeOf(const A& a, double dimension) {
  switch (TruncInt32(dimension)) {
    case 0: return a.size0;
    case 1: return a.size1;
    case 2: return a.size2;
    case 3: return a.size3;
    default: return 0.0;
  }
}

constexpr uint32_t kMaxNumbers = 1u << 28;         // 2 GiB of numbers
constexpr uint32_t kMaxStrings = 1u << 26;         // 1 GiB of string records
constexpr uint32_t kMaxBytes = 0x7FFFFF00u;        // 2 GiB of bytes

}  // namespace

BasicArray::~BasicArray() {
  if (data != inlineStorage) delete[] data;
}

StringArray::~StringArray() { delete[] data; }
ByteArray::~ByteArray() { delete[] data; }

void ArrayDim(BasicArray& a, double d0, double d1, double d2, double d3) {
  DimPlan p = PlanDim(d0, d1, d2, d3, kMaxNumbers);
  uint32_t rounded = (p.count & ~7u) + 8;
  uint32_t capacity = a.capacity;
  if (a.capacity < rounded || p.forceFresh || !a.data) {
    if (a.data != a.inlineStorage) delete[] a.data;
    a.data = rounded <= 16 ? a.inlineStorage : new (std::nothrow) double[rounded];
    capacity = rounded;
    if (!a.data) {
      a.capacity = 0;
      Fail(kErrorBadArgument);
    }
  }
  ApplyPlan(a, p, capacity);
  std::fill(a.data, a.data + a.capacity, 0.0);
}

double* ArrayElement(BasicArray& a, int32_t i, int32_t j, int32_t k, int32_t l) {
  return a.data + ElementIndex(a, i, j, k, l);
}

double ArraySize(const BasicArray& a, double dimension) { return SizeOf(a, dimension); }

void ArrayRedimKeep(BasicArray& a, double d0, double d1, double d2, double d3) {
  BasicArray t;
  ArrayDim(t, d0, d1, d2, d3);
  auto lim = [](double d, uint32_t size) {
    d = Clean(d);
    double m = std::min(d, double(size));
    return m > 0 ? int32_t(m) : 0;
  };
  int32_t l0 = lim(d0, a.size0), l1 = lim(d1, a.size1), l2 = lim(d2, a.size2),
          l3 = lim(d3, a.size3);
  if (a.dimensionCount >= 1) {
    for (int32_t i = 0; i < l0; ++i) {
      if (l1 == 0) {
        *ArrayElement(t, i) = *ArrayElement(a, i);
        continue;
      }
      for (int32_t j = 0; j < l1; ++j) {
        if (l2 == 0) {
          *ArrayElement(t, i, j) = *ArrayElement(a, i, j);
          continue;
        }
        for (int32_t k = 0; k < l2; ++k) {
          if (l3 == 0) {
            *ArrayElement(t, i, j, k) = *ArrayElement(a, i, j, k);
            continue;
          }
          for (int32_t l = 0; l < l3; ++l) *ArrayElement(t, i, j, k, l) = *ArrayElement(a, i, j, k, l);
        }
      }
    }
  }
  if (a.data == a.inlineStorage || t.data == t.inlineStorage) {
    ArrayDim(a, t.size0, t.size1, t.size2, t.size3);
    a.dimensionCount = t.dimensionCount;
    uint64_t n = uint64_t(Factor(t.size0)) * uint64_t(Factor(t.size1)) *
                 uint64_t(Factor(t.size2)) * uint64_t(Factor(t.size3));
    n = std::min<uint64_t>(n, std::min(a.capacity, t.capacity));
    std::copy(t.data, t.data + n, a.data);
  } else {
    delete[] a.data;
    a.data = t.data;
    a.capacity = t.capacity;
    a.stride1 = t.stride1, a.stride2 = t.stride2, a.stride3 = t.stride3;
    a.size0 = t.size0, a.size1 = t.size1, a.size2 = t.size2, a.size3 = t.size3;
    a.dimensionCount = t.dimensionCount;
    t.data = nullptr;
  }
}

BasicArray& ArrayCopy(BasicArray& target, const BasicArray& source) {
  if (&target == &source) return target;
  ArrayDim(target, source.size0, source.size1, source.size2, source.size3);
  target.dimensionCount = source.dimensionCount;
  uint64_t n = uint64_t(source.size0) * uint64_t(Factor(source.size1)) *
               uint64_t(Factor(source.size2)) * uint64_t(Factor(source.size3));
  n = std::min<uint64_t>(n, std::min(target.capacity, source.capacity));
  if (source.data) std::copy(source.data, source.data + n, target.data);
  return target;
}

void ArrayFromValues(BasicArray& a, int32_t n, const double* values) {
  ArrayDim(a, n);
  for (int32_t i = 0; i < n && values; ++i) *ArrayElement(a, i) = values[i];
}

void StrArrayDim(StringArray& a, double d0, double d1, double d2, double d3) {
  DimPlan p = PlanDim(d0, d1, d2, d3, kMaxStrings);
  uint32_t rounded = (p.count & ~63u) + 64;
  if (a.capacity < rounded || p.forceFresh || !a.data) {
    delete[] a.data;  // releases the old elements, last first
    a.data = new (std::nothrow) BasicString[rounded];
    a.capacity = rounded;
    if (!a.data) {
      a.capacity = 0;
      Fail(kErrorBadArgument);
    }
  } else {
    for (uint32_t i = 0; i < rounded; ++i) StrAssignCStr(a.data[i], "");
  }
  ApplyPlan(a, p, a.capacity);
}

BasicString* StrArrayElement(StringArray& a, int32_t i, int32_t j, int32_t k, int32_t l) {
  return a.data + ElementIndex(a, i, j, k, l);
}

double StrArraySize(const StringArray& a, double dimension) { return SizeOf(a, dimension); }

void ByteArrayDim(ByteArray& a, double d0, double d1, double d2, double d3) {
  DimPlan p = PlanDim(d0, d1, d2, d3, kMaxBytes);
  uint32_t rounded = (p.count & ~63u) + 64;
  if (a.capacity < rounded || p.forceFresh || !a.data) {
    delete[] a.data;
    a.data = new (std::nothrow) uint8_t[rounded];
    a.capacity = rounded;
    if (!a.data) {
      a.capacity = 0;
      Fail(kErrorBadArgument);
    }
    std::memset(a.data, 0, rounded);
  } else {
    std::memset(a.data, 0, rounded);
  }
  ApplyPlan(a, p, a.capacity);
}

uint8_t* ByteArrayElement(ByteArray& a, int32_t i, int32_t j, int32_t k, int32_t l) {
  return a.data + ElementIndex(a, i, j, k, l);
}

double ByteArraySize(const ByteArray& a, double dimension) { return SizeOf(a, dimension); }

double ListDirectory(const BasicString& pattern, StringArray& array) {
  std::vector<platform::FolderEntry> entries = platform::ListFolder(".");
  GrowArray<BasicString> dirs, files;
  for (const platform::FolderEntry& e : entries) {
    if (e.isFolder) {
      GrowArrayAppend(dirs, BasicString(e.name.c_str()));
    } else if (MatchWildcard(StrCStr(pattern), e.name.c_str())) {
      GrowArrayAppend(files, BasicString(e.name.c_str()));
    }
  }
  StrArrayDim(array, double(dirs.count) + double(files.count));
  int32_t at = 0;
  for (int32_t i = 0; i < dirs.count; ++i) *StrArrayElement(array, at++) = dirs.data[i];
  for (int32_t i = 0; i < files.count; ++i) *StrArrayElement(array, at++) = files.data[i];
  double result = double(dirs.count) * 65536.0 + double(files.count);
  GrowArrayClear(dirs);
  GrowArrayClear(files);
  return result;
}

double SplitToArray(const BasicString& text, StringArray& array, const BasicString& delimiters) {
  StrArrayDim(array, 0);
  const char* s = StrCStr(text);
  const char* set = StrCStr(delimiters);
  auto isDelimiter = [set](char c) { return c != 0 && std::strchr(set, c) != nullptr; };
  GrowArray<BasicString> parts;
  const char* p = s;
  while (*p) {
    while (isDelimiter(*p)) ++p;
    if (!*p) break;
    const char* start = p;
    while (*p && !isDelimiter(*p)) ++p;
    BasicString part("");
    StrReserve(part, uint32_t(p - start));
    std::memcpy(part.buffer, start, size_t(p - start));
    part.length = uint32_t(p - start);
    part.buffer[part.length] = 0;
    GrowArrayAppend(parts, part);
  }
  int32_t n = parts.count;
  StrArrayDim(array, n);
  for (int32_t i = 0; i < n; ++i) *StrArrayElement(array, i) = parts.data[i];
  GrowArrayClear(parts);
  return double(n);
}
