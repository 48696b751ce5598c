// The toolbar: which commands the active row allows, and the seven commands themselves.
#include <QFileInfo>
#include <QToolButton>
#include <optional>

#include "app/file_dialogs.h"
#include "app/main_window.h"
#include "app/shell_host.h"
#include "devices/common/device_commands.h"
#include "i18n/added_texts.h"
#include "link/link.h"
#include "link/link_result.h"

namespace qvr {
namespace {

enum ButtonIndex : size_t {
  kUpdate,
  kReadConfig,
  kWriteConfig,
  kReadDevice,
  kWriteDevice,
  kToDefault,
  kReset
};

}  // namespace

const ModuleRow* MainWindow::ActiveRow() const {
  return RowOfPage(modules_, activePage());
}

BoxAnswer MainWindow::ShowBox(BoxStyle style, const std::string& text) {
  return host_->ShowMessageBox(style, text);
}

void MainWindow::ShowFailure(MessageId messageId, const DeviceModule& module,
                             const TransferResult& result) {
  ShowBox(BoxKind::kError,
          WithAdapterDetail(DeviceFailureText(catalogue_, messageId, module.name, result), result));
}

std::string MainWindow::WithAdapterDetail(const std::string& text,
                                          const TransferResult& result) const {
  // Who holds the adapter, or why its lock could not be taken, after the result's own text.
  if (result == LinkAdapterBusy) {
    const AdapterHolder holder = link_->BusyHolder();
    if (holder.processId == 0) return text;
    return text + "\n" +
           catalogue_.FormatText(Text(catalogue_, AddedText::kAdapterBusyHolder),
                                 AdapterHolderText(catalogue_, holder).c_str());
  }
  if (result == LinkAdapterNotReserved) {
    const std::string reason = AdapterLockProblemText(catalogue_, link_->LockProblem());
    if (!reason.empty()) return text + "\n" + reason;
  }
  return text;
}

void MainWindow::RefreshToolbar() {
  for (QToolButton* button : commandButtons_) button->setEnabled(false);
  if (!busy()) EnableRowButtons();
}

void MainWindow::EnableRowButtons() {
  const ModuleRow* row = ActiveRow();
  if (!row) return;
  // The file commands work without the controller.
  commandButtons_[kReadConfig]->setEnabled(row->readConfigFile != nullptr);
  commandButtons_[kWriteConfig]->setEnabled(row->writeConfigFile != nullptr);
  if (!monitor_->connected()) return;
  commandButtons_[kUpdate]->setEnabled(row->updateFirmware != nullptr);
  commandButtons_[kReadDevice]->setEnabled(row->readDevice != nullptr);
  commandButtons_[kWriteDevice]->setEnabled(row->writeDevice != nullptr);
  commandButtons_[kToDefault]->setEnabled(row->resetToDefault != nullptr);
  commandButtons_[kReset]->setEnabled(row->resetDevice != nullptr);
}

void MainWindow::UpdateFirmwareCommand() {
  const int page = activePage();
  const ModuleRow* row = ActiveRow();
  if (!row || !row->updateFirmware) {
    ShowBox(BoxKind::kError, catalogue_.Text(MessageId::kUpdateNotSupported));
    return;
  }
  const Operation operation = EnterOperation();
  {
    // The update writes its progress into the monitoring log, shown while it runs; the page the
    // user was on comes back however the update ends.
    struct MonitoringShown {
      MainWindow& window;
      int page;
      ~MonitoringShown() { window.setActivePage(page); }
    } const shown{*this, page};
    ShowControllerPage();
    RecordedChange change(*this, *row->module, "update");
    change.Finish(row->updateFirmware(*this, *row->module).ok());
  }
  // After updating itself the controller is announced anew with its new versions.
  if (row->module->IsController()) monitor_->setConnected(false);
}

void MainWindow::OpenConfigFileCommand() {
  if (ActiveDriver().IsController()) return;
  const ModuleRow* row = ActiveRow();
  if (!row || !row->readConfigFile) {
    ShowBox(BoxKind::kError, catalogue_.Text(MessageId::kLoadNotSupported));
    return;
  }
  if (!SettleUnsavedChanges(activePage())) return;
  const Operation operation = EnterOperation();
  LoadIntoActivePage(*row, fileDialogs_->ChooseConfigFileToOpen(*row->module));
}

void MainWindow::SaveConfigFileCommand() {
  SaveCommand(true);
}

void MainWindow::SaveToPageFileCommand() {
  SaveCommand(false);
}

void MainWindow::SaveCommand(bool chooseName) {
  if (ActiveDriver().IsController()) return;
  const ModuleRow* row = ActiveRow();
  if (!row || !row->writeConfigFile) {
    ShowBox(BoxKind::kError, catalogue_.Text(MessageId::kSaveNotSupported));
    return;
  }
  (void)SaveActivePage(chooseName);
}

bool MainWindow::AddWritePreview(const DeviceModule& module, std::string& question) {
  DevicePage* page = activeDevicePage();
  if (!page || !previewItem_->isChecked()) return true;
  std::string changes;
  const DevicePage::PreviewResult preview = page->PreviewWrite(module, changes);
  // A failed read has shown its box; nothing is written without the user seeing the changes.
  if (preview == DevicePage::kPreviewReadFailed) return false;
  if (preview == DevicePage::kNoPreview) return true;
  question += "\n\n";
  question += changes.empty()
                  ? Text(catalogue_, AddedText::kPreviewNoChanges)
                  : std::string(Text(catalogue_, AddedText::kPreviewChanges)) + "\n" + changes;
  return true;
}

bool MainWindow::RefusesEmptyPage(const ModuleRow& row) {
  const DevicePage* page = activeDevicePage();
  if (!page || page->holdsConfiguration()) return false;
  ShowBox(
      BoxKind::kInformation,
      catalogue_.FormatText(Text(catalogue_, AddedText::kNoConfigurationYet), row.module->name));
  return true;
}

bool MainWindow::SaveActivePage(bool chooseName) {
  const ModuleRow* row = ActiveRow();
  if (!row || !row->writeConfigFile || RefusesEmptyPage(*row)) return false;
  // The page has shown what is wrong and put the focus there.
  if (row->checkForFile(*this) != PageOutcome::kDone) return false;
  const Operation operation = EnterOperation();
  const std::string current = pageFile(activePage()).toStdString();
  const std::string path = !chooseName && !current.empty()
                               ? current
                               : fileDialogs_->ChooseConfigFileToSave(*row->module, current);
  if (path.empty()) return false;
  const bool saved = row->writeConfigFile(*this, *row->module, path) == PageOutcome::kDone;
  fileDialogs_->RememberConfigFile(*row->module, path);
  if (saved) RememberPageFile(activePage(), path);
  return saved;
}

TransferResult MainWindow::RunRowCommand(RowOperation rowOperation, MessageId notSupportedId,
                                         MessageId failedId, const char* history) {
  const Operation operation = EnterOperation();
  const ModuleRow* row = ActiveRow();
  if (!row || !(row->*rowOperation)) {
    ShowBox(BoxKind::kError, catalogue_.Text(notSupportedId));
    return LinkExchangeFailed;
  }
  std::optional<RecordedChange> change;
  if (history) change.emplace(*this, *row->module, history);
  const TransferResult result = (row->*rowOperation)(*this, *row->module);
  if (change) change->Finish(result.ok());
  if (!result.ok() && result.code() != LinkStoppedAndShown)
    ShowFailure(failedId, *row->module, result);
  return result;
}

void MainWindow::ReadDeviceCommand() {
  if (ActiveDriver().IsController()) return;
  if (!SettleUnsavedChanges(activePage())) return;
  const int page = activePage();
  // The page now shows the device's configuration, which no file holds.
  if (RunRowCommand(&ModuleRow::readDevice, MessageId::kReadDeviceNotSupported,
                    MessageId::kConfigurationReadFailed)
          .ok())
    RememberPageFile(page, "");
}

void MainWindow::WriteDeviceCommand() {
  WriteActivePage({.history = "write"});
}

void MainWindow::WriteActivePage(UnitWrite write) {
  if (ActiveDriver().IsController()) return;
  const ModuleRow* row = ActiveRow();
  if (!row || !row->writeDevice) {
    const Operation operation = EnterOperation();
    ShowBox(BoxKind::kError, catalogue_.Text(MessageId::kWriteDeviceNotSupported));
    return;
  }
  // Checked before the command takes the page: a refused field keeps the focus.
  if (RefusesEmptyPage(*row) || row->checkForDevice(*this) != PageOutcome::kDone) return;
  const Operation operation = EnterOperation();
  std::string question = catalogue_.Text(MessageId::kWriteQuestion);
  if (!AddWritePreview(*row->module, question)) return;
  DevicePage* page = activeDevicePage();
  write.send = [&] { return row->writeDevice(*this, *row->module); };
  write.verify = [&] {
    if (page) page->VerifyWrite(*row->module);
    SayWhenFileLacksWrite(page);
  };
  WriteUnit(*row->module, question, write);
}

void MainWindow::SayWhenFileLacksWrite(const DevicePage* page) {
  const QString file = pageFile(activePage());
  if (!page || !page->modified() || file.isEmpty()) return;
  const std::string text = catalogue_.FormatText(Text(catalogue_, AddedText::kWrittenNotSaved),
                                                 QFileInfo(file).fileName().toStdString().c_str());
  host_->LogLine(text);
  setStatusText(text);
}

void MainWindow::WriteUnit(const DeviceModule& module, const std::string& question,
                           const UnitWrite& write) {
  if (ShowBox(BoxStyle{BoxKind::kQuestion, DefaultButton::kNo}, question) != BoxAnswer::kYes)
    return;
  // The change has one log: the read-backs start no fresh one, so where the backup went stays
  // in view after the write is verified.
  host_->ClearLog();
  const auto kept = host_->KeepLog();
  for (const std::string& note : write.notes) host_->LogLine(note);
  const WriteWatch watch(*link_);
  RecordedChange change(*this, module, write.history);
  if (!write.file.empty()) change.recorder().SetFile(write.file, write.fileBytes);
  // A backup that failed has said why, and nothing is sent.
  if (BackupBeforeChange(module) != LinkOk) {
    change.Finish(false);
    return;
  }
  const TransferResult result = write.send();
  change.Finish(result.ok());
  if (result.ok()) {
    write.verify();
    return;
  }
  ShowWriteFailure(module, result, watch);
}

void MainWindow::ShowWriteFailure(const DeviceModule& module, const TransferResult& result,
                                  const WriteWatch& watch) {
  std::string text = WithAdapterDetail(
      DeviceFailureText(catalogue_, MessageId::kConfigurationWriteFailed, module.name, result),
      result);
  if (watch.deviceChanged())
    text = WithAddedText(catalogue_, text,
                         OnlyRestartRefused(watch) ? AddedText::kRestartRefused
                                                   : AddedText::kConfigurationHalfWritten);
  ShowBox(BoxKind::kError, text);
}

void MainWindow::ResetToDefaultCommand() {
  if (ActiveDriver().IsController()) return;
  (void)RunRowCommand(&ModuleRow::resetToDefault, MessageId::kDefaultNotSupported,
                      MessageId::kDefaultFailed, "default");
}

void MainWindow::ResetDeviceCommand() {
  (void)RunRowCommand(&ModuleRow::resetDevice, MessageId::kResetNotSupported,
                      MessageId::kResetFailed, "reset");
}

}  // namespace qvr
