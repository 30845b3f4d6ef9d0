// A first look at the X server a display name points to, made before the
// video system connects: a server that accepts connections but never
// answers would otherwise hold the program for ever.
#pragma once

#include <string>

namespace platform {

enum class DisplayAnswer {
  kAnswers,      // the server replied to a connection setup
  kSilent,       // connected, but no reply within the time given
  kNoServer,     // nothing accepts connections there
  kUnknownName,  // a name this probe does not read: the video system decides
  kInterrupted,  // SIGTERM or SIGINT arrived while waiting
};

// Connects to the X server of display (":1", "unix:0.0", "host:2", ...) as
// Xlib would (abstract socket, socket file, then TCP for a local name) and
// sends a connection setup without credentials; any reply means the server
// answers. Waits at most timeoutMs. The connection of a server that answered
// stays open until EndDisplayProbe, so that its end cannot make the server
// reset before the real client connects.
DisplayAnswer ProbeXDisplay(const char* display, double timeoutMs);
void EndDisplayProbe();

// While start-up connects to the display, SIGTERM and SIGINT end the wait
// instead of being taken by the video system's own handlers (which only
// queue a quit that nobody reads yet). Begin saves the handlers in place and
// installs the start-up ones; End puts the saved ones back.
void BeginStartupSignals();
void EndStartupSignals();
// The signal that arrived since BeginStartupSignals, or 0.
int StartupSignal();
// While on, such a signal ends the process at once with status 1 (for
// waits the program cannot leave, such as the video system's connect).
void ExitOnStartupSignal(bool on);

}  // namespace platform
