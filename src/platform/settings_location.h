#pragma once
// Where the window keeps its settings file. qvrctl reads the settings the two programs share
// from that file, so both follow these rules and never take them from two different files.
#include <string>
#include <vector>

#include "platform/program_folder.h"

namespace qvr {

// The window's per-user settings folder: what Qt's AppConfigLocation gives the application
// "qvr-service" (UTF-8).
std::string UserSettingsFolder();

// `overridePath` when given. A program installed under `programFolders` keeps `fileName` in
// `userFolder`, also when run as root. A portable copy or a build keeps it in its own
// `programFolder` when that is the user's to write in, else in `userFolder` too.
std::string SettingsFileIn(const std::string& overridePath, const std::string& programFolder,
                           const std::string& fileName, const std::string& userFolder,
                           const std::vector<std::string>& programFolders = SystemProgramFolders());

}  // namespace qvr
