// Runtime errors, the error log and the one way a program ends.
#pragma once

#include <cstdint>

enum RuntimeErrorCode {
  kErrorEnd = 0,
  kErrorFile = 3,
  kErrorBadArgument = 7,
  kErrorIndex = 9,
};

struct RuntimeErrorState {
  double errorLine;
  double errorCode;
  double statementFile;
  double statementLine;
};

extern RuntimeErrorState gErrorState;

// Records code and the current statement line; does not end the program.
void SetRuntimeError(double code);

// Releases the runtime, writes the end report when debug mode is on and
// exits with status 0.
[[noreturn]] void EndProgram();
// The same, ending with the given exit status: programs that cannot go on
// (the runtime did not start, their data is unusable) end with a non-zero one.
[[noreturn]] void EndProgramWithStatus(int status);

// The end report alone ("-End On Line" and the four numbers) when debug
// mode is on: for an end that cannot release the runtime (its main thread
// held inside the window system).
void AppendEndReport();

// Releases every runtime resource in the fixed shutdown order.
void ShutdownRuntime();

// Appends one line (CR LF ended) to ErrorLog.txt in the temporary folder;
// five attempts 100 ms apart, then the line is dropped. Null appends "null".
void AppendErrorLog(const char* text);

// Full path of the error log.
const char* ErrorLogPath();
void DeleteErrorLog();

// Each subsystem that owns a runtime singleton installs its release step
// when it creates the singleton; ShutdownRuntime runs the installed steps in
// this order and clears each one after it ran.
enum ShutdownStep {
  kShutdownTimerPeriod,
  kShutdownMusic,
  kShutdownRenderer,
  kShutdownInput,
  kShutdownSoundSlots,
  kShutdownSoundDevice,
  kShutdownNetwork,
  kShutdownArchives,
  kShutdownMainWindow,
  kShutdownStepCount
};
void SetShutdownStep(ShutdownStep step, void (*release)());

// Steps of the exit finaliser (INI data, file channels, line file, bound
// libraries), run in this order after the end report.
enum ExitStep {
  kExitIniFiles,
  kExitFileChannels,
  kExitLineFile,
  kExitLibraries,
  kExitStepCount
};
void SetExitStep(ExitStep step, void (*finalise)());
// Runs the installed exit steps once, in order (EndProgram runs them too).
void RunExitSteps();

// Hook for tests: replaces the process exit (default: std::exit(0)).
void SetProgramExitHandler(void (*handler)(int status));
