// The runtime's random numbers: one 32-bit ISAAC generator (256-word state).
#pragma once

#include <cstdint>

struct IsaacState {
  uint32_t randcnt;
  uint32_t randrsl[256];
  uint32_t mm[256];
  uint32_t aa, bb, cc;
};

// One ISAAC generation round: 256 new result words in randrsl.
void IsaacStateRound(IsaacState& s);
// ISAAC's reference initialisation from the words in randrsl (aa, bb, cc
// cleared, four scrambling mixes, a pass over randrsl, a pass over mm, one
// round); randcnt becomes 256.
void IsaacStateInit(IsaacState& s);
// The runtime's seeding: the seed is stirred into the mixing words by a first
// pass over the memory, then the reference initialisation follows.
void IsaacStateSeed(IsaacState& s, uint32_t seed);

// The one program-wide generator (all zero until seeded).
extern IsaacState gIsaac;
void IsaacSeed(uint32_t seed);
// Runs one generation round and returns its first result word.
uint32_t IsaacRefill();
