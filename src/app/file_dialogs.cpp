#include "app/file_dialogs.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QSplitter>
#include <QTimer>
#include <QTreeView>

#include "app/message_box.h"
#include "app/settings.h"
#include "i18n/catalogue.h"

namespace qvr {

QString InitialFolderOf(const std::string& rememberedPath) {
  // Remembered paths may come from the Windows build, so both separators count.
  QString path = QString::fromStdString(rememberedPath);
  qsizetype cut = std::max(path.lastIndexOf('/'), path.lastIndexOf('\\'));
  if (cut < 0) return QString();
  if (cut == 0) return path.left(1);
  return path.left(cut);
}

QString NameFilterOf(const char* mask) {
  QString pattern = QString::fromUtf8(mask);
  // Upper-case masks also match lower-case names, as they do on the platform that wrote them.
  QString lower = pattern.toLower();
  QString patterns = lower == pattern ? pattern : pattern + " " + lower;
  return pattern + " (" + patterns + ")";
}

QString DefaultSuffixOf(const char* mask) {
  QString pattern = QString::fromUtf8(mask);
  qsizetype dot = pattern.lastIndexOf('.');
  if (dot < 0) return QString();
  QString suffix = pattern.mid(dot + 1);
  return suffix.contains('*') || suffix.contains('?') ? QString() : suffix;
}

bool DialogCentring::Run(QDialog& dialog) {
  running_ = &dialog;
  countdown_ = 50;
  timer_.start();
  bool confirmed = dialog.exec() == QDialog::Accepted;
  timer_.stop();
  running_ = nullptr;
  return confirmed;
}

void DialogCentring::Tick() {
  if (!running_ || !running_->isVisible()) return;
  if (--countdown_ <= 0) timer_.stop();
  running_->move(
      CentredPosition(mainWindow_->frameGeometry(), running_->frameGeometry().size(), 0));
}

namespace {

// Room for the sidebar's places and for every column of the file list in either language, so
// that no header, name or date is cut.
void Widen(QFileDialog& dialog) {
  dialog.resize(720, 440);
  if (auto* splitter = dialog.findChild<QSplitter*>("splitter")) splitter->setSizes({150, 570});
  auto* list = dialog.findChild<QTreeView*>("treeView");
  if (!list) return;
  QHeaderView* header = list->header();
  header->setStretchLastSection(false);
  header->setSectionResizeMode(0, QHeaderView::Stretch);
  for (int column = 1; column < header->count(); ++column) {
    header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  }
}

}  // namespace

QString QtFileDialogRunner::Run(const FileDialogRequest& request) {
  QFileDialog dialog(mainWindow_, request.title, request.initialFolder, request.nameFilter);
  // Drawn by Qt so that the window can be placed over the main window.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  // Loading reports a missing file itself; saving over a file asks nothing.
  dialog.setFileMode(QFileDialog::AnyFile);
  if (request.save) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setDefaultSuffix(request.defaultSuffix);
  Widen(dialog);
  if (!centring_.Run(dialog)) return QString();
  QStringList files = dialog.selectedFiles();
  return files.isEmpty() ? QString() : files.first();
}

std::string FileDialogs::Choose(const DeviceModule& module, const char* section, MessageId titleId,
                                const char* mask, bool save, const std::string& currentFile) {
  std::string remembered;
  if (!settings_.ReadText(section, module.name, remembered)) return std::string();
  FileDialogRequest request;
  request.save = save;
  request.title = QString::fromUtf8(catalogue_.Text(titleId));
  request.initialFolder =
      currentFile.empty() ? InitialFolderOf(remembered) : QString::fromStdString(currentFile);
  request.nameFilter = NameFilterOf(mask);
  request.defaultSuffix = DefaultSuffixOf(mask);
  return runner_->Run(request).toStdString();
}

std::string FileDialogs::ChooseUpdateFile(const DeviceModule& module) {
  return Choose(module, kDirectoryUpdate, MessageId::kUpdateFileTitle, module.firmwareMask, false);
}

std::string FileDialogs::ChooseConfigFileToOpen(const DeviceModule& module) {
  return Choose(module, kDirectoryConfig, MessageId::kOpenConfigurationTitle, module.configMask,
                false);
}

std::string FileDialogs::ChooseConfigFileToSave(const DeviceModule& module,
                                                const std::string& currentFile) {
  return Choose(module, kDirectoryConfig, MessageId::kSaveConfigurationTitle, module.configMask,
                true, currentFile);
}

void FileDialogs::RememberUpdateFile(const DeviceModule& module, const std::string& path) {
  settings_.WriteText(kDirectoryUpdate, module.name, path);
}

void FileDialogs::RememberConfigFile(const DeviceModule& module, const std::string& path) {
  settings_.WriteText(kDirectoryConfig, module.name, path);
}

}  // namespace qvr
