#pragma once
// The current user's own folders.
#include <string>

namespace qvr {

// Where programs keep the user's data (UTF-8): $XDG_DATA_HOME or ~/.local/share on Linux (only
// absolute paths count; empty when there is neither), %LOCALAPPDATA% on Windows.
std::string UserDataFolder();
// Where programs keep the user's settings (UTF-8), as Qt finds it for the window, so that
// qvrctl reads the window's file: $XDG_CONFIG_HOME as it is, else $HOME (or "/") with
// "/.config" on Linux; the local application data folder ('/' between names) on Windows.
std::string UserConfigFolder();

}  // namespace qvr
