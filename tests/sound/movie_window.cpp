// A movie drawn into a real GL window (run under Xvfb), ended by a key
// through the input layer.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <string>

#include "input_audio/input_state.h"
#include "input_audio/media_host.h"
#include "input_audio/movie.h"
#include "platform/audio.h"
#include "platform/input.h"
#include "platform/system.h"
#include "platform/window.h"
#include "media_fixture.h"

namespace {

platform::Window* gWindow = nullptr;
int gPumps = 0;
int gKeyAtPump = -1;

// The window's own pump; a key goes down at the chosen pass.
bool PumpWithKey() {
  ++gPumps;
  if (gPumps == gKeyAtPump) platform::PushKeyEvent(30, true);
  platform::WindowMessage m;
  while (platform::PeekMessage(gWindow, &m)) {
  }
  return true;
}

void ReadPixel(int x, int yFromTop, uint8_t rgba[4]) {
  int w = 0, h = 0;
  platform::GetClientSize(gWindow, &w, &h);
  glReadBuffer(GL_BACK);
  glReadPixels(x, h - 1 - yFromTop, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
}

// Pixels of the last picture drawn, read back before the swap.
struct Probe {
  int x, y;
  uint8_t rgba[4];
};
Probe gProbes[] = {{320, 240, {}}, {320, 60, {}}, {10, 470, {}}, {2, 125, {}}, {637, 358, {}}};
int gDrawn = 0;

void DrawAndProbe(const uint8_t* rgba, int width, int height, int left, int top, int right,
                  int bottom) {
  DrawMovieFrameGL(rgba, width, height, left, top, right, bottom);
  for (Probe& p : gProbes) ReadPixel(p.x, p.y, p.rgba);
  ++gDrawn;
  platform::SwapWindow(gWindow);
}

TEST(MovieOnDisplay, DrawsFittedPicturesAndStopsOnAKey) {
  std::string movie = MakeMedia("wide.avi",
                                "-f lavfi -i color=c=red:size=320x120:rate=25:duration=0.6 "
                                "-c:v mpeg4 -q:v 2");
  ASSERT_FALSE(movie.empty());
  std::string why;
  ASSERT_TRUE(platform::VideoInit(&why)) << why;
  gWindow = platform::CreateGlWindow("movie", 640, 480, 0);
  ASSERT_NE(gWindow, nullptr);
  platform::GlContext* gl = platform::CreateGlContext(gWindow);
  ASSERT_NE(gl, nullptr);
  ASSERT_TRUE(platform::MakeCurrent(gWindow, gl));
  platform::ShowWindow(gWindow);
  for (int i = 0; i < 10; ++i) {
    PumpWithKey();
    platform::SleepMs(10);
  }
  NewInputState();
  InputInit(gInput, gWindow, nullptr, false);
  platform::AudioOpenManual();

  MediaHost host{};
  host.window = gWindow;
  host.pumpMessages = PumpWithKey;
  host.drawMovieFrame = DrawAndProbe;
  SetMediaHost(host);

  // Plays to its end: 640 x 240 in the middle, black above and below.
  gPumps = 0;
  gKeyAtPump = -1;
  double t0 = platform::NowMs();
  EXPECT_EQ(PlayMovieOnce(BasicString(movie.c_str())), 0);
  EXPECT_GT(platform::NowMs() - t0, 500);
  EXPECT_GE(gDrawn, 10);
  bool red[] = {true, false, false, true, true};
  for (int i = 0; i < 5; ++i) {
    const Probe& p = gProbes[i];
    SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
    if (red[i]) {
      EXPECT_GT(p.rgba[0], 200);
      EXPECT_LT(p.rgba[1], 60);
    } else {
      EXPECT_LT(p.rgba[0], 30);
    }
  }

  // Looped, it ends on a key pressed while it plays.
  gPumps = 0;
  gKeyAtPump = 40;
  t0 = platform::NowMs();
  EXPECT_EQ(PlayMovieLooped(BasicString(movie.c_str())), 0);
  EXPECT_LT(platform::NowMs() - t0, 5000);
  EXPECT_GE(gPumps, 40);
  platform::PushKeyEvent(30, false);

  platform::AudioClose();
  ReleaseInput();
  platform::DeleteGlContext(gl);
  platform::DestroyWindow(gWindow);
  RemoveMediaDir();
}

}  // namespace
