#include "core/pack_codec.h"

#include <gtest/gtest.h>
#include <lzo/lzo1x.h>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

struct CodecDeleter {
  void operator()(PackCodec* c) const {
    PackCodecReset(*c);
    delete c;
  }
};
using CodecPtr = std::unique_ptr<PackCodec, CodecDeleter>;

CodecPtr NewCodec(uint32_t mode) {
  CodecPtr c(new PackCodec);
  PackCodecInit(*c, mode);
  return c;
}

Bytes Output(const PackCodec& c) { return Bytes(c.output, c.output + c.outputLength); }

// The mode-1 block liblzo2 itself gives for data.
Bytes LzoBlock(const Bytes& data) {
  EXPECT_EQ(lzo_init(), LZO_E_OK);
  std::vector<unsigned char> work(LZO1X_1_MEM_COMPRESS);
  Bytes out(data.size() + data.size() / 16 + 64 + 3 + 4);
  uint32_t n = uint32_t(data.size());
  out[0] = uint8_t(n), out[1] = uint8_t(n >> 8), out[2] = uint8_t(n >> 16), out[3] = uint8_t(n >> 24);
  lzo_uint packed = 0;
  static const uint8_t none = 0;
  EXPECT_EQ(lzo1x_1_compress(data.empty() ? &none : data.data(), data.size(), out.data() + 4,
                             &packed, work.data()),
            LZO_E_OK);
  out.resize(4 + packed);
  return out;
}

Bytes Random(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  Bytes b(n);
  for (auto& x : b) x = uint8_t(rng());
  return b;
}

// Picture-like: runs and gradients with some noise.
Bytes PictureLike(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = uint8_t((i / 64) + ((rng() % 8 == 0) ? rng() % 4 : 0));
  return b;
}

}  // namespace

TEST(PackCodec, Mode1BlocksMatchLiblzo) {
  auto c = NewCodec(1);
  for (const char* text : {"", "hello"}) {
    Bytes in(text, text + std::strlen(text));
    Bytes expect = LzoBlock(in);
    ASSERT_EQ(PackCodecCompress(*c, in.data(), uint32_t(in.size())), expect.size()) << text;
    EXPECT_EQ(Output(*c), expect) << text;
  }
  // The empty block is the size word and the end-of-stream code.
  EXPECT_EQ(LzoBlock({}), (Bytes{0, 0, 0, 0, 0x11, 0, 0}));
  PackCodecReset(*c);
  EXPECT_EQ(c->output, nullptr);
}

TEST(PackCodec, RoundTripsInBothModes) {
  std::vector<Bytes> inputs = {{}, {'x'}, Bytes(13, 'a'), Bytes(14, 'a'), Random(1000, 1),
                               Random(100000, 2), PictureLike(300000, 3), Bytes(70000, 0)};
  // LZSS: long repeats and distances with bit 7 set.
  Bytes far = Random(3000, 4);
  for (size_t i = 200; i < far.size(); ++i)
    if (i % 3 == 0) far[i] = far[i - 200];
  inputs.push_back(far);
  for (uint32_t mode : {1u, 0u}) {
    auto c = NewCodec(mode);
    auto d = NewCodec(mode);
    for (const Bytes& in : inputs) {
      if (mode == 0 && in.size() > 100000) continue;  // the LZSS encoder is slow
      uint32_t n = PackCodecCompress(*c, in.data(), uint32_t(in.size()));
      ASSERT_GT(n, 0u);
      EXPECT_TRUE(PackCodecDecompressChecked(*d, c->output, n));
      EXPECT_EQ(PackCodecDecompress(*d, c->output, n), in.size());
      EXPECT_EQ(Output(*d), in) << "mode " << mode << " size " << in.size();
    }
  }
}

TEST(PackCodec, Mode1SizeWordAndDamage) {
  auto c = NewCodec(1);
  Bytes ten = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'};
  Bytes block = LzoBlock(ten);
  EXPECT_EQ(PackCodecDecompress(*c, block.data(), uint32_t(block.size())), 10u);
  EXPECT_EQ(Output(*c), ten);

  Bytes big = LzoBlock(PictureLike(50000, 7));
  struct Case {
    const char* what;
    Bytes block;
  };
  std::vector<Case> bad;
  Bytes cut(big.begin(), big.begin() + long(big.size() / 2));
  bad.push_back({"truncated stream", cut});
  Bytes flipped = big;
  for (size_t i = 4; i < flipped.size(); i += 7) flipped[i] ^= 0x5A;
  bad.push_back({"scrambled stream", flipped});
  Bytes trailing = block;
  trailing.push_back(0);
  bad.push_back({"bytes after the end code", trailing});
  Bytes claimsMore = block;
  claimsMore[0] = 11;
  bad.push_back({"size word above the stream", claimsMore});
  Bytes claimsLess = block;
  claimsLess[0] = 9;
  bad.push_back({"size word below the stream", claimsLess});
  Bytes huge = block;
  huge[3] = 0x7F;
  bad.push_back({"size word beyond the cap", huge});
  Bytes ratio = {0, 0, 0, 1, 0x11, 0, 0};  // 16 MB claimed from 3 bytes
  bad.push_back({"size word beyond any stream ratio", ratio});
  for (size_t n = 0; n < 4; ++n) bad.push_back({"block under 4 bytes", Bytes(block.begin(), block.begin() + long(n))});
  for (const Case& k : bad) {
    // Exact-size heap copies so that any read past the end is caught.
    std::unique_ptr<uint8_t[]> copy(new uint8_t[k.block.size() + 0]);
    std::copy(k.block.begin(), k.block.end(), copy.get());
    EXPECT_EQ(PackCodecDecompress(*c, copy.get(), uint32_t(k.block.size())), 0u) << k.what;
    EXPECT_FALSE(PackCodecDecompressChecked(*c, copy.get(), uint32_t(k.block.size()))) << k.what;
  }
  // An empty member is a success with no bytes.
  Bytes empty = LzoBlock({});
  EXPECT_TRUE(PackCodecDecompressChecked(*c, empty.data(), uint32_t(empty.size())));
  EXPECT_EQ(c->outputLength, 0u);
}

TEST(PackCodec, LongRunsStayWithinTheRatioBound) {
  auto c = NewCodec(1);
  Bytes zeros(kPackMaxUnpackedSize / 16, 0);
  uint32_t n = PackCodecCompress(*c, zeros.data(), uint32_t(zeros.size()));
  Bytes packed(c->output, c->output + n);
  EXPECT_EQ(PackCodecDecompress(*c, packed.data(), n), zeros.size());
}

TEST(PackCodec, IncompressibleInputFitsTheOutputBlock) {
  auto c = NewCodec(1);
  Bytes in = Random(1 << 20, 9);
  uint32_t n = PackCodecCompress(*c, in.data(), uint32_t(in.size()));
  EXPECT_GT(n, in.size());  // larger than size + size/64 + 23 would hold
  EXPECT_LE(n, PackCodecBound(uint32_t(in.size())));
  Bytes packed(c->output, c->output + n);
  EXPECT_EQ(PackCodecDecompress(*c, packed.data(), n), in.size());
  EXPECT_EQ(Output(*c), in);
}

TEST(PackCodec, LzssStreams) {
  auto c = NewCodec(0);
  struct Case {
    Bytes stream;
    bool ok;
    Bytes out;
  } cases[] = {
      {{0x60, 0x41, 0x02, 0x01, 0x00}, true, Bytes(5, 0x41)},
      {{0x80, 0x00}, true, {}},
      {{0x00, 'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 0x80, 0x00}, true,
       {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'}},
      {{}, false, {}},
      {{0x60, 0x41, 0x02}, false, {}},  // cut inside a match
      {{0x00, 'a', 'b'}, false, {}},    // no end item
  };
  for (const Case& k : cases) {
    std::unique_ptr<uint8_t[]> copy(new uint8_t[k.stream.size() + 1]);
    std::copy(k.stream.begin(), k.stream.end(), copy.get());
    bool ok = PackCodecDecompressChecked(*c, copy.get(), uint32_t(k.stream.size()));
    EXPECT_EQ(ok, k.ok);
    if (k.ok) {
      EXPECT_EQ(Output(*c), k.out);
    }
  }
  // The output grows in 1024-byte steps through PackCodecPutByte.
  PackCodecReset(*c);
  for (int i = 0; i < 3000; ++i) PackCodecPutByte(*c, uint8_t(i));
  EXPECT_EQ(c->outputLength, 3000u);
  EXPECT_EQ(c->output[2999], uint8_t(2999));
  EXPECT_EQ(c->ring[2999 & 0x7FF], uint8_t(2999));
  PackCodecReset(*c);
}

TEST(PackCodec, InsertPositionKeepsNewestFirst) {
  auto c = NewCodec(0);
  for (uint32_t p = 0; p < 20; ++p) PackCodecInsertPosition(c->buckets, 65, 2, p);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(c->buckets[1][2][i], uint32_t(19 - i));
}
