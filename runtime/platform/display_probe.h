// A first look at the X server a display name points to, made before the
// video system connects: a server that accepts connections but never
// answers would otherwise hold the program for ever.
#pragma once

#include <string>

namespace platform {

// How long a display may take to answer before it counts as none.
inline constexpr double kDisplayAnswerMs = 5000;

enum class DisplayAnswer {
  kAnswers,      // the server replied to a connection setup
  kSilent,       // connected, but no whole reply within the time given
  kNoServer,     // nothing accepts connections there
  kUnknownName,  // a name this probe does not read: the video system decides
  kInterrupted,  // SIGTERM or SIGINT arrived while waiting
};

// Connects to the X server of display (":1", "unix:0.0", "host:2", ...) as
// Xlib would (abstract socket, socket file, then TCP for a local name) and
// sends a connection setup without credentials; the server answers when its
// whole reply (whatever it says) arrives within timeoutMs, or when it closes
// the connection. A part of a reply and then silence is no answer. The
// connection of a server that answered stays open until EndDisplayProbe, so
// that its end cannot make the server reset before the real client connects.
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
// waits the program cannot leave, such as the video system's connect),
// unless a start-up watch is armed, which then ends it.
void ExitOnStartupSignal(bool on);

// A watch over start-up calls into the window system, which cannot be left
// once made: a server that answered the probe may still stall in the
// connect, the window or the GL context. From BeginStartupWatch until
// EndStartupWatch a thread of its own waits; when timeoutMs have passed, or
// SIGTERM or SIGINT arrived while the start-up signals were installed, it
// calls onEnd with the reason ("no display ..." or "start-up was
// interrupted by ...") and ends the process with status 1. onEnd runs on
// the watch's thread while the main thread may be held in the window
// system: it must not call into it. The start-up signals stay installed
// until the watch ends.
using StartupEndHandler = void (*)(const char* why);
void BeginStartupWatch(double timeoutMs, StartupEndHandler onEnd);
// Disarms the watch. Returns "start-up was interrupted by SIGTERM" (or
// SIGINT) when such a signal arrived, for the caller to report, else "".
// Does not return when the watch has already begun to end the process.
std::string EndStartupWatch();

}  // namespace platform
