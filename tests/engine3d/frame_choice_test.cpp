// The frames a draw blends, for frame positions far outside the int32
// range or not numbers at all: clamped, never converted out of range (the
// test build traps such conversions).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "core/number_truncate.h"
#include "engine3d/mesh_draw.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(FrameChoice, HugeAndNonNumberPositionsClampIntoTheFrames) {
  // DrawObjectCmd(slot, 0, 1e12, 1, 1) reaches the draw as the largest int32.
  const int32_t far = TruncInt32(1e12);
  ASSERT_EQ(far, INT32_MAX);
  struct Case {
    int32_t frame, next;
    float tween;
    bool range;
    int32_t a, b;
    float t;
  } cases[] = {
      {0, far, 1, true, 9, 9, 1},                // pos rounds up to 2^31
      {0, far, 0.999f, true, 9, 9, 1},
      {far, 0, 0, true, 9, 9, 0},
      {INT32_MIN, far, 0.5f, true, 0, 1, 1},     // pos 0
      {INT32_MIN, far, 0, true, 0, 0, 1},
      {far, INT32_MIN, 1, true, 0, 0, 0},
      {2, 6, kNaN, true, 2, 3, 1},               // not a number: the first frame
      {2, 6, kInf, true, 2, 3, 1},
      {2, 6, -kInf, true, 2, 3, 1},
      {6, 2, kNaN, true, 7, 6, 0},
      {far, INT32_MIN, 0.5f, false, 0, 9, 0.5f},  // no range: indexes clamp
  };
  for (const Case& c : cases) {
    FrameChoice got = ChooseFrames(c.frame, c.next, c.tween, c.range, 10);
    EXPECT_EQ(got.a, c.a) << c.frame << " -> " << c.next << " at " << c.tween;
    EXPECT_EQ(got.b, c.b) << c.frame << " -> " << c.next << " at " << c.tween;
    EXPECT_EQ(got.t, c.t) << c.frame << " -> " << c.next << " at " << c.tween;
  }
}

}  // namespace
