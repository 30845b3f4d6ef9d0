// Process-level services of the platform layer: clocks, sleeping, folders,
// message boxes. Everything above runtime/platform calls these instead of
// the operating system.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Monotonic high-resolution time in milliseconds.
double NowMs();
void SleepMs(double ms);
// Processor time used so far by the calling thread, in milliseconds.
double ThreadCpuMs();
// Sleeps until NowMs() reaches deadlineMs (returns at once for a time
// already past), with the finest timer slack the system grants.
void SleepUntilMs(double deadlineMs);

// Temporary folder with a trailing '/': $TMPDIR when it names a folder that
// can be written, else /tmp/.
std::string TempFolder();
// True for an existing folder this process may create files in.
bool IsWritableFolder(const std::string& path);
// Absolute path of the running executable.
std::string ProgramPath();
bool SetCurrentFolder(const std::string& path);
std::string CurrentFolder();

// '\' becomes '/' in file names given by programs.
std::string NativePath(const char* name);

// A modal message for the user: shown in a box when a display is available
// (its text broken into lines that fit a 640 x 480 screen), always written
// to standard error as given.
void ShowMessage(const char* caption, const char* text);

// The device the program runs on, in capitals: "DESKTOP" unless
// ORVALE_DEVICE names another (in any letter case).
std::string DeviceName();

}  // namespace platform
