// Music: length, restart after the noted end time, volume; rendered through
// the mixer directly with a test clock.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "core/shoebox.h"
#include "input_audio/media_host.h"
#include "input_audio/music.h"
#include "platform/audio.h"
#include "archive_fixture.h"
#include "media_fixture.h"

namespace {

double gClock = 0;
double TestClock() { return gClock; }

class Music : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // A 0.8 s sine at the mixer's own format, and a 3 s MP3.
    tone_ = MakeMedia("tone.wav",
                      "-f lavfi -i sine=frequency=440:sample_rate=22050:duration=0.8 -ac 2 "
                      "-c:a pcm_s16le");
    shortTone_ = MakeMedia("short.wav",
                           "-f lavfi -i sine=frequency=440:sample_rate=22050:duration=0.2 -ac 2 "
                           "-c:a pcm_s16le");
    mp3_ = MakeMedia("long.mp3",
                     "-f lavfi -i sine=frequency=300:sample_rate=22050:duration=3 -ac 2 "
                     "-c:a libmp3lame -b:a 64k");
  }
  static void TearDownTestSuite() { RemoveMediaDir(); }
  void SetUp() override {
    ASSERT_FALSE(tone_.empty());
    ASSERT_TRUE(platform::AudioOpenManual());
    MediaHost host{};
    host.timeMs = TestClock;
    SetMediaHost(host);
    gClock = 1000;
  }
  void TearDown() override {
    StopMusic();
    platform::AudioClose();
  }
  static std::vector<int16_t> Render(int frames) {
    std::vector<int16_t> out(static_cast<size_t>(frames) * 2);
    platform::AudioRender(out.data(), frames);
    return out;
  }
  static int Peak(const std::vector<int16_t>& v, size_t from = 0, size_t to = SIZE_MAX) {
    int peak = 0;
    for (size_t i = from; i < v.size() && i < to; ++i) peak = std::max(peak, std::abs(int(v[i])));
    return peak;
  }
  static inline std::string tone_, shortTone_, mp3_;
};

TEST_F(Music, PlaysForItsLengthAndRestartsAfterTheEndTime) {
  PlayMusic(BasicString(tone_.c_str()));
  ASSERT_NE(gMusicWindow, nullptr);
  EXPECT_EQ(gMusicWindow->volume, 1000);
  EXPECT_DOUBLE_EQ(gMusicEndTime, 1000 + 800);

  std::vector<int16_t> first = Render(17640);  // 0.8 s
  EXPECT_GT(Peak(first), 1000);
  EXPECT_EQ(Peak(Render(4000)), 0);  // ended, not yet due

  gClock = 1799;
  RestartMusicIfDue();
  EXPECT_DOUBLE_EQ(gMusicEndTime, 1800);
  EXPECT_EQ(Peak(Render(100)), 0);

  gClock = 1900;
  RestartMusicIfDue();
  EXPECT_DOUBLE_EQ(gMusicEndTime, 1900 + 800);  // from the moment of the restart
  std::vector<int16_t> again = Render(1000);
  for (int i = 0; i < 2000; ++i) ASSERT_EQ(again[i], first[i]) << i;
}

TEST_F(Music, ShortTracksLoopEvery500Ms) {
  PlayMusic(BasicString(shortTone_.c_str()));
  ASSERT_NE(gMusicWindow, nullptr);
  EXPECT_DOUBLE_EQ(gMusicEndTime, 1500);
}

TEST_F(Music, Mp3LengthSetsTheEndTime) {
  ASSERT_FALSE(mp3_.empty());
  PlayMusic(BasicString(mp3_.c_str()));
  ASSERT_NE(gMusicWindow, nullptr);
  EXPECT_NEAR(gMusicEndTime, 1000 + 3000, 60);
  EXPECT_GT(Peak(Render(22050)), 1000);
}

TEST_F(Music, VolumeScalesTheSound) {
  PlayMusic(BasicString(tone_.c_str()));
  std::vector<int16_t> full = Render(2000);
  SetMusicVolume(0.5);
  EXPECT_EQ(gMusicWindow->volume, 500);
  PlayMusic(BasicString(tone_.c_str()));  // restarts from the start at 1000
  EXPECT_EQ(gMusicWindow->volume, 1000);
  SetMusicVolume(0.5);
  std::vector<int16_t> half = Render(2000);
  for (int i = 0; i < 4000; ++i) ASSERT_NEAR(half[i], full[i] * 0.5, 1.0) << i;
  SetMusicVolume(0);
  EXPECT_EQ(Peak(Render(2000)), 0);
  SetMusicVolume(1.5);
  EXPECT_EQ(gMusicWindow->volume, 1500);
  EXPECT_GT(Peak(Render(2000)), Peak(full) * 1.4);
}

TEST_F(Music, StopAndMissingFiles) {
  StopMusic();
  EXPECT_EQ(gMusicEndTime, 0);
  SetMusicVolume(0.5);  // no music: nothing happens
  PlayMusic(BasicString(tone_.c_str()));
  ASSERT_NE(gMusicWindow, nullptr);
  PlayMusic(BasicString((MediaTempDir() + "/none.mp3").c_str()));
  EXPECT_EQ(gMusicWindow, nullptr);
  EXPECT_EQ(gMusicEndTime, 0);
  EXPECT_EQ(Peak(Render(1000)), 0);
  gClock = 1e9;
  RestartMusicIfDue();
  EXPECT_EQ(gMusicEndTime, 0);
}

TEST_F(Music, KeepsItsFileOpenWhileItPlays) {
  std::string copy = MediaTempDir() + "/temp_member.wav";
  std::string cmd = "cp '" + tone_ + "' '" + copy + "'";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  PlayMusic(BasicString(copy.c_str()));
  ASSERT_NE(gMusicWindow, nullptr);
  std::remove(copy.c_str());  // the archive deletes its temporary member
  Render(17640 + 100);
  gClock = 2000;
  RestartMusicIfDue();
  EXPECT_GT(Peak(Render(2000)), 1000);
}

TEST_F(Music, PlaysAMemberOfTheSecondContainerAndOutlivesItsTemporaryFile) {
  std::string container = MediaTempDir() + "/media.aud";
  ASSERT_TRUE(WriteContainer(container, {{"other.wav", ReadWholeFile(shortTone_)},
                                         {"song.wav", ReadWholeFile(tone_)}}));
  CreateShoeboxes();
  SetShoebox(BasicString(""), BasicString(container.c_str()));
  PlayMusic(BasicString("aud/song.wav"));
  ASSERT_NE(gMusicWindow, nullptr);
  EXPECT_DOUBLE_EQ(gMusicEndTime, 1000 + 800);
  std::vector<int16_t> first = Render(1000);
  EXPECT_GT(Peak(first), 1000);
  // The next look-up deletes the extracted song; the track plays on.
  char out[kShoeboxPathSize];
  ASSERT_EQ(ResolveShoeboxFile(gShoeboxes[1], "other.wav", out), 1);
  Render(17640);
  gClock = 1800;
  RestartMusicIfDue();
  std::vector<int16_t> again = Render(1000);
  for (int i = 0; i < 2000; ++i) ASSERT_EQ(again[i], first[i]) << i;
  // Names the container lacks play nothing.
  PlayMusic(BasicString("aud/missing.mp3"));
  EXPECT_EQ(gMusicWindow, nullptr);
  ReleaseShoeboxes();
}

}  // namespace
