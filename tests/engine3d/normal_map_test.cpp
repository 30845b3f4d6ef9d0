// Normal maps from height pictures, checked against values worked out by
// hand: h = blue / 255, Sobel slopes dx, dy over the wrapped picture,
// n = 1 / sqrt(dx^2 + dy^2 + 1), channel = (value + 1) * 127.5 cut down.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "frame/normal_map.h"

namespace {

struct Rgb {
  int r, g, b;
};

// A w x h picture with every blue byte 0 except the given ones; red, green
// and alpha carry noise that must not count as height.
std::vector<uint8_t> HeightPicture(int w, int h, int peakX, int peakY) {
  std::vector<uint8_t> px(size_t(w) * h * 4);
  for (int i = 0; i < w * h; ++i) {
    px[i * 4 + 0] = uint8_t(17 * i);
    px[i * 4 + 1] = uint8_t(200 - i);
    px[i * 4 + 2] = 0;
    px[i * 4 + 3] = uint8_t(10 + i);
  }
  px[(size_t(peakY) * w + peakX) * 4 + 2] = 255;
  return px;
}

TEST(NormalMap, SinglePeakOnWrappedThreeByThree) {
  // Peak at (1, 1). Left of it dx = -2, dy = 0: n = 1/sqrt(5) = 0.44721,
  // R = (1 - 0.89443) * 127.5 = 13, B = 1.44721 * 127.5 = 184. Corner (0, 0)
  // sees the peak diagonally: dx = -1, dy = 1, n = 0.57735, R = 53,
  // G = B = 201. The peak itself is flat: 127, 127, 255.
  const Rgb expected[3][3] = {
      {{53, 201, 201}, {127, 241, 184}, {201, 201, 201}},
      {{13, 127, 184}, {127, 127, 255}, {241, 127, 184}},
      {{53, 53, 201}, {127, 13, 184}, {201, 53, 201}},
  };
  std::vector<uint8_t> px = HeightPicture(3, 3, 1, 1);
  std::vector<uint8_t> alpha;
  for (int i = 0; i < 9; ++i) alpha.push_back(px[i * 4 + 3]);
  RgbaImage image{3, 3, px.data(), 36};
  ConvertToNormalMap(&image);
  EXPECT_EQ(image.pixels, px.data());
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) {
      const uint8_t* p = &px[(y * 3 + x) * 4];
      EXPECT_EQ(p[0], expected[y][x].r) << x << "," << y;
      EXPECT_EQ(p[1], expected[y][x].g) << x << "," << y;
      EXPECT_EQ(p[2], expected[y][x].b) << x << "," << y;
      EXPECT_EQ(p[3], alpha[y * 3 + x]) << x << "," << y;
    }
}

TEST(NormalMap, TinyPicturesWrapOntoThemselves) {
  // Every neighbour of a 1 x 1 or 1 x 2 picture column is the same column:
  // the slopes cancel and the normal points straight up.
  for (int h : {1, 2}) {
    std::vector<uint8_t> px = HeightPicture(1, h, 0, 0);
    RgbaImage image{1, h, px.data(), 4 * h};
    ConvertToNormalMap(&image);
    EXPECT_EQ(px[0], 127);
    EXPECT_EQ(px[2], 255);
    if (h == 2) {
      EXPECT_EQ(px[4 + 1], 127);  // dy: rows 0 and 2 = 0 coincide
    }
  }
}

TEST(NormalMap, EmptyImageIsLeftAlone) {
  RgbaImage none{0, 0, nullptr, 0};
  ConvertToNormalMap(&none);
  ConvertToNormalMap(nullptr);
}

}  // namespace
