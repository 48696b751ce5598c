#pragma once
// The device's configuration saved before anything changes it (a write, a restore or a reset
// to the defaults), so a wrong file never costs the installer the unit's old set-up.
#include <ctime>
#include <string>
#include <vector>

#include "devices/backup/backup_store.h"
#include "devices/backup/change_history.h"
#include "devices/backup/raw_image.h"
#include "link/device_module.h"
#include "link/link.h"
#include "link/link_result.h"

namespace qvr {

class Catalogue;
class Host;

// Where and how a backup is made.
struct BackupRequest {
  std::string folder;              // the backups folder
  int keep = kDefaultBackupsKept;  // backups kept beside the unit's first one
  HistoryLocation history;         // tells whether the unit's last change failed
  bool simulated = false;          // the simulated controller's units
  std::string restoring;  // the folder name of a backup about to be restored: never pruned now
};

struct BackupResult {
  TransferResult link;               // the read from the device, and where it failed
  std::string path;                  // the configuration file written, when it was
  std::string fileError;             // why it could not be written
  RawImage image;                    // what the read returned
  std::vector<std::string> remarks;  // what the pruning could not do, said and gone past
  bool ok() const { return link == LinkOk && fileError.empty(); }
};

// What of the unit's bytes the module's *.MUX files cannot carry, in the catalogue's language.
std::string FileLacksText(const Catalogue& catalogue, const DeviceModule& module);

// Reads the module's configuration (a kind with one) from the device and saves it in the
// request's folder (made when missing) as "<device>-<serial>/<sequence>-<UTC time>/" with the
// configuration under the unit's own name (its NAME holds that name too, and the description
// falls back to it, as a read into the window keeps it) and the raw image beside it. The
// sequence follows the unit's newest backup; a unit whose last change failed has its backup
// marked so. Then the unit's older backups are pruned (see PruneBackups). An empty folder (no
// home) is refused before anything is read; a backup never replaces anything and never follows
// a link below the user's data folder (a unit folder that is a link is refused).
BackupResult BackupDeviceConfiguration(Link& link, Host& host, const Catalogue& catalogue,
                                       const DeviceModule& module, const BackupRequest& request);

}  // namespace qvr
