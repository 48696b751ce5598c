#pragma once
// The backups folder: one folder per unit ("<device>-<serial>"), in it one folder per backup
// named "<sequence>-<UTC time>" ("000007-20261207T103000Z"), holding the configuration under
// the unit's own name (so loading or writing the file back gives the unit its name again) and
// the raw image of everything the read returned. Backups made before they were numbered are
// named for their time alone and hold the configuration only.
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "platform/guarded_folder.h"

namespace qvr {

class Catalogue;

// How many backups of one unit are kept beside its first one, unless the settings say otherwise.
inline constexpr int kDefaultBackupsKept = 20;

// "<device>-<serial>": the module's name and the unit's serial number.
std::string BackupUnitFolderName(const char* deviceName, uint32_t serial);
// The UTC time `when` as "2026-12-07T10:30:00Z", or `compact` as "20261207T103000Z".
std::string UtcTimeText(std::time_t when, bool compact);
// The UTC time as it stands in a backup's folder name: "20261207T103000Z".
std::string BackupTimeName(std::time_t when);
// A backup's folder name: the sequence, six digits at least, then the time name; the computer's
// tag follows after "_" (see BackupMachineTag), so computers sharing a folder never choose one
// name.
std::string BackupFolderName(uint64_t sequence, std::time_t when);
// The part of a computer's id that ends its backups' folder names: letters and digits, at most 12.
std::string BackupMachineTag(const std::string& machineId);
// "20261207T103000Z" (a "-2" after it or not) as local time "2026-12-07 13:30:00"; anything
// else as it stands.
std::string LocalTimeOfName(const std::string& timeName);
// The file name of a backup of a unit named `configName` (Windows-1251 bytes): the name
// itself with ".MUX" when a file of that name reads back as it, else "configuration.MUX".
std::string BackupConfigFileName(const std::string& configName);

struct BackupEntry {
  std::string device;  // the module's name
  uint32_t serial = 0;
  std::string folder;      // the backup's folder name
  std::string timeName;    // "20261207T103000Z", a second backup that second with "-2" after it
  uint64_t sequence = 0;   // 0: made before backups were numbered
  std::string path;        // the configuration file
  std::string rawPath;     // the raw image, "" when the backup has none
  std::string configName;  // the configuration's name (UTF-8) as the backup keeps it
  bool first = false;      // the unit's first backup: its state as the workshop found it
  bool afterFailedChange = false;  // taken after a change to the unit that failed
  std::string machine;             // the id of the computer that made it ("" before ids)
};

// The backup's number as listings show it ("no. 7"), or the text of one made before numbers.
std::string BackupNumberText(const Catalogue& catalogue, const BackupEntry& entry);

// Every backup under `root`, oldest first: by unit, then numbered ones by sequence after the
// older ones by time. `device` non-empty keeps that device kind's only. Links and files that do
// not fit the layout are not listed; a backup that is not whole (its raw image missing, cut or
// not matching its configuration, as when it is still arriving through a shared folder) is
// passed over and its folder added to `skipped`.
std::vector<BackupEntry> ListBackups(const std::string& root, const std::string& device = {},
                                     std::vector<std::string>* skipped = nullptr);
// The backups of one unit, oldest first (empty when it has none or its folder is a link).
std::vector<BackupEntry> ListUnitBackups(const std::string& root, const char* device,
                                         uint32_t serial,
                                         std::vector<std::string>* skipped = nullptr);
// The number the unit's next backup takes: one after the highest any of its backups holds.
uint64_t NextBackupSequence(const std::string& root, const char* device, uint32_t serial);
// The unit's newest backup not taken after a failed change; null when there is none.
const BackupEntry* LatestSoundBackup(const std::vector<BackupEntry>& unitBackups);
// The backup whose configuration or raw image is `path`, when it is one under `root` (one that
// is not whole is named by its folders only).
std::unique_ptr<BackupEntry> BackupAt(const std::string& root, const std::string& path);

// Opens the folder `root` (made when `make`), and `below` inside it without following links;
// the part of `root` inside the user's data folder is opened that way too.
GuardedFolder::Opened OpenBackupFolder(const std::string& root,
                                       const std::vector<std::string>& below, bool make);

struct PruneOutcome {
  int removed = 0;
  bool folderNotOwned = false;    // nothing was removed: the unit's folder is another user's
  std::vector<std::string> left;  // backups that are not the program's to remove (shown paths)
};
// Removes this computer's oldest backups of the unit until the newest `keep` of them remain
// beside the unit's first one and the backups named in `kept` (folder names); other computers'
// backups are theirs to prune. Only real folders holding a backup's own files and
// nothing else are removed, and only in a unit folder the user owns.
PruneOutcome PruneBackups(const GuardedFolder& unitFolder, int keep,
                          const std::vector<std::string>& kept);

}  // namespace qvr
