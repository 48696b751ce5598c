// The window's components, as laid out at design time: Russian texts, the page its kind marks
// active, gauge and debug controls hidden, timers stopped. The start-up then applies the settings.
#include <QAction>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/main_window.h"
#include "app/toolbar_icons.h"
#include "devices/common/ui/list_texts.h"

namespace qvr {
namespace {

// The design-time text of a component is the Russian caption of its table row.
QString DesignCaption(const char* component) {
  return QString::fromStdString(CaptionOf(component, kRussian));
}

struct CommandButtonRow {
  const char* name;
  ToolbarGlyph glyph;
  void (MainWindow::*click)();
};

constexpr CommandButtonRow kCommandButtons[] = {
    {"SpeedButtonUpdate", ToolbarGlyph::Update, &MainWindow::UpdateFirmwareCommand},
    {"SpeedButtonReadConfig", ToolbarGlyph::ReadConfig, &MainWindow::OpenConfigFileCommand},
    {"SpeedButtonWriteConfig", ToolbarGlyph::WriteConfig, &MainWindow::SaveConfigFileCommand},
    {"SpeedButtonReadDevice", ToolbarGlyph::ReadDevice, &MainWindow::ReadDeviceCommand},
    {"SpeedButtonWriteDevice", ToolbarGlyph::WriteDevice, &MainWindow::WriteDeviceCommand},
    {"SpeedButtonToDefault", ToolbarGlyph::ToDefault, &MainWindow::ResetToDefaultCommand},
    {"SpeedButtonReset", ToolbarGlyph::Reset, &MainWindow::ResetDeviceCommand},
};

QWidget* TabSheet(const char* name) {
  auto* sheet = new QWidget;
  sheet->setObjectName(name);
  auto* layout = new QVBoxLayout(sheet);
  layout->setContentsMargins(0, 0, 0, 0);
  return sheet;
}

}  // namespace

void MainWindow::BuildWidgets() {
  setObjectName("MainForm");
  setWindowTitle(
      QString::fromStdString(catalogue_.Format(MessageId::kWindowTitle, kProgramVersion)));
  setFixedSize(784, 550);
  setWindowFlag(Qt::WindowMaximizeButtonHint, false);
  setWindowIcon(ProgramIcon());
  move(550, 442);
  BuildToolBar();
  BuildPages();
  BuildMenus();
  BuildTimers();
  BuildShortcuts();

  auto* status = new QStatusBar(this);
  status->setObjectName("StatusBar");
  status->setSizeGripEnabled(false);
  status->setFixedHeight(19);
  statusLabel_ = new QLabel(status);
  statusLabel_->setTextFormat(Qt::PlainText);
  status->addWidget(statusLabel_, 1);
  setStatusBar(status);
}

void MainWindow::BuildToolBar() {
  toolBar_ = new QToolBar(this);
  toolBar_->setObjectName("MainToolBar");
  toolBar_->setMovable(false);
  toolBar_->setFloatable(false);
  toolBar_->setFixedHeight(29);
  toolBar_->setIconSize(QSize(16, 16));
  toolBar_->setContextMenuPolicy(Qt::PreventContextMenu);
  addToolBar(Qt::TopToolBarArea, toolBar_);

  for (size_t i = 0; i < commandButtons_.size(); ++i) {
    const CommandButtonRow& row = kCommandButtons[i];
    auto* button = new QToolButton(toolBar_);
    SetupHint(button, row.name, kRussian);
    button->setFixedSize(23, 22);
    button->setIconSize(QSize(16, 16));
    button->setIcon(ToolbarIcon(row.glyph));
    button->setAutoRaise(true);
    connect(button, &QToolButton::clicked, this, row.click);
    button->installEventFilter(this);
    toolBar_->addWidget(button);
    commandButtons_[i] = button;
  }

  auto* spacer = new QWidget(toolBar_);
  spacer->setObjectName("Bevel1");
  spacer->setFixedSize(5, 22);
  toolBar_->addWidget(spacer);

  // Never shown: its click resets the texts to Russian, for whoever edits the table. It stays
  // out of the toolbar's layout, which would disable it along with hiding it.
  auto* languageMaker = new QToolButton(toolBar_);
  languageMaker->setObjectName("SpeedButtonLanguageMakerx");
  languageMaker->setText("L");
  languageMaker->setFixedSize(23, 22);
  languageMaker->hide();
  connect(languageMaker, &QToolButton::clicked, this, [this] { SetLanguage(0); });

  progressPanel_ = new QFrame(toolBar_);
  progressPanel_->setObjectName("PanelMenu");
  progressPanel_->setFrameShape(QFrame::NoFrame);
  progressPanel_->setFixedSize(600, 22);
  // Reached by Tab too, so that the popup menu opens from the keyboard.
  progressPanel_->setFocusPolicy(Qt::TabFocus);
  progressPanel_->setStyleSheet(
      "QFrame#PanelMenu:focus { border: 1px dotted palette(highlight); }");
  progressPanel_->installEventFilter(this);
  toolBar_->addWidget(progressPanel_);

  progressBar_ = new QProgressBar(progressPanel_);
  progressBar_->setObjectName("CGaugeProgressProcent");
  progressBar_->setGeometry(0, 0, 576, 22);
  progressBar_->setRange(0, 100);
  progressBar_->setValue(0);
  progressBar_->setTextVisible(true);
  progressBar_->setFormat("%p%");
  progressBar_->setAlignment(Qt::AlignCenter);
  progressBar_->hide();
}

void MainWindow::BuildPages() {
  auto* central = new QWidget(this);
  central->setObjectName("MainPanel");
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  setCentralWidget(central);

  pageTabs_ = new QTabWidget(central);
  pageTabs_->setObjectName("PageControlMain");
  layout->addWidget(pageTabs_);

  int designPage = 0;
  for (const DeviceDriver& driver : drivers_) {
    const PageKind* kind = PageKindOf(driver, pageKinds_);
    QWidget* sheet = TabSheet(kind ? kind->sheetName : driver.commandName);
    const int page = int(pageSheets_.size());
    if (driver.IsController()) controllerPage_ = page;
    if (kind && kind->activeAtDesign) designPage = page;
    pageSheets_.push_back(sheet);
    pageTabs_->addTab(sheet, kind && kind->designCaption ? DesignCaption(kind->designCaption)
                                                         : QString(driver.module->name));
  }

  logView_ = new QPlainTextEdit(pageSheets_[size_t(controllerPage_)]);
  logView_->setObjectName("Memo");
  logView_->setReadOnly(true);
  logView_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  logView_->setLineWrapMode(QPlainTextEdit::NoWrap);
  logView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  logView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  logView_->viewport()->installEventFilter(this);
  pageSheets_[size_t(controllerPage_)]->layout()->addWidget(logView_);

  pageTabs_->setCurrentIndex(designPage);
  pageTabs_->tabBar()->installEventFilter(this);
  pageTabs_->installEventFilter(this);
  connect(pageTabs_, &QTabWidget::currentChanged, this, [this] { PageChanged(); });
}

void MainWindow::BuildMenus() {
  windowMenu_ = new QMenu(this);
  windowMenu_->setObjectName("PopupMenu");

  debugItem_ = windowMenu_->addAction(DesignCaption("MenuItemDebug"));
  debugItem_->setObjectName("MenuItemDebug");
  debugItem_->setCheckable(true);
  connect(debugItem_, &QAction::triggered, this, [this] { ShowDebugControls(debugMode()); });

  packetLogItem_ = windowMenu_->addAction(DesignCaption("MenuItemLog"));
  packetLogItem_->setObjectName("MenuItemLog");
  packetLogItem_->setCheckable(true);
  packetLogItem_->setVisible(false);

  restoreItem_ = windowMenu_->addAction(QString());
  restoreItem_->setObjectName("MenuItemRestoreBackupx");
  connect(restoreItem_, &QAction::triggered, this, [this] { RestoreFromBackup(); });

  previewItem_ = windowMenu_->addAction(QString());
  previewItem_->setObjectName("MenuItemPreviewWritex");
  previewItem_->setCheckable(true);
  previewItem_->setChecked(false);

  recentMenu_ = new QMenu(windowMenu_);
  recentMenu_->setObjectName("MenuItemRecentFilesx");
  windowMenu_->addMenu(recentMenu_);
  connect(windowMenu_, &QMenu::aboutToShow, this, [this] { FillRecentMenu(); });

  auto* language = new QMenu(DesignCaption("MenuItemLanguage"), windowMenu_);
  language->setObjectName("MenuItemLanguage");
  windowMenu_->addMenu(language);
  russianItem_ = language->addAction(QString::fromUtf8("Русский"));
  russianItem_->setObjectName("MenuItemLanguageRussianx");
  russianItem_->setCheckable(true);
  connect(russianItem_, &QAction::triggered, this, [this] { SetLanguage(kRussian); });
  englishItem_ = language->addAction("English");
  englishItem_->setObjectName("MenuItemLanguageEnglishx");
  englishItem_->setCheckable(true);
  connect(englishItem_, &QAction::triggered, this, [this] { SetLanguage(kEnglish); });

  eventMenu_ = new QMenu(this);
  eventMenu_->setObjectName(EventMenuName());
  constexpr EventMenuItem kItems[] = {EventMenuItem::AddAtEnd, EventMenuItem::Insert,
                                      EventMenuItem::DeleteCurrent, EventMenuItem::DeleteAll,
                                      EventMenuItem::DeleteUnused};
  std::vector<std::pair<const char*, EventMenuItem>> items;
  for (size_t i = 0; i < std::size(kItems) && i < EventMenuItemNames().size(); ++i)
    items.emplace_back(EventMenuItemNames()[i], kItems[i]);
  for (const auto& [name, item] : items) {
    QAction* action = eventMenu_->addAction(DesignCaption(name));
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, [this, item = item] { RunEventMenuItem(item); });
  }
}

void MainWindow::BuildTimers() {
  pollTimer_ = new QTimer(this);
  pollTimer_->setObjectName("TimerQVRBTest");
  pollTimer_->setInterval(200);
  centringTimer_ = new QTimer(this);
  centringTimer_->setObjectName("TimerOnShow");
  centringTimer_->setInterval(1);
  closeRetryTimer_ = new QTimer(this);
  closeRetryTimer_->setInterval(50);
}

}  // namespace qvr
