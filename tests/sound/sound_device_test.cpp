// The sound device on a real SDL audio driver: the disk driver captures the
// mixed output to a file.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/runtime_error.h"
#include "input_audio/sound_commands.h"
#include "input_audio/sound_device.h"
#include "input_audio/sound_object.h"
#include "platform/system.h"
#include "wav_fixture.h"

namespace {

std::string TempName(const char* stem) {
  return platform::TempFolder() + "orvale_" + stem + "_" +
         ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

std::vector<int16_t> ReadSamples(const std::string& path) {
  std::vector<int16_t> v;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return v;
  int16_t buf[4096];
  size_t n;
  while ((n = std::fread(buf, 2, 4096, f)) > 0) v.insert(v.end(), buf, buf + n);
  std::fclose(f);
  return v;
}

TEST(SoundDevice, DiskDriverCapturesTheMixedSound) {
  std::string capture = TempName("capture") + ".raw";
  std::string wav = TempName("ramp") + ".wav";
  std::remove(capture.c_str());
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", capture.c_str(), 1);

  CreateSoundDeviceSingleton();
  CreateSoundSlotsSingleton();
  ASSERT_EQ(SoundDeviceCreate(gSoundDevice, nullptr), 1);
  SoundDeviceSetCooperativeLevel(gSoundDevice, nullptr);
  ASSERT_TRUE(SoundDeviceGetCaps(gSoundDevice));
  EXPECT_EQ(gSoundDevice->caps.primaryRate, 22050u);

  const int frames = 3000;
  WavSpec s;
  s.data = Ramp16(frames);
  WriteFileBytes(wav, WavBytes(s));
  LoadSoundCmd(BasicString(wav.c_str()), 0, 1);
  double channel = PlaySoundCmd(0, -1, 1);  // right side silent
  ASSERT_EQ(channel, 0);
  double waited = 0;
  while (SoundPlayingCmd(channel) == 1 && waited < 5000) {
    platform::SleepMs(10);
    waited += 10;
  }
  EXPECT_EQ(SoundPlayingCmd(channel), 0);
  platform::SleepMs(100);
  // Program end: slots, then the device.
  ShutdownRuntime();
  EXPECT_EQ(gSoundSlots, nullptr);
  EXPECT_EQ(gSoundDevice, nullptr);

  std::vector<int16_t> out = ReadSamples(capture);
  size_t first = 0;
  while (first < out.size() && out[first] == 0) ++first;
  ASSERT_LT(first + frames * 2, out.size());
  ASSERT_EQ(first % 2, 0u);  // starts on a left sample
  for (int i = 0; i < frames; ++i) {
    ASSERT_EQ(out[first + 2 * i], static_cast<int16_t>(i * 7 - 9000)) << i;
    ASSERT_EQ(out[first + 2 * i + 1], 0) << i;
  }
  std::remove(capture.c_str());
  std::remove(wav.c_str());
}

TEST(SoundDevice, WithoutAnAudioDeviceTheProgramRunsOn) {
  setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
  std::string wav = TempName("ramp") + ".wav";
  WavSpec s;
  s.data = Ramp16(100);
  WriteFileBytes(wav, WavBytes(s));
  SoundDevice device;
  SoundDeviceConstruct(&device);
  EXPECT_EQ(SoundDeviceCreate(&device, nullptr), 0);
  EXPECT_FALSE(device.directSound);
  SoundDeviceSetCooperativeLevel(&device, nullptr);
  SoundObject slot;
  SoundObjectConstruct(&slot);
  EXPECT_EQ(SoundObjectLoad(&slot, &device, wav.c_str(), 1), 0);
  EXPECT_EQ(SoundObjectPlay(&slot, 0, 100, 0), -1);
  EXPECT_FALSE(SoundObjectIsPlaying(&slot, 0));
  SoundObjectFree(&slot);
  SoundDeviceRelease(&device);
  std::remove(wav.c_str());
}

}  // namespace
