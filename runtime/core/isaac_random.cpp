#include "core/isaac_random.h"

#include <cstring>

IsaacState gIsaac = {};

void IsaacStateRound(IsaacState& s) {
  uint32_t* mm = s.mm;
  s.cc += 1;
  s.bb += s.cc;
  uint32_t a = s.aa, b = s.bb;
  for (int i = 0; i < 256; ++i) {
    uint32_t x = mm[i];
    switch (i & 3) {
      case 0: a ^= a << 13; break;
      case 1: a ^= a >> 6; break;
      case 2: a ^= a << 2; break;
      case 3: a ^= a >> 16; break;
    }
    a += mm[(i + 128) & 255];
    uint32_t y = mm[(x >> 2) & 255] + a + b;
    mm[i] = y;
    b = mm[(y >> 10) & 255] + x;
    s.randrsl[i] = b;
  }
  s.aa = a;
  s.bb = b;
}

namespace {

struct Mix {
  uint32_t a, b, c, d, e, f, g, h;
  void Step() {
    a ^= b << 11; d += a; b += c;
    b ^= c >> 2;  e += b; c += d;
    c ^= d << 8;  f += c; d += e;
    d ^= e >> 16; g += d; e += f;
    e ^= f << 10; h += e; f += g;
    f ^= g >> 4;  a += f; g += h;
    g ^= h << 8;  b += g; h += a;
    h ^= a >> 9;  c += h; a += b;
  }
  void Add(const uint32_t* w) {
    a += w[0]; b += w[1]; c += w[2]; d += w[3];
    e += w[4]; f += w[5]; g += w[6]; h += w[7];
  }
  void Store(uint32_t* w) const {
    w[0] = a; w[1] = b; w[2] = c; w[3] = d;
    w[4] = e; w[5] = f; w[6] = g; w[7] = h;
  }
};

constexpr uint32_t kGolden = 0x9e3779b9u;

void FinishInit(IsaacState& s, Mix& m) {
  for (int i = 0; i < 4; ++i) m.Step();
  for (int i = 0; i < 256; i += 8) {
    m.Add(&s.randrsl[i]);
    m.Step();
    m.Store(&s.mm[i]);
  }
  for (int i = 0; i < 256; i += 8) {
    m.Add(&s.mm[i]);
    m.Step();
    m.Store(&s.mm[i]);
  }
  IsaacStateRound(s);
  s.randcnt = 256;
}

}  // namespace

void IsaacStateInit(IsaacState& s) {
  s.aa = s.bb = s.cc = 0;
  Mix m = {kGolden, kGolden, kGolden, kGolden, kGolden, kGolden, kGolden, kGolden};
  FinishInit(s, m);
}

void IsaacStateSeed(IsaacState& s, uint32_t seed) {
  s.aa = s.bb = s.cc = 0;
  Mix m = {kGolden, kGolden, kGolden, kGolden, kGolden, kGolden, kGolden, kGolden};
  for (int i = 0; i < 256; i += 8) {
    m.a += seed;
    m.Step();
    m.Store(&s.mm[i]);
  }
  FinishInit(s, m);
}

void IsaacSeed(uint32_t seed) { IsaacStateSeed(gIsaac, seed); }

uint32_t IsaacRefill() {
  IsaacStateRound(gIsaac);
  return gIsaac.randrsl[0];
}
