#include "input_audio/music.h"

#include <cstdio>

#include "core/runtime_error.h"
#include "core/shoebox.h"
#include "input_audio/input_state.h"
#include "input_audio/media_host.h"
#include "platform/audio.h"
#include "platform/media.h"

MusicWindow* gMusicWindow = nullptr;
double gMusicEndTime = 0;

namespace {

constexpr double kMinimumLoopMs = 500;

// The music file name lives from the first PlayMusic to the program's exit.
BasicString& MusicFileName() {
  static BasicString name;
  return name;
}

int FillMusic(void* user, int16_t* out, int frames) {
  auto* w = static_cast<MusicWindow*>(user);
  return platform::MediaAudioRead(w->decoder, out, frames);
}

void CloseMusicWindow() {
  MusicWindow* w = gMusicWindow;
  gMusicWindow = nullptr;
  if (!w) return;
  platform::AudioLock();
  platform::AudioReleaseStream(w->stream);
  platform::AudioUnlock();
  platform::MediaAudioClose(w->decoder);
  delete w;
}

void ReleaseMusic() { StopMusic(); }

}  // namespace

double MusicLoopLengthMs(platform::MediaAudio* decoder) {
  double length = decoder ? platform::MediaAudioLengthMs(decoder) : 0;
  // Whole milliseconds, as the media layer reports them.
  length = static_cast<double>(static_cast<int64_t>(length));
  return length <= kMinimumLoopMs - 1 ? kMinimumLoopMs : length;
}

void StopMusic() {
  gMusicEndTime = 0;
  CloseMusicWindow();
}

void PlayMusic(const BasicString& file) {
  SetShutdownStep(kShutdownMusic, ReleaseMusic);
  StopMusic();
  BasicString& name = MusicFileName();
  StrAssign(name, file);
  StrReserve(name, kShoeboxPathSize);
  char path[kShoeboxPathSize];
  if (!ResolveShoeboxFile(gShoeboxes[1], name.c_str(), path)) return;
  StrAssignCStr(name, path);

  const MediaHost& host = CurrentMediaHost();
  platform::MediaAudio* decoder = platform::MediaAudioOpen(path);
  if (decoder) {
    auto* w = new MusicWindow{decoder, nullptr, 1000};
    platform::AudioLock();
    w->stream = platform::AudioCreateStream(FillMusic, w);
    platform::AudioSetStreamGain(w->stream, 1.0);
    platform::AudioUnlock();
    gMusicWindow = w;
  }
  // Without a player the track still "loops" every 500 ms, to nothing.
  gMusicEndTime = host.timeMs() + MusicLoopLengthMs(decoder);
  host.afterMusicStart();
  // A hidden pointer is shown and hidden again, as a media start does.
  if (gInput && gInput->pointerShown == 0) {
    ShowPointerStep(gInput);
    HidePointerStep(gInput);
  }
}

void SetMusicVolume(double v) {
  if (!gMusicWindow) return;
  double scaled = v * 1000;
  int32_t volume = !(scaled == scaled)        ? 0
                   : scaled >= 2147483647.0   ? INT32_MAX
                   : scaled <= -2147483648.0  ? INT32_MIN
                                              : static_cast<int32_t>(scaled);
  gMusicWindow->volume = volume;
  platform::AudioSetStreamGain(gMusicWindow->stream, volume <= 0 ? 0.0 : volume / 1000.0);
}

void RestartMusicIfDue() {
  if (!(gMusicEndTime > 0)) return;
  const MediaHost& host = CurrentMediaHost();
  if (host.timeMs() < gMusicEndTime) return;
  gMusicEndTime = host.timeMs() + MusicLoopLengthMs(gMusicWindow ? gMusicWindow->decoder : nullptr);
  if (!gMusicWindow) return;
  platform::AudioLock();
  platform::MediaAudioRewind(gMusicWindow->decoder);
  platform::AudioUnlock();
}

void MusicRestartCallback() {
  std::printf("kick\n");
  if (!gMusicWindow) return;
  platform::AudioLock();
  platform::MediaAudioRewind(gMusicWindow->decoder);
  platform::AudioUnlock();
}
