#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/isaac_random.h"
#include "core/math_builtins.h"
#include "core/platform_info.h"
#include "core/string_builtins.h"
#include "core_test_support.h"
#include "platform/debug_link.h"

TEST(MidString, ClampsStartAndCount) {
  struct Case {
    double start, count;
    const char* result;
  } cases[] = {
      {1, 3, "ell"},   {3, 10, "lo"},   {5, 1, ""},      {6, 1, ""},
      {-1, 3, ""},     {1.9, 2.9, "el"}, {0, 0, ""},      {0, 5, "hello"},
      {2, -1, ""},     {0, -1, "hello"}, {1, -3, "ello"},  {1.5, 10, "ello"},
      // Huge counts: the sum wraps as an unsigned 32-bit end but the copy
      // stays inside the text.
      {1, 4294967296.0 + 2, "ello"}, {1, 1e300, "ello"}, {0, 4294967295.0, "hello"},
      {-1e300, 1e300, ""}, {NAN, 2, ""}, {1, NAN, ""},
  };
  BasicString hello("hello");
  for (const Case& c : cases) {
    BasicString r = MidString(hello, c.start, c.count);
    EXPECT_STREQ(r.c_str(), c.result) << c.start << ", " << c.count;
    EXPECT_EQ(r.length, std::strlen(c.result));
  }
  EXPECT_STREQ(MidString(BasicString(), 0, 3).c_str(), "");
}

TEST(ReplaceString, ReplacesEveryOccurrenceOnce) {
  struct Case {
    const char* text;
    const char* find;
    const char* replacement;
    const char* result;
  } cases[] = {
      {"a-b-c", "-", "+", "a+b+c"},
      {"aaa", "a", "aa", "aaaaaa"},        // replacement text is not searched again
      {"abab", "ab", "abab", "abababab"},
      {"xaax", "a", "", "xx"},
      {"aaaa", "aa", "a", "aa"},
      {"hello", "ll", "LLL", "heLLLo"},
      {"hello", "", "x", "hello"},         // empty find changes nothing
      {"hello", "z", "y", "hello"},
      {"", "a", "b", ""},
      {"start end", "start", "S", "S end"},
      {"abc", "abc", "", ""},
  };
  for (const Case& c : cases) {
    BasicString text(c.text), find(c.find), rep(c.replacement);
    BasicString r = ReplaceString(text, find, rep);
    EXPECT_STREQ(r.c_str(), c.result) << c.text << " / " << c.find << " / " << c.replacement;
    EXPECT_EQ(r.length, std::strlen(c.result));
    EXPECT_STREQ(text.c_str(), c.text);  // the caller's variable stays
  }
}

TEST(TextBuiltins, LengthsCodesAndHex) {
  EXPECT_EQ(StrLengthNumber(BasicString("abcd")), 4.0);
  EXPECT_EQ(NumberTextLength(3.0), 1.0);
  EXPECT_EQ(NumberTextLength(0.5), 3.0);
  EXPECT_EQ(NumberTextLength(1e20), 7.0);
  EXPECT_EQ(AscCode(BasicString()), 0.0);
  EXPECT_EQ(AscCode(BasicString("A")), 65.0);
  EXPECT_EQ(AscCode(BasicString("\xE9x")), -23.0);
  EXPECT_STREQ(ChrString(65).c_str(), "A");
  EXPECT_STREQ(ChrString(65.9).c_str(), "A");
  EXPECT_STREQ(ChrString(256 + 66).c_str(), "B");
  EXPECT_STREQ(ChrString(-23).c_str(), "\xE9");
  EXPECT_EQ(ChrString(0).length, 0u);
  EXPECT_EQ(ChrString(512).length, 0u);
  const uint8_t bytes[] = {0x00, 0x0F, 0xA5, 0xFF};
  EXPECT_STREQ(HexBytes(bytes, 4).c_str(), "000FA5FF");
  EXPECT_STREQ(HexBytes(bytes, 0).c_str(), "");
  EXPECT_STREQ(HexBytes(bytes, -3).c_str(), "");
}

static void CheckFormatNumber() {
  struct Case {
    double width, precision, value;
    const char* result;
  } cases[] = {
      {6, 2, 3.14159, "  3.14"}, {0, 0, 2.5, "2"},      {0, 0, 3.5, "4"},
      {2, 0, 7, " 7"},           {2, 0, 12, "12"},      {-6, 1, 1.25, "1.2   "},
      {1, 3, -0.5, "-0.500"},    {0, -1, 1, "1.000000"}, {8, 2, -12.345, "  -12.35"},
  };
  for (const Case& c : cases)
    EXPECT_STREQ(FormatNumber(c.width, c.precision, c.value).c_str(), c.result)
        << c.width << " " << c.precision << " " << c.value;
  // Long outputs are cut to 255 characters rather than overflowing.
  EXPECT_LE(FormatNumber(1000, 2, 1).length, 255u);
  EXPECT_LE(FormatNumber(0, 50, 1e300).length, 255u);
}

TEST(TextBuiltins, FormatNumber) { CheckFormatNumber(); }

TEST(TextBuiltins, FormatNumberUnderACommaLocale) {
  CommaLocale german;
  if (!german.active()) GTEST_SKIP() << "no de_DE locale installed";
  CheckFormatNumber();
}

TEST(MathBuiltins, DegreesAndLimits) {
  EXPECT_NEAR(SinDeg(30), 0.5, 1e-12);
  EXPECT_NEAR(CosDeg(60), 0.5, 1e-12);
  EXPECT_NEAR(TanDeg(45), 1.0, 1e-12);
  EXPECT_NEAR(ATan2Deg(1, 1), 45.0, 1e-12);
  EXPECT_NEAR(ATan2Deg(0, -1), 180.0, 1e-12);
  EXPECT_EQ(ACosDeg(1), 0.0);
  EXPECT_EQ(ACosDeg(-2), 180.0);
  EXPECT_EQ(ASinDeg(2), 90.0);
  EXPECT_EQ(ASinDeg(-1), -90.0);
  EXPECT_NEAR(ASinDeg(0.5), 30.0, 1e-12);
  EXPECT_EQ(PowNumber(2, 10), 1024.0);
  EXPECT_EQ(SqrtNumber(16), 4.0);
  EXPECT_TRUE(std::isnan(SqrtNumber(-1)));
  EXPECT_EQ(AbsNumber(-0.5), 0.5);
  EXPECT_EQ(AbsNumber(3), 3.0);
}

TEST(MathBuiltins, ModuloOfTruncatedIntegers) {
  EXPECT_EQ(ModDouble(7, 0), 0.0);
  EXPECT_EQ(ModDouble(7, 0.5), 0.0);
  EXPECT_EQ(ModDouble(-7, 3), -1.0);
  EXPECT_EQ(ModDouble(7, -3), 1.0);
  EXPECT_EQ(ModDouble(7.9, 3.9), 1.0);
  EXPECT_EQ(ModDouble(-2147483648.0, -1), 0.0);
  EXPECT_EQ(ModDouble(1e12, 7), double(2147483647 % 7));
  EXPECT_EQ(ModDouble(NAN, 3), 0.0);
}

TEST(MathBuiltins, RandomIntRangeAndDraws) {
  IsaacSeed(1234);
  IsaacState before = gIsaac;
  EXPECT_EQ(RandomInt(0), 0.0);
  EXPECT_EQ(RandomInt(-5), 0.0);
  EXPECT_EQ(RandomInt(NAN), 0.0);
  EXPECT_EQ(std::memcmp(&before, &gIsaac, sizeof before), 0);  // no draw

  IsaacState copy = gIsaac;
  IsaacStateRound(copy);
  EXPECT_EQ(RandomInt(1000), double(copy.randrsl[0] % 1001));
  bool seen[2] = {false, false};
  for (int i = 0; i < 200; ++i) {
    double r = RandomInt(1);
    ASSERT_TRUE(r == 0.0 || r == 1.0);
    seen[int(r)] = true;
  }
  EXPECT_TRUE(seen[0] && seen[1]);
  for (int i = 0; i < 200; ++i) {
    double r = RandomInt(6.7);
    ASSERT_GE(r, 0.0);
    ASSERT_LE(r, 6.0);
  }
  double big = RandomInt(4294967295.0);  // modulus 2^32: the whole word
  EXPECT_GE(big, 0.0);
  EXPECT_LE(big, 4294967295.0);
}

TEST(MathBuiltins, BoxOverlap) {
  EXPECT_EQ(BoxOverlap(0, 0, 10, 10, 10, 10, 5, 5), 1.0);
  EXPECT_EQ(BoxOverlap(0, 0, 10, 10, 11, 0, 5, 5), 0.0);
  EXPECT_EQ(BoxOverlap(0, 0, 10, 10, 0, 11, 5, 5), 0.0);
  EXPECT_EQ(BoxOverlap(10, 0, -10, 10, 0, 0, 1, 1), 1.0);
  EXPECT_EQ(BoxOverlap(10, 0, -10, 10, -2, 0, 1, 1), 0.0);
  EXPECT_EQ(BoxOverlap(5, 5, 0, 0, 0, 0, 10, 10), 1.0);
  EXPECT_EQ(BoxOverlap(0, 0, 10, 10, 2, 2, 3, 3), 1.0);
}

TEST(PlatformInfo, Keys) {
  BasicString device("device");
  unsetenv("ORVALE_DEVICE");
  EXPECT_STREQ(PlatformInfo(device).c_str(), "DESKTOP");
  EXPECT_STREQ(device.c_str(), "DEVICE");
  // The device name in capitals, whatever the letter case given.
  for (const char* given : {"F200", "f200"}) {
    setenv("ORVALE_DEVICE", given, 1);
    EXPECT_STREQ(PlatformInfo(device).c_str(), "F200") << given;
  }
  setenv("ORVALE_DEVICE", "Gp2x", 1);
  EXPECT_STREQ(PlatformInfo(device).c_str(), "GP2X");
  setenv("ORVALE_DEVICE", "", 1);
  EXPECT_STREQ(PlatformInfo(device).c_str(), "DESKTOP");
  unsetenv("ORVALE_DEVICE");

  BasicString empty;
  EXPECT_STREQ(PlatformInfo(empty).c_str(), "WIN32");
  BasicString xyz("xyz");
  EXPECT_STREQ(PlatformInfo(xyz).c_str(), "NO_DATA");

  BasicString id("Id");
  std::string idText = PlatformInfo(id).c_str();
  EXPECT_EQ(idText.size(), 8u);
  EXPECT_EQ(idText.find_first_not_of("0123456789ABCDEF"), std::string::npos) << idText;
  BasicString id2("ID");
  EXPECT_EQ(idText, PlatformInfo(id2).c_str());

  BasicString time("time");
  std::string t = PlatformInfo(time).c_str();
  // Year-month-day without leading zeros, then hh:mm:ss two wide each.
  int y = 0, mo = 0, d = 0;
  char rest[16] = {};
  ASSERT_EQ(std::sscanf(t.c_str(), "%d-%d-%d %15[0-9 :]", &y, &mo, &d, rest), 4) << t;
  EXPECT_GE(y, 2000);
  EXPECT_TRUE(mo >= 1 && mo <= 12 && d >= 1 && d <= 31) << t;
  EXPECT_NE(t[5], '0') << t;  // month without a leading zero
  std::string clock = t.substr(t.size() - 8);
  EXPECT_EQ(clock[2], ':');
  EXPECT_EQ(clock[5], ':');
  EXPECT_EQ(clock.size(), 8u);

  BasicString ext("GLEXT:glNoSuchFunctionAnywhere");
  EXPECT_STREQ(PlatformInfo(ext).c_str(), "0");
  EXPECT_STREQ(ext.c_str(), "GLEXT:GLNOSUCHFUNCTIONANYWHERE");
}

TEST(EndStatement, EndsTheProgramWithCodeZero) {
  EXPECT_RUNTIME_ERROR(EndStatement(), 0);
}

TEST(DebugPrint, SendsTextToALinkedDebugger) {
  std::string path = ScratchFolder("debug_print") + "/link";
  int listener = platform::DebuggerListen(path);
  ASSERT_GE(listener, 0);
  setenv(platform::kDebugLinkVariable, path.c_str(), 1);
  testing::internal::CaptureStdout();
  DebugPrint(BasicString("to the debugger"));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  int pid = 0;
  int connection = platform::DebuggerAccept(listener, 2000, &pid);
  ASSERT_GE(connection, 0);
  std::string message;
  EXPECT_EQ(platform::DebuggerReceive(connection, message, 2000), 1);
  EXPECT_EQ(message, "TXto the debugger");
  platform::CloseDebugLink();
  platform::DebuggerClose(connection);
  platform::DebuggerClose(listener);
  unsetenv(platform::kDebugLinkVariable);
}

TEST(DebugPrint, WritesTheProgramTextWithoutADebugger) {
  unsetenv(platform::kDebugLinkVariable);
  testing::internal::CaptureStdout();
  DebugPrint(BasicString("hello debugger"));
  EXPECT_NE(testing::internal::GetCapturedStdout().find("hello debugger"), std::string::npos);
}
