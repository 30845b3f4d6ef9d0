#include "core/debug_support.h"

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/runtime_error.h"
#include "core/string_builtins.h"
#include "platform/console.h"
#include "platform/debug_link.h"

static_assert(sizeof(void*) != 8 || sizeof(DebugVarRecord) == 24, "record layout");
static_assert(sizeof(void*) != 8 || offsetof(DebugVarRecord, address) == 16, "record layout");
static_assert(sizeof(void*) != 8 || sizeof(DebugBlock) == 64, "block layout");
static_assert(offsetof(DebugBlock, stepMode) == 28, "block layout");
static_assert(sizeof(void*) != 8 || offsetof(DebugBlock, breakpointFiles) == 32, "block layout");
static_assert(sizeof(void*) != 8 || offsetof(DebugBlock, localRecords) == 56, "block layout");

DebugBlock gDebugBlock = {};
uint32_t gBreakpointFiles[DEBUG_BREAKPOINT_CAPACITY] = {};
uint32_t gBreakpointLines[DEBUG_BREAKPOINT_CAPACITY] = {};
static DebugVarRecord sGlobalRecords[DEBUG_GLOBAL_CAPACITY] = {};
DebugVarTable gGlobalRegistry = {0, DEBUG_GLOBAL_CAPACITY, sGlobalRecords};
int32_t gCallDepth = 0;
int32_t gStepDepth = 1000;

static DebugBreakHooks sHooks = {};

void SetDebugBreakHooks(const DebugBreakHooks& hooks) { sHooks = hooks; }

void SetStatementPosition(double file, double line) {
  gErrorState.statementFile = file;
  gErrorState.statementLine = line;
}

// The debugger writes the count; a count beyond the tables must not read
// past them.
static inline bool BreakpointAt(uint32_t file, uint32_t line) {
  int32_t count = static_cast<int32_t>(gDebugBlock.breakpointCount);
  if (count <= 0) return false;
  if (count > DEBUG_BREAKPOINT_CAPACITY) count = DEBUG_BREAKPOINT_CAPACITY;
  for (int32_t i = 0; i < count; ++i) {
    if (gBreakpointFiles[i] == file && gBreakpointLines[i] == line) return true;
  }
  return false;
}

// Memory the debugger may have changed while the program waited for it.
template <typename T>
static inline T ReadShared(const T& value) {
  return *static_cast<const volatile T*>(&value);
}

[[gnu::noinline, gnu::cold]] static void BreakAt(int32_t sourceFile, int32_t line,
                                                 const DebugVarTable* locals) {
  DebugBlock& b = gDebugBlock;
  if (ReadShared(b.stopRequest) != 0) {
    EndStatement();  // normal end, with the end report
  }
  b.sourceFile = static_cast<uint32_t>(sourceFile);
  b.line = static_cast<uint32_t>(line);
  b.globalCount = gGlobalRegistry.count;
  b.localCount = locals ? locals->count : 0;
  b.localRecords = locals ? locals->records : nullptr;
  b.globalRecords = gGlobalRegistry.records;
  b.breakpointFiles = gBreakpointFiles;
  b.breakpointLines = gBreakpointLines;
  b.stepMode = 0;

  DebuggerBreak(&b);

  int32_t step = ReadShared(b.stepMode);
  if (step < 0) {
    gStepDepth = gCallDepth - 1;  // run until this procedure returns
  } else if (step > 0) {
    gStepDepth = gCallDepth;  // next statement here or in a caller
  }
}

void DebugLineHook(int32_t sourceFile, int32_t line, const DebugVarTable* locals) {
  gErrorState.statementFile = sourceFile;
  gErrorState.statementLine = line;
  const DebugBlock& b = gDebugBlock;
  if ((b.stepMode != 0 && gCallDepth <= gStepDepth) || b.breakEveryStatement != 0 ||
      BreakpointAt(static_cast<uint32_t>(sourceFile), static_cast<uint32_t>(line))) {
    BreakAt(sourceFile, line, locals);
  }
}

void DebuggerBreak(DebugBlock* block) {
  if (!platform::DebugLinkPresent()) return;
  char text[32] = {};
  std::snprintf(text, sizeof text, "BP%llx",
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(block)));
  if (sHooks.hideWindow) sHooks.hideWindow();
  platform::DebugLinkBreak(text);
  if (sHooks.afterBreak) sHooks.afterBreak();
}

void DebugSendText(const char* text) {
  if (!platform::DebugLinkPresent()) return;
  std::string message = "TX";
  message += text ? text : "";
  platform::DebugLinkSend(message.c_str());
}

bool DebugVarAdd(DebugVarTable& table, const char* name, uint32_t kind, void* address,
                 DebugVarLink* link) {
  if (table.count >= table.capacity) {
    // Full: the variable stays unseen by the debugger rather than writing
    // past the table.
    if (link) *link = {nullptr, address};
    return false;
  }
  table.records[table.count] = {name, kind, 0, address};
  ++table.count;
  if (link) *link = {&table, address};
  return true;
}

void DebugVarRemove(DebugVarLink& link) {
  DebugVarTable* table = link.table;
  if (!table) return;
  for (uint32_t i = 0; i < table->count; ++i) {
    if (table->records[i].address == link.address) {
      --table->count;
      table->records[i] = table->records[table->count];
      break;
    }
  }
  link.table = nullptr;
}

uint32_t GetMainWindowHandle() { return sHooks.mainWindow ? sHooks.mainWindow() : 0; }

void OpenDebugConsole() {
  // Without a terminal (started from a desktop launcher, say) the program
  // gets a terminal window of its own; where none can be opened, input and
  // output stay where they are.
  if (!platform::HasTerminal()) {
    std::string why;
    if (!platform::OpenConsoleWindow("Orvale console", &why))
      AppendErrorLog(("No console window: " + why).c_str());
  }
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  std::setvbuf(stdin, nullptr, _IOLBF, 0);
}
