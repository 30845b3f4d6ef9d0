#define GAME_SOURCE_FILE 0

#include "game/save_marker.h"

#include <cstdint>
#include <string>

#include "core/file_channels.h"
#include "core/file_commands.h"
#include "core/runtime_error.h"
#include "core/string_ops.h"
#include "core/system_commands.h"
#include "game/game_state.h"
#include "platform/files.h"
#include "platform/temp_file.h"
#include "platform/user_data.h"
#include "game/procedure.h"

namespace {

// A marker is written whole or not at all: a short write leaves no file.
bool WriteMarkerFile(const char* path) {
  // A pipe or device in the marker's place is not written through.
  if (platform::NonFolderPresent(path) && !platform::IsRegularFile(path)) return false;
  int file = platform::CreateFileForWriting(path);
  if (file == platform::kNoFile) return false;
  const std::string line = std::string(kUnlockCode) + "\r\n";
  int64_t written = platform::WriteFile(file, line.data(), int64_t(line.size()));
  platform::CloseFile(file);
  if (written != int64_t(line.size())) {
    platform::DeleteFile(path);
    return false;
  }
  return true;
}

// A marker that cannot be read is no wrong marker: it stays where it is and
// counts as absent. Says why in the error log when asked to.
bool ReadableMarker(const char* path, bool logWhy) {
  if (!platform::IsRegularFile(path)) return false;
  const std::string why = platform::ReadProblem(path);
  if (why.empty()) return true;
  if (logWhy) {
    AppendErrorLog(("Save marker " + std::string(path) + " cannot be read (" + why +
                    "): left as it is and taken as absent")
                       .c_str());
  }
  return false;
}

}  // namespace

BasicString SaveMarkerPath(double place) {
  if (place == 0) return BasicString(kSaveMarkerName);
  std::string folder = platform::UserDataFolder("kestrovar");
  if (place != 1 || folder.empty()) return BasicString();
  return BasicString((folder + kSaveMarkerName).c_str());
}

double SaveMarkerExists() {
  PROC;
  LOCAL(place);
  STMT; for (place = 0; place <= 1; place = place + 1) {
    STMT; if (ReadableMarker(StrCStr(SaveMarkerPath(place)), true)) return 1;
  }
  return 0;
}

BasicString ReadSaveMarker() {
  PROC;
  LOCAL(place); LOCAL(found);
  LOCAL_STR(first_Str); LOCAL_STR(path_Str);
  STMT; for (place = 0; place <= 1; place = place + 1) {
    STMT; path_Str = SaveMarkerPath(place);
    STMT; if (!ReadableMarker(StrCStr(path_Str), false)) continue;
    LOCAL_STR(line_Str);
    // An empty or unreadable marker reads as "" instead of failing the read.
    STMT; if (OpenFileChannel(1, path_Str, 1) != 0) {
      STMT; if (ChannelAtEnd(1) == 0) {
        STMT; ReadChannelLine(1, line_Str);
      }
      STMT; CloseFileChannel(1);
    }
    STMT; if (StrEqualsCStr(line_Str, kUnlockCode) != 0) return line_Str;
    STMT; if (found == 0) {
      STMT; first_Str = line_Str;
      STMT; found = 1;
    }
  }
  return first_Str;
}

double KillSaveMarkers() {
  PROC;
  LOCAL(place);
  STMT; for (place = 0; place <= 1; place = place + 1) {
    STMT; if (ReadableMarker(StrCStr(SaveMarkerPath(place)), false)) {
      STMT; KillFile(SaveMarkerPath(place));
    }
  }
  return 0;
}

double WriteSaveMarker() {
  PROC;
  LOCAL(written); LOCAL(code);
  LOCAL_STR(path_Str);
  STMT; path_Str = SaveMarkerPath(0);
  STMT; written = WriteMarkerFile(StrCStr(path_Str)) ? 1 : 0;
  STMT; if (written == 0) {
    STMT; path_Str = SaveMarkerPath(1);
    STMT; if (StrLength(path_Str) > 0 &&
              platform::MakeFolders(platform::UserDataFolder("kestrovar"))) {
      STMT; written = WriteMarkerFile(StrCStr(path_Str)) ? 1 : 0;
    }
  }
  STMT; if (written == 0) {
    STMT; AppendErrorLog("Save marker partone.kv could not be written");
    return 0;
  }
  STMT; if (StrEqualsCStr(info_Str, "F100") != 0 || StrEqualsCStr(info_Str, "F200") != 0) {
    STMT; RunProgram("sync", 1, 0, code);
  }
  return 1;
}
