#pragma once
// The restore's list of a unit's backups as the window offers it: what the list shows, which
// backup is chosen at the start, and what the installer chose. Who answers it is replaceable
// (FileDialogRunner), so tests can script the user.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <string>
#include <vector>

#include "devices/backup/backup_store.h"
#include "link/device_module.h"

namespace qvr {

class Catalogue;

struct BackupChoiceRequest {
  QString title;
  QString heading;                // which unit the backups are of, or that it has none
  QStringList columns;            // time, number, configuration, marks
  std::vector<QStringList> rows;  // one per backup, newest first, in the columns' order
  int selected = -1;              // the row chosen at the start; -1 for none
  QString restoreText, otherFileText, cancelText;
};

struct BackupChoice {
  enum Kind : uint8_t { kCancelled, kListed, kOtherFile };
  Kind kind = kCancelled;
  int row = -1;  // kListed: the row chosen
};

// The list of a unit's backups, `oldestFirst` as ListUnitBackups gives them, in the catalogue's
// language: row r is oldestFirst[size - 1 - r], and the newest backup not taken after a failed
// change is chosen at the start. `folder`: the backups folder, named when the unit has none.
BackupChoiceRequest UnitBackupChoice(const Catalogue& catalogue, const DeviceModule& module,
                                     uint32_t serial, const std::vector<BackupEntry>& oldestFirst,
                                     const std::string& folder);

}  // namespace qvr
