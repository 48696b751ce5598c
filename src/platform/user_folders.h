#pragma once
// The current user's own folders.
#include <string>

namespace qvr {

// Where programs keep the user's data (UTF-8): $XDG_DATA_HOME or ~/.local/share on Linux,
// %LOCALAPPDATA% on Windows.
std::string UserDataFolder();

}  // namespace qvr
