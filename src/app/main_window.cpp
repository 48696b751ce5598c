#include "app/main_window.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "app/file_dialogs.h"
#include "app/file_drop.h"
#include "app/message_box.h"
#include "app/progress.h"
#include "app/shell_host.h"
#include "app/tab_order.h"
#include "app/window_fit.h"
#include "devices/backup/data_folder.h"
#include "devices/backup/device_backup.h"
#include "devices/common/ini_file.h"
#include "i18n/added_texts.h"
#include "i18n/ui/translate_form.h"
#include "link/clock.h"
#include "link/hid_transport.h"
#include "link/link.h"
#include "link/threaded_transport.h"
#include "platform/file_names.h"

namespace qvr {
namespace {

// The window's controls that only debug mode shows; the pages' own are named by their kinds.
constexpr const char* kDebugControls[] = {
    "MenuItemDebug",
    "MenuItemLog",
};

// Whether a device write first reads the unit and shows what it changes there (1) or not (0,
// the default: the question then comes without touching the unit, as it always has).
constexpr const char* kPreviewWriteKey = "PreviewWrite";

}  // namespace

MainWindow::MainWindow(WindowOptions options)
    : drivers_(options.drivers),
      pageKinds_(options.pageKinds),
      ownModules_(options.modules.empty() ? ModuleTableOf(options.drivers)
                                          : std::vector<ModuleRow>()),
      modules_(options.modules.empty() ? std::span<const ModuleRow>(ownModules_) : options.modules),
      settings_(
          options.settingsPath,
          [this] { ShowBox(BoxKind::kError, catalogue_.Text(MessageId::kSettingsUnreadable)); },
          [this](const SaveResult& result) {
            const std::string text = SettingsNotSavedText(catalogue_, settings_.path(), result);
            setStatusText(text);
            host_->LogLine(text);
          }) {
  simulated_ = options.simulated;
  chosenDataFolder_ = options.dataFolder;
  UseDataFolder(chosenDataFolder_);
  BuildWidgets();
  CreateServices(options);
  CreateDevicePages(options.createPage);
  StartUp();
}

MainWindow::~MainWindow() {
  pollTimer_->stop();
  centringTimer_->stop();
  closeRetryTimer_->stop();
}

void MainWindow::CreateServices(WindowOptions& options) {
  if (options.clock) {
    clock_ = options.clock;
  } else {
    ownClock_ = std::make_unique<SteadyClock>();
    clock_ = ownClock_.get();
  }
  progress_ = std::make_unique<ProgressDisplay>(
      toolBar_, progressPanel_, progressBar_, statusLabel_, *clock_,
      [this](const QString& caption, unsigned secondsLeft) {
        return caption + ", " + QString::fromStdString(TimeLeftText(catalogue_, secondsLeft));
      });
  realBoxes_ = std::make_unique<QtMessageBoxResponder>(this);
  boxes_ = std::make_unique<MessageBoxService>(
      catalogue_, *pollTimer_, options.boxResponder ? *options.boxResponder : *realBoxes_);
  boxes_->DeclineWhile([this] { return closing_; });
  host_ = std::make_unique<ShellHost>(*logView_, *progress_, *boxes_, *packetLogItem_);
  std::unique_ptr<Transport> device = std::move(options.transport);
  if (!device) device = std::make_unique<HidTransport>();
  // Reports travel on a thread of their own, so a slow or stuck controller never freezes
  // the window.
  transport_ = std::make_unique<ThreadedTransport>(std::move(device), *host_, *clock_);
  link_ = std::make_unique<Link>(*transport_, *host_, *clock_);
  monitor_ = std::make_unique<ConnectionMonitor>(*link_, *host_, catalogue_,
                                                 static_cast<ConnectionMonitor::Listener&>(*this));
  centring_ = std::make_unique<DialogCentring>(this, *centringTimer_);
  realDialogs_ = std::make_unique<QtFileDialogRunner>(this, *centring_);
  fileDialogs_ = std::make_unique<FileDialogs>(
      settings_, catalogue_, options.dialogRunner ? *options.dialogRunner : *realDialogs_);

  connect(pollTimer_, &QTimer::timeout, this, [this] {
    if (!closing_) monitor_->Tick();
  });
  connect(closeRetryTimer_, &QTimer::timeout, this, [this] {
    if (OperationRunning()) return;
    closeRetryTimer_->stop();
    close();
  });
  connect(centringTimer_, &QTimer::timeout, this, [this] { centring_->Tick(); });

  fileDrop_ = new ConfigFileDrop(
      this,
      [this] {
        const ModuleRow* row = ActiveRow();
        const bool takesFiles = row && row->readConfigFile && !busy() && !closing_;
        return takesFiles ? QString::fromUtf8(row->module->configMask) : QString();
      },
      [this](const QString& path) {
        // Loaded after the drop has ended: the source program is not kept waiting on a box.
        QTimer::singleShot(0, this, [this, path] { LoadConfigFile(path.toStdString()); });
      });
  // Ctrl+Z in the log brings back what a double click emptied.
  auto* undoClear =
      new QShortcut(QKeySequence::Undo, logView_, nullptr, nullptr, Qt::WidgetShortcut);
  connect(undoClear, &QShortcut::activated, this, [this] {
    if (clearedLog_.isEmpty()) return;
    const QString later = logView_->toPlainText();
    logView_->setPlainText(later.isEmpty() ? clearedLog_ : clearedLog_ + "\n" + later);
    clearedLog_.clear();
    logView_->moveCursor(QTextCursor::End);
  });
}

void MainWindow::CreateDevicePages(const PageFactory& createPage) {
  pages_.assign(drivers_.size(), nullptr);
  pageFiles_.assign(drivers_.size(), QString());
  for (size_t page = 0; page < drivers_.size(); ++page) {
    const DeviceDriver& driver = drivers_[page];
    const PageKind* kind = PageKindOf(driver, pageKinds_);
    QWidget* sheet = pageSheets_[page];
    if (createPage)
      pages_[page] = createPage(driver, *this, sheet);
    else if (kind && kind->create)
      pages_[page] = kind->create(*this, sheet);
    if (!pages_[page]) continue;
    pages_[page]->OnModifiedChanged([this] { UpdateTitle(); });
    // A window smaller than its design size (a large scale factor) scrolls the page instead of
    // squeezing or cutting it.
    auto* scroll = new QScrollArea(sheet);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setWidgetResizable(true);
    scroll->setWidget(pages_[page]);
    sheet->layout()->addWidget(scroll);
  }
  SetTabOrder();
}

void MainWindow::SetTabOrder() {
  std::vector<QWidget*> chain(commandButtons_.begin(), commandButtons_.end());
  chain.push_back(progressPanel_);
  for (QWidget* control : ControlsInLayoutOrder(pageTabs_)) chain.push_back(control);
  SetTabChain(chain);
}

void MainWindow::FitToScreen() {
  constexpr QSize kDesignSize(784, 550);
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  // Before the first show the window system has not framed the window yet: a title bar and
  // borders are allowed for.
  QSize frame = frameGeometry().size() - size();
  if (frame.isEmpty()) frame = QSize(8, 40);
  const WindowFit fit = FitWindow(kDesignSize, screen->availableGeometry().size(), frame);
  if (fit.fixed) return setFixedSize(fit.client);
  setMinimumSize(fit.client.boundedTo(QSize(400, 300)));
  setMaximumSize(kDesignSize);
  resize(fit.client);
}

void MainWindow::StartUp() {
  FitToScreen();
  // The settings end with the language switch, so every text is in place before the pages
  // initialise.
  ReadSettings();
  ShowDebugControls(debugMode());
  for (DevicePage* page : pages_) {
    if (!page) continue;
    page->InitPage();
    page->SetModified(false);
  }
  monitor_->ClearControllerInfo();
  RefreshToolbar();
  FocusFirstField();
  pollTimer_->start();
}

void MainWindow::FocusFirstField() {
  // The keyboard starts where the work is, on the active page, not on the toolbar's panel.
  QWidget* page = pageTabs_->currentWidget();
  for (QWidget* next = page->nextInFocusChain(); next && next != page;
       next = next->nextInFocusChain()) {
    if (!page->isAncestorOf(next) || !(next->focusPolicy() & Qt::TabFocus) || !next->isEnabled() ||
        !next->isVisibleTo(page))
      continue;
    next->setFocus(Qt::OtherFocusReason);
    return;
  }
}

void MainWindow::ReadSettings() {
  IniFile ini;
  if (!settings_.Open(ini)) return;
  QScreen* screen = QGuiApplication::primaryScreen();
  const QSize screenSize = screen ? screen->geometry().size() : QSize(0, 0);
  WindowSettings read =
      ReadWindowSettings(ini, screenSize, frameGeometry().size(), pageTabs_->count());
  move(read.left, read.top);
  setActivePage(read.activePage);
  packetLogItem_->setChecked(read.packetLog);
  debugItem_->setChecked(read.debug);
  backupBeforeChange_ = read.backup;
  backupsKept_ = read.backupsKept;
  if (chosenDataFolder_.empty()) UseDataFolder(ReadDataFolder(ini, settings_.path().toStdString()));
  previewItem_->setChecked(ini.GetInt(kMainSettings, kPreviewWriteKey, 0) != 0);
  SetLanguage(read.language);
}

void MainWindow::WriteSettings() {
  IniFile ini;
  if (!settings_.Open(ini)) return;
  WindowSettings written;
  written.top = pos().y();
  written.left = pos().x();
  written.activePage = activePage();
  written.language = SetLanguage(-1);
  written.packetLog = packetLogItem_->isChecked();
  written.debug = debugItem_->isChecked();
  written.backup = backupBeforeChange_;
  written.backupsKept = backupsKept_;
  WriteWindowSettings(ini, written);
  ini.SetInt(kMainSettings, kPreviewWriteKey, previewItem_->isChecked() ? 1 : 0);
  settings_.Save(ini);
}

int MainWindow::SetLanguage(int value) {
  if (value == -1) return catalogue_.language();
  catalogue_.setLanguage(value);
  const Language language = catalogue_.language();
  russianItem_->setChecked(language == kRussian);
  englishItem_->setChecked(language == kEnglish);
  qtTexts_.Switch(language);
  for (DevicePage* page : pages_) {
    if (page) page->BeforeLanguageSwitch();
  }
  TranslateForm(this, language);
  for (DevicePage* page : pages_) {
    if (page) page->AfterLanguageSwitch();
  }
  recentMenu_->setTitle(QString::fromUtf8(Text(catalogue_, AddedText::kRecentFiles)));
  previewItem_->setText(QString::fromUtf8(Text(catalogue_, AddedText::kPreviewMenuItem)));
  restoreItem_->setText(QString::fromUtf8(Text(catalogue_, AddedText::kRestoreFromBackup)));
  // The log has no label of its own: it is announced by its page's caption.
  logView_->setAccessibleName(pageTabs_->tabText(controllerPage_));
  AddShortcutsToHints();
  UpdateTitle();
  return language;
}

void MainWindow::ShowDebugControls(bool visible) {
  const auto show = [&](const char* name) {
    QObject* control = findChild<QObject*>(name);
    if (auto* action = qobject_cast<QAction*>(control)) action->setVisible(visible);
    if (auto* widget = qobject_cast<QWidget*>(control)) widget->setVisible(visible);
  };
  for (const char* name : kDebugControls) show(name);
  for (const DeviceDriver& driver : drivers_) {
    if (const PageKind* kind = PageKindOf(driver, pageKinds_))
      for (const char* name : kind->debugControls) show(name);
  }
}

Link& MainWindow::link() {
  return *link_;
}
Host& MainWindow::host() {
  return *host_;
}
int MainWindow::activePage() const {
  return pageTabs_->currentIndex();
}
bool MainWindow::debugMode() const {
  return debugItem_->isChecked();
}
void MainWindow::setStatusText(const std::string& text) {
  SetStatusText(text);
}
QString MainWindow::statusText() const {
  return statusLabel_->text();
}

void MainWindow::setActivePage(int page) {
  // Program-made: blocking the signals keeps PageChanged (and its toolbar refresh) out.
  const QSignalBlocker blocker(pageTabs_);
  pageTabs_->setCurrentIndex(page);
}

void MainWindow::ShowControllerPage() {
  setActivePage(controllerPage_);
}

bool MainWindow::controllerPageShown() const {
  return activePage() == controllerPage_;
}

const DeviceModule* MainWindow::activeModule() const {
  const ModuleRow* row = ActiveRow();
  return row ? row->module : nullptr;
}

DevicePage* MainWindow::devicePage(int index) {
  return index >= 0 && size_t(index) < pages_.size() ? pages_[size_t(index)] : nullptr;
}

DevicePage* MainWindow::devicePageOf(const DeviceModule& module) {
  for (size_t page = 0; page < drivers_.size(); ++page)
    if (drivers_[page].module->deviceAddress == module.deviceAddress) return pages_[page];
  return nullptr;
}

const DeviceDriver& MainWindow::ActiveDriver() const {
  const int page = activePage();
  return page >= 0 && size_t(page) < drivers_.size() ? drivers_[size_t(page)]
                                                     : ControllerDriver(drivers_);
}

std::string MainWindow::ChooseUpdateFile(const DeviceModule& module) {
  std::string path = fileDialogs_->ChooseUpdateFile(module);
  // A close asked for while the dialog was open cancels the update: nothing is sent.
  if (closing_) path.clear();
  return path;
}

void MainWindow::RememberUpdateFile(const DeviceModule& module, const std::string& path) {
  fileDialogs_->RememberUpdateFile(module, path);
}

void MainWindow::UpdateFileLoaded(const std::string& path, const std::vector<uint8_t>& bytes) {
  if (change_)
    change_->SetFile(path,
                     std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void MainWindow::UseDataFolder(const std::string& chosen) {
  const std::string folder = DataFolderOf(chosen);
  backupFolder_ = BackupFolderIn(folder, simulated_);
  history_ = HistoryLocationIn(folder);
}

void MainWindow::UpdateNotConfirmed() {
  if (change_) change_->Finish(ChangeResult::kNotConfirmed);
}

MainWindow::RecordedChange::RecordedChange(MainWindow& window, const DeviceModule& module,
                                           const char* command)
    : window_(window),
      recorder_(*window.link_, module,
                ChangeSetting{
                    "qvr-service", command, window.simulated_, window.history_, &window.catalogue_,
                    [&window](const std::string& text) { window.host_->LogLine(text); }}) {
  window_.change_ = &recorder_;
}

LinkResult MainWindow::BackupBeforeChange(const DeviceModule& module) {
  if (!backupBeforeChange_) return LinkOk;
  const BackupRequest request{backupFolder_, backupsKept_, history_, simulated_, restoringBackup_};
  const BackupResult backup =
      BackupDeviceConfiguration(*link_, *host_, catalogue_, module, request);
  for (const std::string& remark : backup.remarks) host_->LogLine(remark);
  if (backup.ok()) {
    if (change_) change_->Identify(backup.image.serial);
    host_->LogLine(
        catalogue_.FormatText(Text(catalogue_, AddedText::kBackupSaved), backup.path.c_str()));
    return LinkOk;
  }
  const std::string reason =
      backup.link != LinkOk
          ? WithAdapterDetail(LinkResultText(catalogue_, backup.link.code()), backup.link)
          : backup.fileError;
  if (backup.link.hasPlace()) host_->LogLine(TransferPlaceText(catalogue_, backup.link));
  ShowBox(BoxKind::kError, catalogue_.FormatText(Text(catalogue_, AddedText::kBackupFailed),
                                                 module.name, reason.c_str()));
  return LinkStoppedAndShown;
}

void MainWindow::SetStatusText(const std::string& text) {
  // The notice that the window closes after the operation stays until it does.
  if (closing_) return;
  // The status bar holds one line; the log keeps a text's other lines.
  const QString all = QString::fromStdString(text);
  const QString line = all.section(QLatin1Char('\n'), 0, 0);
  // A tool tip guesses rich text on its own; the text is given as plain text made into HTML.
  const QString tip = all.contains(QLatin1Char('\n'))
                          ? Qt::convertFromPlainText(all, Qt::WhiteSpaceNormal)
                          : QString();
  // The poll repeats its text five times a second: an unchanged label is left alone, so that a
  // screen reader does not announce it again and again.
  if (statusLabel_->text() == line && statusLabel_->toolTip() == tip) return;
  // The liveness dots of the connection grow with every poll; what a screen reader hears is the
  // text without them, which changes only when the state does. (A label with a name of its own
  // announces no change of its text.)
  QString steady = line;
  while (steady.endsWith(QLatin1Char('.'))) steady.chop(1);
  if (steady.isEmpty()) steady = QStringLiteral(" ");
  if (statusLabel_->accessibleName() != steady) statusLabel_->setAccessibleName(steady);
  statusLabel_->setText(line);
  statusLabel_->setToolTip(tip);
}

void MainWindow::ConnectedChanged(bool) {
  // A replug during a command re-enables nothing: only the command's end does.
  RefreshToolbar();
}
void MainWindow::HideProgress() {
  host_->HideProgress();
}

void MainWindow::SetPollTimerEnabled(bool enabled) {
  if (enabled && !closing_) {
    pollTimer_->start();
  } else {
    pollTimer_->stop();
  }
}

void MainWindow::RunEventMenuItem(EventMenuItem item) {
  // Page 0 has no event list.
  if (DevicePage* page = activeDevicePage()) page->EventMenuAction(item);
}

void MainWindow::PageChanged() {
  RefreshToolbar();
  UpdateTitle();
}

bool MainWindow::RefusesPageChange(QObject* watched, QEvent* event) const {
  if (!busy()) return false;
  const QEvent::Type type = event->type();
  if (watched == pageTabs_->tabBar()) {
    return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ||
           type == QEvent::Wheel || type == QEvent::KeyPress;
  }
  // Ctrl+Tab and its kin switch pages from anywhere inside the page control.
  if (watched == pageTabs_ && type == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    return key->modifiers() & Qt::ControlModifier;
  }
  return false;
}

bool MainWindow::OpensPopupMenu(QObject* watched, QEvent* event) {
  const bool toolbarControl =
      watched == progressPanel_ ||
      std::find(commandButtons_.begin(), commandButtons_.end(), watched) != commandButtons_.end();
  if (!toolbarControl) return false;
  QPoint at = progressPanel_->mapToGlobal(QPoint(0, progressPanel_->height()));
  if (event->type() == QEvent::ContextMenu) {
    auto* request = static_cast<QContextMenuEvent*>(event);
    if (request->reason() == QContextMenuEvent::Mouse) at = request->globalPos();
  } else if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const bool shiftF10 = key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier;
    if (key->key() != Qt::Key_Menu && !shiftF10) return false;
  } else {
    return false;
  }
  // The menu switches the language and the debug controls: nothing of that during a command.
  if (!busy()) windowMenu_->popup(at);
  return true;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (RefusesPageChange(watched, event)) return true;
  if (OpensPopupMenu(watched, event)) return true;
  if (ShowHintWithShortcut(watched, event)) return true;
  // The toolbar's controls are watched from their creation, before the log exists.
  if (logView_ && watched == logView_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
    clearedLog_ = logView_->toPlainText();
    logView_->clear();
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace qvr
