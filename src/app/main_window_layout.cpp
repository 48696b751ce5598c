// The window's components, as laid out at design time: Russian texts, page 2 active, gauge and
// debug controls hidden, timers stopped. The start-up then applies the settings.
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
    {"SpeedButtonUpdate", ToolbarGlyph::Update, &MainWindow::SpeedButtonUpdateClick},
    {"SpeedButtonReadConfig", ToolbarGlyph::ReadConfig, &MainWindow::SpeedButtonReadConfigClick},
    {"SpeedButtonWriteConfig", ToolbarGlyph::WriteConfig, &MainWindow::SpeedButtonWriteConfigClick},
    {"SpeedButtonReadDevice", ToolbarGlyph::ReadDevice, &MainWindow::SpeedButtonReadDeviceClick},
    {"SpeedButtonWriteDevice", ToolbarGlyph::WriteDevice, &MainWindow::SpeedButtonWriteDeviceClick},
    {"SpeedButtonToDefault", ToolbarGlyph::ToDefault, &MainWindow::SpeedButtonToDefaultClick},
    {"SpeedButtonReset", ToolbarGlyph::Reset, &MainWindow::SpeedButtonResetClick},
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

  auto* bevel = new QWidget(toolBar_);
  bevel->setObjectName("Bevel1");
  bevel->setFixedSize(5, 22);
  toolBar_->addWidget(bevel);

  // Never shown: its click resets the texts to Russian, for whoever edits the table. It stays
  // out of the toolbar's layout, which would disable it along with hiding it.
  auto* languageMaker = new QToolButton(toolBar_);
  languageMaker->setObjectName("SpeedButtonLanguageMakerx");
  languageMaker->setText("L");
  languageMaker->setFixedSize(23, 22);
  languageMaker->hide();
  connect(languageMaker, &QToolButton::clicked, this, [this] { SetLanguage(0); });

  panelMenu_ = new QFrame(toolBar_);
  panelMenu_->setObjectName("PanelMenu");
  panelMenu_->setFrameShape(QFrame::NoFrame);
  panelMenu_->setFixedSize(600, 22);
  // Reached by Tab too, so that the popup menu opens from the keyboard.
  panelMenu_->setFocusPolicy(Qt::TabFocus);
  panelMenu_->setStyleSheet("QFrame#PanelMenu:focus { border: 1px dotted palette(highlight); }");
  panelMenu_->installEventFilter(this);
  toolBar_->addWidget(panelMenu_);

  gauge_ = new QProgressBar(panelMenu_);
  gauge_->setObjectName("CGaugeProgressProcent");
  gauge_->setGeometry(0, 0, 576, 22);
  gauge_->setRange(0, 100);
  gauge_->setValue(0);
  gauge_->setTextVisible(true);
  gauge_->setFormat("%p%");
  gauge_->setAlignment(Qt::AlignCenter);
  gauge_->hide();
}

void MainWindow::BuildPages() {
  auto* mainPanel = new QWidget(this);
  mainPanel->setObjectName("MainPanel");
  auto* layout = new QVBoxLayout(mainPanel);
  layout->setContentsMargins(0, 0, 0, 0);
  setCentralWidget(mainPanel);

  pageControl_ = new QTabWidget(mainPanel);
  pageControl_->setObjectName("PageControlMain");
  layout->addWidget(pageControl_);

  tabSheets_[kPageQvrb] = TabSheet("TabSheetMonitoring");
  tabSheets_[kPageMux410] = TabSheet("TabSheetMUX410x");
  tabSheets_[kPageTpx520] = TabSheet("TabSheetTPX520x");
  pageControl_->addTab(tabSheets_[kPageQvrb], DesignCaption("TabSheetMonitoring"));
  pageControl_->addTab(tabSheets_[kPageMux410], "MUX-410");
  pageControl_->addTab(tabSheets_[kPageTpx520], "TPX-520");

  memo_ = new QPlainTextEdit(tabSheets_[kPageQvrb]);
  memo_->setObjectName("Memo");
  memo_->setReadOnly(true);
  memo_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo_->viewport()->installEventFilter(this);
  tabSheets_[kPageQvrb]->layout()->addWidget(memo_);

  pageControl_->setCurrentIndex(kPageTpx520);
  pageControl_->tabBar()->installEventFilter(this);
  pageControl_->installEventFilter(this);
  connect(pageControl_, &QTabWidget::currentChanged, this, [this] { PageChanged(); });
}

void MainWindow::BuildMenus() {
  popupMenu_ = new QMenu(this);
  popupMenu_->setObjectName("PopupMenu");

  menuDebug_ = popupMenu_->addAction(DesignCaption("MenuItemDebug"));
  menuDebug_->setObjectName("MenuItemDebug");
  menuDebug_->setCheckable(true);
  connect(menuDebug_, &QAction::triggered, this, [this] { ShowDebugControls(debugMode()); });

  menuLog_ = popupMenu_->addAction(DesignCaption("MenuItemLog"));
  menuLog_->setObjectName("MenuItemLog");
  menuLog_->setCheckable(true);
  menuLog_->setVisible(false);

  menuRestore_ = popupMenu_->addAction(QString());
  menuRestore_->setObjectName("MenuItemRestoreBackupx");
  connect(menuRestore_, &QAction::triggered, this, [this] { RestoreFromBackup(); });

  menuPreview_ = popupMenu_->addAction(QString());
  menuPreview_->setObjectName("MenuItemPreviewWritex");
  menuPreview_->setCheckable(true);
  menuPreview_->setChecked(false);

  recentMenu_ = new QMenu(popupMenu_);
  recentMenu_->setObjectName("MenuItemRecentFilesx");
  popupMenu_->addMenu(recentMenu_);
  connect(popupMenu_, &QMenu::aboutToShow, this, [this] { FillRecentMenu(); });

  auto* language = new QMenu(DesignCaption("MenuItemLanguage"), popupMenu_);
  language->setObjectName("MenuItemLanguage");
  popupMenu_->addMenu(language);
  menuRussian_ = language->addAction(QString::fromUtf8("Русский"));
  menuRussian_->setObjectName("MenuItemLanguageRussianx");
  menuRussian_->setCheckable(true);
  connect(menuRussian_, &QAction::triggered, this, [this] { SetLanguage(kRussian); });
  menuEnglish_ = language->addAction("English");
  menuEnglish_->setObjectName("MenuItemLanguageEnglishx");
  menuEnglish_->setCheckable(true);
  connect(menuEnglish_, &QAction::triggered, this, [this] { SetLanguage(kEnglish); });

  eventMenu_ = new QMenu(this);
  eventMenu_->setObjectName("PopupMenuEvent_MUX410");
  const std::pair<const char*, EventMenuItem> items[] = {
      {"EventAddInLast_MUX410", EventMenuItem::AddAtEnd},
      {"EventInsert_MUX410", EventMenuItem::Insert},
      {"EventDelCurrent_MUX410", EventMenuItem::DeleteCurrent},
      {"EventDelAll_MUX410", EventMenuItem::DeleteAll},
      {"EventDelNotUsed_MUX410", EventMenuItem::DeleteUnused},
  };
  for (const auto& [name, item] : items) {
    QAction* action = eventMenu_->addAction(DesignCaption(name));
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, [this, item = item] { EventMenuClick(item); });
  }
}

void MainWindow::BuildTimers() {
  pollTimer_ = new QTimer(this);
  pollTimer_->setObjectName("TimerQVRBTest");
  pollTimer_->setInterval(200);
  onShowTimer_ = new QTimer(this);
  onShowTimer_->setObjectName("TimerOnShow");
  onShowTimer_->setInterval(1);
  closeRetryTimer_ = new QTimer(this);
  closeRetryTimer_->setInterval(50);
}

}  // namespace qvr
