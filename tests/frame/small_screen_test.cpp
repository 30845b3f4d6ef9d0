// On a 320 x 200 screen the 640 x 480 window cannot fit: it stands at the
// screen's origin instead of hanging off its top and left edges.
#include "frame/frame_function.h"
#include "frame/main_window.h"
#include "frame/renderer.h"
#include "platform/window.h"
#include "window_fixture.h"

TEST(SmallScreen, WindowLargerThanTheScreenStandsAtItsOrigin) {
  StartRuntimeOnce();
  ASSERT_TRUE(RuntimeStarted());
  OpenGLLumenar* r = gRenderer;
  int dw = 0, dh = 0;
  platform::DesktopSize(r->window, &dw, &dh);
  ASSERT_EQ(dw, 320);
  ASSERT_EQ(dh, 200);
  for (int full : {0, 1}) {  // no full-screen mode of that size: windowed too
    SetScreenCmd(640, 480, full);
    ShowScreen();
    int x = -1, y = -1;
    ASSERT_TRUE(platform::GetWindowPosition(r->window, &x, &y));
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
  }
  // A window that fits is kept whole on the screen.
  SetScreenCmd(200, 100, 0);
  ShowScreen();
  int x = -1, y = -1;
  platform::GetWindowPosition(r->window, &x, &y);
  EXPECT_GE(x, 0);
  EXPECT_GE(y, 0);
  EXPECT_LE(x + 200, 320);
  EXPECT_LE(y + 100, 200);
  ShutdownRuntime();
}
