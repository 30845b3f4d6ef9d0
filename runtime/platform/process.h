// Starting other programs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Splits a command line into arguments the way Windows programs read theirs:
// white space separates arguments outside quotes; 2n backslashes before a
// quote give n backslashes and the quote opens or closes quoting, 2n+1 give
// n backslashes and a literal quote; other backslashes are literal; "" inside
// quotes is a literal quote. The program name (first argument) ends at the
// first white space, or at the closing quote when it starts with one, and
// takes backslashes literally.
std::vector<std::string> SplitCommandLine(const char* commandLine);

// Starts the program args[0] (searched on PATH when it holds no '/') with the
// game's folder and environment. Returns the process id, or -1 when it could
// not be started.
int64_t LaunchProgram(const std::vector<std::string>& args);
// Waits for a started process and returns its exit status (128 + signal when
// a signal ended it).
uint32_t WaitForProgram(int64_t process);
// The process will not be waited for: it is reaped when it ends.
void ReleaseProgram(int64_t process);

// Runs a program and collects its standard output; false when it could not be
// started. exitStatus receives its status.
bool RunAndCapture(const std::vector<std::string>& args, std::string& output,
                   uint32_t& exitStatus);

// True when program (no '/') is found on PATH as an executable file.
bool ProgramOnPath(const char* program);

}  // namespace platform
