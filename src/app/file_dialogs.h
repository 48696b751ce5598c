#pragma once
// The three file dialogs (firmware update file, configuration to load, configuration to save):
// each starts in the folder last chosen for the same device and purpose, filters on the
// device's mask and stays centred over the main window while it settles; beside them the
// restore's list of backups. Who answers a dialog is replaceable, so tests can script the user.
#include <QPointer>
#include <QString>
#include <string>

#include "app/backup_choice.h"
#include "i18n/message_id.h"
#include "link/device_module.h"

class QDialog;
class QTimer;
class QWidget;

namespace qvr {

class Catalogue;
class SettingsStore;

struct FileDialogRequest {
  bool save = false;
  QString title;
  // Where the dialog opens: a folder, or a file (its folder, its name filled in); empty: the
  // dialog's own default folder.
  QString initialFolder;
  QString nameFilter;     // one entry, described by the mask itself
  QString defaultSuffix;  // added to a name typed without one
};

// The folder part of a remembered path ("" for a bare file name or nothing stored).
QString InitialFolderOf(const std::string& rememberedPath);
QString NameFilterOf(const char* mask);
QString DefaultSuffixOf(const char* mask);

// Whoever answers a dialog: the real one, or a test's script. Returns the chosen full path or
// "" when cancelled.
class FileDialogRunner {
 public:
  virtual ~FileDialogRunner() = default;
  virtual QString Run(const FileDialogRequest& request) = 0;
  // The restore's list of backups: which one, another file, or cancelled.
  virtual BackupChoice ChooseBackup(const BackupChoiceRequest& request) = 0;
};

// Keeps a running dialog centred over the main window: `timer` (TimerOnShow) repositions it on
// at most 50 ticks while it opens.
class DialogCentring {
 public:
  DialogCentring(QWidget* mainWindow, QTimer& timer) : mainWindow_(mainWindow), timer_(timer) {}
  // Runs `dialog` modally; true when the user confirmed.
  bool Run(QDialog& dialog);
  void Tick();

 private:
  QWidget* mainWindow_;
  QTimer& timer_;
  QPointer<QDialog> running_;
  int countdown_ = 0;
};

class QtFileDialogRunner final : public FileDialogRunner {
 public:
  QtFileDialogRunner(QWidget* mainWindow, DialogCentring& centring)
      : mainWindow_(mainWindow), centring_(centring) {}
  QString Run(const FileDialogRequest& request) override;
  BackupChoice ChooseBackup(const BackupChoiceRequest& request) override;

 private:
  QWidget* mainWindow_;
  DialogCentring& centring_;
};

class FileDialogs {
 public:
  FileDialogs(const SettingsStore& settings, const Catalogue& catalogue, FileDialogRunner& runner)
      : settings_(settings), catalogue_(catalogue), runner_(&runner) {}

  // The chosen full path, or "" when cancelled or the settings file cannot be read.
  std::string ChooseUpdateFile(const DeviceModule& module);
  std::string ChooseConfigFileToOpen(const DeviceModule& module);
  // Opens on `currentFile` when the page has one, else in the folder last used.
  std::string ChooseConfigFileToSave(const DeviceModule& module,
                                     const std::string& currentFile = {});
  // Any other file choice, through the same runner: the chosen path or "".
  std::string Run(const FileDialogRequest& request) { return runner_->Run(request).toStdString(); }
  BackupChoice ChooseBackup(const BackupChoiceRequest& request) {
    return runner_->ChooseBackup(request);
  }
  // Stored at once under the device's name; an empty path stores nothing.
  void RememberUpdateFile(const DeviceModule& module, const std::string& path);
  void RememberConfigFile(const DeviceModule& module, const std::string& path);

 private:
  std::string Choose(const DeviceModule& module, const char* section, MessageId titleId,
                     const char* mask, bool save, const std::string& currentFile = {});

  const SettingsStore& settings_;
  const Catalogue& catalogue_;
  FileDialogRunner* runner_;
};

}  // namespace qvr
