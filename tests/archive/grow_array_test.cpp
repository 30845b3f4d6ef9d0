#include "core/grow_array.h"

#include <gtest/gtest.h>

#include <string>

#include "core/basic_string.h"

TEST(GrowArray, ReserveCapacities) {
  struct Case {
    int32_t start;  // capacity reached first (0 = empty)
    int32_t n;
    int32_t capacity;
  } cases[] = {{0, 0, 512}, {512, 511, 512}, {512, 512, 512}, {512, 513, 640}, {512, 1000, 1024},
               {0, 1000, 1024}};
  for (const Case& c : cases) {
    GrowArray<int> a;
    if (c.start) GrowArrayReserve(a, c.start - 1);
    int* before = a.data;
    GrowArrayReserve(a, c.n);
    EXPECT_EQ(a.capacity, c.capacity) << c.start << " " << c.n;
    if (c.start && c.n == c.start - 1) {
      EXPECT_EQ(a.data, before);
    }
    if (c.start && c.n == c.start) {
      EXPECT_NE(a.data, before);  // fresh block of the same size
    }
    EXPECT_EQ(a.count, 0);
    GrowArrayClear(a);
    EXPECT_EQ(a.data, nullptr);
    EXPECT_EQ(a.capacity, 0);
  }
}

TEST(GrowArray, AppendsKeepDeepCopiesOfStrings) {
  GrowArray<BasicString> a;
  for (int i = 0; i < 512; ++i) GrowArrayAppend(a, BasicString(std::to_string(i).c_str()));
  EXPECT_EQ(a.capacity, 512);
  const char* firstBuffer = a.data[0].buffer;
  GrowArrayAppend(a, BasicString("last"));
  EXPECT_EQ(a.capacity, 640);
  EXPECT_EQ(a.count, 513);
  EXPECT_NE(a.data[0].buffer, firstBuffer);  // copied, not moved
  for (int i = 0; i < 512; ++i) EXPECT_STREQ(a.data[i].c_str(), std::to_string(i).c_str());
  EXPECT_STREQ(a.data[512].c_str(), "last");
  GrowArrayClear(a);
}
