#pragma once
// The device's configuration saved before anything changes it (a write or a reset to the
// defaults), so a wrong file never costs the installer the unit's old set-up.
#include <ctime>
#include <string>

#include "link/device_module.h"
#include "link/link.h"

namespace qvr {

class Catalogue;

struct BackupResult {
  LinkResult link = LinkOk;  // the read from the device
  std::string path;          // the file written, when it was
  std::string fileError;     // why it could not be written
  bool ok() const { return link == LinkOk && fileError.empty(); }
};

// "<device>-<serial>-<UTC yyyymmddThhmmssZ>.MUX", e.g. "MUX-410-41000123-20261207T103000Z.MUX".
std::string BackupFileName(const char* deviceName, uint32_t serial, std::time_t when);

// The per-user backups folder: $XDG_DATA_HOME/qvr-service/backups, else
// ~/.local/share/qvr-service/backups; empty for a user without a data folder (no home).
std::string DefaultBackupFolder();

// Reads the module's configuration (MUX-410 or TPX-520) from the device and saves it in
// `folder` (made when missing) under BackupFileName; the description falls back to the
// device's configuration name, as a read into the window keeps it. An empty `folder` (no home)
// is refused before anything is read; a backup never replaces a file or follows a link.
BackupResult BackupDeviceConfiguration(Link& link, const Catalogue& catalogue,
                                       const DeviceModule& module, const std::string& folder);

}  // namespace qvr
