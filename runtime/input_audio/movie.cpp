#include "input_audio/movie.h"

#include "core/runtime_error.h"
#include "core/shoebox.h"
#include "input_audio/media_host.h"
#include "input_audio/music.h"
#include "platform/audio.h"
#include "platform/media.h"
#include "platform/system.h"

#include <vector>

namespace {

int FillMovieSound(void* user, int16_t* out, int frames) {
  return platform::MediaAudioRead(static_cast<platform::MediaAudio*>(user), out, frames);
}

// Copies the next decoded picture; false at the end.
bool NextPicture(platform::MediaVideo* video, std::vector<uint8_t>* picture, double* timeMs) {
  const uint8_t* rgba = nullptr;
  int w = 0, h = 0;
  platform::MediaVideoSize(video, &w, &h);
  if (!platform::MediaVideoNextFrame(video, &rgba, timeMs)) return false;
  picture->assign(rgba, rgba + static_cast<size_t>(w) * h * 4);
  return true;
}

void ReleaseMovie(platform::AudioStream* stream, platform::MediaAudio* sound,
                  platform::MediaVideo* video) {
  if (stream) {
    platform::AudioLock();
    platform::AudioReleaseStream(stream);
    platform::AudioUnlock();
  }
  platform::MediaAudioClose(sound);
  platform::MediaVideoClose(video);
}

}  // namespace

MovieRect FitMovieRect(int sourceWidth, int sourceHeight, int clientWidth, int clientHeight) {
  MovieRect r{clientWidth / 2, clientHeight / 2, clientWidth / 2, clientHeight / 2};
  if (sourceWidth <= 0 || sourceHeight <= 0 || clientWidth <= 0 || clientHeight <= 0) return r;
  double sx = static_cast<double>(clientWidth) / sourceWidth;
  double sy = static_cast<double>(clientHeight) / sourceHeight;
  double scale = sx < sy ? sx : sy;
  int w = static_cast<int>(sourceWidth * scale);
  int h = static_cast<int>(sourceHeight * scale);
  r.left = (clientWidth - w) / 2;
  r.top = (clientHeight - h) / 2;
  r.right = r.left + w;
  r.bottom = r.top + h;
  return r;
}

double PlayMovie(const BasicString& file, bool loop) {
  // The resolved path may take the whole path length of the archive.
  char path[kShoeboxPathSize];
  if (!ResolveShoeboxFile(gShoeboxes[1], file.c_str(), path)) return 3;
  platform::MediaVideo* video = platform::MediaVideoOpen(path);
  if (!video) return 3;
  // Sound through its own reader of the same file, pulled by the mixer.
  platform::MediaAudio* sound = platform::MediaAudioOpen(path);

  const MediaHost& host = CurrentMediaHost();
  double start = platform::MediaVideoStartMs(video);
  double length = platform::MediaVideoLengthMs(video);
  if (length <= 0 && sound) length = platform::MediaAudioLengthMs(sound);
  double end = start + length;

  int sw = 0, sh = 0, cw = 0, ch = 0;
  platform::MediaVideoSize(video, &sw, &sh);
  host.clientSize(&cw, &ch);
  MovieRect dest = FitMovieRect(sw, sh, cw, ch);

  // Let go of earlier input.
  do {
    while (host.keyCharPressed()) {
    }
  } while (host.anyMouseButtonDown());

  platform::AudioStream* stream = nullptr;
  if (sound) {
    platform::AudioLock();
    stream = platform::AudioCreateStream(FillMovieSound, sound);
    platform::AudioUnlock();
  }

  if (end > 0) {
    double t0 = host.timeMs();
    std::vector<uint8_t> picture;
    double pictureTime = 0;
    bool pictureDue = NextPicture(video, &picture, &pictureTime);
    if (sw <= 0) host.drawMovieFrame(nullptr, 0, 0, dest.left, dest.top, dest.right, dest.bottom);
    for (;;) {
      double pos = start + (host.timeMs() - t0);
      if (host.keyCharPressed() || host.anyMouseButtonDown()) break;
      RestartMusicIfDue();
      if (!host.pumpMessages()) {
        ReleaseMovie(stream, sound, video);
        EndProgram();
      }
      // One picture per pass, each once its time has come.
      if (pictureDue && pictureTime <= pos) {
        host.drawMovieFrame(picture.data(), sw, sh, dest.left, dest.top, dest.right, dest.bottom);
        pictureDue = NextPicture(video, &picture, &pictureTime);
      }
      if (loop && pos >= end) {
        platform::MediaVideoRewind(video);
        pictureDue = NextPicture(video, &picture, &pictureTime);
        if (sound) {
          platform::AudioLock();
          platform::MediaAudioRewind(sound);
          platform::AudioUnlock();
        }
        t0 = host.timeMs();
        continue;
      }
      if (!loop && pos >= end) break;
      platform::SleepMs(1);
    }
  }

  ReleaseMovie(stream, sound, video);
  return 0;
}

double PlayMovieLooped(const BasicString& file) {
  BasicString copy(file);
  return PlayMovie(copy, true);
}

double PlayMovieOnce(const BasicString& file) {
  BasicString copy(file);
  return PlayMovie(copy, false);
}
