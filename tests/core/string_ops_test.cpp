#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "core/basic_string.h"
#include "core/string_ops.h"
#include "core_test_support.h"

namespace {

struct TextCase {
  double value;
  const char* text;
};

const TextCase kNumberText[] = {
    {3.0, "3"},           {0.5, "0.5"},
    {0.0, "0"},           {-2.5, "-2.5"},
    {0.1, "0.1"},         {1.0 / 3.0, "0.3333333333"},
    {1234567890, "1234567890"}, {12345678901.0, "1.23456789e+010"},
    {1e20, "1.e+020"},    {0.01, "1.e-002"},
    {0.05, "5.e-002"},    {0.1 + 0.2, "0.3"},
    {0.099999999999, "1.e-001"}, {-1e-5, "-1.e-005"},
    {2.5e-300, "2.5e-300"}, {123.456, "123.456"},
};

struct ParseCase {
  const char* text;
  double value;
};

const ParseCase kTextNumber[] = {
    {"12abc", 12.0},   {"  -3.5e2x", -350.0}, {"abc", 0.0},  {"", 0.0},
    {"0x10", 0.0},     {"inf", 0.0},          {"nan", 0.0},  {"1,5", 1.0},
    {".5", 0.5},       {"5.", 5.0},           {"+7", 7.0},   {"1e", 1.0},
    {"\t\n 42", 42.0}, {"-", 0.0},            {"1e400", HUGE_VAL},
};

void CheckConversions() {
  for (const TextCase& c : kNumberText) {
    BasicString s;
    StrAssignDouble(s, c.value);
    EXPECT_STREQ(s.c_str(), c.text) << c.value;
    EXPECT_EQ(s.length, std::strlen(c.text));
  }
  for (const ParseCase& c : kTextNumber) {
    EXPECT_EQ(StrToNumber(BasicString(c.text)), c.value) << '"' << c.text << '"';
  }
  EXPECT_STREQ(StrConcat(2.5, "x").c_str(), "2.5x");
}

}  // namespace

TEST(StringConversions, NumberToTextAndBack) { CheckConversions(); }

TEST(StringConversions, SameResultsUnderACommaLocale) {
  CommaLocale german;
  if (!german.active()) GTEST_SKIP() << "no de_DE locale installed";
  CheckConversions();
}

TEST(StringOperators, JoiningAcrossOperandKinds) {
  BasicString v("v");
  EXPECT_STREQ(StrConcat(1, BasicString("x")).c_str(), "1x");
  EXPECT_STREQ(StrConcat(2.5, BasicString("x")).c_str(), "2.5x");
  EXPECT_STREQ(StrConcat(v, 3.0).c_str(), "v3");
  EXPECT_STREQ(StrConcat(v, 2.5f).c_str(), "v2.5");
  EXPECT_STREQ(StrConcat(v, -7).c_str(), "v-7");
  EXPECT_STREQ(StrConcat("a", "b").c_str(), "ab");
  EXPECT_STREQ(StrConcatCStrStr("a", v).c_str(), "av");
  EXPECT_STREQ(StrConcatStrCStr(v, "a").c_str(), "va");
  EXPECT_STREQ(StrConcat(0.1f, "x").c_str(), "0.1000000015x");  // the float widened
  EXPECT_STREQ((v + v + 1 + "z").c_str(), "vv1z");
  EXPECT_STREQ(v.c_str(), "v");

  BasicString s("n=");
  s += 12;
  s += 0.5;
  s += 1.5f;
  s += BasicString("!");
  s += s;
  EXPECT_STREQ(s.c_str(), "n=120.51.5!n=120.51.5!");
}

TEST(StringOperators, TextComparisons) {
  BasicString abc("abc"), abd("abd"), empty(""), a("a"), ten("10"), nine("9");
  EXPECT_EQ(StrEquals(abc, BasicString("abc")), 1.0);
  EXPECT_EQ(StrEquals(abc, abd), 0.0);
  // Different lengths are unequal without looking at the text.
  BasicString padded("abc");
  padded.length = 4;  // an embedded NUL after "abc"
  padded.buffer[3] = 0;
  EXPECT_EQ(StrEquals(abc, padded), 0.0);
  EXPECT_EQ(StrEqualsCStr(padded, "abc"), 1.0);

  EXPECT_EQ(StrLess(ten, nine), 1.0);
  EXPECT_EQ(StrLessEqual(empty, empty), 1.0);
  EXPECT_EQ(StrGreaterEqual(a, empty), 1.0);
  EXPECT_EQ(StrGreater("b", a), 1.0);
  EXPECT_EQ(StrGreater(a, a), 0.0);
  EXPECT_EQ(StrNotEqualsCStr("x", "y"), 1.0);
  EXPECT_EQ(StrNotEquals(abc, abc), 0.0);
  EXPECT_EQ(StrLess("\xE9", "a"), 0.0);  // bytes compare unsigned
  EXPECT_LT(StrCompare(abc, "abd"), 0);
  EXPECT_EQ(StrCompare(abc, "abc"), 0);
  EXPECT_GT(StrCompare(abd, "abc"), 0);
}

TEST(StringOperators, TextWithNumberComparisons) {
  BasicString ten("10"), abc("abc"), half(" 0.5 ");
  EXPECT_EQ(StrNumGreater(ten, 9), 1.0);
  EXPECT_EQ(StrNumEquals(abc, 0), 1.0);
  EXPECT_EQ(StrNumEquals(half, 0.5), 1.0);
  EXPECT_EQ(StrNumEquals(half, 0.5f), 1.0);
  EXPECT_EQ(StrNumLess(9.0, ten), 1.0);
  EXPECT_EQ(StrNumGreaterEqual("10", 10), 1.0);
  EXPECT_EQ(StrNumLessEqual(11, "10"), 0.0);
  EXPECT_EQ(StrNumNotEquals("0x10", 16.0), 1.0);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(StrNumEquals(ten, nan), 0.0);
  EXPECT_EQ(StrNumLess(ten, nan), 0.0);
  EXPECT_EQ(StrNumGreaterEqual(nan, ten), 0.0);
  EXPECT_EQ(StrNumNotEquals(ten, nan), 1.0);
  double nine = 9, eleven = 11, tenD = 10;
  EXPECT_EQ(StrCompareNumber(ten, &nine), 1);
  EXPECT_EQ(StrCompareNumber(ten, &eleven), -1);
  EXPECT_EQ(StrCompareNumber(ten, &tenD), 0);
}

TEST(StringOperators, SearchCaseAndTrim) {
  BasicString hello("hello");
  EXPECT_EQ(StrFind(hello, "l"), 2.0);
  EXPECT_EQ(StrFind(hello, ""), 0.0);
  EXPECT_EQ(StrFind(hello, "z"), -1.0);
  EXPECT_EQ(StrFind("aab", BasicString("ab")), 1.0);
  EXPECT_EQ(StrFind(BasicString(""), BasicString("a")), -1.0);
  EXPECT_EQ(StrFind("Hello", "h"), -1.0);

  const char* t = "  x1";
  EXPECT_EQ(StrFindAnyOf(t, "1x"), t + 2);
  EXPECT_EQ(StrFindAnyOf(t, "z"), nullptr);
  EXPECT_EQ(StrFindNotOf(t, " "), t + 2);
  EXPECT_EQ(StrFindNotOf(t, " x1"), nullptr);

  BasicString mixed("aZ\xE9\xC9-q");
  EXPECT_STREQ(StrUpper(mixed).c_str(), "AZ\xE9\xC9-Q");
  EXPECT_STREQ(StrLower(mixed).c_str(), "az\xE9\xC9-q");
  EXPECT_STREQ(mixed.c_str(), "aZ\xE9\xC9-q");

  BasicString crlf("ab\r\n");
  EXPECT_EQ(StrTrimControl(crlf), 1);
  EXPECT_STREQ(crlf.c_str(), "ab");
  EXPECT_EQ(crlf.length, 2u);
  BasicString high("ab\xE9");
  StrTrimControl(high);
  EXPECT_STREQ(high.c_str(), "ab");
  BasicString all("\x01\x02");
  EXPECT_EQ(StrTrimControl(all), -1);
  EXPECT_EQ(all.length, 0u);
  BasicString none;
  EXPECT_EQ(StrTrimControl(none), -1);
  EXPECT_EQ(*gEmptyStringBuffer, 0);
}
