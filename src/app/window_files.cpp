// The window's configuration files: which file each page shows, the title that names it, the
// question before unsaved changes are lost, the recent files and loading a file.
#include <QAction>
#include <QFileInfo>
#include <QMenu>

#include "app/file_dialogs.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "app/recent_files.h"
#include "app/shell_host.h"
#include "devices/drivers/other_devices_file.h"
#include "i18n/added_texts.h"

namespace qvr {

QString MainWindow::pageFile(int page) const {
  return page >= 0 && size_t(page) < pageFiles_.size() ? pageFiles_[size_t(page)] : QString();
}

void MainWindow::UpdateTitle() {
  std::string title = catalogue_.Format(MessageId::kWindowTitle, kProgramVersion);
  if (simulated_) title += std::string(" ") + Text(catalogue_, AddedText::kSimulatedController);
  QString shown = QString::fromStdString(title);
  const DevicePage* page = devicePage(activePage());
  const QString file = pageFile(activePage());
  if (page && (page->modified() || !file.isEmpty())) {
    const QString name = file.isEmpty() ? QString::fromUtf8(Text(catalogue_, AddedText::kUntitled))
                                        : QFileInfo(file).fileName();
    shown += QStringLiteral(" \u2014 ") + name + (page->modified() ? "*" : "");
  }
  setWindowTitle(shown);
}

void MainWindow::RememberPageFile(int page, const std::string& path) {
  if (page < 0 || size_t(page) >= pageFiles_.size()) return;
  pageFiles_[size_t(page)] = QString::fromStdString(path);
  if (const ModuleRow* row = RowOfPage(modules_, page); row && !path.empty())
    AddRecentFile(settings_, *row->module, path);
  UpdateTitle();
}

bool MainWindow::SettleUnsavedChanges(int page) {
  const DevicePage* shown = devicePage(page);
  const ModuleRow* row = RowOfPage(modules_, page);
  if (!shown || !row || !shown->modified()) return true;
  const QString file = pageFile(page);
  const std::string name = file.isEmpty() ? Text(catalogue_, AddedText::kUntitled)
                                          : QFileInfo(file).fileName().toStdString();
  const BoxAnswer answer = host_->AskSaveChanges(catalogue_.FormatText(
      Text(catalogue_, AddedText::kUnsavedChanges), row->module->name, name.c_str()));
  if (answer == BoxAnswer::kNo) return true;
  if (answer != BoxAnswer::kYes) return false;
  if (activePage() != page) {
    setActivePage(page);
    RefreshToolbar();
  }
  return SaveActivePage(false);
}

bool MainWindow::SettleAllUnsavedChanges() {
  for (int page = 0; page < int(pages_.size()); ++page) {
    const DevicePage* shown = devicePage(page);
    if (!shown || !shown->modified()) continue;
    // The page in question is shown, so that the user sees what would be lost.
    if (activePage() != page) {
      setActivePage(page);
      RefreshToolbar();
      UpdateTitle();
    }
    if (!SettleUnsavedChanges(page)) return false;
  }
  return true;
}

void MainWindow::LoadConfigFile(const std::string& path) {
  const ModuleRow* row = ActiveRow();
  if (path.empty() || !row || !row->readConfigFile || busy()) return;
  if (!SettleUnsavedChanges(activePage())) return;
  const Operation operation = EnterOperation();
  LoadIntoActivePage(*row, path);
}

void MainWindow::LoadIntoActivePage(const ModuleRow& row, const std::string& path) {
  if (path.empty() || !TakesOtherDevicesFile(*row.module, path)) return;
  if (row.readConfigFile(*this, *row.module, path) == PageOutcome::kDone)
    RememberPageFile(activePage(), path);
  fileDialogs_->RememberConfigFile(*row.module, path);
}

bool MainWindow::TakesOtherDevicesFile(const DeviceModule& module, const std::string& path) {
  const DeviceModule* other = OtherDevicesFile(path, module);
  if (!other) return true;
  const std::string question = catalogue_.FormatText(
      Text(catalogue_, AddedText::kLoadOtherDevicesFile),
      QFileInfo(QString::fromStdString(path)).fileName().toStdString().c_str(), other->name,
      module.name);
  return ShowBox(BoxStyle{BoxKind::kQuestion, DefaultButton::kNo}, question) == BoxAnswer::kYes;
}

void MainWindow::FillRecentMenu() {
  recentMenu_->clear();
  const ModuleRow* row = ActiveRow();
  restoreItem_->setEnabled(row && row->readConfigFile && row->writeDevice && monitor_->connected());
  const std::vector<std::string> files = row && row->readConfigFile
                                             ? RecentFiles(settings_, *row->module)
                                             : std::vector<std::string>();
  int number = 0;
  for (const std::string& path : files) {
    // The number is the item's key; a file name's own "&" is shown as it is.
    QString caption = QString::fromStdString(path);
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    QAction* action = recentMenu_->addAction(QString("&%1 ").arg(++number) + caption);
    connect(action, &QAction::triggered, this, [this, path] { LoadConfigFile(path); });
  }
  recentMenu_->setEnabled(!files.empty());
}

}  // namespace qvr
