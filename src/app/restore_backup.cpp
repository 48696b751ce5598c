// Restore from backup: the backups of the connected unit (a folder per unit, in it a folder per
// backup named for its time) are offered in a file dialog; the chosen one is loaded into the
// page and written back as a device write is.
#include <QAction>
#include <QDir>

#include "app/file_dialogs.h"
#include "app/main_window.h"
#include "devices/backup/backup_store.h"
#include "devices/common/ini_file.h"
#include "i18n/added_texts.h"
#include "link/device_info.h"
#include "platform/file_read.h"

namespace qvr {

std::string MainWindow::ChooseBackupOfUnit(const DeviceModule& module) {
  DeviceInfo info;
  if (const LinkResult read = ReadInfoBlock(*link_, module.deviceAddress, info); read != LinkOk) {
    ShowBox(BoxKind::kError, LinkResultText(catalogue_, read));
    return std::string();
  }
  bool any = false;
  for (const BackupEntry& entry : ListBackups(backupFolder_, module.name))
    any = any || entry.serial == info.serialNumber();
  if (!any) {
    ShowBox(BoxKind::kInformation,
            catalogue_.FormatText(Text(catalogue_, AddedText::kNoUnitBackupsInFolder), module.name,
                                  unsigned(info.serialNumber()), backupFolder_.c_str()));
    return std::string();
  }
  FileDialogRequest request;
  request.title = QString::fromUtf8(Text(catalogue_, AddedText::kRestoreFromBackup));
  // The unit's folder holds a folder per backup, named for its time.
  request.initialFolder = QString::fromStdString(
      backupFolder_ + "/" + BackupUnitFolderName(module.name, info.serialNumber()));
  request.nameFilter = "*.MUX (*.MUX)";
  return fileDialogs_->Run(request);
}

void MainWindow::RestoreFromBackup() {
  const ModuleRow* row = ActiveRow();
  if (!row || !row->readConfigFile || !row->writeDevice || busy()) return;
  if (!monitor_->connected() || !SettleUnsavedChanges(activePage())) return;
  RestoredFile restored;
  {
    const Operation operation = EnterOperation();
    restored.path = ChooseBackupOfUnit(*row->module);
    if (restored.path.empty() || closing_) return;
    // Read just before the page loads it: the history's digest is of these bytes.
    bool tooLarge = false;
    (void)ReadRegularFile(restored.path, kMaxIniFileSize, restored.bytes, tooLarge);
    if (row->readConfigFile(*this, *row->module, restored.path) != PageOutcome::kDone) return;
    RememberPageFile(activePage(), restored.path);
  }
  // Written as the toolbar's write does: the question, a backup of what the unit holds now,
  // the write and its read-back.
  WriteToDevice(&restored);
}

}  // namespace qvr
