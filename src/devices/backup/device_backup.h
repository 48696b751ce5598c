#pragma once
// The device's configuration saved before anything changes it (a write or a reset to the
// defaults), so a wrong file never costs the installer the unit's old set-up.
#include <ctime>
#include <string>

#include "devices/backup/backup_store.h"
#include "link/device_module.h"
#include "link/link.h"
#include "link/link_result.h"

namespace qvr {

class Catalogue;
class Host;

struct BackupResult {
  TransferResult link;    // the read from the device, and where it failed
  std::string path;       // the file written, when it was
  std::string fileError;  // why it could not be written
  bool ok() const { return link == LinkOk && fileError.empty(); }
};

// The per-user backups folder: $XDG_DATA_HOME/qvr-service/backups, else
// ~/.local/share/qvr-service/backups; the simulated controller's units keep theirs in its
// "simulated" subfolder, apart from real ones. Empty for a user without a data folder (no home).
std::string DefaultBackupFolder(bool simulated = false);

// Reads the module's configuration (a kind with one) from the device and saves it in
// `folder` (made when missing) as "<device>-<serial>/<UTC time>/<unit's name>.MUX" (see
// backup_store.h); the file's NAME holds the unit's own name too, and the description falls
// back to it, as a read into the window keeps it. Then only the newest `keep` backups of the
// unit stay. An empty `folder` (no home) is refused before anything is read; a backup never
// replaces a file or a folder and never follows a link at its own names.
BackupResult BackupDeviceConfiguration(Link& link, Host& host, const Catalogue& catalogue,
                                       const DeviceModule& module, const std::string& folder,
                                       int keep = kDefaultBackupsKept);

}  // namespace qvr
