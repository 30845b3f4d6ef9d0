// Media files made with the ffmpeg command for the music and movie tests.
#pragma once

#include <cstdlib>
#include <random>
#include <string>

#include "platform/system.h"

inline std::string MediaTempDir() {
  static std::string dir = [] {
    std::random_device rd;
    std::string d = platform::TempFolder() + "orvale_media_" + std::to_string(rd()) + "_" +
                    std::to_string(rd());
    std::string cmd = "mkdir -p '" + d + "'";
    if (std::system(cmd.c_str()) != 0) return std::string();
    return d;
  }();
  return dir;
}

// Runs ffmpeg with the given arguments writing name in the temporary
// folder; returns the path, or "" when ffmpeg failed.
inline std::string MakeMedia(const std::string& name, const std::string& args) {
  std::string path = MediaTempDir() + "/" + name;
  std::string cmd = "ffmpeg -nostdin -hide_banner -loglevel error -y " + args + " '" + path + "'";
  return std::system(cmd.c_str()) == 0 ? path : std::string();
}

inline void RemoveMediaDir() {
  std::string cmd = "rm -rf '" + MediaTempDir() + "'";
  (void)std::system(cmd.c_str());
}
