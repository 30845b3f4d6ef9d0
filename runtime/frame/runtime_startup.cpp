#include "frame/runtime_startup.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "core/basic_string.h"
#include "core/isaac_random.h"
#include "core/project_settings.h"
#include "core/runtime_error.h"
#include "core/shoebox.h"
#include "frame/debugger_window.h"
#include "frame/fonts.h"
#include "frame/frame_function.h"
#include "frame/frame_steps.h"
#include "frame/graphics_commands.h"
#include "frame/main_window.h"
#include "frame/renderer.h"
#include "frame/sprite_draw.h"
#include "input_audio/input_state.h"
#include "input_audio/media_host.h"
#include "input_audio/sound_device.h"
#include "input_audio/sound_object.h"
#include "net/net_session.h"
#include "platform/system.h"
#include "platform/window.h"

namespace {

bool sStarted = false;

void ReleaseTimerPeriod() {
  // The system timer period has no counterpart here: our clock and sleeps
  // are already of millisecond resolution.
}

void ReleaseRenderer() {
  delete gRenderer;
  gRenderer = nullptr;
}

void ReleaseMainWindow() {
  // The renderer normally took the window with it; a window left over
  // (renderer gone first by other means) goes here.
  if (gMainWindow) {
    platform::DestroyWindow(gMainWindow);
    gMainWindow = nullptr;
  }
  StrRelease(gCaption);
  // The video system stays up until the process exits: shutting it down
  // would unload the GL driver, whose allocations then show up as leaks
  // of an unknown module.
}

// Music and movies use the frame clock, the window and its message pump.
void InstallMediaHost(OpenGLLumenar* r) {
  MediaHost host{};
  host.timeMs = GetTimeMs;
  host.pumpMessages = [] { return PumpMessages(gRenderer) != 0; };
  host.afterMusicStart = [] {
    if (gMainWindow) platform::RaiseWindow(gMainWindow);
    gPaused = 0;
  };
  host.window = r->window;
  SetMediaHost(host);
}

}  // namespace

void ProgramFolderOf(const char* path, char* out, uint32_t outSize) {
  if (!out || outSize == 0) return;
  std::string s = path ? path : "";
  for (size_t i = s.size(); i >= 1; --i) {
    if (i < s.size() && (s[i] == '/' || s[i] == '\\')) {
      s.resize(i);
      break;
    }
  }
  std::snprintf(out, outSize, "%s", s.c_str());
}

bool RuntimeStarted() { return sStarted; }

int RuntimeStartup(void* instance, void* /*previousInstance*/, const char* /*commandLine*/,
                   int showCommand, const char* caption) {
  gAutoPause = 1;
  OpenGLLumenar* r = new OpenGLLumenar;
  gRenderer = r;
  SetShutdownStep(kShutdownTimerPeriod, ReleaseTimerPeriod);
  SetShutdownStep(kShutdownRenderer, ReleaseRenderer);
  SetShutdownStep(kShutdownMainWindow, ReleaseMainWindow);

  // The log of the previous run goes before the window is made, so that
  // lines logged while making it (software OpenGL) stay.
  DeleteErrorLog();

  if (!CreateMainWindow(r, instance, int(gProjectSettings.screenWidth),
                        int(gProjectSettings.screenHeight), 0,
                        int(gProjectSettings.framesPerSecond),
                        int(gProjectSettings.multisampleSamples),
                        gProjectSettings.fullscreen != 0))
    return 0;

  gMainWindow = r->window;
  platform::SetTitle(gMainWindow, caption);
  StrSetCStr(gCaption, caption);

  NewInputState();
  CreateSoundDeviceSingleton();
  CreateSoundSlotsSingleton();
  CreateNetSession();
  RunRendererStartStep(r);

  double now = FrameClockNow(r);
  IsaacSeed(uint32_t(int32_t(now >= 2147483647.0 ? 2147483647.0 : now)));

  if (gProjectSettings.fullscreen != 0)
    SetFullscreenMode(r);
  else
    ResizeWindow(r);

  InputInit(gInput, gMainWindow, instance, gProjectSettings.hideSystemPointer != 0);
  SoundDeviceCreate(gSoundDevice, gMainWindow);
  gInput->window = r->window;
  SoundDeviceSetCooperativeLevel(gSoundDevice, r->window);
  InstallDebuggerWindowHooks();
  InstallMediaHost(r);

  gCurrentFont = 0;

  char folder[1024];
  ProgramFolderOf(platform::ProgramPath().c_str(), folder, sizeof folder);
  platform::SetCurrentFolder(folder);

  CreateShoeboxes();
  BasicString folderText(folder);
  SetShoebox(folderText, folderText);

  ClearScreen();
  gFrameNow = gFramePrev = gStartTime = FrameClockNow(r);
  FrameEnd(r);
  SetViewport2D(r, 0, 0, 0, 0);

  double screenW = 0, screenH = 0;
  GetScreenSizeCmd(screenW, screenH);
  LoadFontCmd(BasicString(""), 0);
  LoadFontCmd(BasicString("smalfont.bmp"), 0);
  double cellW = 0, cellH = 0;
  GetFontSizeCmd(cellW, cellH);
  PrintCmd(BasicString("Loading..."), (screenW - 10.0 * cellW) * 0.5, (screenH - cellH) * 0.5);
  ShowScreen();

  gPaused = 0;
  gFrameNow = gFramePrev = gStartTime = FrameClockNow(r);

  if (showCommand == 0) {
    ResetWindowStyle(r);
    platform::HideWindow(gMainWindow);
  }

  uint8_t shown = gProjectSettings.hideSystemPointer == 0 ? 1 : 0;
  if (gInput->pointerShown != shown) {
    gInput->pointerShown = shown;
    if (shown)
      ShowPointerStep(gInput);
    else
      HidePointerStep(gInput);
  }

  sStarted = true;
  std::puts("Init OK");
  std::fflush(stdout);
  return 0;
}
