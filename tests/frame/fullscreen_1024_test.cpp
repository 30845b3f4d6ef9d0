// On a 1024 x 768 screen there is no 640 x 480 mode: the switch stays
// windowed and says so in the error log.
#include "frame/frame_function.h"
#include "frame/main_window.h"
#include "frame/renderer.h"
#include "input_audio/input_state.h"
#include "platform/window.h"
#include "window_fixture.h"

TEST(FullScreen1024, MissingModeFallsBackToWindowed) {
  StartRuntimeOnce();
  ASSERT_TRUE(RuntimeStarted());
  OpenGLLumenar* r = gRenderer;
  platform::Window* before = gMainWindow;
  int desktopW = 0, desktopH = 0;
  platform::DesktopSize(r->window, &desktopW, &desktopH);
  ASSERT_EQ(desktopW, 1024);
  ASSERT_EQ(desktopH, 768);
  EXPECT_FALSE(platform::HasDisplayMode(r->window, 640, 480, 0));

  SetScreenCmd(640, 480, 1);
  EXPECT_EQ(r->fullscreen, 0);
  EXPECT_FALSE(platform::IsFullscreen(r->window));
  EXPECT_EQ(r->window, before);
  EXPECT_EQ(gMainWindow, before);
  int w = 0, h = 0;
  platform::GetClientSize(r->window, &w, &h);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);
  std::string log = ErrorLogText();
  EXPECT_NE(log.find("No Fullscreen Mode available\r\n"), std::string::npos) << log;

  // The display's own size is a mode it has.
  SetScreenCmd(1024, 768, 1);
  EXPECT_EQ(r->fullscreen, 1);
  EXPECT_TRUE(platform::IsFullscreen(r->window));
  EXPECT_EQ(gMainWindow, before);
  platform::GetClientSize(r->window, &w, &h);
  EXPECT_EQ(w, 1024);
  EXPECT_EQ(h, 768);
  ShowScreen();

  SetScreenCmd(640, 480, 0);
  EXPECT_EQ(r->fullscreen, 0);
  ShutdownRuntime();
  EXPECT_EQ(gMainWindow, nullptr);
}
