// Restore from backup: the connected unit's backups are listed (a folder per unit, in it a
// folder per backup), or any backup file is chosen, a replaced unit's among them. A backup with
// a raw image goes back byte for byte; one without is loaded into the page and written as a
// device write is. Either way the unit's own serial number is checked first, as qvrctl does.
#include "app/backup_choice.h"
#include "app/file_dialogs.h"
#include "app/main_window.h"
#include "devices/backup/backup_store.h"
#include "devices/backup/device_backup.h"
#include "devices/backup/raw_image.h"
#include "devices/backup/restore_source.h"
#include "devices/common/ini_file.h"
#include "i18n/added_texts.h"
#include "link/device_info.h"
#include "link/scoped_value.h"
#include "platform/file_read.h"

namespace qvr {

namespace {

// The backup's bytes as read for the change: the history's digest is of them.
std::string BytesOf(const std::string& path) {
  std::string bytes;
  bool tooLarge = false;
  (void)ReadRegularFile(path, kMaxIniFileSize, bytes, tooLarge);
  return bytes;
}

}  // namespace

struct MainWindow::ChosenBackup {
  std::string path;                    // the backup's *.MUX
  std::unique_ptr<BackupEntry> entry;  // null for a file outside the backups folder
  std::string rawPath;                 // its raw image, "" when it has none
  std::optional<RawImage> raw;
  // The backup's folder, which the backup taken before the restore must not prune.
  std::string folder() const { return entry ? entry->folder : std::string(); }
};

std::optional<uint32_t> MainWindow::ReadUnitSerial(const DeviceModule& module) {
  DeviceInfo info;
  if (const LinkResult read = ReadInfoBlock(*link_, module.deviceAddress, info); read != LinkOk) {
    ShowBox(BoxKind::kError, WithAdapterDetail(LinkResultText(catalogue_, read), read));
    return std::nullopt;
  }
  return info.serialNumber();
}

std::string MainWindow::ChooseBackupOfUnit(const DeviceModule& module, uint32_t serial) {
  const std::vector<BackupEntry> backups = ListUnitBackups(backupFolder_, module.name, serial);
  const BackupChoice choice = fileDialogs_->ChooseBackup(
      UnitBackupChoice(catalogue_, module, serial, backups, backupFolder_));
  if (choice.kind == BackupChoice::kListed && choice.row >= 0 &&
      size_t(choice.row) < backups.size())
    return backups[backups.size() - 1 - size_t(choice.row)].path;
  if (choice.kind != BackupChoice::kOtherFile) return std::string();
  // Another unit's backup, for the unit that replaces it: the backups folder holds a folder
  // per unit.
  FileDialogRequest request;
  request.title = QString::fromUtf8(Text(catalogue_, AddedText::kRestoreDialogTitle));
  request.initialFolder = QString::fromStdString(backupFolder_);
  request.nameFilter = NameFilterOf(module.configMask);
  return fileDialogs_->Run(request);
}

bool MainWindow::ReadExactImage(ChosenBackup& chosen) {
  chosen.rawPath = RawImageBeside(chosen.path);
  if (chosen.rawPath.empty()) return true;
  chosen.raw = ReadRawImage(chosen.rawPath);
  if (chosen.raw) return true;
  ShowBox(BoxKind::kError, catalogue_.FormatText(Text(catalogue_, AddedText::kRawImageDamaged),
                                                 chosen.rawPath.c_str()));
  return false;
}

bool MainWindow::AcceptsBackup(const DeviceModule& module, uint32_t serial,
                               const ChosenBackup& chosen) {
  // The unit the backup was taken of: its raw image says, else the backup folder it lies in.
  const RawImage* raw = chosen.raw ? &*chosen.raw : nullptr;
  const std::string device = raw ? raw->device : chosen.entry ? chosen.entry->device : module.name;
  if (device != module.name) {
    ShowBox(BoxKind::kError,
            catalogue_.FormatText(Text(catalogue_, AddedText::kRestoreOtherDevice),
                                  chosen.path.c_str(), device.c_str(), module.name));
    return false;
  }
  if (raw && !ExactImageFits(module, *raw)) {
    ShowBox(BoxKind::kError, catalogue_.FormatText(Text(catalogue_, AddedText::kRawImageDamaged),
                                                   chosen.rawPath.c_str()));
    return false;
  }
  const std::optional<uint32_t> of = raw            ? std::optional<uint32_t>(raw->serial)
                                     : chosen.entry ? std::optional<uint32_t>(chosen.entry->serial)
                                                    : std::nullopt;
  if (!of || *of == serial) return true;
  // A replaced unit gets its predecessor's backup on purpose, never by a slip of the list.
  const std::string question =
      catalogue_.FormatText(Text(catalogue_, AddedText::kRestoreOtherUnitQuestion), module.name,
                            static_cast<unsigned long>(*of), static_cast<unsigned long>(serial));
  return ShowBox(BoxStyle{BoxKind::kQuestion, DefaultButton::kNo}, question) == BoxAnswer::kYes;
}

bool MainWindow::ChooseBackup(const DeviceModule& module, ChosenBackup& chosen) {
  const std::optional<uint32_t> serial = ReadUnitSerial(module);
  if (!serial) return false;
  chosen.path = ChooseBackupOfUnit(module, *serial);
  if (chosen.path.empty() || closing_) return false;
  chosen.entry = BackupAt(backupFolder_, chosen.path);
  return ReadExactImage(chosen) && AcceptsBackup(module, *serial, chosen);
}

std::vector<std::string> MainWindow::RestoreNotes(const DeviceModule& module,
                                                  const ChosenBackup& chosen) {
  std::vector<std::string> notes;
  if (chosen.entry)
    notes.push_back(catalogue_.FormatText(Text(catalogue_, AddedText::kRestoreChosen),
                                          LocalTimeOfName(chosen.entry->timeName).c_str(),
                                          BackupNumberText(catalogue_, *chosen.entry).c_str(),
                                          chosen.path.c_str()));
  if (!chosen.raw) {
    const std::string lacks = FileLacksText(catalogue_, module);
    notes.push_back(catalogue_.FormatText(Text(catalogue_, AddedText::kPlainFileCannotGiveBack),
                                          chosen.path.c_str(), lacks.c_str()));
  }
  return notes;
}

void MainWindow::RestoreExactImage(const DeviceModule& module, const ChosenBackup& chosen) {
  DevicePage* page = devicePageOf(module);
  if (!page) return;
  const int shown = activePage();
  UnitWrite write{.history = "restore",
                  .file = chosen.path,
                  .fileBytes = BytesOf(chosen.path),
                  .notes = RestoreNotes(module, chosen)};
  write.send = [&] { return page->WriteExactImage(module, *chosen.raw); };
  // The page shows the unit's own configuration, which no file holds.
  write.verify = [&] {
    if (page->VerifyExactWrite(module)) RememberPageFile(shown, "");
  };
  const ScopedValue restoring(restoringBackup_, chosen.folder());
  WriteUnit(module, catalogue_.Text(MessageId::kWriteQuestion), write);
}

void MainWindow::RestoreFromBackup() {
  const ModuleRow* row = ActiveRow();
  if (!row || !row->readConfigFile || !row->writeDevice || busy()) return;
  if (!monitor_->connected() || !SettleUnsavedChanges(activePage())) return;
  ChosenBackup chosen;
  {
    const Operation operation = EnterOperation();
    if (!ChooseBackup(*row->module, chosen)) return;
    if (chosen.raw) {
      RestoreExactImage(*row->module, chosen);
      return;
    }
    if (row->readConfigFile(*this, *row->module, chosen.path) != PageOutcome::kDone) return;
    RememberPageFile(activePage(), chosen.path);
  }
  // Written as the toolbar's write does: the page's checks, the question, a backup of what the
  // unit holds now, the write and its read-back.
  const ScopedValue restoring(restoringBackup_, chosen.folder());
  WriteActivePage({.history = "restore",
                   .file = chosen.path,
                   .fileBytes = BytesOf(chosen.path),
                   .notes = RestoreNotes(*row->module, chosen)});
}

}  // namespace qvr
