#pragma once
// The backups folder: one folder per unit ("<device>-<serial>"), in it one folder per backup
// named for its UTC time, holding the configuration under the unit's own name, so that
// loading or writing the file back gives the unit its name again.
#include <ctime>
#include <string>
#include <vector>

namespace qvr {

// How many backups of one unit are kept; older ones are removed after each new backup.
inline constexpr int kDefaultBackupsKept = 20;

// "<device>-<serial>": the module's name and the unit's serial number.
std::string BackupUnitFolderName(const char* deviceName, uint32_t serial);
// The UTC time `when` as "2026-12-07T10:30:00Z", or `compact` as "20261207T103000Z".
std::string UtcTimeText(std::time_t when, bool compact);
// The UTC time as a folder name: "20261207T103000Z".
std::string BackupTimeName(std::time_t when);
// The file name of a backup of a unit named `configName` (Windows-1251 bytes): the name
// itself with ".MUX" when a file of that name reads back as it, else "configuration.MUX".
std::string BackupConfigFileName(const std::string& configName);

struct BackupEntry {
  std::string device;  // the module's name
  uint32_t serial = 0;
  std::string time;  // "20261207T103000Z" (a second backup within that second: "-2" after it)
  std::string path;  // the configuration file
};

// Every backup under `root`, oldest first (by unit, then time); `device` non-empty keeps
// that device kind's only. Files that do not fit the layout are not listed.
std::vector<BackupEntry> ListBackups(const std::string& root, const std::string& device = {});

// Removes the oldest backups of the unit folder `unitFolder` until `keep` remain.
void PruneBackups(const std::string& unitFolder, int keep);

}  // namespace qvr
