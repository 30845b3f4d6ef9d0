// Debugger support: the per-statement position hook, the exchange block,
// breakpoint tables, call depth and step modes, the variable registry and
// the break itself.
#pragma once

#include <cstdint>

#include "core/debug_layout.h"

// A table of registered variables: the global registry, or the local table
// of one running procedure (kept in that procedure's frame).
struct DebugVarTable {
  uint32_t count;
  uint32_t capacity;
  DebugVarRecord* records;
};

// Where a registered variable was entered, so it can be removed again.
struct DebugVarLink {
  DebugVarTable* table;
  void* address;
};

extern DebugBlock gDebugBlock;
extern uint32_t gBreakpointFiles[DEBUG_BREAKPOINT_CAPACITY];
extern uint32_t gBreakpointLines[DEBUG_BREAKPOINT_CAPACITY];
extern DebugVarTable gGlobalRegistry;  // room for DEBUG_GLOBAL_CAPACITY records
extern int32_t gCallDepth;             // 0 at start
extern int32_t gStepDepth;             // 1000 at start

// Called first by every statement of the game's procedures. Returns when the
// statement may run; ends the program when the debugger asked for a stop.
void DebugLineHook(int32_t sourceFile, int32_t line, const DebugVarTable* locals);

// Stores the statement position that the end report shows.
void SetStatementPosition(double file, double line);

// The break: "BP<block address>" to a linked debugger, which answers when it
// is done with the block. Returns at once without a debugger.
void DebuggerBreak(DebugBlock* block);

// Sends program text to a linked debugger as "TX" + text; nothing without one.
void DebugSendText(const char* text);

// Appends a record; the link receives where it went. False (and nothing
// registered, link cleared) when the table is full.
bool DebugVarAdd(DebugVarTable& table, const char* name, uint32_t kind, void* address,
                 DebugVarLink* link);

// Removes the record of the linked variable: the table's last record moves
// into its place. Nothing happens when it is not in the table.
void DebugVarRemove(DebugVarLink& link);

// What a break does to the rest of the runtime. The frame installs the window
// hide (the frame function shows the window again) and the pause reset, the
// input layer the keyboard refresh; a step left null is skipped.
struct DebugBreakHooks {
  void (*hideWindow)();      // before the break message
  void (*afterBreak)();      // after the debugger answered
  uint32_t (*mainWindow)();  // handle of the main window, 0 when none
};
void SetDebugBreakHooks(const DebugBreakHooks& hooks);

// The main window's handle as an integer, 0 when there is none.
uint32_t GetMainWindowHandle();

// Gives the program a console to talk to its user: standard input and
// output, line-buffered, stay on the terminal the program was started from;
// a program started without one (neither stream a terminal) gets a terminal
// window of its own (platform::OpenConsoleWindow) that both streams are
// connected to. Where no window can be opened the streams stay as they are
// and the error log says why.
void OpenDebugConsole();
