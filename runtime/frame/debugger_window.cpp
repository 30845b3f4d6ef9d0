#include "frame/debugger_window.h"

#include <cstdint>

#include "core/debug_support.h"
#include "frame/frame_function.h"
#include "frame/main_window.h"
#include "input_audio/input_state.h"

static void HideForBreak() {
  if (!gMainWindow) return;
  platform::HideWindow(gMainWindow);
  RequestWindowRestore();
}

static void ResumeAfterBreak() {
  gPaused = 0;
  if (gInput) {
    PollKeyboard(gInput);
    gInput->reread = 1;
  }
}

// No native handle on this platform: an identifier that is 0 exactly when
// there is no window.
static uint32_t MainWindowId() {
  if (!gMainWindow) return 0;
  uint32_t id = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(gMainWindow) >> 4);
  return id ? id : 1;
}

void InstallDebuggerWindowHooks() {
  SetDebugBreakHooks({HideForBreak, ResumeAfterBreak, MainWindowId});
}
