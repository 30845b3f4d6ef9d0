#include "platform/system.h"

#include <SDL.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "platform/display_probe.h"
#include "platform/message_box.h"

namespace platform {

double NowMs() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return double(ts.tv_sec) * 1000.0 + double(ts.tv_nsec) / 1e6;
}

double ThreadCpuMs() {
  timespec ts;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return double(ts.tv_sec) * 1000.0 + double(ts.tv_nsec) / 1e6;
}

void SleepMs(double ms) {
  if (!(ms > 0)) return;  // negative, zero and NaN do not sleep
  if (ms > 1e9) ms = 1e9;
  timespec ts;
  ts.tv_sec = time_t(ms / 1000.0);
  ts.tv_nsec = long((ms - double(ts.tv_sec) * 1000.0) * 1e6);
  while (nanosleep(&ts, &ts) == -1 && errno == EINTR) {
  }
}

bool IsWritableFolder(const std::string& path) {
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
         access(path.c_str(), W_OK | X_OK) == 0;
}

void SleepUntilMs(double deadlineMs) {
  // The default slack of 50 us would make every wake-up that much later.
  static const bool slackSet = prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL) == 0;
  (void)slackSet;
  if (!(deadlineMs > NowMs())) return;
  if (deadlineMs > 1e15) deadlineMs = 1e15;
  timespec ts;
  ts.tv_sec = time_t(deadlineMs / 1000.0);
  ts.tv_nsec = long((deadlineMs - double(ts.tv_sec) * 1000.0) * 1e6);
  if (ts.tv_nsec >= 1000000000L) {
    ++ts.tv_sec;
    ts.tv_nsec -= 1000000000L;
  } else if (ts.tv_nsec < 0) {
    ts.tv_nsec = 0;
  }
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
  }
}

std::string TempFolder() {
  // A TMPDIR that does not exist or cannot be written falls back to /tmp.
  const char* t = std::getenv("TMPDIR");
  std::string dir = (t && *t && IsWritableFolder(t)) ? t : "/tmp";
  if (dir.back() != '/') dir += '/';
  return dir;
}

std::string ProgramPath() {
  char buf[PATH_MAX + 1];
  ssize_t n = readlink("/proc/self/exe", buf, PATH_MAX);
  if (n <= 0) return std::string();
  buf[n] = 0;
  return buf;
}

bool SetCurrentFolder(const std::string& path) { return chdir(path.c_str()) == 0; }

std::string CurrentFolder() {
  char buf[PATH_MAX + 1];
  if (!getcwd(buf, sizeof buf)) return std::string();
  return buf;
}

std::string NativePath(const char* name) {
  std::string s = name ? name : "";
  for (char& c : s)
    if (c == '\\') c = '/';
  return s;
}

namespace {

// The box is another client's window: while it is up, the pointer must be
// free of the game window's grab and visible, or its button cannot be
// clicked. The game's pointer settings come back afterwards.
class PointerFreed {
 public:
  PointerFreed() {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) return;
    video_ = true;
    grabbed_ = SDL_GetGrabbedWindow();
    if (grabbed_) SDL_SetWindowMouseGrab(grabbed_, SDL_FALSE);
    relative_ = SDL_GetRelativeMouseMode() == SDL_TRUE;
    if (relative_) SDL_SetRelativeMouseMode(SDL_FALSE);
    cursor_ = SDL_ShowCursor(SDL_QUERY);
    SDL_ShowCursor(SDL_ENABLE);
  }
  ~PointerFreed() {
    if (!video_) return;
    SDL_ShowCursor(cursor_);
    if (relative_) SDL_SetRelativeMouseMode(SDL_TRUE);
    if (grabbed_) SDL_SetWindowMouseGrab(grabbed_, SDL_TRUE);
  }
  PointerFreed(const PointerFreed&) = delete;
  PointerFreed& operator=(const PointerFreed&) = delete;

 private:
  bool video_ = false;
  SDL_Window* grabbed_ = nullptr;
  bool relative_ = false;
  int cursor_ = SDL_ENABLE;
};

// Before the video system has connected, a display that takes the
// connection and then stalls would hold the box, and the program, for ever:
// such a display gets no box.
bool BoxDisplayAnswers(const char* display) {
  if (SDL_WasInit(SDL_INIT_VIDEO) != 0) return true;
  const DisplayAnswer answer = ProbeXDisplay(display, kDisplayAnswerMs);
  EndDisplayProbe();
  return answer == DisplayAnswer::kAnswers || answer == DisplayAnswer::kUnknownName;
}

}  // namespace

void ShowMessage(const char* caption, const char* text) {
  std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
  const char* display = std::getenv("DISPLAY");
  if (display && !std::getenv("ORVALE_NO_MESSAGE_BOX") && BoxDisplayAnswers(display)) {
    // The box is as wide as its longest line: broken into lines, the text
    // keeps it (and its OK button) on a small screen.
    const std::string lines = MessageBoxLines(text ? text : "");
    PointerFreed freed;
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, caption, lines.c_str(), nullptr);
  }
}

std::string DeviceName() {
  const char* d = std::getenv("ORVALE_DEVICE");
  std::string name = (d && *d) ? d : "DESKTOP";
  for (char& c : name)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return name;
}

}  // namespace platform
