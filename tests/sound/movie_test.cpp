// Movies: fitting, playing to the end, looping, stopping on a key or a
// click, and the sound going through the mixer. The drawing hook records
// what the player shows.
#include <gtest/gtest.h>

#include <vector>

#include "input_audio/media_host.h"
#include "input_audio/movie.h"
#include "platform/audio.h"
#include "platform/system.h"
#include "media_fixture.h"

namespace {

struct Shown {
  int frames = 0;
  int blanks = 0;
  int left = -1, top = -1, right = -1, bottom = -1;
  int width = 0, height = 0;
  uint8_t firstPixel[4] = {0, 0, 0, 0};
  int soundPeak = 0;
};
Shown gShown;
int gKeyCalls = 0;
int gKeyAfter = -1;   // key reported from this call on (-1: never)
int gHeldKeyCalls = 0;  // calls that report a key held from before
int gClickAfter = -1;
int gClickCalls = 0;
int gPumps = 0;

void RecordFrame(const uint8_t* rgba, int w, int h, int l, int t, int r, int b) {
  if (!rgba) {
    gShown.blanks++;
  } else {
    if (gShown.frames == 0)
      for (int i = 0; i < 4; ++i) gShown.firstPixel[i] = rgba[i];
    gShown.frames++;
  }
  gShown.width = w;
  gShown.height = h;
  gShown.left = l;
  gShown.top = t;
  gShown.right = r;
  gShown.bottom = b;
  // The movie's sound is pulled by the mixer; render a little of it here.
  std::vector<int16_t> out(2 * 256);
  platform::AudioRender(out.data(), 256);
  for (int16_t s : out) gShown.soundPeak = std::max(gShown.soundPeak, std::abs(int(s)));
}

void ClientSize(int* w, int* h) {
  *w = 640;
  *h = 480;
}

bool Key() {
  ++gKeyCalls;
  if (gHeldKeyCalls > 0) {
    --gHeldKeyCalls;
    return true;
  }
  return gKeyAfter >= 0 && gKeyCalls >= gKeyAfter;
}

bool Click() {
  ++gClickCalls;
  return gClickAfter >= 0 && gClickCalls >= gClickAfter;
}

bool Pump() {
  ++gPumps;
  return true;
}

class Movie : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    movie_ = MakeMedia("movie.avi",
                       "-f lavfi -i color=c=red:size=320x240:rate=25:duration=1 "
                       "-f lavfi -i sine=frequency=440:sample_rate=22050:duration=1 "
                       "-c:v mpeg4 -q:v 2 -c:a pcm_s16le -shortest");
    soundOnly_ = MakeMedia("sound_only.wav",
                           "-f lavfi -i sine=frequency=440:sample_rate=22050:duration=0.3 "
                           "-c:a pcm_s16le");
  }
  static void TearDownTestSuite() { RemoveMediaDir(); }
  void SetUp() override {
    ASSERT_FALSE(movie_.empty());
    ASSERT_TRUE(platform::AudioOpenManual());
    gShown = Shown{};
    gKeyCalls = gClickCalls = gPumps = 0;
    gKeyAfter = gClickAfter = -1;
    gHeldKeyCalls = 0;
    MediaHost host{};
    host.drawMovieFrame = RecordFrame;
    host.clientSize = ClientSize;
    host.keyCharPressed = Key;
    host.anyMouseButtonDown = Click;
    host.pumpMessages = Pump;
    SetMediaHost(host);
  }
  void TearDown() override { platform::AudioClose(); }
  static inline std::string movie_, soundOnly_;
};

TEST(MovieFit, ScalesToTheClientAreaAndCentres) {
  struct Case {
    int sw, sh, cw, ch;
    MovieRect r;
  } cases[] = {
      {320, 240, 640, 480, {0, 0, 640, 480}},
      {400, 300, 800, 450, {100, 0, 700, 450}},
      {640, 200, 640, 480, {0, 140, 640, 340}},
      {0, 0, 640, 480, {320, 240, 320, 240}},    // no picture
      {320, 0, 640, 480, {320, 240, 320, 240}},  // unknown height
      {320, 240, 0, 0, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    MovieRect r = FitMovieRect(c.sw, c.sh, c.cw, c.ch);
    EXPECT_EQ(r.left, c.r.left) << c.sw << "x" << c.sh << " in " << c.cw << "x" << c.ch;
    EXPECT_EQ(r.top, c.r.top);
    EXPECT_EQ(r.right, c.r.right);
    EXPECT_EQ(r.bottom, c.r.bottom);
  }
}

TEST_F(Movie, PlaysToItsEndFittedWithItsSound) {
  double t0 = platform::NowMs();
  EXPECT_EQ(PlayMovie(BasicString(movie_.c_str()), false), 0);
  double took = platform::NowMs() - t0;
  EXPECT_GT(took, 900);
  EXPECT_LT(took, 3000);
  EXPECT_GE(gShown.frames, 15);
  EXPECT_EQ(gShown.width, 320);
  EXPECT_EQ(gShown.height, 240);
  EXPECT_EQ(gShown.left, 0);
  EXPECT_EQ(gShown.top, 0);
  EXPECT_EQ(gShown.right, 640);
  EXPECT_EQ(gShown.bottom, 480);
  EXPECT_GT(gShown.firstPixel[0], 200);  // red
  EXPECT_LT(gShown.firstPixel[1], 60);
  EXPECT_GT(gShown.soundPeak, 1000);
  EXPECT_GT(gPumps, 0);
}

TEST_F(Movie, StopsOnAKeyButNotOnOneHeldFromBefore) {
  gHeldKeyCalls = 3;  // a key still down when the movie starts
  gKeyAfter = 20;
  double t0 = platform::NowMs();
  EXPECT_EQ(PlayMovie(BasicString(movie_.c_str()), true), 0);
  EXPECT_LT(platform::NowMs() - t0, 800);
  EXPECT_GE(gKeyCalls, 20);
  EXPECT_GT(gPumps, 10);
}

TEST_F(Movie, LoopedMovieRunsPastItsEndUntilAClick) {
  // Click once the movie has run for about 1.6 s: more than one pass.
  gClickAfter = 1;
  int frames = 0;
  {
    MediaHost host = CurrentMediaHost();
    host.anyMouseButtonDown = [] {
      static double start = 0;
      double now = platform::NowMs();
      if (start == 0) start = now;
      return now - start > 1600;
    };
    SetMediaHost(host);
  }
  double t0 = platform::NowMs();
  EXPECT_EQ(PlayMovie(BasicString(movie_.c_str()), true), 0);
  double took = platform::NowMs() - t0;
  frames = gShown.frames;
  EXPECT_GT(took, 1500);
  EXPECT_GT(frames, 30);  // 25 pictures a pass
}

TEST_F(Movie, SoundOnlyMovieHasNoPictureAndDoesNotDivideByZero) {
  ASSERT_FALSE(soundOnly_.empty());
  EXPECT_EQ(PlayMovie(BasicString(soundOnly_.c_str()), false), 0);
  EXPECT_EQ(gShown.frames, 0);
  EXPECT_EQ(gShown.blanks, 1);
  EXPECT_EQ(gShown.left, 320);
  EXPECT_EQ(gShown.right, 320);
  EXPECT_GT(gShown.soundPeak, 1000);
}

TEST_F(Movie, UnresolvableOrUnreadableFilesReturn3) {
  EXPECT_EQ(PlayMovie(BasicString((MediaTempDir() + "/none.avi").c_str()), false), 3);
  std::string junk = MediaTempDir() + "/junk.avi";
  std::FILE* f = std::fopen(junk.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("not a movie at all", f);
  std::fclose(f);
  EXPECT_EQ(PlayMovie(BasicString(junk.c_str()), false), 3);
  EXPECT_EQ(gShown.frames, 0);
}

TEST_F(Movie, LongNamesAreNotCutShort) {
  std::string part(100, 'd');
  std::string dir = MediaTempDir() + "/" + part + "/" + part + "/" + part;
  std::string cmd = "mkdir -p '" + dir + "' && cp '" + movie_ + "' '" + dir + "/m.avi'";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  gKeyAfter = 5;
  EXPECT_EQ(PlayMovie(BasicString((dir + "/m.avi").c_str()), false), 0);
}

}  // namespace
