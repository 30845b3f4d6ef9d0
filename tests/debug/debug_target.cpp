// A small game for the debugger tests: two procedures of source file 1
// written with the procedure convention. The tests find statement lines by
// the "@name" tags at the end of the lines.
//
//   debug_target run [result-file]   runs Outer; writes what the program saw
//   debug_target stop-self           asks for a stop itself, no debugger
#include <cstdio>
#include <cstring>
#include <string>

#include "core/debug_support.h"
#include "core/project_settings.h"
#include "game/game_state.h"

#define GAME_SOURCE_FILE 1
#include "game/procedure.h"

static int sHides = 0;
static int sResumes = 0;

static double Inner(double n) {
  PROC; PARAM(n);
  STMT; loc = loc + n;                 // @inner-1
  STMT; hilite = n;                    // @inner-2
  return 0;
}

static double Outer() {
  PROC;
  STMT; LOCAL(count);                  // @outer-1
  STMT; count = 7;                     // @outer-2
  STMT; Inner(2);                      // @outer-3
  STMT; if (count == 7) {              // @outer-4
    STMT; LOCAL_STR(word_Str);         // @outer-5
    STMT; word_Str = "lantern";        // @outer-6
    STMT; Inner(3);                    // @outer-7
  }
  STMT; count = count + 1;             // @outer-8
  STMT; mazeloc = count;               // @outer-9
  return 0;
}

int main(int argc, char** argv) {
  std::string mode = argc > 1 ? argv[1] : "run";
  gProjectSettings.debugMode = 1;
  SetDebugBreakHooks({[] { ++sHides; }, [] { ++sResumes; }, nullptr});

  ArrayDim(obj, 50);
  *ArrayElement(obj, 3) = 1;
  *ArrayElement(obj, 4) = 2.5;

  DebugSendText("page one");
  if (mode == "stop-self") gDebugBlock.stopRequest = 1;
  Outer();

  if (argc > 2) {
    FILE* f = std::fopen(argv[2], "w");
    if (!f) return 2;
    std::fprintf(f, "hides=%d resumes=%d file=%u line=%u step=%d globals=%u locals=%u depth=%d",
                 sHides, sResumes, gDebugBlock.sourceFile, gDebugBlock.line, gDebugBlock.stepMode,
                 gDebugBlock.globalCount, gDebugBlock.localCount, gCallDepth);
    std::fprintf(f, " loc=%g mazeloc=%g\n", loc, mazeloc);
    std::fclose(f);
  }
  return 0;
}
