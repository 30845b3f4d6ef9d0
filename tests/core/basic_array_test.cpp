#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/basic_array.h"
#include "core_test_support.h"
#include "platform/system.h"

TEST(BasicArray, DimSizesCapacityAndStorage) {
  BasicArray a;
  ArrayDim(a, 10);
  EXPECT_EQ(a.size0, 10u);
  EXPECT_EQ(a.capacity, 16u);
  EXPECT_EQ(a.dimensionCount, 1u);
  EXPECT_EQ(a.data, a.inlineStorage);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(a.data[i], 0.0);

  ArrayDim(a, 16);
  EXPECT_EQ(a.capacity, 24u);
  EXPECT_NE(a.data, a.inlineStorage);

  *ArrayElement(a, 3) = 5;
  double* block = a.data;
  ArrayDim(a, 4);  // never shrinks: the block stays and is cleared
  EXPECT_EQ(a.data, block);
  EXPECT_EQ(a.capacity, 24u);
  EXPECT_EQ(*ArrayElement(a, 3), 0.0);

  BasicArray z;
  ArrayDim(z, 0);
  EXPECT_EQ(z.capacity, 8u);
  EXPECT_EQ(z.dimensionCount, 0u);

  BasicArray half;
  ArrayDim(half, 0.5, 3);
  EXPECT_EQ(half.size0, 0u);
  EXPECT_EQ(half.dimensionCount, 2u);

  BasicArray frac;
  ArrayDim(frac, 2.5, 2.5);
  EXPECT_EQ(frac.size0, 2u);
  EXPECT_EQ(frac.size1, 2u);
  EXPECT_EQ(frac.capacity, 8u);

  BasicArray four;
  ArrayDim(four, 2, 3, 4, 5);
  EXPECT_EQ(four.dimensionCount, 4u);
  EXPECT_EQ(four.stride1, 2u);
  EXPECT_EQ(four.stride2, 6u);
  EXPECT_EQ(four.stride3, 24u);
  EXPECT_EQ(four.capacity, 128u);
  EXPECT_EQ(ArraySize(four, 3), 5.0);
  EXPECT_EQ(ArraySize(four, 1.7), 3.0);
  EXPECT_EQ(ArraySize(four, 4), 0.0);
  EXPECT_EQ(ArraySize(four, -1), 0.0);
}

TEST(BasicArray, ElementsOfOneToFourDimensionsAreDistinct) {
  const double dims[4][4] = {{7, 0, 0, 0}, {7, 3, 0, 0}, {7, 3, 2, 0}, {4, 3, 2, 2}};
  for (const auto& d : dims) {
    BasicArray a;
    ArrayDim(a, d[0], d[1], d[2], d[3]);
    int n0 = int(d[0]), n1 = d[1] ? int(d[1]) : 1, n2 = d[2] ? int(d[2]) : 1, n3 = d[3] ? int(d[3]) : 1;
    double v = 1;
    for (int l = 0; l < n3; ++l)
      for (int k = 0; k < n2; ++k)
        for (int j = 0; j < n1; ++j)
          for (int i = 0; i < n0; ++i) *ArrayElement(a, i, j, k, l) = v++;
    v = 1;
    for (int l = 0; l < n3; ++l)
      for (int k = 0; k < n2; ++k)
        for (int j = 0; j < n1; ++j)
          for (int i = 0; i < n0; ++i) {
            ASSERT_EQ(*ArrayElement(a, i, j, k, l), v) << i << j << k << l;
            // First index fastest.
            ASSERT_EQ(ArrayElement(a, i, j, k, l) - a.data, long(v - 1));
            ++v;
          }
  }
}

struct BadIndex {
  double d[4];
  int32_t i, j, k, l;
};

class BasicArrayBadIndex : public testing::TestWithParam<BadIndex> {};

TEST_P(BasicArrayBadIndex, EndsWithError9) {
  const BadIndex& c = GetParam();
  BasicArray a;
  ArrayDim(a, c.d[0], c.d[1], c.d[2], c.d[3]);
  EXPECT_RUNTIME_ERROR(ArrayElement(a, c.i, c.j, c.k, c.l), 9);
  StringArray s;
  StrArrayDim(s, c.d[0], c.d[1], c.d[2], c.d[3]);
  EXPECT_RUNTIME_ERROR(StrArrayElement(s, c.i, c.j, c.k, c.l), 9);
  ByteArray b;
  ByteArrayDim(b, c.d[0], c.d[1], c.d[2], c.d[3]);
  EXPECT_RUNTIME_ERROR(ByteArrayElement(b, c.i, c.j, c.k, c.l), 9);
}

INSTANTIATE_TEST_SUITE_P(
    EveryDimension, BasicArrayBadIndex,
    testing::Values(
        BadIndex{{10, 0, 0, 0}, 10, 0, 0, 0}, BadIndex{{10, 0, 0, 0}, -1, 0, 0, 0},
        BadIndex{{10, 0, 0, 0}, 3, 1, 0, 0}, BadIndex{{10, 0, 0, 0}, 3, 0, 1, 0},
        BadIndex{{10, 0, 0, 0}, 3, 0, 0, 1}, BadIndex{{10, 5, 0, 0}, 10, 0, 0, 0},
        BadIndex{{10, 5, 0, 0}, 0, 5, 0, 0}, BadIndex{{10, 5, 0, 0}, 0, -1, 0, 0},
        BadIndex{{4, 3, 2, 0}, 0, 0, 2, 0}, BadIndex{{4, 3, 2, 0}, 0, 0, -1, 0},
        BadIndex{{4, 3, 2, 2}, 0, 0, 0, 2}, BadIndex{{4, 3, 2, 2}, 0, 0, 0, -1},
        BadIndex{{4, 3, 2, 2}, 4, 2, 1, 1}, BadIndex{{0, 0, 0, 0}, 0, 0, 0, 0},
        BadIndex{{0.5, 3, 0, 0}, 0, 0, 0, 0},
        // A negative size is a dimension with only index 0, never a huge one.
        BadIndex{{10, -5, 0, 0}, 0, 1, 0, 0}, BadIndex{{10, -5, 0, 0}, 0, 100, 0, 0},
        BadIndex{{3, 2, -1e9, 0}, 0, 0, 5, 0}, BadIndex{{3, 2, 2, -3}, 0, 0, 0, 1}));

TEST(BasicArray, ValidEdgeIndexes) {
  BasicArray a;
  ArrayDim(a, 10, 5);
  *ArrayElement(a, 9, 4) = 1;
  BasicArray b;
  ArrayDim(b, 10);
  *ArrayElement(b, 3, 0) = 2;
  BasicArray neg;
  ArrayDim(neg, 10, -5);
  EXPECT_EQ(neg.size1, 0u);
  *ArrayElement(neg, 9, 0) = 3;
  EXPECT_EQ(*ArrayElement(neg, 9), 3.0);
}

TEST(BasicArray, HugeDimEndsWithError7) {
  BasicArray a;
  EXPECT_RUNTIME_ERROR(ArrayDim(a, 1e6, 1e6, 1e6), 7);
  StringArray s;
  EXPECT_RUNTIME_ERROR(StrArrayDim(s, 1e12), 7);
}

TEST(BasicArray, RedimKeepCopyAndValues) {
  BasicArray a;
  ArrayDim(a, 3, 3);
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 3; ++i) *ArrayElement(a, i, j) = 10 * i + j + 1;
  ArrayRedimKeep(a, 5, 2);
  EXPECT_EQ(a.size0, 5u);
  EXPECT_EQ(a.size1, 2u);
  for (int j = 0; j < 2; ++j)
    for (int i = 0; i < 5; ++i)
      EXPECT_EQ(*ArrayElement(a, i, j), i < 3 ? 10 * i + j + 1 : 0.0) << i << "," << j;

  // Growth onto a block keeps the elements too.
  ArrayRedimKeep(a, 20, 2);
  EXPECT_NE(a.data, a.inlineStorage);
  EXPECT_EQ(*ArrayElement(a, 2, 1), 22.0);
  EXPECT_EQ(*ArrayElement(a, 19, 1), 0.0);
  ArrayRedimKeep(a, 40, 3);
  EXPECT_EQ(*ArrayElement(a, 2, 1), 22.0);
  EXPECT_EQ(*ArrayElement(a, 2, 2), 0.0);

  BasicArray copy;
  ArrayCopy(copy, a);
  EXPECT_EQ(copy.size0, 40u);
  EXPECT_EQ(copy.size1, 3u);
  EXPECT_EQ(*ArrayElement(copy, 2, 1), 22.0);
  ArrayCopy(copy, copy);
  EXPECT_EQ(*ArrayElement(copy, 2, 1), 22.0);

  const double values[] = {1.5, 2.5, 3.5};
  BasicArray v;
  ArrayFromValues(v, 3, values);
  EXPECT_EQ(v.size0, 3u);
  EXPECT_EQ(*ArrayElement(v, 2), 3.5);
}

TEST(StringArray, CapacityAndClearing) {
  StringArray s;
  StrArrayDim(s, 1);
  EXPECT_EQ(s.capacity, 64u);
  *StrArrayElement(s, 0) = "kept?";
  BasicString* block = s.data;
  StrArrayDim(s, 2, 3);
  EXPECT_EQ(s.data, block);
  EXPECT_EQ(StrArrayElement(s, 0)->length, 0u);
  StrArrayDim(s, 64);
  EXPECT_EQ(s.capacity, 128u);
  *StrArrayElement(s, 63) = "last";
  EXPECT_STREQ(StrArrayElement(s, 63)->c_str(), "last");
  EXPECT_EQ(StrArraySize(s, 0), 64.0);

  ByteArray b;
  ByteArrayDim(b, 100);
  EXPECT_EQ(b.capacity, 128u);
  *ByteArrayElement(b, 9) = 7;
  uint8_t* bytes = b.data;
  ByteArrayDim(b, 10);
  EXPECT_EQ(b.data, bytes);
  EXPECT_EQ(*ByteArrayElement(b, 9), 0);
  EXPECT_EQ(ByteArraySize(b, 0), 10.0);
}

TEST(StringArray, SplitToArray) {
  struct Case {
    const char* text;
    const char* delimiters;
    std::vector<std::string> parts;
  } cases[] = {
      {"a,b;;c", ",;", {"a", "b", "c"}},
      {",,a,,", ",", {"a"}},
      {"", ",", {}},
      {",,,", ",", {}},
      {"one", ",", {"one"}},
      {"one two", "", {"one two"}},
      {"x y  z ", " ", {"x", "y", "z"}},
  };
  for (const Case& c : cases) {
    StringArray arr;
    BasicString text(c.text);
    double n = SplitToArray(text, arr, BasicString(c.delimiters));
    ASSERT_EQ(n, double(c.parts.size())) << c.text;
    for (size_t i = 0; i < c.parts.size(); ++i)
      EXPECT_STREQ(StrArrayElement(arr, int32_t(i))->c_str(), c.parts[i].c_str());
    EXPECT_STREQ(text.c_str(), c.text);
  }
}

TEST(StringArray, ListDirectoryFoldersFirstThenMatchingFiles) {
  std::string dir = ScratchFolder("list_directory");
  std::filesystem::create_directory(dir + "/sub");
  for (const char* f : {"notes.txt", "B.TXT", "a.txt.bak", "readme", "x.txt"})
    std::ofstream(dir + "/" + f) << "x";
  std::string before = platform::CurrentFolder();
  ASSERT_TRUE(platform::SetCurrentFolder(dir));
  StringArray arr;
  double r = ListDirectory(BasicString("*.TXT"), arr);
  platform::SetCurrentFolder(before);
  EXPECT_EQ(r, 3 * 65536.0 + 3);
  std::vector<std::string> names;
  for (int i = 0; i < 6; ++i) names.push_back(StrArrayElement(arr, i)->c_str());
  EXPECT_EQ(names, (std::vector<std::string>{".", "..", "sub", "B.TXT", "notes.txt", "x.txt"}));

  ASSERT_TRUE(platform::SetCurrentFolder(dir));
  r = ListDirectory(BasicString("?.txt"), arr);
  platform::SetCurrentFolder(before);
  EXPECT_EQ(r, 3 * 65536.0 + 2);
}
