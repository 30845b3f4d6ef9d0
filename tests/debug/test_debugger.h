// A small debugger for the tests: starts tests/debug/debug_target with a
// debugger link, takes its breaks, reads and writes its memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/debug_layout.h"

// Line of the statement tagged "// @tag" in debug_target.cpp (0 if none).
uint32_t TargetLine(const std::string& tag);

struct TargetBreak {
  uint64_t blockAddress = 0;
  DebugBlock block = {};
};

class TestDebugger {
 public:
  TestDebugger();
  ~TestDebugger();

  // Folder the target gets as TMPDIR (its error log lands here).
  const std::string& folder() const { return folder_; }

  // Starts the target with the link (or with ORVALE_DEBUG_LINK empty) and,
  // with the link, waits for it to connect.
  bool Start(const std::vector<std::string>& args, bool link = true);
  // True when the program connected during the last timeoutMs.
  bool Connected() const { return connection_ >= 0; }

  // Next break; "TX" texts on the way are kept in texts(). False when the
  // program closed the link (it ended) or nothing came in time.
  bool NextBreak(TargetBreak* out);
  // Lets the program run on from the current break.
  bool Answer();
  // Waits for the program to end; its exit code, or -1.
  int Finish();

  // Writes of the block's debugger words and the breakpoint tables.
  bool SetWord(size_t offset, uint32_t value);
  bool SetBreakpoint(uint32_t index, uint32_t file, uint32_t line);

  // The variable table of the current break: names in record order.
  std::vector<std::string> Names(bool locals);
  bool Has(bool locals, const std::string& name);
  double Number(bool locals, const std::string& name);
  bool SetNumber(bool locals, const std::string& name, double value);
  std::string String(bool locals, const std::string& name);
  // An array's size0 and dimension count, and element i.
  bool ArrayShape(bool locals, const std::string& name, uint32_t* size0, uint32_t* dimensions);
  double ArrayAt(bool locals, const std::string& name, uint32_t i);

  const std::vector<std::string>& texts() const { return texts_; }
  std::string ReadFile(const std::string& name) const;

 private:
  bool Find(bool locals, const std::string& name, DebugVarRecord* record);
  std::string ReadCString(uint64_t address);

  std::string folder_;
  std::string socketPath_;
  int listener_ = -1;
  int connection_ = -1;
  int pid_ = -1;
  TargetBreak current_;
  std::vector<std::string> texts_;
};
