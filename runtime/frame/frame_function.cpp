#include "frame/frame_function.h"

#include <GL/gl.h>

#include <algorithm>
#include <atomic>

#include "core/project_settings.h"
#include "core/runtime_error.h"
#include "frame/frame_steps.h"
#include "frame/main_window.h"
#include "frame/render_targets.h"
#include "frame/sprite_draw.h"
#include "frame/virtual_screens.h"
#include "input_audio/input_state.h"
#include "input_audio/music.h"
#include "platform/system.h"
#include "platform/window.h"

double gFrameNow = 0;
double gFramePrev = 0;
double gStartTime = 0;
uint8_t gEscapeEnds = 1;

static std::atomic<bool> sRestoreWindow{false};

void RequestWindowRestore() { sRestoreWindow = true; }
bool WindowRestorePending() { return sRestoreWindow; }

double FrameClockNow(const OpenGLLumenar*) { return platform::NowMs(); }

void ProbeFrameTimer(OpenGLLumenar* r) {
  r->hasPerfCounter = 1;
  r->perfFrequency = 1000.0;
}

void SetFramePeriod(OpenGLLumenar* r, int32_t fps) {
  r->framePeriod = fps > 0 ? 1000.0 / double(fps) : 2.0;
}

void SetAutoPause(double value) { gAutoPause = (value != 0 || value != value) ? 1 : 0; }
void SetEscapeEnds(double value) { gEscapeEnds = (value != 0 || value != value) ? 1 : 0; }

int PumpMessages(OpenGLLumenar* r) {
  platform::WindowMessage m;
  platform::Window* w = r ? r->window : nullptr;
  while (platform::PeekMessage(w, &m)) WindowProc(w, m);
  return 1;
}

namespace {

// How late the last sleep of each frame wait woke up, in ms, for the last
// kWakeCount waits. The wait sleeps to its deadline less the spin margin and spins
// the rest, so the margin follows the latest-waking sleep of that window: a
// frame is late only when a sleep overshoots more than any of the last
// second's. Past kMaxSpinMargin the wake-ups come from a crowded processor,
// which would preempt a spinning wait as well.
constexpr int kWakeCount = 64;
constexpr double kMaxSpinMargin = 1.0;
double sWakeLate[kWakeCount] = {};
int sWakeNext = 0;
double sSpinMargin = 0.25;

void NoteWakeLateness(double late) {
  sWakeLate[sWakeNext] = late > 0 ? late : 0;
  sWakeNext = (sWakeNext + 1) % kWakeCount;
  const double worst = *std::max_element(sWakeLate, sWakeLate + kWakeCount);
  sSpinMargin = std::clamp(worst * 1.25 + 0.03, 0.05, kMaxSpinMargin);
}

// The window system is polled at most this often while spinning.
constexpr double kSpinPollMs = 0.5;

// A processor woken from a long sleep answers late more often than one that
// slept briefly: the wait sleeps to kShortSleepSpan before the spin, then in
// steps of kShortSleepMs, and only the last step's lateness sets the margin.
constexpr double kShortSleepSpan = 1.0;
constexpr double kShortSleepMs = 0.25;

}  // namespace

double FrameEnd(OpenGLLumenar* r) {
  FlushSprites();
  UseBackBuffer(r);
  if (r->window) {
    platform::SwapWindow(r->window);
    // The stencil is always 0 here (the shadow pass clears it when it
    // ends); clearing it too lets a packed depth-stencil buffer be cleared
    // whole instead of masked.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
  }
  double t0 = FrameClockNow(r);
  double now = t0;
  double lastPoll = -1e300;
  platform::WindowMessage m;
  for (;;) {
    // Messages are dispatched on the first pass, after every sleep and
    // every kSpinPollMs of spinning.
    if (now - lastPoll >= kSpinPollMs) {
      while (platform::PeekMessage(r->window, &m)) WindowProc(r->window, m);
      lastPoll = FrameClockNow(r);
    }
    now = FrameClockNow(r);
    if (now > r->nextFrameTime) break;
    // Sleep to the deadline less the spin margin; spin the rest.
    const double wake = r->nextFrameTime - sSpinMargin;
    if (now < wake) {
      if (wake - now > kShortSleepSpan + kShortSleepMs) {
        platform::SleepUntilMs(wake - kShortSleepSpan);
        lastPoll = -1e300;
      } else if (wake - now > kShortSleepMs) {
        platform::SleepUntilMs(now + kShortSleepMs);
      } else {
        platform::SleepUntilMs(wake);
        NoteWakeLateness(FrameClockNow(r) - wake);
      }
      now = FrameClockNow(r);
    }
  }
  if (r->framePeriod > 0) {
    r->nextFrameTime += r->framePeriod;
    while (r->nextFrameTime < now) r->nextFrameTime += r->framePeriod;
  } else {
    r->nextFrameTime += r->framePeriod;
  }
  return (now - t0) + 1.0;
}

static void EndOnKey() {
  gErrorState.errorCode = 0;
  gErrorState.errorLine = gErrorState.statementLine;
  EndProgram();
}

void ShowScreen() {
  FlushSprites();
  OpenGLLumenar* r = gRenderer;
  // Only after a debugger stop hid the window: raising it every frame would
  // take the focus from every other window.
  if (gProjectSettings.debugMode != 0 && sRestoreWindow.exchange(false) && gMainWindow) {
    platform::ShowWindow(gMainWindow);
    platform::RaiseWindow(gMainWindow);
  }
  gFramePrev = gFrameNow;
  gFrameNow = FrameClockNow(r);
  while (gPaused) {
    RestartMusicIfDue();
    PumpMessages(r);
    if (!gPaused) break;
    platform::SleepMs(100);
  }
  if (gInput) {
    PollKeyboard(gInput);
    gInput->reread = 1;
    if (gEscapeEnds && (KeyIsDown(gInput, 129) || KeyIsDown(gInput, 1))) EndOnKey();
    if (KeyIsDown(gInput, 56) && KeyIsDown(gInput, 62)) EndOnKey();
  }
  RunFrameStep(kFrameStepBeforeShow);
  RestartMusicIfDue();
  PumpMessages(r);
  if (!r) return;
  FrameEnd(r);
  glEnable(GL_BLEND);
  glDisable(GL_BLEND);
  r->currentAlpha = 1.0f;
  glColor4f(1, 1, 1, 1);
  DrawVirtualScreen(r, 0);
  SetViewport2D(r, 0, 0, 0, 0);
  RunFrameStep(kFrameStepAfterShow);
}
