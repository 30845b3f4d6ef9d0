#include "core/math_builtins.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/isaac_random.h"
#include "core/number_truncate.h"

static constexpr double kDegToRad = 0.017453292519943295;
static constexpr double kRadToDeg = 57.29577951308232;

double SinDeg(double d) { return std::sin(d * kDegToRad); }
double CosDeg(double d) { return std::cos(d * kDegToRad); }
double TanDeg(double d) { return std::tan(d * kDegToRad); }
double ATan2Deg(double y, double x) { return std::atan2(y, x) * kRadToDeg; }

double ASinDeg(double x) {
  if (x >= 1.0) return 90.0;
  if (x <= -1.0) return -90.0;
  return std::asin(x) * kRadToDeg;
}

double ACosDeg(double x) {
  if (x >= 1.0) return 0.0;
  if (x <= -1.0) return 180.0;
  return std::acos(x) * kRadToDeg;
}

double PowNumber(double base, double exponent) { return std::pow(base, exponent); }
double SqrtNumber(double x) { return std::sqrt(x); }
double AbsNumber(double x) { return x >= 0.0 ? x : -x; }

double ModDouble(double a, double b) {
  int32_t ib = TruncInt32(b);
  if (ib == 0) return 0.0;
  int32_t ia = TruncInt32(a);
  if (ib == -1) return 0.0;  // also keeps INT32_MIN % -1 defined
  return double(ia % ib);
}

double RandomInt(double n) {
  if (!(n > 0.0)) return 0.0;
  uint32_t top = TruncUInt32(n);
  uint32_t draw = IsaacRefill();
  if (top == UINT32_MAX) return double(draw);  // the whole 32-bit range
  return double(draw % (top + 1));
}

double BoxOverlap(double x1, double y1, double w1, double h1, double x2, double y2, double w2,
                  double h2) {
  auto overlaps = [](double a, double la, double b, double lb) {
    double lo1 = std::min(a, a + la), hi1 = std::max(a, a + la);
    double lo2 = std::min(b, b + lb), hi2 = std::max(b, b + lb);
    return std::max(lo1, lo2) <= std::min(hi1, hi2);
  };
  return overlaps(x1, w1, x2, w2) && overlaps(y1, h1, y2, h2) ? 1.0 : 0.0;
}
