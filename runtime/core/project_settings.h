// The runtime's settings record, written by the program entry before start-up
// and by the screen-mode command afterwards.
#pragma once

#include <cstdint>

struct ProjectSettings {
  uint32_t hideSystemPointer;
  uint32_t framesPerSecond;
  uint32_t fullscreen;
  uint32_t debugMode;
  uint32_t multisampleSamples;
  uint32_t screenHeight;
  uint32_t screenWidth;
};

extern ProjectSettings gProjectSettings;
