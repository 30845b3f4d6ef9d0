// The position hook, the variable tables and the game's registry inside one
// process, without a debugger.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/debug_support.h"
#include "core/runtime_error.h"
#include "game/game_state.h"
#include "platform/debug_link.h"

#define GAME_SOURCE_FILE 2
#include "game/procedure.h"

namespace {

std::vector<std::string> Names(const DebugVarTable& t) {
  std::vector<std::string> names;
  for (uint32_t i = 0; i < t.count; ++i) names.push_back(t.records[i].name);
  return names;
}

int sHides = 0;

class DebugSupport : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::CloseDebugLink();  // no debugger, whatever the environment says
    saved_ = gDebugBlock;
    sHides = 0;
    SetDebugBreakHooks({[] { ++sHides; }, nullptr, nullptr});
  }
  void TearDown() override {
    gDebugBlock = saved_;
    SetDebugBreakHooks({});
  }
  DebugBlock saved_;
};

}  // namespace

TEST_F(DebugSupport, RegistryAfterStaticInitialisation) {
  EXPECT_EQ(Names(gGlobalRegistry),
            (std::vector<std::string>{"info_Str", "resx", "kern", "optwide", "obj", "loc",
                                      "hilite", "opt", "screendrawn", "hicol", "hicoldiff",
                                      "pressed", "loaded", "part", "mazeloc", "maxkern",
                                      "mastervolume", "gfxdarkfall", "gfxfall", "gfxindark",
                                      "gfxsky", "gfxdungeon"}));
  EXPECT_EQ(gGlobalRegistry.records[0].kind, uint32_t(DEBUG_VAR_STRING));
  EXPECT_EQ(gGlobalRegistry.records[0].address, &info_Str);
  EXPECT_EQ(gGlobalRegistry.records[4].kind, uint32_t(DEBUG_VAR_ARRAY));
  EXPECT_EQ(gGlobalRegistry.records[4].address, &obj);
  EXPECT_EQ(gGlobalRegistry.records[21].kind, uint32_t(DEBUG_VAR_NUMBER));
  EXPECT_EQ(gGlobalRegistry.records[21].address, &gfxdungeon);
  EXPECT_STREQ(info_Str.c_str(), "DESKTOP");
  EXPECT_EQ(maxkern, 640);
  EXPECT_EQ(mastervolume, 1);
  EXPECT_EQ(resx, 1);
  EXPECT_EQ(gfxsky, 43);
  EXPECT_EQ(loc, 0);
  EXPECT_EQ(gCallDepth, 1);
  EXPECT_EQ(saved_.breakEveryStatement, 1000u);
  EXPECT_EQ(obj.data, nullptr);
  EXPECT_EQ(ArraySize(kern, 0), 0);
}

TEST_F(DebugSupport, FinaliserEmptiesTheRegistryInAnyOrder) {
  ArrayDim(obj, 50);
  // Shuffle the records as removals of other variables would.
  std::swap(gGlobalRegistry.records[0], gGlobalRegistry.records[21]);
  std::swap(gGlobalRegistry.records[5], gGlobalRegistry.records[13]);
  InitMainGlobals(0, 65535);
  EXPECT_EQ(gGlobalRegistry.count, 0u);
  EXPECT_EQ(gCallDepth, 0);
  EXPECT_EQ(obj.data, nullptr);  // storage released
  EXPECT_EQ(info_Str.length, 0u);
  InitMainGlobals(1, 100);  // another pair does nothing
  InitMainGlobals(2, 65535);
  EXPECT_EQ(gGlobalRegistry.count, 0u);
  InitMainGlobals(1, 65535);
  EXPECT_EQ(gGlobalRegistry.count, 22u);
  EXPECT_EQ(gCallDepth, 1);
  EXPECT_STREQ(info_Str.c_str(), "DESKTOP");
  EXPECT_EQ(gDebugBlock.breakEveryStatement, 1000u);
}

TEST_F(DebugSupport, RemovingMovesTheLastRecordIntoThePlace) {
  DebugVarRecord records[3];
  DebugVarTable table = {0, 3, records};
  double a = 0, b = 0, c = 0, d = 0;
  DebugVarLink la, lb, lc, ld;
  ASSERT_TRUE(DebugVarAdd(table, "a", DEBUG_VAR_NUMBER, &a, &la));
  ASSERT_TRUE(DebugVarAdd(table, "b", DEBUG_VAR_NUMBER, &b, &lb));
  ASSERT_TRUE(DebugVarAdd(table, "c", DEBUG_VAR_NUMBER, &c, &lc));
  EXPECT_FALSE(DebugVarAdd(table, "d", DEBUG_VAR_NUMBER, &d, &ld));  // full: not written
  EXPECT_EQ(table.count, 3u);
  DebugVarRemove(ld);
  EXPECT_EQ(Names(table), (std::vector<std::string>{"a", "b", "c"}));
  DebugVarRemove(la);
  EXPECT_EQ(Names(table), (std::vector<std::string>{"c", "b"}));
  DebugVarLink stranger = {&table, &d};
  DebugVarRemove(stranger);
  EXPECT_EQ(Names(table), (std::vector<std::string>{"c", "b"}));
  DebugVarRemove(la);  // twice: nothing more
  EXPECT_EQ(table.count, 2u);
}

TEST_F(DebugSupport, QuietHookOnlyKeepsThePosition) {
  gDebugBlock.breakEveryStatement = 0;
  gDebugBlock.breakpointCount = 0;
  gDebugBlock.stepMode = 0;
  gDebugBlock.line = 5;
  DebugLineHook(1, 321, nullptr);
  EXPECT_EQ(gErrorState.statementFile, 1);
  EXPECT_EQ(gErrorState.statementLine, 321);
  EXPECT_EQ(gDebugBlock.line, 5u);
  EXPECT_EQ(sHides, 0);
}

TEST_F(DebugSupport, BreakWithoutDebuggerFillsTheBlockAndLeavesTheWindow) {
  gDebugBlock.breakEveryStatement = 1000;
  gDebugBlock.stepMode = 0;
  double x = 4;
  DebugVarRecord records[2];
  DebugVarTable locals = {0, 2, records};
  DebugVarLink link;
  DebugVarAdd(locals, "x", DEBUG_VAR_NUMBER, &x, &link);
  DebugLineHook(2, 77, &locals);
  EXPECT_EQ(gDebugBlock.sourceFile, 2u);
  EXPECT_EQ(gDebugBlock.line, 77u);
  EXPECT_EQ(gDebugBlock.globalCount, 22u);
  EXPECT_EQ(gDebugBlock.localCount, 1u);
  EXPECT_EQ(gDebugBlock.localRecords, records);
  EXPECT_EQ(gDebugBlock.globalRecords, gGlobalRegistry.records);
  EXPECT_EQ(gDebugBlock.breakpointFiles, gBreakpointFiles);
  EXPECT_EQ(gDebugBlock.breakpointLines, gBreakpointLines);
  EXPECT_EQ(gDebugBlock.stepMode, 0);
  EXPECT_EQ(sHides, 0);
}

TEST_F(DebugSupport, StepDepthFollowsTheStepMode) {
  gDebugBlock.breakEveryStatement = 0;
  int32_t savedDepth = gCallDepth, savedStep = gStepDepth;
  gCallDepth = 3;
  gDebugBlock.stepMode = -1;  // as a debugger leaves it before the break
  gStepDepth = 1000;
  DebugLineHook(1, 10, nullptr);
  // Without a debugger nobody set the mode again during the break, so the
  // depth stays; the mode itself was cleared.
  EXPECT_EQ(gDebugBlock.stepMode, 0);
  EXPECT_EQ(gStepDepth, 1000);
  gCallDepth = savedDepth;
  gStepDepth = savedStep;
}

// The procedure convention: depth and tables on every way in and out.
namespace {

struct Seen {
  int32_t depth = 0;
  std::vector<std::string> locals;
};
std::vector<Seen> sSeen;

void Look(const DebugVarTable& t) { sSeen.push_back({gCallDepth, Names(t)}); }

double Walk(double steps, const BasicString& name_Str) {
  PROC; PARAM(steps); PARAM(name_Str);
  STMT; Look(procScope_.locals);
  STMT; LOCAL(left);
  STMT; if (steps > 1) {
    STMT; LOCAL_STR(note_Str);
    STMT; Look(procScope_.locals);
    STMT; if (steps > 2) return 1;  // leaves from inside the block
  }
  STMT; Look(procScope_.locals);
  return 0;
}

}  // namespace

TEST_F(DebugSupport, ProcedureConventionOnEveryWayOut) {
  gDebugBlock.breakEveryStatement = 0;
  int32_t depth = gCallDepth;
  BasicString who("hero");
  sSeen.clear();
  EXPECT_EQ(Walk(2, who), 0);
  EXPECT_EQ(gCallDepth, depth);
  ASSERT_EQ(sSeen.size(), 3u);
  EXPECT_EQ(sSeen[0].depth, depth + 1);
  EXPECT_EQ(sSeen[0].locals, (std::vector<std::string>{"steps", "name_Str"}));
  EXPECT_EQ(sSeen[1].locals, (std::vector<std::string>{"steps", "name_Str", "left", "note_Str"}));
  EXPECT_EQ(sSeen[2].locals, (std::vector<std::string>{"steps", "name_Str", "left"}));

  sSeen.clear();
  EXPECT_EQ(Walk(3, who), 1);
  EXPECT_EQ(gCallDepth, depth);
  EXPECT_EQ(sSeen.size(), 2u);
  EXPECT_EQ(gErrorState.statementFile, 2);
}
