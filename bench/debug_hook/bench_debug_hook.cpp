// Cost of the per-statement hook when no debugger is linked.
//
//   bench_debug_hook [calls]
//
// Prints nanoseconds per call for: the running game (no breakpoints, no
// step, no break-on-every-statement), the start-up state (break before every
// statement, which without a debugger fills the block and returns), and a
// table of 8 breakpoints that are never hit.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "core/debug_support.h"
#include "platform/debug_link.h"

static double NsPerCall(long calls, const DebugVarTable* locals) {
  auto start = std::chrono::steady_clock::now();
  for (long i = 0; i < calls; ++i) DebugLineHook(1, int32_t(100 + (i & 255)), locals);
  auto end = std::chrono::steady_clock::now();
  return std::chrono::duration<double, std::nano>(end - start).count() / double(calls);
}

static double Best(long calls, const DebugVarTable* locals) {
  double best = 1e9;
  for (int round = 0; round < 5; ++round) {
    double ns = NsPerCall(calls, locals);
    if (ns < best) best = ns;
  }
  return best;
}

int main(int argc, char** argv) {
  long calls = argc > 1 ? std::atol(argv[1]) : 50000000;
  if (calls <= 0) calls = 50000000;
  platform::CloseDebugLink();  // measure without a debugger

  double value = 0;
  DebugVarRecord records[4];
  DebugVarTable locals = {0, 4, records};
  DebugVarLink link;
  DebugVarAdd(locals, "value", DEBUG_VAR_NUMBER, &value, &link);
  gCallDepth = 2;

  gDebugBlock = {};
  double running = Best(calls, &locals);

  gDebugBlock.breakEveryStatement = 1000;
  double startup = Best(calls, &locals);

  gDebugBlock.breakEveryStatement = 0;
  for (uint32_t i = 0; i < 8; ++i) {
    gBreakpointFiles[i] = 2;
    gBreakpointLines[i] = 5000 + i;
  }
  gDebugBlock.breakpointCount = 8;
  double breakpoints = Best(calls, &locals);

  std::printf("debug hook, no debugger, %ld calls per round, best of 5:\n", calls);
  std::printf("  running:                   %.2f ns/call\n", running);
  std::printf("  break on every statement:  %.2f ns/call\n", startup);
  std::printf("  8 breakpoints, none hit:   %.2f ns/call\n", breakpoints);
  return 0;
}
