// The debugger link end to end: debug_target runs as its own process and
// this test acts as its debugger.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "test_debugger.h"

namespace {

const bool kLocals = true;
const bool kGlobals = false;

uint32_t L(const char* tag) {
  uint32_t line = TargetLine(tag);
  EXPECT_NE(line, 0u) << tag;
  return line;
}

std::string EndReport(int code, uint32_t errorLine, uint32_t line, int file) {
  return "-End On Line\r\n" + std::to_string(code) + "\r\n" + std::to_string(int(errorLine) - 1) +
         "\r\n" + std::to_string(line) + "\r\n" + std::to_string(file) + "\r\n";
}

// Takes the break the program makes before its first statement.
void TakeStartBreak(TestDebugger& d, TargetBreak* b) {
  ASSERT_TRUE(d.NextBreak(b));
  EXPECT_EQ(b->block.sourceFile, 1u);
  EXPECT_EQ(b->block.line, L("outer-1"));
}

// Leaves break-on-every-statement and runs to the given breakpoints.
void RunToBreakpoints(TestDebugger& d, const std::vector<uint32_t>& lines) {
  for (uint32_t i = 0; i < lines.size(); ++i) ASSERT_TRUE(d.SetBreakpoint(i, 1, lines[i]));
  ASSERT_TRUE(d.SetWord(offsetof(DebugBlock, breakpointCount), uint32_t(lines.size())));
  ASSERT_TRUE(d.SetWord(offsetof(DebugBlock, breakEveryStatement), 0));
}

}  // namespace

TEST(DebugLink, WithoutLinkNoMessagesAndWindowStays) {
  TestDebugger d;
  std::string result = d.folder() + "/result.txt";
  ASSERT_TRUE(d.Start({"run", result}, /*link=*/false));
  EXPECT_EQ(d.Finish(), 0);
  TargetBreak b;
  EXPECT_FALSE(d.NextBreak(&b));
  EXPECT_FALSE(d.Connected());
  // Every statement still filled the block (break-on-every-statement is on
  // from the start), but no break reached the window or the link.
  EXPECT_EQ(d.ReadFile("result.txt"),
            "hides=0 resumes=0 file=1 line=" + std::to_string(L("outer-9")) +
                " step=0 globals=22 locals=1 depth=1 loc=5 mazeloc=8\n");
}

TEST(DebugLink, BreakOnEveryStatementInOrder) {
  TestDebugger d;
  ASSERT_TRUE(d.Start({"run", d.folder() + "/result.txt"}));
  std::vector<uint32_t> lines;
  TargetBreak b;
  while (d.NextBreak(&b)) {
    EXPECT_EQ(b.block.sourceFile, 1u);
    EXPECT_EQ(b.block.stepMode, 0);
    lines.push_back(b.block.line);
    ASSERT_TRUE(d.Answer());
  }
  std::vector<uint32_t> want;
  for (const char* tag : {"outer-1", "outer-2", "outer-3", "inner-1", "inner-2", "outer-4",
                          "outer-5", "outer-6", "outer-7", "inner-1", "inner-2", "outer-8",
                          "outer-9"})
    want.push_back(L(tag));
  EXPECT_EQ(lines, want);
  EXPECT_EQ(d.texts(), std::vector<std::string>{"page one"});
  EXPECT_EQ(d.Finish(), 0);
  EXPECT_EQ(d.ReadFile("result.txt"),
            "hides=13 resumes=13 file=1 line=" + std::to_string(L("outer-9")) +
                " step=0 globals=22 locals=1 depth=1 loc=5 mazeloc=8\n");
}

// A breakpoint breaks at its line and nowhere else, wherever it stands in
// the table and whatever count the debugger wrote (the count is capped at
// the table size; a count <= 0 means none).
TEST(DebugLink, BreakpointGivesOneBreakAtItsLine) {
  struct Case {
    uint32_t count;
    uint32_t index;
    bool hits;
  };
  for (const Case& c : {Case{1, 0, true}, Case{1024, 1023, true}, Case{0x7fffffffu, 1023, true},
                        Case{5000, 1023, true}, Case{0xffffffffu, 0, false}}) {
    SCOPED_TRACE("count " + std::to_string(c.count));
    TestDebugger d;
    ASSERT_TRUE(d.Start({"run"}));
    TargetBreak b;
    TakeStartBreak(d, &b);
    ASSERT_TRUE(d.SetBreakpoint(c.index, 1, L("outer-6")));
    ASSERT_TRUE(d.SetWord(offsetof(DebugBlock, breakpointCount), c.count));
    ASSERT_TRUE(d.SetWord(offsetof(DebugBlock, breakEveryStatement), 0));
    ASSERT_TRUE(d.Answer());
    std::vector<uint32_t> lines;
    while (d.NextBreak(&b)) {
      lines.push_back(b.block.line);
      ASSERT_TRUE(d.Answer());
    }
    EXPECT_EQ(lines, c.hits ? std::vector<uint32_t>{L("outer-6")} : std::vector<uint32_t>{});
    EXPECT_EQ(d.Finish(), 0);  // also no out-of-bounds read under the sanitizers
  }
}

TEST(DebugLink, StepOverSkipsTheCalledProcedure) {
  TestDebugger d;
  ASSERT_TRUE(d.Start({"run"}));
  TargetBreak b;
  TakeStartBreak(d, &b);
  RunToBreakpoints(d, {L("outer-3")});
  ASSERT_TRUE(d.Answer());
  ASSERT_TRUE(d.NextBreak(&b));
  EXPECT_EQ(b.block.line, L("outer-3"));
  ASSERT_TRUE(d.SetWord(offsetof(DebugBlock, stepMode), 1));
  ASSERT_TRUE(d.Answer());
  ASSERT_TRUE(d.NextBreak(&b));
  EXPECT_EQ(b.block.line, L("outer-4"));  // Inner's statements ran unseen
  EXPECT_EQ(b.block.stepMode, 0);
  ASSERT_TRUE(d.SetWord(offsetof(DebugBlock, stepMode), 1));
  ASSERT_TRUE(d.Answer());
  ASSERT_TRUE(d.NextBreak(&b));
  EXPECT_EQ(b.block.line, L("outer-5"));
  ASSERT_TRUE(d.Answer());  // no step mode: runs to the end
  EXPECT_FALSE(d.NextBreak(&b));
  EXPECT_EQ(d.Finish(), 0);
}

TEST(DebugLink, StepOutStopsAfterTheReturn) {
  TestDebugger d;
  ASSERT_TRUE(d.Start({"run"}));
  TargetBreak b;
  TakeStartBreak(d, &b);
  RunToBreakpoints(d, {L("inner-1")});
  ASSERT_TRUE(d.Answer());
  ASSERT_TRUE(d.NextBreak(&b));
  EXPECT_EQ(b.block.line, L("inner-1"));
  ASSERT_TRUE(d.SetWord(offsetof(DebugBlock, stepMode), uint32_t(-1)));
  ASSERT_TRUE(d.Answer());
  ASSERT_TRUE(d.NextBreak(&b));
  EXPECT_EQ(b.block.line, L("outer-4"));
  // Stepping inside the inner procedure stops at its next statement, and
  // a step at its last one stops in the caller.
  ASSERT_TRUE(d.SetWord(offsetof(DebugBlock, breakpointCount), 0));
  ASSERT_TRUE(d.SetWord(offsetof(DebugBlock, breakEveryStatement), 1));
  ASSERT_TRUE(d.Answer());
  for (const char* tag : {"outer-5", "outer-6", "outer-7", "inner-1"}) {
    ASSERT_TRUE(d.NextBreak(&b));
    EXPECT_EQ(b.block.line, L(tag));
    if (std::string(tag) == "inner-1") {
      ASSERT_TRUE(d.SetWord(offsetof(DebugBlock, breakEveryStatement), 0));
    }
    ASSERT_TRUE(d.SetWord(offsetof(DebugBlock, stepMode), 1));
    ASSERT_TRUE(d.Answer());
  }
  for (const char* tag : {"inner-2", "outer-8"}) {
    ASSERT_TRUE(d.NextBreak(&b));
    EXPECT_EQ(b.block.line, L(tag));
    ASSERT_TRUE(d.SetWord(offsetof(DebugBlock, stepMode), 1));
    ASSERT_TRUE(d.Answer());
  }
  ASSERT_TRUE(d.NextBreak(&b));
  EXPECT_EQ(b.block.line, L("outer-9"));
  ASSERT_TRUE(d.Answer());
  EXPECT_FALSE(d.NextBreak(&b));
  EXPECT_EQ(d.Finish(), 0);
}

TEST(DebugLink, StopRequestEndsAtTheNextBreakWithReport) {
  TestDebugger d;
  ASSERT_TRUE(d.Start({"run", d.folder() + "/result.txt"}));
  TargetBreak b;
  TakeStartBreak(d, &b);
  ASSERT_TRUE(d.SetWord(offsetof(DebugBlock, stopRequest), 1));
  ASSERT_TRUE(d.Answer());
  EXPECT_FALSE(d.NextBreak(&b));  // the program ended instead of breaking
  EXPECT_EQ(d.Finish(), 0);
  EXPECT_EQ(d.ReadFile("ErrorLog.txt"), EndReport(0, L("outer-2"), L("outer-2"), 1));
  EXPECT_EQ(d.ReadFile("result.txt"), "");  // never got past the stop
}

TEST(DebugLink, StopRequestHonouredWithoutDebugger) {
  TestDebugger d;
  ASSERT_TRUE(d.Start({"stop-self", d.folder() + "/result.txt"}, /*link=*/false));
  EXPECT_EQ(d.Finish(), 0);
  EXPECT_EQ(d.ReadFile("ErrorLog.txt"), EndReport(0, L("outer-1"), L("outer-1"), 1));
  EXPECT_EQ(d.ReadFile("result.txt"), "");
}

TEST(DebugLink, VariablesByNameFromTheRegistry) {
  TestDebugger d;
  ASSERT_TRUE(d.Start({"run", d.folder() + "/result.txt"}));
  TargetBreak b;
  TakeStartBreak(d, &b);

  // Globals, in registration order, with their kinds' values.
  EXPECT_EQ(d.Names(kGlobals),
            (std::vector<std::string>{"info_Str", "resx", "kern", "optwide", "obj", "loc",
                                      "hilite", "opt", "screendrawn", "hicol", "hicoldiff",
                                      "pressed", "loaded", "part", "mazeloc", "maxkern",
                                      "mastervolume", "gfxdarkfall", "gfxfall", "gfxindark",
                                      "gfxsky", "gfxdungeon"}));
  EXPECT_EQ(d.String(kGlobals, "info_Str"), "DESKTOP");
  EXPECT_EQ(d.Number(kGlobals, "maxkern"), 640);
  EXPECT_EQ(d.Number(kGlobals, "mastervolume"), 1);
  EXPECT_EQ(d.Number(kGlobals, "gfxsky"), 43);
  uint32_t size0 = 99, dims = 99;
  ASSERT_TRUE(d.ArrayShape(kGlobals, "obj", &size0, &dims));
  EXPECT_EQ(size0, 50u);
  EXPECT_EQ(dims, 1u);
  EXPECT_EQ(d.ArrayAt(kGlobals, "obj", 3), 1);
  EXPECT_EQ(d.ArrayAt(kGlobals, "obj", 4), 2.5);
  ASSERT_TRUE(d.ArrayShape(kGlobals, "kern", &size0, &dims));
  EXPECT_EQ(size0, 0u);
  EXPECT_EQ(dims, 0u);
  // Before the local's declaration has run it is not in the table.
  EXPECT_EQ(b.block.localCount, 0u);
  EXPECT_FALSE(d.Has(kLocals, "count"));

  RunToBreakpoints(d, {L("inner-1"), L("outer-5")});
  ASSERT_TRUE(d.Answer());

  ASSERT_TRUE(d.NextBreak(&b));
  ASSERT_EQ(b.block.line, L("inner-1"));
  EXPECT_EQ(d.Names(kLocals), std::vector<std::string>{"n"});  // the caller's are not here
  EXPECT_EQ(d.Number(kLocals, "n"), 2);
  EXPECT_EQ(d.Number(kGlobals, "loc"), 0);
  ASSERT_TRUE(d.SetNumber(kGlobals, "loc", 100));  // the debugger writes a global
  ASSERT_TRUE(d.Answer());

  ASSERT_TRUE(d.NextBreak(&b));
  ASSERT_EQ(b.block.line, L("outer-5"));
  EXPECT_EQ(d.Names(kLocals), std::vector<std::string>{"count"});
  EXPECT_EQ(d.Number(kLocals, "count"), 7);
  EXPECT_EQ(d.Number(kGlobals, "loc"), 102);
  ASSERT_TRUE(d.SetWord(offsetof(DebugBlock, stepMode), 1));
  ASSERT_TRUE(d.Answer());

  ASSERT_TRUE(d.NextBreak(&b));
  ASSERT_EQ(b.block.line, L("outer-6"));
  EXPECT_EQ(d.Names(kLocals), (std::vector<std::string>{"count", "word_Str"}));
  EXPECT_EQ(d.String(kLocals, "word_Str"), "");
  ASSERT_TRUE(d.SetWord(offsetof(DebugBlock, stepMode), 1));
  ASSERT_TRUE(d.Answer());

  ASSERT_TRUE(d.NextBreak(&b));
  ASSERT_EQ(b.block.line, L("outer-7"));
  EXPECT_EQ(d.String(kLocals, "word_Str"), "lantern");
  ASSERT_TRUE(d.Answer());

  ASSERT_TRUE(d.NextBreak(&b));
  ASSERT_EQ(b.block.line, L("inner-1"));
  EXPECT_EQ(d.Number(kLocals, "n"), 3);
  ASSERT_TRUE(d.SetWord(offsetof(DebugBlock, stepMode), uint32_t(-1)));
  ASSERT_TRUE(d.Answer());

  // The block's local ended at its brace; the procedure's own stays.
  ASSERT_TRUE(d.NextBreak(&b));
  ASSERT_EQ(b.block.line, L("outer-8"));
  EXPECT_EQ(d.Names(kLocals), std::vector<std::string>{"count"});
  ASSERT_TRUE(d.Answer());

  EXPECT_FALSE(d.NextBreak(&b));
  EXPECT_EQ(d.Finish(), 0);
  EXPECT_EQ(d.ReadFile("result.txt"),
            "hides=7 resumes=7 file=1 line=" + std::to_string(L("outer-8")) +
                " step=0 globals=22 locals=1 depth=1 loc=105 mazeloc=8\n");
}
