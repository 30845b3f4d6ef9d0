// A console for programs started without one (from a desktop launcher):
// a terminal window on a pseudo-terminal that becomes the program's
// standard input and output.
#pragma once

#include <string>

namespace platform {

// True when standard input or standard output is a terminal.
bool HasTerminal();

// Opens a terminal window titled title and connects standard input and
// output to its pseudo-terminal. The terminal program is the one named by
// ORVALE_TERMINAL, else the system's x-terminal-emulator; it is run as
// "program -T title -e /bin/sh -c script", and the window closes once this
// process has ended. False, with nothing changed and the reason in *why,
// when no terminal program is there or none opened within ten seconds.
bool OpenConsoleWindow(const char* title, std::string* why);

}  // namespace platform
