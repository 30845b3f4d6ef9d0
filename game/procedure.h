// How a game procedure talks to the debugger.
//
// Every procedure opens with PROC, registers its parameters with PARAM and
// its locals with LOCAL / LOCAL_STR, and marks each statement with STMT:
//
//   #define GAME_SOURCE_FILE 1   // 0 main file, 1 Part One, 2 Part Two
//   #include "game/procedure.h"
//
//   double ShowCave(double from) {
//     PROC; PARAM(from);
//     STMT; DrawPic(0, 0, 0);
//     STMT; LOCAL_STR(line_Str);
//     STMT; line_Str = "A cold wind blows.";
//     STMT; if (from == 3) {
//       STMT; LOCAL(steps);     // registered here, removed at the brace
//       STMT; steps = 4;
//     }
//     return 0;
//   }
//
// PROC raises the call depth and starts the local table; leaving the
// procedure by any path removes the locals and parameters (in reverse order)
// and lowers the depth again. STMT reports the file and the C++ source line
// before the statement runs. Include this header after every other header:
// its macro names are short.
#pragma once

#include <cstdint>

#include "core/basic_string.h"
#include "core/debug_support.h"

struct BasicArray;

inline constexpr uint32_t DebugKindOf(const double*) { return DEBUG_VAR_NUMBER; }
inline constexpr uint32_t DebugKindOf(const BasicString*) { return DEBUG_VAR_STRING; }
inline constexpr uint32_t DebugKindOf(const BasicArray*) { return DEBUG_VAR_ARRAY; }

// Call depth and local table of one running procedure.
class ProcedureScope {
 public:
  explicit ProcedureScope(int32_t sourceFile) : file(sourceFile) { ++gCallDepth; }
  ~ProcedureScope() { --gCallDepth; }
  ProcedureScope(const ProcedureScope&) = delete;
  ProcedureScope& operator=(const ProcedureScope&) = delete;

  const int32_t file;

 private:
  DebugVarRecord records_[DEBUG_LOCAL_CAPACITY];

 public:
  DebugVarTable locals{0, DEBUG_LOCAL_CAPACITY, records_};
};

// One registered variable: entered into a table when constructed, removed
// through its link when it goes out of scope.
class RegisteredVar {
 public:
  template <typename T>
  RegisteredVar(DebugVarTable& table, const char* name, T& variable) {
    DebugVarAdd(table, name, DebugKindOf(&variable),
                const_cast<void*>(static_cast<const void*>(&variable)), &link_);
  }
  ~RegisteredVar() { DebugVarRemove(link_); }
  RegisteredVar(const RegisteredVar&) = delete;
  RegisteredVar& operator=(const RegisteredVar&) = delete;

 private:
  DebugVarLink link_;
};

#define ORVALE_PROC_CAT2(a, b) a##b
#define ORVALE_PROC_CAT(a, b) ORVALE_PROC_CAT2(a, b)

// Opens a procedure of the file named by GAME_SOURCE_FILE.
#define PROC ProcedureScope procScope_(GAME_SOURCE_FILE)

// The per-statement report: file, this source line, the local table.
#define STMT DebugLineHook(procScope_.file, __LINE__, &procScope_.locals)

// Registers a parameter (a number by its value's address, a string by the
// caller's string) or any existing variable under its own name.
#define PARAM(var) RegisteredVar ORVALE_PROC_CAT(procVar_, var)(procScope_.locals, #var, var)

// Declares and registers a local number (starting at 0) or string (empty).
#define LOCAL(var) \
  double var = 0;  \
  PARAM(var)
#define LOCAL_STR(var) \
  BasicString var;     \
  PARAM(var)
