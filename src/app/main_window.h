#pragma once
// The program's one window: toolbar of device commands with the progress gauge, the page
// control (the monitoring log, then one page per device kind), status bar, pop-up menus and the two
// timers. It owns the link, the connection monitor and the device pages, and hands them what they
// need through PageHost and ModuleContext.
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/device_pages.h"
#include "app/module_table.h"
#include "app/settings.h"
#include "devices/backup/change_recorder.h"
#include "devices/common/ui/device_page.h"
#include "devices/common/ui/page_host.h"
#include "i18n/catalogue.h"
#include "i18n/ui/qt_translations.h"
#include "link/connection_monitor.h"
#include "link/link.h"

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QTabWidget;
class QTimer;
class QToolBar;
class QToolButton;

namespace qvr {

class Clock;
class DialogCentring;
class FileDialogRunner;
class FileDialogs;
class Link;
class MessageBoxResponder;
class MessageBoxService;
class ConfigFileDrop;
class ProgressDisplay;
class ShellHost;
class Transport;

// A toolbar button's hint with its command's key, as shown and read out.
QString HintWithShortcut(const QWidget* button);
// Shows that hint for a tool tip event of a toolbar button: true when shown.
bool ShowHintWithShortcut(QObject* watched, QEvent* event);

// Creates the device page of `driver`'s kind inside `parent` (null: the sheet stays empty).
using PageFactory =
    std::function<DevicePage*(const DeviceDriver& driver, PageHost& host, QWidget* parent)>;

struct WindowOptions {
  QString settingsPath;                  // the resolved settings file
  std::unique_ptr<Transport> transport;  // the controller's transport
  // The device kinds, one page each in their order, and the window's entries for them.
  std::span<const DeviceDriver> drivers = DeviceDrivers();
  std::span<const PageKind> pageKinds = PageKinds();
  PageFactory createPage;  // default: the page kinds' own pages
  // The toolbar's rows, one per driver in the same order (default: built from the drivers).
  std::span<const ModuleRow> modules;
  Clock* clock = nullptr;                       // default: the steady clock
  MessageBoxResponder* boxResponder = nullptr;  // default: real message boxes
  FileDialogRunner* dialogRunner = nullptr;     // default: real file dialogs
  bool simulated = false;  // the title says that the controller is the simulated one
  std::string dataFolder;  // default: DataFolder of the settings, else the user's own
};

class MainWindow final : public QMainWindow,
                         public PageHost,
                         public ModuleContext,
                         private ConnectionMonitor::Listener {
 public:
  // Builds the window and runs the start-up: settings, language, debug controls, pages,
  // toolbar, poll timer.
  explicit MainWindow(WindowOptions options);
  ~MainWindow() override;

  // PageHost (and ModuleContext for link, host and catalogue).
  Link& link() override;
  const Catalogue& catalogue() const override { return catalogue_; }
  Host& host() override;
  ConnectionMonitor& monitor() override { return *monitor_; }
  int activePage() const override;
  void setActivePage(int page) override;
  bool closing() const override { return closing_; }
  bool debugMode() const override;
  void setStatusText(const std::string& text) override;
  QMenu* eventMenu() override { return eventMenu_; }
  [[nodiscard]] Operation EnterOperation() override;
  void ShowControllerPage() override;
  bool controllerPageShown() const override;
  const DeviceModule* activeModule() const override;

  // ModuleContext.
  DevicePage* devicePageOf(const DeviceModule& module) override;
  DevicePage* activeDevicePage() override { return devicePage(activePage()); }
  // The page of tab `index`, or nullptr (the monitoring page, an index outside).
  DevicePage* devicePage(int index);
  std::string ChooseUpdateFile(const DeviceModule& module) override;
  void RememberUpdateFile(const DeviceModule& module, const std::string& path) override;
  void UpdateFileLoaded(const std::string& path, const std::vector<uint8_t>& bytes) override;
  void UpdateNotConfirmed() override;
  LinkResult BackupBeforeChange(const DeviceModule& module) override;

  // -1 keeps the language and returns it; 1 English; anything else Russian. Marks, title,
  // the pages' event state and the window's texts follow.
  int SetLanguage(int value);
  // Outside an operation: enables the toolbar commands the active row supports. Inside one:
  // every command stays disabled.
  void RefreshToolbar();
  void ShowDebugControls(bool visible);
  // An operation runs: a toolbar command, a live action or a wait of the core.
  bool busy() const { return operationDepth_ > 0; }
  QString statusText() const;

  // The seven toolbar commands.
  void UpdateFirmwareCommand();
  void OpenConfigFileCommand();
  void SaveConfigFileCommand();  // the toolbar's: always asks for the name (Save As)
  void SaveToPageFileCommand();  // Ctrl+S: to the page's own file, a new page asks
  // Ctrl+Tab, Ctrl+Shift+Tab and F10 from anywhere in the window.
  void NextPageCommand();
  void PreviousPageCommand();
  void WindowMenuCommand();
  void ReadDeviceCommand();
  void WriteDeviceCommand();
  void ResetToDefaultCommand();
  void ResetDeviceCommand();

  // Loads `path` into the active device page as Open does: asks about unsaved changes first.
  void LoadConfigFile(const std::string& path);
  // Offers the connected unit's backups of the active page's device, or any backup file (a
  // replaced unit's), and puts the chosen one back onto the unit: byte for byte from its raw
  // image, else loaded into the page and written as the toolbar's write does.
  void RestoreFromBackup();
  // The configuration file the page was last loaded from or saved to ("" for none).
  QString pageFile(int page) const;

  FileDialogs& fileDialogs() { return *fileDialogs_; }
  const SettingsStore& settingsStore() const { return settings_; }
  ShellHost& shellHost() { return *host_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // ConnectionMonitor::Listener.
  void SetStatusText(const std::string& text) override;
  void ConnectedChanged(bool connected) override;
  void HideProgress() override;
  void SetPollTimerEnabled(bool enabled) override;

  void BuildWidgets();
  void BuildToolBar();
  void BuildPages();
  void BuildMenus();
  void BuildTimers();
  void BuildShortcuts();
  // Puts the focus on the first field of the active page.
  void FocusFirstField();

  // The toolbar hints name their commands' keys (after every translation).
  void AddShortcutsToHints();
  void CreateServices(WindowOptions& options);
  void CreateDevicePages(const PageFactory& createPage);
  void StartUp();
  void ReadSettings();
  // The backups and the history in the data folder `chosen` names (see DataFolderOf).
  void UseDataFolder(const std::string& chosen);
  void WriteSettings();
  void ShutDown();
  // A toolbar command, a box or a waiting loop of the core is beneath the current event.
  bool OperationRunning() const;
  // Keeps the window until the running operation ends, then closes it.
  void DeferClose();

 public:
  // A termination signal: like the close button, but no box waits for an answer afterwards.
  void Terminate();

 private:
  // Closes the question or file dialog a command has open, which cancels that command.
  void CancelOpenDialog();
  void RunEventMenuItem(EventMenuItem item);
  void PageChanged();
  bool RefusesPageChange(QObject* watched, QEvent* event) const;
  // The popup menu opens from the toolbar by the mouse's right button, the context menu key
  // and Shift+F10.
  bool OpensPopupMenu(QObject* watched, QEvent* event);
  // The window's fixed design size where the screen has room for it, else as much as fits.
  void FitToScreen();
  void SetTabOrder();

  // Title: the program, then the active page's file (or "no file") and "*" while modified.
  void UpdateTitle();
  // Asks Save / Discard / Cancel when `page` holds unsaved changes: true to go on (saved or
  // discarded), false when cancelled or the save did not happen.
  bool SettleUnsavedChanges(int page);
  // The same for every device page before the window closes.
  bool SettleAllUnsavedChanges();
  // Validates and saves the active page: to its own file when it has one and `chooseName` is
  // false, else to the file the user chooses (the dialog opens on its file). True when saved.
  bool SaveActivePage(bool chooseName);
  // A file written for another device kind loads only when the user says so (No by default).
  bool TakesOtherDevicesFile(const DeviceModule& module, const std::string& path);
  // After a device write: the log and the status say when the page's file lacks what was sent.
  void SayWhenFileLacksWrite(const DevicePage* page);
  void SaveCommand(bool chooseName);
  // Save and Write on a page that holds no configuration: says so, points to Read and Open.
  bool RefusesEmptyPage(const ModuleRow& row);
  // Adds what the write changes on the unit to `question` (when the menu asks for it); false
  // when the device could not be read for it.
  bool AddWritePreview(const DeviceModule& module, std::string& question);
  void RememberPageFile(int page, const std::string& path);
  // Inside a command: loads `path` ("" does nothing) and remembers it.
  void LoadIntoActivePage(const ModuleRow& row, const std::string& path);
  void FillRecentMenu();
  // A change that writes the unit: its name and file for the history, the lines the log says
  // first, the write itself and the read-back after a write that went through.
  struct UnitWrite {
    const char* history = nullptr;
    std::string file = {};
    std::string fileBytes = {};  // the file's bytes as read for the change: the history's digest
    std::vector<std::string> notes = {};
    std::function<TransferResult()> send = {};
    std::function<void()> verify = {};
  };
  // The toolbar's write of the active page: its checks, then WriteUnit.
  void WriteActivePage(UnitWrite write);
  // Asks `question`; on Yes backs the unit up, records the change in the history, sends and
  // verifies, or shows why the write failed.
  void WriteUnit(const DeviceModule& module, const std::string& question, const UnitWrite& write);
  // The box of a write that failed, saying whether the unit was changed before it did.
  void ShowWriteFailure(const DeviceModule& module, const TransferResult& result,
                        const WriteWatch& watch);

  // The backup a restore puts back (restore_backup.cpp).
  struct ChosenBackup;
  // The connected unit's serial number; none after a box said why it could not be read.
  std::optional<uint32_t> ReadUnitSerial(const DeviceModule& module);
  // The file of the backup chosen from the unit's list or in the file dialog; "" when cancelled.
  std::string ChooseBackupOfUnit(const DeviceModule& module, uint32_t serial);
  // Fills `chosen` and checks it against the connected unit: false when it is refused (a box
  // said why) or the user declined.
  bool ChooseBackup(const DeviceModule& module, ChosenBackup& chosen);
  bool ReadExactImage(ChosenBackup& chosen);
  bool AcceptsBackup(const DeviceModule& module, uint32_t serial, const ChosenBackup& chosen);
  // What the log says of the chosen backup before it is written.
  std::vector<std::string> RestoreNotes(const DeviceModule& module, const ChosenBackup& chosen);
  // The raw image written back byte for byte, then read back and shown as after a read.
  void RestoreExactImage(const DeviceModule& module, const ChosenBackup& chosen);

  // Entered by every toolbar command (EnterOperation): the toolbar, the device pages and the
  // menu take no input, a connection change ends nothing, and the adapter stays this program's
  // (no other program's reports come between the command's) until the scope ends.
  class OperationScope final : public Operation::Scope {
   public:
    explicit OperationScope(MainWindow& window);
    ~OperationScope() override;

   private:
    MainWindow& window_;
    AdapterHold hold_;
    QPointer<QWidget> focus_;  // where the command started; the focus goes back there
  };

  // The commands the active row supports (the file commands also without the controller).
  void EnableRowButtons();
  const ModuleRow* ActiveRow() const;
  const DeviceDriver& ActiveDriver() const;
  BoxAnswer ShowBox(BoxStyle style, const std::string& text);
  // The one box of a failed command: its message with the device's name and the result's text,
  // and where the transfer stopped when it is known.
  void ShowFailure(MessageId messageId, const DeviceModule& module, const TransferResult& result);
  // `text` with who holds the adapter (LinkAdapterBusy) or why its lock could not be taken
  // (LinkAdapterNotReserved) after it, when the system tells.
  std::string WithAdapterDetail(const std::string& text, const TransferResult& result) const;
  // A command that runs one operation of the active row on its module: busy while it runs,
  // the not-supported box when the row lacks it, the failure box when it fails.
  using RowOperation = ModuleRow::Operation ModuleRow::*;
  // `history`: the change's name in the history file, for commands that change the unit.
  TransferResult RunRowCommand(RowOperation operation, MessageId notSupportedId, MessageId failedId,
                               const char* history = nullptr);
  // The change a command makes to `module`'s unit, in the history from just before its first
  // write to Finish; the backup and the update file tell it what they read meanwhile.
  class RecordedChange {
   public:
    RecordedChange(MainWindow& window, const DeviceModule& module, const char* command);
    ~RecordedChange() { window_.change_ = nullptr; }
    RecordedChange(const RecordedChange&) = delete;
    RecordedChange& operator=(const RecordedChange&) = delete;
    void Finish(bool succeeded) { recorder_.Finish(ResultOf(succeeded, window_.closing_)); }
    ChangeRecorder& recorder() { return recorder_; }

   private:
    MainWindow& window_;
    ChangeRecorder recorder_;
  };

  Catalogue catalogue_;
  QtTranslations qtTexts_;
  std::unique_ptr<Clock> ownClock_;
  Clock* clock_ = nullptr;
  std::span<const DeviceDriver> drivers_;
  std::span<const PageKind> pageKinds_;
  std::vector<ModuleRow> ownModules_;  // the rows built from the drivers, unless given
  std::span<const ModuleRow> modules_;
  int controllerPage_ = 0;  // the monitoring page
  SettingsStore settings_;

  QToolBar* toolBar_ = nullptr;
  std::array<QToolButton*, 7> commandButtons_{};
  QFrame* progressPanel_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  QLabel* statusLabel_ = nullptr;
  QTabWidget* pageTabs_ = nullptr;
  std::vector<QWidget*> pageSheets_;
  std::vector<DevicePage*> pages_;
  QPlainTextEdit* logView_ = nullptr;
  QMenu* windowMenu_ = nullptr;
  QMenu* eventMenu_ = nullptr;
  QAction* debugItem_ = nullptr;
  QAction* packetLogItem_ = nullptr;
  QAction* russianItem_ = nullptr;
  QAction* englishItem_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  QAction* previewItem_ = nullptr;
  QAction* restoreItem_ = nullptr;
  QTimer* pollTimer_ = nullptr;
  QTimer* centringTimer_ = nullptr;
  QTimer* closeRetryTimer_ = nullptr;  // retries a deferred close until no operation runs

  std::unique_ptr<ProgressDisplay> progress_;
  std::unique_ptr<MessageBoxResponder> realBoxes_;
  std::unique_ptr<MessageBoxService> boxes_;
  std::unique_ptr<ShellHost> host_;
  std::unique_ptr<Transport> transport_;
  std::unique_ptr<Link> link_;
  std::unique_ptr<ConnectionMonitor> monitor_;
  std::unique_ptr<DialogCentring> centring_;
  std::unique_ptr<FileDialogRunner> realDialogs_;
  std::unique_ptr<FileDialogs> fileDialogs_;
  ConfigFileDrop* fileDrop_ = nullptr;
  std::vector<QString> pageFiles_;
  QString clearedLog_;  // the log as a double click emptied it, for Ctrl+Z

  int operationDepth_ = 0;  // the operation scopes entered and not yet ended
  bool closing_ = false;
  bool simulated_ = false;
  bool backupBeforeChange_ = true;
  int backupsKept_ = kDefaultBackupsKept;  // the settings file's, written back as read
  std::string chosenDataFolder_;           // the command line's, which outranks the settings'
  std::string backupFolder_;
  HistoryLocation history_;           // in the data folder with the backups
  ChangeRecorder* change_ = nullptr;  // the running command's change, which its steps tell of
  std::string restoringBackup_;       // the backup folder a restore writes back: never pruned then
  bool shutDownStarted_ = false;
  bool shutDownDone_ = false;
};

}  // namespace qvr
