#include <gtest/gtest.h>

#include <cstring>

#include "core/isaac_random.h"

namespace {

// Bob Jenkins' reference ISAAC (rand.c, RANDSIZL 8), written out as published.
struct Reference {
  uint32_t randrsl[256], mm[256], aa = 0, bb = 0, cc = 0;

  void Isaac() {
    uint32_t a = aa, b = bb + (++cc), x, y;
    uint32_t *m = mm, *m2 = mm + 128, *mend = m2, *r = randrsl;
    auto ind = [this](uint32_t v) { return mm[(v >> 2) & 255]; };
    auto step = [&](uint32_t mix) {
      x = *m;
      a = (a ^ mix) + *(m2++);
      *(m++) = y = ind(x) + a + b;
      *(r++) = b = ind(y >> 8) + x;
    };
    for (; m < mend;) {
      step(a << 13); step(a >> 6); step(a << 2); step(a >> 16);
    }
    for (m2 = mm; m2 < mend;) {
      step(a << 13); step(a >> 6); step(a << 2); step(a >> 16);
    }
    bb = b;
    aa = a;
  }

  static void Mix(uint32_t& a, uint32_t& b, uint32_t& c, uint32_t& d, uint32_t& e, uint32_t& f,
                  uint32_t& g, uint32_t& h) {
    a ^= b << 11; d += a; b += c;
    b ^= c >> 2;  e += b; c += d;
    c ^= d << 8;  f += c; d += e;
    d ^= e >> 16; g += d; e += f;
    e ^= f << 10; h += e; f += g;
    f ^= g >> 4;  a += f; g += h;
    g ^= h << 8;  b += g; h += a;
    h ^= a >> 9;  c += h; a += b;
  }

  void Init() {
    uint32_t a, b, c, d, e, f, g, h;
    aa = bb = cc = 0;
    a = b = c = d = e = f = g = h = 0x9e3779b9;
    for (int i = 0; i < 4; ++i) Mix(a, b, c, d, e, f, g, h);
    for (int pass = 0; pass < 2; ++pass) {
      uint32_t* src = pass == 0 ? randrsl : mm;
      for (int i = 0; i < 256; i += 8) {
        a += src[i]; b += src[i + 1]; c += src[i + 2]; d += src[i + 3];
        e += src[i + 4]; f += src[i + 5]; g += src[i + 6]; h += src[i + 7];
        Mix(a, b, c, d, e, f, g, h);
        mm[i] = a; mm[i + 1] = b; mm[i + 2] = c; mm[i + 3] = d;
        mm[i + 4] = e; mm[i + 5] = f; mm[i + 6] = g; mm[i + 7] = h;
      }
    }
    Isaac();
  }
};

}  // namespace

TEST(Isaac, MatchesThePublishedTestVector) {
  // rand.c's own test: all-zero results, randinit(TRUE), then isaac().
  IsaacState s = {};
  IsaacStateInit(s);
  EXPECT_EQ(s.randcnt, 256u);
  IsaacStateRound(s);
  const uint32_t expected[8] = {0xf650e4c8, 0xe448e96d, 0x98db2fb4, 0xf5fad54f,
                                0x433f1afb, 0xedec154a, 0xd8370487, 0x46ca4f9a};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(s.randrsl[i], expected[i]) << i;
}

TEST(Isaac, RoundsMatchTheReferenceFromAnyState) {
  IsaacState s = {};
  Reference ref;
  for (int i = 0; i < 256; ++i) s.randrsl[i] = ref.randrsl[i] = uint32_t(i * 2654435761u);
  std::memset(ref.mm, 0, sizeof ref.mm);
  IsaacStateInit(s);
  ref.Init();
  for (int round = 0; round < 4; ++round) {
    ASSERT_EQ(std::memcmp(s.randrsl, ref.randrsl, sizeof ref.randrsl), 0) << round;
    ASSERT_EQ(std::memcmp(s.mm, ref.mm, sizeof ref.mm), 0) << round;
    IsaacStateRound(s);
    ref.Isaac();
  }
}

TEST(Isaac, SeedingIsRepeatableAndSeedDependent) {
  IsaacState a = {}, b = {}, c = {};
  IsaacStateSeed(a, 987654);
  IsaacStateSeed(b, 987654);
  IsaacStateSeed(c, 987655);
  EXPECT_EQ(a.randcnt, 256u);
  for (int i = 0; i < 16; ++i) {
    IsaacStateRound(a);
    IsaacStateRound(b);
    IsaacStateRound(c);
    ASSERT_EQ(a.randrsl[0], b.randrsl[0]);
    EXPECT_NE(a.randrsl[0], c.randrsl[0]);
  }

  // The global generator draws the same sequence as a state seeded alike.
  IsaacSeed(42);
  IsaacState local = {};
  IsaacStateSeed(local, 42);
  for (int i = 0; i < 8; ++i) {
    IsaacStateRound(local);
    EXPECT_EQ(IsaacRefill(), local.randrsl[0]);
  }
}
