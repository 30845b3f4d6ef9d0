#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstring>
#include <string>

#include "core/basic_string.h"

TEST(BasicString, ReserveGrowsInStepsOf512) {
  BasicString s;
  EXPECT_EQ(s.capacity, 0u);
  EXPECT_EQ(s.buffer, gEmptyStringBuffer);
  StrReserve(s, 0);
  EXPECT_EQ(s.capacity, 512u);
  StrAssignCStr(s, "keep");
  char* before = s.buffer;
  StrReserve(s, 511);
  EXPECT_EQ(s.buffer, before);
  StrReserve(s, 512);
  EXPECT_EQ(s.capacity, 1024u);
  EXPECT_STREQ(s.c_str(), "keep");
}

TEST(BasicString, ConstructionFromEmptyTextOwnsABuffer) {
  BasicString s("");
  EXPECT_EQ(s.length, 0u);
  EXPECT_EQ(s.capacity, 512u);
  EXPECT_NE(s.buffer, gEmptyStringBuffer);
  EXPECT_NE(StrCStr(s), s.buffer);  // static empty text, not the buffer
}

TEST(BasicString, CopyKeepsLengthAndZeroesAfterEmbeddedNul) {
  BasicString a("abcdef");
  StrSetCharAt(a, 2, 0);
  BasicString b(a);
  EXPECT_EQ(b.length, 6u);
  EXPECT_EQ(std::memcmp(b.buffer, "ab\0\0\0\0", 7), 0);
}

TEST(BasicString, SyncLengthWithoutNulStaysTerminated) {
  BasicString s("x");
  std::memset(s.buffer, 'a', s.capacity);
  StrSyncLength(s);
  EXPECT_EQ(s.length, 512u);
  EXPECT_EQ(s.buffer[s.length], 0);
}

TEST(BasicString, AppendGrowsAndAppendsToItself) {
  BasicString s("ab");
  StrAppend(s, s);
  EXPECT_STREQ(s.c_str(), "abab");
  std::string big(1000, 'z');
  StrAppendCStr(s, big.c_str());
  EXPECT_EQ(s.length, 1004u);
  EXPECT_EQ(s.capacity, 1024u);
  StrAppendCStr(s, s.buffer + 1000);  // a piece of its own text
  EXPECT_EQ(s.length, 1008u);
  EXPECT_EQ(std::string(s.c_str() + 1004), "zzzz");
}

TEST(BasicString, CharAtIsSignedAndZeroWhenEmpty) {
  BasicString e;
  EXPECT_EQ(StrCharAt(e, 0), 0);
  BasicString s("\xE9x");
  EXPECT_EQ(StrCharAt(s, 0), -23);
}

TEST(BasicString, ExactAssignmentAllocatesLengthPlusOne) {
  BasicString s("old");
  StrAssignCStrExact(s, "hello");
  EXPECT_EQ(s.capacity, 6u);
  EXPECT_STREQ(s.c_str(), "hello");
  StrAppendCStr(s, "!");
  EXPECT_STREQ(s.c_str(), "hello!");
}

struct NumberCase {
  double value;
  const char* text;
};

class NumberToText : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberToText, TenSignificantDigits) {
  BasicString s;
  StrAssignDouble(s, GetParam().value);
  EXPECT_STREQ(s.c_str(), GetParam().text);
  // The same under a locale with a decimal comma.
  if (std::setlocale(LC_ALL, "de_DE.UTF-8")) {
    BasicString t;
    StrAssignDouble(t, GetParam().value);
    EXPECT_STREQ(t.c_str(), GetParam().text);
    std::setlocale(LC_ALL, "C");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberToText,
    ::testing::Values(NumberCase{3.0, "3"}, NumberCase{0.5, "0.5"}, NumberCase{0.0, "0"},
                      NumberCase{-2.5, "-2.5"}, NumberCase{0.1, "0.1"},
                      NumberCase{1.0 / 3.0, "0.3333333333"}, NumberCase{1234567890, "1234567890"},
                      NumberCase{12345678901.0, "1.23456789e+010"}, NumberCase{1e20, "1.e+020"},
                      NumberCase{0.01, "1.e-002"}, NumberCase{0.05, "5.e-002"},
                      NumberCase{0.1 + 0.2, "0.3"}, NumberCase{0.099999999999, "1.e-001"},
                      NumberCase{-1e-300, "-1.e-300"}, NumberCase{9999999999.5, "10000000000"},
                      NumberCase{2.0 / 3.0, "0.6666666667"}),
    [](const ::testing::TestParamInfo<NumberCase>& info) {
      return "Case" + std::to_string(info.index);
    });

TEST(BasicString, IntegerToText) {
  BasicString s;
  StrAssignInt(s, -2147483647 - 1);
  EXPECT_STREQ(s.c_str(), "-2147483648");
  StrAssignInt(s, 0);
  EXPECT_STREQ(s.c_str(), "0");
}

TEST(BasicString, TextToNumber) {
  struct {
    const char* text;
    double value;
  } cases[] = {{"12abc", 12.0}, {"  -3.5e2x", -350.0}, {"abc", 0.0}, {"", 0.0},
               {"0x10", 0.0},   {"inf", 0.0},         {"+.5", 0.5}, {"1e", 1.0},
               {"1e400", HUGE_VAL}, {"1e-400", 0.0},  {"\t7", 7.0}, {"-", 0.0}};
  for (auto& c : cases) {
    BasicString s(c.text);
    EXPECT_EQ(StrToNumber(s), c.value) << c.text;
  }
  // Out of range is decided by the value, not by the exponent's sign.
  const std::string zeros(400, '0');
  const struct {
    std::string text;
    double value;
  } far[] = {{"0." + zeros + "1", 0.0},       {"1" + zeros + "e-5", HUGE_VAL},
             {"-1" + zeros, -HUGE_VAL},      {"0." + zeros + "1e800", HUGE_VAL},
             {"1" + zeros + "e-800", 0.0},   {"0." + zeros, 0.0},
             {"12" + zeros + "e-400", 12.0}, {"." + zeros + "5e-9", 0.0}};
  for (auto& c : far) EXPECT_EQ(StrToNumber(BasicString(c.text.c_str())), c.value) << c.text;
  if (std::setlocale(LC_ALL, "de_DE.UTF-8")) {
    EXPECT_EQ(StrToNumber(BasicString("2.5")), 2.5);
    std::setlocale(LC_ALL, "C");
  }
}
