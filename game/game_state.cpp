#include "game/game_state.h"

#include <cstddef>
#include <new>

#include "core/debug_support.h"
#include "core/platform_info.h"

static_assert(sizeof(void*) != 8 || offsetof(BasicString, length) == DEBUG_STRING_LENGTH_OFFSET,
              "string layout the debugger reads");
static_assert(sizeof(void*) != 8 || offsetof(BasicArray, stride1) == DEBUG_ARRAY_STRIDE1_OFFSET,
              "array layout the debugger reads");
static_assert(sizeof(void*) != 8 || offsetof(BasicArray, size0) == DEBUG_ARRAY_SIZE0_OFFSET,
              "array layout the debugger reads");
static_assert(sizeof(void*) != 8 ||
                  offsetof(BasicArray, dimensionCount) == DEBUG_ARRAY_DIMENSIONS_OFFSET,
              "array layout the debugger reads");
static_assert(sizeof(void*) != 8 || offsetof(BasicArray, capacity) == DEBUG_ARRAY_CAPACITY_OFFSET,
              "array layout the debugger reads");

BasicString info_Str;
double resx = 1;
BasicArray kern;
BasicArray optwide;
BasicArray obj;
double loc = 0;
double hilite = 0;
double opt = 0;
double screendrawn = 0;
double hicol = 0;
double hicoldiff = 0;
double pressed = 0;
double loaded = 0;
double part = 0;
double mazeloc = 0;
double maxkern = 640;
double mastervolume = 1;
double gfxdarkfall = 40;
double gfxfall = 41;
double gfxindark = 42;
double gfxsky = 43;
double gfxdungeon = 44;

namespace {

struct MainGlobal {
  const char* name;
  uint32_t kind;
  void* address;
};

const MainGlobal kMainGlobals[kMainGlobalCount] = {
    {"info_Str", DEBUG_VAR_STRING, &info_Str},
    {"resx", DEBUG_VAR_NUMBER, &resx},
    {"kern", DEBUG_VAR_ARRAY, &kern},
    {"optwide", DEBUG_VAR_ARRAY, &optwide},
    {"obj", DEBUG_VAR_ARRAY, &obj},
    {"loc", DEBUG_VAR_NUMBER, &loc},
    {"hilite", DEBUG_VAR_NUMBER, &hilite},
    {"opt", DEBUG_VAR_NUMBER, &opt},
    {"screendrawn", DEBUG_VAR_NUMBER, &screendrawn},
    {"hicol", DEBUG_VAR_NUMBER, &hicol},
    {"hicoldiff", DEBUG_VAR_NUMBER, &hicoldiff},
    {"pressed", DEBUG_VAR_NUMBER, &pressed},
    {"loaded", DEBUG_VAR_NUMBER, &loaded},
    {"part", DEBUG_VAR_NUMBER, &part},
    {"mazeloc", DEBUG_VAR_NUMBER, &mazeloc},
    {"maxkern", DEBUG_VAR_NUMBER, &maxkern},
    {"mastervolume", DEBUG_VAR_NUMBER, &mastervolume},
    {"gfxdarkfall", DEBUG_VAR_NUMBER, &gfxdarkfall},
    {"gfxfall", DEBUG_VAR_NUMBER, &gfxfall},
    {"gfxindark", DEBUG_VAR_NUMBER, &gfxindark},
    {"gfxsky", DEBUG_VAR_NUMBER, &gfxsky},
    {"gfxdungeon", DEBUG_VAR_NUMBER, &gfxdungeon},
};

DebugVarLink sMainLinks[kMainGlobalCount];

// Back to an array without elements: storage freed now, and the object left
// valid for its own destructor at exit.
void EmptyArray(BasicArray& a) {
  a.~BasicArray();
  new (&a) BasicArray();
}

}  // namespace

void InitMainGlobals(int32_t initialise, int32_t priority) {
  if (priority != 65535) return;
  if (initialise == 1) {
    ++gCallDepth;  // the program's global level
    gGlobalRegistry.count = 0;
    gDebugBlock.breakpointCount = 0;
    gDebugBlock.globalCount = 0;
    gDebugBlock.localCount = 0;
    gDebugBlock.stopRequest = 0;
    gDebugBlock.stepMode = 0;
    gDebugBlock.globalRecords = nullptr;
    gDebugBlock.localRecords = nullptr;
    // Stop before the first statement until a debugger says otherwise.
    gDebugBlock.breakEveryStatement = 1000;
    {
      BasicString key("DEVICE");
      info_Str = PlatformInfo(key);
    }
    for (int i = 0; i < kMainGlobalCount; ++i) {
      const MainGlobal& g = kMainGlobals[i];
      if (g.kind == DEBUG_VAR_ARRAY) EmptyArray(*static_cast<BasicArray*>(g.address));
      DebugVarAdd(gGlobalRegistry, g.name, g.kind, g.address, &sMainLinks[i]);
    }
  } else if (initialise == 0) {
    for (int i = kMainGlobalCount - 1; i >= 0; --i) {
      const MainGlobal& g = kMainGlobals[i];
      DebugVarRemove(sMainLinks[i]);
      if (g.kind == DEBUG_VAR_ARRAY) EmptyArray(*static_cast<BasicArray*>(g.address));
    }
    StrRelease(info_Str);
    StrInit(info_Str);
    --gCallDepth;
  }
}

// Entries of the static constructor and destructor lists: after every
// global above is constructed, and before any of them is destroyed.
static void MainGlobalsCtor() { InitMainGlobals(1, 65535); }
static void MainGlobalsDtor() { InitMainGlobals(0, 65535); }

namespace {
struct MainGlobalsLifetime {
  MainGlobalsLifetime() { MainGlobalsCtor(); }
  ~MainGlobalsLifetime() { MainGlobalsDtor(); }
} sMainGlobalsLifetime;
}  // namespace
