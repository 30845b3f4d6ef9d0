// The per-user data folder: where a program keeps files when its own folder
// cannot be written.
#pragma once

#include <string>

namespace platform {

// "$XDG_DATA_HOME/<program>/" when XDG_DATA_HOME is an absolute path, else
// "$HOME/.local/share/<program>/"; "" when neither is known. The folder is
// not created.
std::string UserDataFolder(const char* program);

// Creates folder and its missing parents (mode 0700 for new ones). True when
// it is a folder afterwards.
bool MakeFolders(const std::string& folder);

// True when path names an existing entry that is not a folder.
bool NonFolderPresent(const char* path);

}  // namespace platform
