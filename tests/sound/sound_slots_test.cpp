// Sound slots and sound commands against the mixer, rendered directly.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/shoebox.h"
#include "input_audio/sound_commands.h"
#include "input_audio/sound_device.h"
#include "input_audio/sound_object.h"
#include "platform/audio.h"
#include "platform/system.h"
#include "archive_fixture.h"
#include "wav_fixture.h"

namespace {

class SoundSlots : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateSoundDeviceSingleton();
    CreateSoundSlotsSingleton();
    ASSERT_TRUE(platform::AudioOpenManual());
    gSoundDevice->directSound = true;  // the manual mixer stands in for the output
    dir_ = platform::TempFolder() + "orvale_sound_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::string cmd = "mkdir -p '" + dir_ + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
  }
  void TearDown() override {
    for (int i = kSoundSlotCount - 1; i >= 0; --i) SoundObjectFree(&gSoundSlots[i]);
    SoundDeviceRelease(gSoundDevice);
    std::string cmd = "rm -rf '" + dir_ + "'";
    (void)std::system(cmd.c_str());
  }
  std::string Wav(const std::string& name, const WavSpec& spec) {
    std::string path = dir_ + "/" + name;
    WriteFileBytes(path, WavBytes(spec));
    return path;
  }
  static std::vector<int16_t> Render(int frames) {
    std::vector<int16_t> out(static_cast<size_t>(frames) * 2, 12345);
    platform::AudioRender(out.data(), frames);
    return out;
  }
  std::string dir_;
};

WavSpec RampSpec(int frames) {
  WavSpec s;
  s.data = Ramp16(frames);
  return s;
}

TEST_F(SoundSlots, UnityGainPassesSamplesUnchanged) {
  std::string path = Wav("ramp.wav", RampSpec(1000));
  LoadSoundCmd(BasicString(path.c_str()), 3, 1);
  EXPECT_EQ(PlaySoundCmd(3, 0, 1), 3 * 256 + 0);
  std::vector<int16_t> out = Render(1200);
  for (int i = 0; i < 1000; ++i) {
    ASSERT_EQ(out[2 * i], static_cast<int16_t>(i * 7 - 9000)) << i;
    ASSERT_EQ(out[2 * i + 1], static_cast<int16_t>(5000 - i * 3)) << i;
  }
  for (int i = 1000; i < 1200; ++i) ASSERT_EQ(out[2 * i], 0);
  EXPECT_EQ(SoundPlayingCmd(3 * 256), 0);
}

TEST_F(SoundSlots, VolumeAndPanFollowDecibelRules) {
  WavSpec s;
  s.data = Stereo16(500, 20000, -20000);
  std::string path = Wav("flat.wav", s);
  LoadSoundCmd(BasicString(path.c_str()), 0, 1);
  struct Case {
    double pan, volume, left, right;
  } cases[] = {
      {0, 0.75, 20000 * std::pow(10.0, -2500 / 2000.0), -20000 * std::pow(10.0, -2500 / 2000.0)},
      {0, 0, 0, 0},
      {0, -0.5, 0, 0},
      {0, 2, 20000, -20000},
      {-1, 1, 20000, 0},
      {1, 1, 0, -20000},
      {3, 1, 0, -20000},
      {-0.5, 1, 20000, -20000 * std::pow(10.0, -5000 / 2000.0)},
      {0.25, 0.5, 20000 * std::pow(10.0, -7500 / 2000.0), -20000 * std::pow(10.0, -5000 / 2000.0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "pan " << c.pan << " volume " << c.volume);
    StopAllSoundsCmd();
    ASSERT_EQ(PlaySoundCmd(0, c.pan, c.volume), 0);
    std::vector<int16_t> out = Render(100);
    EXPECT_NEAR(out[100], c.left, 1.0);
    EXPECT_NEAR(out[101], c.right, 1.0);
  }
}

TEST_F(SoundSlots, OverlappingPlaysGoRoundTheBuffersAndCutTheOldest) {
  std::string path = Wav("ramp.wav", RampSpec(2000));
  LoadSoundCmd(BasicString(path.c_str()), 5, 3);
  ASSERT_EQ(gSoundSlots[5].bufferCount, 3);
  EXPECT_EQ(PlaySoundCmd(5, 0, 1), 5 * 256 + 0);
  Render(100);
  EXPECT_EQ(PlaySoundCmd(5, 0, 1), 5 * 256 + 1);
  Render(100);
  EXPECT_EQ(PlaySoundCmd(5, 0, 1), 5 * 256 + 2);
  Render(100);
  // Buffer 0 is 300 frames in; the fourth play restarts it from the start.
  EXPECT_EQ(PlaySoundCmd(5, 0, 1), 5 * 256 + 0);
  for (int b = 0; b < 3; ++b) EXPECT_EQ(SoundPlayingCmd(5 * 256 + b), 1) << b;
  EXPECT_EQ(SoundPlayingCmd(5 * 256 + 3), 0);
  // Positions now 0, 200, 100: the mix of the three at frame 0.
  std::vector<int16_t> out = Render(1);
  int expectL = (0 * 7 - 9000) + (200 * 7 - 9000) + (100 * 7 - 9000);
  EXPECT_EQ(out[0], expectL);
  // The buffers share one copy of the sample data.
  uint32_t p0 = 0, p1 = 0;
  platform::AudioGetPosition(gSoundSlots[5].buffers[0], &p0);
  platform::AudioGetPosition(gSoundSlots[5].buffers[1], &p1);
  EXPECT_EQ(p0, 1u * 4);
  EXPECT_EQ(p1, 201u * 4);
}

TEST_F(SoundSlots, OneBufferSoundIsNotRestartedWhilePlaying) {
  std::string path = Wav("ramp.wav", RampSpec(400));
  LoadSoundCmd(BasicString(path.c_str()), 7, 0);
  ASSERT_EQ(gSoundSlots[7].bufferCount, 1);
  EXPECT_EQ(PlaySoundCmd(7, 0, 1), 7 * 256);
  Render(100);
  EXPECT_EQ(PlaySoundCmd(7, 0, 1), -1);
  std::vector<int16_t> out = Render(1);
  EXPECT_EQ(out[0], static_cast<int16_t>(100 * 7 - 9000));  // went on, not restarted
  EXPECT_EQ(SoundPlayingCmd(7 * 256), 1);
  Render(400);
  EXPECT_EQ(SoundPlayingCmd(7 * 256), 0);
  // A finished sound plays again on the same buffer, from its start.
  EXPECT_EQ(PlaySoundCmd(7, 0, 1), 7 * 256);
  out = Render(1);
  EXPECT_EQ(out[0], -9000);
}

TEST_F(SoundSlots, FinishedSoundOfSeveralBuffersReusesItsBuffer) {
  std::string path = Wav("ramp.wav", RampSpec(50));
  LoadSoundCmd(BasicString(path.c_str()), 2, 10);
  EXPECT_EQ(gSoundSlots[2].bufferCount, 4);
  EXPECT_EQ(PlaySoundCmd(2, 0, 1), 2 * 256);
  Render(100);
  EXPECT_EQ(PlaySoundCmd(2, 0, 1), 2 * 256);
}

TEST_F(SoundSlots, StopAllRewindsAndKeepsTheSound) {
  std::string path = Wav("ramp.wav", RampSpec(1000));
  LoadSoundCmd(BasicString(path.c_str()), 1, 2);
  PlaySoundCmd(1, 0, 1);
  Render(300);
  StopAllSoundsCmd();
  EXPECT_EQ(SoundPlayingCmd(256), 0);
  EXPECT_EQ(Render(10)[0], 0);
  EXPECT_EQ(PlaySoundCmd(1, 0, 1), 256);
  EXPECT_EQ(Render(1)[0], -9000);
}

TEST_F(SoundSlots, SlotNumbersAndChannels) {
  std::string path = Wav("ramp.wav", RampSpec(1000));
  LoadSoundCmd(BasicString(path.c_str()), 200, 1);  // goes to 127
  EXPECT_EQ(gSoundSlots[127].bufferCount, 1);
  EXPECT_EQ(PlaySoundCmd(200, 0, 1), 127 * 256);
  EXPECT_EQ(SoundPlayingCmd(127 * 256), 1);
  EXPECT_EQ(SoundPlayingCmd(127 * 256 + 1), 0);  // beyond the slot's buffers
  EXPECT_EQ(SoundPlayingCmd(-1), 0);
  EXPECT_EQ(SoundPlayingCmd(1e9), 0);  // slot part beyond the table
  // Negative slots name nothing.
  LoadSoundCmd(BasicString(path.c_str()), -1, 1);
  LoadSoundCmd(BasicString(path.c_str()), -300, 1);
  EXPECT_EQ(PlaySoundCmd(-1, 0, 1), -1);
  EXPECT_EQ(PlaySoundCmd(-1e12, 0, 1), -1);
  EXPECT_EQ(PlaySoundCmd(9, 0, 1), -1);  // empty slot
}

TEST_F(SoundSlots, ReloadingAPlayingSlotStopsTheOldSound) {
  std::string a = Wav("a.wav", RampSpec(1000));
  WavSpec quiet;
  quiet.data = Stereo16(1000, 100, 100);
  std::string b = Wav("b.wav", quiet);
  LoadSoundCmd(BasicString(a.c_str()), 4, 2);
  PlaySoundCmd(4, 0, 1);
  Render(10);
  LoadSoundCmd(BasicString(b.c_str()), 4, 1);
  EXPECT_EQ(gSoundSlots[4].bufferCount, 1);
  EXPECT_EQ(Render(5)[0], 0);  // old sound gone, new one not started
  EXPECT_EQ(PlaySoundCmd(4, 0, 1), 4 * 256);
  EXPECT_EQ(Render(1)[0], 100);
}

TEST_F(SoundSlots, WavVariants) {
  struct Case {
    const char* name;
    WavSpec spec;
    bool loads;
  };
  auto with = [](auto change) {
    WavSpec s;
    s.data = Ramp16(64);
    change(s);
    return s;
  };
  Case cases[] = {
      {"plain", with([](WavSpec&) {}), true},
      {"fmt18", with([](WavSpec& s) { s.fmtSize = 18; }), true},
      {"fmt40", with([](WavSpec& s) { s.fmtSize = 40; }), true},
      {"fact", with([](WavSpec& s) { s.factChunk = true; }), true},
      {"fact_fmt18", with([](WavSpec& s) { s.factChunk = true; s.fmtSize = 18; }), true},
      {"list", with([](WavSpec& s) { s.listChunk = true; }), false},
      {"fmt14", with([](WavSpec& s) { s.fmtSize = 14; }), false},
      {"data_beyond_file", with([](WavSpec& s) { s.declaredData = 64 * 4 + 1; }), false},
      {"data_huge", with([](WavSpec& s) { s.declaredData = 0xFFFFFFF0u; }), false},
      {"no_data", with([](WavSpec& s) { s.data.clear(); }), false},
      {"three_channels", with([](WavSpec& s) { s.channels = 3; s.data.resize(60 * 6); }), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string path = Wav(std::string(c.name) + ".wav", c.spec);
    EXPECT_EQ(SoundObjectLoad(&gSoundSlots[10], gSoundDevice, path.c_str(), 1), c.loads ? 1 : 0);
    EXPECT_EQ(gSoundSlots[10].bufferCount, c.loads ? 1 : 0);
    EXPECT_EQ(gSoundSlots[10].buffers[0] != nullptr, c.loads);
    if (c.loads) {
      EXPECT_EQ(SoundObjectPlay(&gSoundSlots[10], 0, 100, 0), 0);
      EXPECT_EQ(Render(1)[0], -9000);
      SoundObjectStop(&gSoundSlots[10]);
    }
  }
  // Shorter than the 36-byte head, and a missing file.
  std::string shortPath = dir_ + "/short.wav";
  std::vector<uint8_t> bytes = WavBytes(RampSpec(4));
  bytes.resize(30);
  WriteFileBytes(shortPath, bytes);
  EXPECT_EQ(SoundObjectLoad(&gSoundSlots[10], gSoundDevice, shortPath.c_str(), 1), 0);
  EXPECT_EQ(SoundObjectLoad(&gSoundSlots[10], gSoundDevice, (dir_ + "/none.wav").c_str(), 1), 0);
  EXPECT_EQ(gSoundSlots[10].bufferCount, 0);
  EXPECT_EQ(gSoundSlots[10].fileName, nullptr);
}

TEST_F(SoundSlots, EightBitMonoAndOtherRates) {
  WavSpec mono8;
  mono8.channels = 1;
  mono8.bits = 8;
  mono8.data.assign(300, 0xC0);  // +64 steps: 16384 on both sides
  std::string path = Wav("mono8.wav", mono8);
  ASSERT_EQ(SoundObjectLoad(&gSoundSlots[0], gSoundDevice, path.c_str(), 1), 1);
  EXPECT_EQ(SoundObjectPlay(&gSoundSlots[0], 0, 100, 0), 0);
  std::vector<int16_t> out = Render(310);
  EXPECT_EQ(out[0], 16384);
  EXPECT_EQ(out[1], 16384);
  EXPECT_EQ(out[2 * 299], 16384);
  EXPECT_EQ(out[2 * 305], 0);

  // 11025 Hz lasts twice as many output frames.
  WavSpec slow;
  slow.rate = 11025;
  slow.data = Stereo16(100, 1000, 1000);
  path = Wav("slow.wav", slow);
  ASSERT_EQ(SoundObjectLoad(&gSoundSlots[1], gSoundDevice, path.c_str(), 1), 1);
  SoundObjectPlay(&gSoundSlots[1], 0, 100, 0);
  out = Render(250);
  EXPECT_EQ(out[2 * 190], 1000);
  EXPECT_EQ(out[2 * 210], 0);
}

TEST_F(SoundSlots, NoDeviceLoadsNothingAndPlaysReturnMinusOne) {
  std::string path = Wav("ramp.wav", RampSpec(100));
  SoundDevice none;
  SoundDeviceConstruct(&none);
  EXPECT_EQ(SoundObjectLoad(&gSoundSlots[3], &none, path.c_str(), 2), 0);
  EXPECT_EQ(gSoundSlots[3].bufferCount, 0);
  EXPECT_EQ(SoundObjectPlay(&gSoundSlots[3], 0, 100, 0), -1);
  EXPECT_EQ(SoundObjectStop(&gSoundSlots[3]), 0);
  EXPECT_FALSE(SoundDeviceGetCaps(&none));
  EXPECT_EQ(none.caps.size, sizeof(SoundCaps));

  gSoundDevice->directSound = false;
  LoadSoundCmd(BasicString(path.c_str()), 3, 1);
  EXPECT_EQ(PlaySoundCmd(3, 0, 1), -1);
  gSoundDevice->directSound = true;
}

TEST_F(SoundSlots, LoadsAMemberOfTheFirstContainer) {
  std::string container = dir_ + "/media.gfx";
  ASSERT_TRUE(WriteContainer(container, {{"blip.wav", WavBytes(RampSpec(300))}}));
  CreateShoeboxes();
  SetShoebox(BasicString(container.c_str()), BasicString(""));
  LoadSoundCmd(BasicString("aud/blip.wav"), 6, 2);
  EXPECT_EQ(gSoundSlots[6].bufferCount, 2);
  EXPECT_EQ(PlaySoundCmd(6, 0, 1), 6 * 256);
  EXPECT_EQ(Render(1)[0], -9000);
  LoadSoundCmd(BasicString("aud/none.wav"), 7, 1);
  EXPECT_EQ(gSoundSlots[7].bufferCount, 0);
  ReleaseShoeboxes();
}

TEST_F(SoundSlots, SetVolumeGivesFullVolume) {
  std::string path = Wav("flat.wav", [] {
    WavSpec s;
    s.data = Stereo16(500, 1000, 1000);
    return s;
  }());
  ASSERT_EQ(SoundObjectLoad(&gSoundSlots[0], gSoundDevice, path.c_str(), 1), 1);
  SoundObjectPlay(&gSoundSlots[0], 0, 0, 0);
  EXPECT_EQ(Render(1)[0], 0);
  SoundObjectSetVolume(&gSoundSlots[0], 10);
  EXPECT_EQ(Render(1)[0], 1000);
}

}  // namespace
