// Saturating truncation toward zero of the doubles that cross the command
// layer. NaN gives 0; values beyond the target range give its nearest end.
#pragma once

#include <cmath>
#include <cstdint>

inline int64_t TruncInt64(double v) {
  if (!(v == v)) return 0;
  if (v >= 9223372036854775807.0) return INT64_MAX;
  if (v <= -9223372036854775808.0) return INT64_MIN;
  return int64_t(v);
}

inline int32_t TruncInt32(double v) {
  int64_t t = TruncInt64(v);
  if (t > INT32_MAX) return INT32_MAX;
  if (t < INT32_MIN) return INT32_MIN;
  return int32_t(t);
}

inline uint32_t TruncUInt32(double v) {
  int64_t t = TruncInt64(v);
  if (t < 0) return 0;
  if (t > int64_t(UINT32_MAX)) return UINT32_MAX;
  return uint32_t(t);
}
