#pragma once
// The configuration files last opened or saved for each device, newest first, kept in the
// settings file ("RecentFiles", keys "<device> 1".."<device> 8").
#include <string>
#include <vector>

#include "link/device_module.h"

namespace qvr {

class SettingsStore;

inline constexpr int kRecentFileCount = 8;

// The device's recent files, newest first; empty when none or the settings cannot be read.
std::vector<std::string> RecentFiles(const SettingsStore& settings, const DeviceModule& module);
// Puts `path` first in the device's list (once), keeping the newest kRecentFileCount.
void AddRecentFile(const SettingsStore& settings, const DeviceModule& module,
                   const std::string& path);

}  // namespace qvr
