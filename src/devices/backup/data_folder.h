#pragma once
// The data folder holds the backups and the history of changes. By default it is "qvr-service"
// in the user's own data folder; a workshop whose computers share one (a synchronised or network
// folder) names it once, as "DataFolder" in the settings both programs read, or for one run.
#include <string>

namespace qvr {

class IniFile;

// The data folder: `chosen` made absolute when given, else the user's own; "" when the user has
// no folder for data.
std::string DataFolderOf(const std::string& chosen);
// "DataFolder" of "MainSettings" as an absolute path (a relative one is taken from the folder of
// `settingsFile`, so a portable copy can keep its data beside it); "" when it is not set.
std::string ReadDataFolder(const IniFile& ini, const std::string& settingsFile);
// Where the backups of `dataFolder` live: the simulator's units apart in "simulated", since their
// serial numbers could be a real unit's, whose restore must never be offered them.
std::string BackupFolderIn(const std::string& dataFolder, bool simulated);

}  // namespace qvr
