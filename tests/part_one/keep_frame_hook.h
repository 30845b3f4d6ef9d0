// Keeps the play tests' frame hook running through pages without music.
#pragma once

#include <atomic>
#include <chrono>
#include <thread>

#include "input_audio/music.h"

namespace playtest {

// The frame hook rides on the music restart check, which the frame function
// skips while no music is due (after StopMusic, and when a tune cannot be
// found): keep one due far ahead while this object lives.
class KeepFrameHook {
 public:
  KeepFrameHook()
      : watch_([this] {
          while (!stop_) {
            if (!(gMusicEndTime > 0)) gMusicEndTime = 1e300;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
          }
        }) {}
  ~KeepFrameHook() {
    stop_ = true;
    watch_.join();
  }
  KeepFrameHook(const KeepFrameHook&) = delete;
  KeepFrameHook& operator=(const KeepFrameHook&) = delete;

 private:
  std::atomic<bool> stop_{false};
  std::thread watch_;
};

}  // namespace playtest
