// The link between a program and its debugger: a Unix-domain stream socket
// whose path the debugger passes in the environment variable
// ORVALE_DEBUG_LINK. Each message is a text followed by one NUL byte; a break
// message waits for the debugger's one-byte answer, during which the
// debugger reads and writes the program's memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

constexpr const char* kDebugLinkVariable = "ORVALE_DEBUG_LINK";

// ---- Program side --------------------------------------------------------

namespace detail {
// -1 not yet tested, 0 no debugger, 1 linked.
extern int gDebugLinkState;
bool OpenDebugLink();
}  // namespace detail

// Whether a debugger is linked. The first call connects to the path named by
// ORVALE_DEBUG_LINK (and lets the debugger read and write this process's
// memory); after that it is one cached flag.
inline bool DebugLinkPresent() {
  int state = detail::gDebugLinkState;
  if (state >= 0) return state != 0;
  return detail::OpenDebugLink();
}

// Sends one message without waiting. False without a link; a failed send
// drops the link.
bool DebugLinkSend(const char* text);

// Sends one message and blocks until the debugger answers. False without a
// link or when the debugger went away (the link is then dropped).
bool DebugLinkBreak(const char* text);

// Closes the link; the next presence test answers false.
void CloseDebugLink();

// ---- Debugger side -------------------------------------------------------

// Creates a listening socket at path (an existing file there is replaced).
// Returns a handle or -1.
int DebuggerListen(const std::string& path);

// Waits up to timeoutMs for the program to connect. Returns the connection
// handle or -1; *peerPid receives the program's process id.
int DebuggerAccept(int listener, int timeoutMs, int* peerPid);

// Receives one message. 1 = a message, 0 = the program closed the link,
// -1 = time-out or failure.
int DebuggerReceive(int connection, std::string& text, int timeoutMs);

// Answers a break so the program runs on.
bool DebuggerAnswer(int connection);

void DebuggerClose(int handle);

// Reads or writes another process's memory. True when every byte moved.
bool ReadProcessMemory(int pid, uint64_t address, void* out, size_t size);
bool WriteProcessMemory(int pid, uint64_t address, const void* data, size_t size);

// Starts a program with extra "NAME=value" environment entries. Returns its
// process id or -1.
int StartProcess(const std::string& path, const std::vector<std::string>& args,
                 const std::vector<std::string>& extraEnv);

// Waits up to timeoutMs for the process to end. Returns 1 with *exitCode set
// (128 + signal number when a signal ended it), 0 on time-out (the process is
// then killed and reaped), -1 on failure.
int WaitProcess(int pid, int timeoutMs, int* exitCode);

}  // namespace platform
