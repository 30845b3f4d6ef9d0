// Picture files: BMP and PNG readers and writers, without a window.
#include <gtest/gtest.h>
#include <png.h>

#include <climits>
#include <cstring>

#include "frame/image_bmp.h"
#include "frame/image_png.h"
#include "image_fixtures.h"

using namespace drawtest;

namespace {

struct Image {
  RgbaImage img = {0, 0, nullptr, 0};
  ~Image() { delete[] img.pixels; }
  const uint8_t* At(int x, int y) const { return img.pixels + (size_t(y) * img.width + x) * 4; }
};

std::vector<uint8_t> Px(const Image& im, int x, int y) {
  const uint8_t* p = im.At(x, y);
  return {p[0], p[1], p[2], p[3]};
}

using V = std::vector<uint8_t>;

}  // namespace

TEST(BmpReader, TwentyFourBitRowsComeOutTopDownWithKey) {
  // 3 x 2, stored bottom-up as blue, green, red; stride 12.
  V rows = {// file row 0 = bottom picture row
            1, 2, 3, 4, 5, 6, 128, 0, 255,
            // file row 1 = top picture row
            10, 20, 30, 40, 50, 60, 70, 80, 90};
  V file = MakeBmp(3, 2, 24, rows);
  ASSERT_EQ(file.size(), 54u + 24u);
  Image im;
  ASSERT_EQ(DecodeBmpImage(&im.img, file.data(), file.size(), 0x8000FF), 1);
  EXPECT_EQ(im.img.width, 3);
  EXPECT_EQ(im.img.height, 2);
  EXPECT_EQ(Px(im, 0, 0), (V{30, 20, 10, 255}));
  EXPECT_EQ(Px(im, 2, 0), (V{90, 80, 70, 255}));
  EXPECT_EQ(Px(im, 0, 1), (V{3, 2, 1, 255}));
  EXPECT_EQ(Px(im, 2, 1), (V{0, 0, 0, 0}));  // (255, 0, 128) is the key
  // Without a key the same pixel stays.
  ASSERT_EQ(DecodeBmpImage(&im.img, file.data(), file.size(), kNoColourKey), 1);
  EXPECT_EQ(Px(im, 2, 1), (V{255, 0, 128, 255}));
}

TEST(BmpReader, TopDownFileKeepsItsOrientation) {
  V rows = {1, 2, 3, /*pad*/ 9, 9, 9};  // 1 x 2: first stored row is the top
  rows = {1, 2, 3, 4, 5, 6};
  V file = MakeBmp(1, -2, 24, rows);
  Image im;
  ASSERT_EQ(DecodeBmpImage(&im.img, file.data(), file.size(), kNoColourKey), 1);
  EXPECT_EQ(im.img.height, 2);
  EXPECT_EQ(Px(im, 0, 0), (V{3, 2, 1, 255}));
  EXPECT_EQ(Px(im, 0, 1), (V{6, 5, 4, 255}));
}

TEST(BmpReader, PaletteAndThirtyTwoBit) {
  // 8-bit with two palette entries; index 7 lies past the palette.
  V palette = {0, 0, 255, 0, /**/ 255, 0, 0, 0};
  V file = MakeBmp(3, 1, 8, V{0, 1, 7}, palette, 2);
  Image im;
  ASSERT_EQ(DecodeBmpImage(&im.img, file.data(), file.size(), kNoColourKey), 1);
  EXPECT_EQ(Px(im, 0, 0), (V{255, 0, 0, 255}));
  EXPECT_EQ(Px(im, 1, 0), (V{0, 0, 255, 255}));
  EXPECT_EQ(Px(im, 2, 0), (V{0, 0, 0, 255}));
  // Key on a palette colour.
  ASSERT_EQ(DecodeBmpImage(&im.img, file.data(), file.size(), 0xFF0000), 1);
  EXPECT_EQ(Px(im, 1, 0), (V{0, 0, 0, 0}));

  V file32 = MakeBmp(2, 1, 32, V{1, 2, 3, 99, 4, 5, 6, 0});
  ASSERT_EQ(DecodeBmpImage(&im.img, file32.data(), file32.size(), kNoColourKey), 1);
  EXPECT_EQ(Px(im, 0, 0), (V{3, 2, 1, 255}));
  EXPECT_EQ(Px(im, 1, 0), (V{6, 5, 4, 255}));
}

TEST(BmpReader, CoreHeaderWithPalette) {
  // 12-byte header, 8 bits, 256 three-byte entries, one pixel of index 1.
  V f(14 + 12 + 768 + 4, 0);
  f[0] = 'B';
  f[1] = 'M';
  uint32_t offset = 14 + 12 + 768;
  std::memcpy(&f[10], &offset, 4);
  f[14] = 12;
  f[18] = 1;  // width
  f[20] = 1;  // height
  f[22] = 1;  // planes
  f[24] = 8;  // bits
  f[26 + 3] = 7;  // entry 1: blue 7, green 8, red 9
  f[26 + 4] = 8;
  f[26 + 5] = 9;
  f[offset] = 1;
  Image im;
  ASSERT_EQ(DecodeBmpImage(&im.img, f.data(), f.size(), kNoColourKey), 1);
  EXPECT_EQ(Px(im, 0, 0), (V{9, 8, 7, 255}));
}

TEST(BmpReader, MalformedFilesFailAndLeaveTheImage) {
  const V good = MakeBmp(2, 2, 24, V(12, 50));
  auto with = [&](size_t at, uint32_t value, int bytes) {
    V f = good;
    for (int i = 0; i < bytes; ++i) f[at + i] = uint8_t(value >> (8 * i));
    return f;
  };
  struct Case {
    const char* what;
    V file;
  } cases[] = {
      {"not BM", with(0, 'X', 1)},
      {"16 bits", with(28, 16, 2)},
      {"4 bits", with(28, 4, 2)},
      {"1 bit", with(28, 1, 2)},
      {"header size 64", with(14, 64, 4)},
      {"header size 124 running into the pixels", with(14, 124, 4)},
      {"header size 0", with(14, 0, 4)},
      {"run-length packed", with(30, 1, 4)},
      {"width 0", with(18, 0, 4)},
      {"negative width", with(18, uint32_t(-5), 4)},
      {"height 0", with(22, 0, 4)},
      {"height INT_MIN", with(22, uint32_t(INT_MIN), 4)},
      {"huge width, short data", with(18, 0x7FFFFFFF, 4)},
      {"huge height, short data", with(22, 0x40000000, 4)},
      {"data offset past the end", with(10, 0xFFFFFFF0u, 4)},
      {"data offset inside the header", with(10, 20, 4)},
      {"truncated pixels", V(good.begin(), good.end() - 1)},
      {"truncated header", V(good.begin(), good.begin() + 30)},
      {"only the signature", V{'B', 'M'}},
      {"empty", V{}},
      {"8 bits without palette", MakeBmp(4, 1, 8, V{0, 1, 2, 3})},
  };
  for (const Case& c : cases) {
    Image im;
    im.img.pixels = new uint8_t[4]{1, 2, 3, 4};
    im.img.width = im.img.height = 1;
    im.img.capacity = 4;
    EXPECT_EQ(DecodeBmpImage(&im.img, c.file.data(), c.file.size(), kNoColourKey), 0) << c.what;
    EXPECT_EQ(im.img.width, 1) << c.what;
    EXPECT_EQ(im.img.pixels[0], 1) << c.what;
  }
}

TEST(BmpReader, PaletteNeverReadsPastTheHeaderGap) {
  // colours used says 256, but only 2 entries fit before the pixel data.
  V file = MakeBmp(2, 1, 8, V{1, 200}, V{1, 1, 1, 0, 2, 2, 2, 0}, 256);
  Image im;
  ASSERT_EQ(DecodeBmpImage(&im.img, file.data(), file.size(), kNoColourKey), 1);
  EXPECT_EQ(Px(im, 0, 0), (V{2, 2, 2, 255}));
  EXPECT_EQ(Px(im, 1, 0), (V{0, 0, 0, 255}));
}

TEST(BmpReader, FileNamesWithBackslashes) {
  std::string path = ScratchPath("slash.bmp");
  ASSERT_TRUE(WriteBytes(path, MakeBmp(1, 1, 24, V{1, 2, 3})));
  std::string windows = path;
  for (char& c : windows)
    if (c == '/') c = '\\';
  Image im;
  EXPECT_EQ(LoadBmpImage(&im.img, windows.c_str(), kNoColourKey), 1);
  EXPECT_EQ(LoadBmpImage(&im.img, (path + ".missing").c_str(), kNoColourKey), 0);
  EXPECT_EQ(LoadBmpImage(&im.img, "", kNoColourKey), 0);
}

TEST(BmpWriter, WritesTwentyFourBitFileReadBackExactly) {
  // 3 x 2 in GL order (bottom-up, blue green red), buffer 4 pixels wide.
  V buffer = {1, 2, 3, 4, 5, 6, 128, 0, 255, 0, 0, 0,  // bottom row
              7, 8, 9, 10, 11, 12, 13, 14, 15, 0, 0, 0};
  std::string path = ScratchPath("out.bmp");
  const uint32_t key = (255u << 24) | (0u << 16) | (128u << 8);
  ASSERT_EQ(SaveBmpFile(path.c_str(), buffer.data(), 3, 2, 4, key), 1);
  V file = ReadBytes(path);
  ASSERT_EQ(file.size(), 54u + 2 * 12);
  uint32_t size, offset, bits;
  std::memcpy(&size, &file[2], 4);
  std::memcpy(&offset, &file[10], 4);
  bits = file[28];
  EXPECT_EQ(size, file.size());
  EXPECT_EQ(offset, 54u);
  EXPECT_EQ(bits, 24u);
  EXPECT_EQ(V(file.begin() + 54, file.begin() + 63), (V{1, 2, 3, 4, 5, 6, 128, 0, 255}));
  EXPECT_EQ(V(file.begin() + 66, file.begin() + 75), (V{7, 8, 9, 10, 11, 12, 13, 14, 15}));

  // A pixel of the screen key is written as the default key colour.
  V keyed = {10, 20, 30};
  const uint32_t key2 = (30u << 24) | (20u << 16) | (10u << 8);
  ASSERT_EQ(SaveBmpFile(path.c_str(), keyed.data(), 1, 1, 1, key2), 1);
  file = ReadBytes(path);
  EXPECT_EQ(V(file.begin() + 54, file.begin() + 57), (V{128, 0, 255}));
  EXPECT_EQ(SaveBmpFile((path + "/no/such/folder.bmp").c_str(), keyed.data(), 1, 1, 1, key2), 0);
}

TEST(PngReader, VariantsLoad) {
  struct Case {
    const char* what;
    PngSpec spec;
    uint32_t key;
    V expect0, expect1;  // first two pixels
  };
  PngSpec rgb{2, 1, PNG_COLOR_TYPE_RGB, 8, false, V{255, 0, 128, 1, 2, 3}};
  PngSpec rgba{2, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8, false, V{255, 0, 128, 77, 1, 2, 3, 4}};
  PngSpec rgba16{1, 2, PNG_COLOR_TYPE_RGB_ALPHA, 16, false,
                 V{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xFF, 0xFF, 0, 1, 2, 3, 4, 5, 6, 7}};
  PngSpec grey{2, 1, PNG_COLOR_TYPE_GRAY, 8, false, V{0, 200}};
  PngSpec grey2{4, 1, PNG_COLOR_TYPE_GRAY, 2, false, V{0x1B}};  // 0, 1, 2, 3
  PngSpec pal{2, 1, PNG_COLOR_TYPE_PALETTE, 8, false, V{1, 0}, V{10, 20, 30, 40, 50, 60}, V{255, 7}};
  PngSpec pal4{2, 1, PNG_COLOR_TYPE_PALETTE, 4, false, V{0x10}, V{10, 20, 30, 40, 50, 60}};
  PngSpec greyAlpha{2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, V{9, 200, 100, 50}};
  PngSpec greyKeyed{2, 1, PNG_COLOR_TYPE_GRAY, 8, false, V{0, 200}};
  greyKeyed.trnsGrey = 200;
  Case cases[] = {
      {"rgb with key", rgb, 0x8000FF, V{0, 0, 0, 0}, V{1, 2, 3, 255}},
      {"rgb without key", rgb, kNoColourKey, V{255, 0, 128, 255}, V{1, 2, 3, 255}},
      {"rgba keeps its alpha", rgba, 0x8000FF, V{255, 0, 128, 77}, V{1, 2, 3, 4}},
      {"16-bit stripped", rgba16, kNoColourKey, V{0x12, 0x56, 0x9A, 0xFF}, V{0, 2, 4, 6}},
      {"grey", grey, kNoColourKey, V{0, 0, 0, 255}, V{200, 200, 200, 255}},
      {"2-bit grey", grey2, kNoColourKey, V{0, 0, 0, 255}, V{85, 85, 85, 255}},
      {"palette with tRNS", pal, kNoColourKey, V{40, 50, 60, 7}, V{10, 20, 30, 255}},
      {"4-bit palette", pal4, kNoColourKey, V{40, 50, 60, 255}, V{10, 20, 30, 255}},
      {"grey with alpha", greyAlpha, kNoColourKey, V{9, 9, 9, 200}, V{100, 100, 100, 50}},
      {"grey with a transparent shade", greyKeyed, kNoColourKey, V{0, 0, 0, 255},
       V{200, 200, 200, 0}},
  };
  for (const Case& c : cases) {
    std::string path = ScratchPath("variant.png");
    ASSERT_TRUE(WritePng(path, c.spec)) << c.what;
    Image im;
    ASSERT_EQ(LoadPngImage(&im.img, path.c_str(), c.key), 1) << c.what;
    EXPECT_EQ(im.img.width, c.spec.width) << c.what;
    EXPECT_EQ(im.img.height, c.spec.height) << c.what;
    EXPECT_EQ(Px(im, 0, 0), c.expect0) << c.what;
    const int x1 = c.spec.width > 1 ? 1 : 0, y1 = c.spec.width > 1 ? 0 : 1;
    EXPECT_EQ(Px(im, x1, y1), c.expect1) << c.what;
  }
}

TEST(PngReader, InterlacedMatchesPlain) {
  PngSpec s{13, 11, PNG_COLOR_TYPE_RGB, 8, false, {}};
  for (int i = 0; i < 13 * 11 * 3; ++i) s.samples.push_back(uint8_t(i * 7 + i / 5));
  std::string plain = ScratchPath("plain.png"), laced = ScratchPath("laced.png");
  ASSERT_TRUE(WritePng(plain, s));
  s.interlaced = true;
  ASSERT_TRUE(WritePng(laced, s));
  Image a, b;
  ASSERT_EQ(LoadPngImage(&a.img, plain.c_str(), kNoColourKey), 1);
  ASSERT_EQ(LoadPngImage(&b.img, laced.c_str(), kNoColourKey), 1);
  ASSERT_EQ(a.img.width, b.img.width);
  EXPECT_EQ(0, std::memcmp(a.img.pixels, b.img.pixels, size_t(13 * 11 * 4)));
  EXPECT_EQ(Px(a, 12, 10)[0], s.samples[(10 * 13 + 12) * 3]);
}

TEST(PngReader, BadFilesFail) {
  PngSpec s{64, 64, PNG_COLOR_TYPE_RGB, 8, false, {}};
  uint32_t seed = 2463534242u;
  for (int i = 0; i < 64 * 64 * 3; ++i) {
    seed ^= seed << 13;
    seed ^= seed >> 17;
    seed ^= seed << 5;
    s.samples.push_back(uint8_t(seed));
  }
  std::string path = ScratchPath("whole.png");
  ASSERT_TRUE(WritePng(path, s));
  V whole = ReadBytes(path);
  ASSERT_GT(whole.size(), 10000u);

  struct Case {
    const char* what;
    V bytes;
  } cases[] = {
      {"truncated in the image data", V(whole.begin(), whole.begin() + whole.size() / 2)},
      {"truncated before the end chunk", V(whole.begin(), whole.end() - 12)},
      {"truncated header", V(whole.begin(), whole.begin() + 20)},
      {"not a png", V{'B', 'M', 0, 0}},
      {"empty", V{}},
  };
  for (const Case& c : cases) {
    std::string p = ScratchPath("bad.png");
    ASSERT_TRUE(WriteBytes(p, c.bytes));
    Image im;
    EXPECT_EQ(LoadPngImage(&im.img, p.c_str(), kNoColourKey), 0) << c.what;
  }
  Image im;
  EXPECT_EQ(LoadPngImage(&im.img, ScratchPath("missing.png").c_str(), kNoColourKey), 0);
  // A failed load does not disturb the next one.
  EXPECT_EQ(LoadPngImage(&im.img, path.c_str(), kNoColourKey), 1);
}

TEST(PngWriter, RoundTripIsExact) {
  // blue, green, red, alpha; 3 x 2.
  V pixels;
  for (int i = 0; i < 3 * 2; ++i) {
    pixels.push_back(uint8_t(10 * i));
    pixels.push_back(uint8_t(10 * i + 1));
    pixels.push_back(uint8_t(10 * i + 2));
    pixels.push_back(uint8_t(255 - i));
  }
  std::string path = ScratchPath("written.png");
  ASSERT_EQ(SavePngFile(path.c_str(), pixels.data(), 3, 2), 1);
  Image im;
  ASSERT_EQ(LoadPngImage(&im.img, path.c_str(), kNoColourKey), 1);
  ASSERT_EQ(im.img.width, 3);
  ASSERT_EQ(im.img.height, 2);
  for (int i = 0; i < 6; ++i) {
    const uint8_t* p = im.img.pixels + i * 4;
    EXPECT_EQ(p[0], pixels[i * 4 + 2]);
    EXPECT_EQ(p[1], pixels[i * 4 + 1]);
    EXPECT_EQ(p[2], pixels[i * 4 + 0]);
    EXPECT_EQ(p[3], pixels[i * 4 + 3]);
  }
  EXPECT_EQ(SavePngFile((path + "/x/y.png").c_str(), pixels.data(), 3, 2), 0);
}

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's allocation hooks (not in every compiler's headers).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, size_t),
                                                         void (*)(const volatile void*));
#define ORVALE_TEST_MALLOC_HOOKS 1
#endif

namespace {
size_t gLargestAllocation = 0;
}  // namespace

// A 41-byte file whose text chunk claims nearly 2 GB is refused without
// libpng allocating anything near that.
TEST(PngReader, HugeChunkLengthIsRefusedWithoutAllocatingIt) {
  PngSpec tiny{1, 1, PNG_COLOR_TYPE_RGB, 8, false, V{1, 2, 3}};
  std::string path = ScratchPath("tiny.png");
  ASSERT_TRUE(WritePng(path, tiny));
  V bytes = ReadBytes(path);
  bytes.resize(33);  // signature and header chunk
  for (int b : {0x7F, 0xFF, 0xFF, 0x00, int('t'), int('E'), int('X'), int('t')}) bytes.push_back(uint8_t(b));
  ASSERT_EQ(bytes.size(), 41u);
  std::string bad = ScratchPath("huge_chunk.png");
  ASSERT_TRUE(WriteBytes(bad, bytes));
#ifdef ORVALE_TEST_MALLOC_HOOKS
  gLargestAllocation = 0;
  __sanitizer_install_malloc_and_free_hooks(
      [](const volatile void*, size_t size) {
        if (size > gLargestAllocation) gLargestAllocation = size;
      },
      [](const volatile void*) {});
#endif
  Image im;
  EXPECT_EQ(LoadPngImage(&im.img, bad.c_str(), kNoColourKey), 0);
#ifdef ORVALE_TEST_MALLOC_HOOKS
  __sanitizer_install_malloc_and_free_hooks(nullptr, nullptr);
  EXPECT_LT(gLargestAllocation, size_t(64) << 20) << gLargestAllocation;
#endif
}

// Bitmaps with the longer info headers of today's editors read as the
// plain one does.
TEST(BmpReader, LongerInfoHeadersRead) {
  for (uint32_t header : {52u, 56u, 108u, 124u}) {
    V file = MakeBmp(2, 1, 24, V{1, 2, 3, 4, 5, 6}, {}, 0, header);
    Image im;
    ASSERT_EQ(DecodeBmpImage(&im.img, file.data(), file.size(), kNoColourKey), 1) << header;
    EXPECT_EQ(Px(im, 0, 0), (V{3, 2, 1, 255})) << header;
    EXPECT_EQ(Px(im, 1, 0), (V{6, 5, 4, 255})) << header;
    V palette = MakeBmp(2, 1, 8, V{1, 0}, V{10, 20, 30, 0, 40, 50, 60, 0}, 2, header);
    ASSERT_EQ(DecodeBmpImage(&im.img, palette.data(), palette.size(), kNoColourKey), 1) << header;
    EXPECT_EQ(Px(im, 0, 0), (V{60, 50, 40, 255})) << header;
    // Cut inside the longer header: refused.
    V cut(file.begin(), file.begin() + 14 + header - 1);
    EXPECT_EQ(DecodeBmpImage(&im.img, cut.data(), cut.size(), kNoColourKey), 0) << header;
  }
}
