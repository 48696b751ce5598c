#pragma once
// The current user's own folders.
#include <string>

namespace qvr {

// Where programs keep the user's data (UTF-8): $XDG_DATA_HOME or ~/.local/share on Linux (only
// absolute paths count; empty when there is neither), %LOCALAPPDATA% on Windows.
std::string UserDataFolder();

}  // namespace qvr
