// The layout of the TPX-520 page: parameters on the left, control types, inputs and the event
// editor on the right, sized for a page area of about 776 x 480.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "devices/common/ui/description_memo.h"
#include "devices/common/ui/event_editor.h"
#include "devices/common/ui/list_texts.h"
#include "devices/tpx520/ui/tpx520_page.h"
#include "devices/common/ui/page_builder.h"
#include "i18n/catalogue.h"

#include <string>

namespace qvr::tpx520 {
namespace {

constexpr int kGroupSpacing = 4;

QGridLayout* GroupGrid(QGroupBox* group) {
  auto* grid = new QGridLayout(group);
  grid->setContentsMargins(6, 4, 6, 4);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(3);
  return grid;
}

template <typename W>
W* Make(void (*setup)(W*, const std::string&, Language), const char* name, Language language,
        QWidget* parent) {
  W* widget = new W(parent);
  setup(widget, name, language);
  return widget;
}

QLabel* MakeCaption(const char* name, Language language, QWidget* parent) {
  return Make<QLabel>(SetupLabel, name, language, parent);
}
QGroupBox* MakeGroup(const char* name, Language language, QWidget* parent) {
  return Make<QGroupBox>(SetupGroup, name, language, parent);
}
QComboBox* MakeList(const char* name, Language language, QWidget* parent) {
  return Make<QComboBox>(SetupList, name, language, parent);
}

QToolButton* MakeSpeedButton(const char* name, Language language, QWidget* parent) {
  auto* button = new QToolButton(parent);
  SetupHint(button, name, language);
  button->setIcon(button->style()->standardIcon(QStyle::SP_BrowserReload));
  return button;
}

QLineEdit* MakeSecondsEdit(const char* name, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setAlignment(Qt::AlignRight);
  AcceptSeconds(edit);
  edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("50.0000")) + 16);
  return edit;
}

}  // namespace

void Page::BuildPage() {
  const Language language = host_.catalogue().language();
  auto* columns = new QHBoxLayout(this);
  columns->setContentsMargins(2, 2, 2, 2);
  columns->setSpacing(kGroupSpacing);

  auto* left = new QVBoxLayout;
  left->setSpacing(kGroupSpacing);
  left->addWidget(BuildDescriptionGroup(), 1);
  left->addWidget(BuildLineCornerGroup());
  left->addWidget(BuildNaviGroup());
  left->addWidget(BuildActionGroup());

  // Three control-type groups side by side are wider than half the page in Russian, so the
  // MUTE output sits beside the input parameters.
  inpCtrType_ = MakeRadioGroup("RadioGroupInpCtrType_TPX520", language, this);
  outCtrType_ = MakeRadioGroup("RadioGroupOutCtrType_TPX520", language, this);
  muteType_ = MakeRadioGroup("RadioGroupMuteType_TPX520", language, this);
  auto* controlRow = new QHBoxLayout;
  controlRow->setSpacing(kGroupSpacing);
  controlRow->addWidget(inpCtrType_, 1);
  controlRow->addWidget(outCtrType_, 1);
  auto* inputRow = new QHBoxLayout;
  inputRow->setSpacing(kGroupSpacing);
  inputRow->addWidget(BuildInputGroup(), 1);
  inputRow->addWidget(muteType_);

  auto* right = new QVBoxLayout;
  right->setSpacing(kGroupSpacing);
  right->addLayout(controlRow);
  right->addLayout(inputRow);
  EventEditorConfig config{"_TPX520", kPageTpx520, false, {23, 24, 25, 23}};
  editor_ = new EventEditor(host_, image_.events, config, this);
  right->addWidget(editor_, 1);

  columns->addLayout(left, 1);
  columns->addLayout(right, 1);
}

QWidget* Page::BuildDescriptionGroup() {
  const Language language = host_.catalogue().language();
  QGroupBox* group = MakeGroup("GroupBoxDescriptionTPX520", language, this);
  auto* layout = new QVBoxLayout(group);
  layout->setContentsMargins(6, 2, 6, 4);
  memo_ = new DescriptionMemo("MemoDescriptionTPX520", group);
  memo_->setMinimumHeight(memo_->fontMetrics().lineSpacing() * 2 + 12);
  layout->addWidget(memo_);
  return group;
}

QWidget* Page::BuildLineCornerGroup() {
  const Language language = host_.catalogue().language();
  QGroupBox* group = MakeGroup("GroupBoxLineCornerTPX520", language, this);
  QGridLayout* grid = GroupGrid(group);
  // Line numbers on the first row, corners on the second; the pairs read X+ X- Y+ Y- and
  // Xmin Xmax Ymin Ymax as the installer's sheet lists them.
  struct Cell {
    const char* caption;
    const char* text;
    const char* panel;
    int slot;  // index into touchPanels_ (touch block order)
    int row, column;
  };
  static constexpr Cell kCells[] = {
      {"PanelDXPLS_TPX520x", "X+", "PanelXPLS_TPX520", 0, 0, 0},
      {"PanelDXMIN_TPX520x", "X-", "PanelXMIN_TPX520", 1, 0, 2},
      {"PanelDYPLS_TPX520x", "Y+", "PanelYPLS_TPX520", 2, 0, 4},
      {"PanelDYMIN_TPX520x", "Y-", "PanelYMIN_TPX520", 3, 0, 6},
      {"PanelDCORNER_XMIN_TPX520x", "Xmin", "PanelCORNER_XMIN_TPX520", 4, 1, 0},
      {"PanelDCORNER_XMAX_TPX520x", "Xmax", "PanelCORNER_XMAX_TPX520", 6, 1, 2},
      {"PanelDCORNER_YMIN_TPX520x", "Ymin", "PanelCORNER_YMIN_TPX520", 5, 1, 4},
      {"PanelDCORNER_YMAX_TPX520x", "Ymax", "PanelCORNER_YMAX_TPX520", 7, 1, 6},
  };
  for (const Cell& cell : kCells) {
    QLabel* caption = MakeFixedCaption(cell.caption, QString::fromLatin1(cell.text), group);
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(caption, cell.row, cell.column);
    touchPanels_[size_t(cell.slot)] = MakeValuePanel(cell.panel, group);
    grid->addWidget(touchPanels_[size_t(cell.slot)], cell.row, cell.column + 1);
  }
  touchAuto_ = MakeSpeedButton("SpeedButtonTouchAuto_TPX520", language, group);

  auto* checks = new QHBoxLayout;
  onlyExtTouch_ = new QCheckBox(group);
  SetupButton(onlyExtTouch_, "CheckBoxONLYEXTOUCH_TPX520", language);
  sendTo_ = new QCheckBox(QStringLiteral("+ MUX410"), group);
  sendTo_->setObjectName(QStringLiteral("CheckBoxSENDTO_TPX520x"));
  checks->addWidget(onlyExtTouch_);
  checks->addStretch(1);
  checks->addWidget(sendTo_);
  checks->addWidget(touchAuto_);
  grid->addLayout(checks, 2, 0, 1, 8);
  connect(touchAuto_, &QToolButton::clicked, this, &Page::RunTouchLineSetup);
  return group;
}

QWidget* Page::BuildNaviGroup() {
  const Language language = host_.catalogue().language();
  QGroupBox* group = MakeGroup("GroupBoxNaviTPX520", language, this);
  QGridLayout* grid = GroupGrid(group);
  grid->addWidget(MakeCaption("PanelNaviTypeTPX520", language, group), 0, 0);
  naviType_ = MakeList("ComboBoxNaviType_TPX520", language, group);
  grid->addWidget(naviType_, 0, 1);
  naviAuto_ = MakeSpeedButton("SpeedButtonNaviAuto_TPX520", language, group);
  grid->addWidget(naviAuto_, 0, 2);
  grid->addWidget(MakeCaption("PanelNaviInputTPX520", language, group), 1, 0);
  naviInput_ = MakeList("ComboBoxNaviInput_TPX520", language, group);
  grid->addWidget(naviInput_, 1, 1);
  grid->setColumnStretch(1, 1);
  connect(naviAuto_, &QToolButton::clicked, this, &Page::RunNaviAutoSetup);
  return group;
}

QWidget* Page::BuildActionGroup() {
  const Language language = host_.catalogue().language();
  QGroupBox* group = MakeGroup("GroupBoxAction_TPX520", language, this);
  auto* layout = new QVBoxLayout(group);
  layout->setContentsMargins(6, 2, 6, 4);
  layout->setSpacing(2);
  // A caption above each control: the Russian captions are too long to share a line.
  auto addSeconds = [&](const char* caption, const char* edit, const char* unit) {
    layout->addWidget(MakeCaption(caption, language, group));
    auto* row = new QHBoxLayout;
    QLineEdit* field = MakeSecondsEdit(edit, group);
    row->addWidget(field);
    row->addWidget(MakeCaption(unit, language, group));
    row->addStretch(1);
    layout->addLayout(row);
    return field;
  };
  auto addList = [&](const char* caption, const char* list) {
    layout->addWidget(MakeCaption(caption, language, group));
    QComboBox* box = MakeList(list, language, group);
    layout->addWidget(box);
    return box;
  };
  powerOnTimeout_ =
      addSeconds("PanelOnPowerTOmS_TPX520", "EditOnPowerTOmS_TPX520", "PanelOnPowerTOmSSec_TPX520");
  onPowerOn_ = addList("PanelOnPowerOn_TPX520", "ComboBoxOnPowerOn_TPX520");
  outPulseMode_ = addList("PanelOutPulseMode_TPX520", "ComboBoxOutPulseMode_TPX520");
  pulseTimeout_ =
      addSeconds("PanelPulseTOmS_TPX520", "EditPulseTOmS_TPX520", "PanelPulseTOmSSec_TPX520");
  return group;
}

QWidget* Page::BuildInputGroup() {
  const Language language = host_.catalogue().language();
  QGroupBox* group = MakeGroup("GroupBoxInputParams_TPX520", language, this);
  QGridLayout* grid = GroupGrid(group);
  grid->addWidget(MakeCaption("PanelInputMASK_TPX520", language, group), 0, 0);
  inputMask_ = Make<QListWidget>(SetupCheckList, "CheckListBoxInputMASK_TPX520", language, group);
  // Six short items in three columns of two rows, each cell as wide as the widest item.
  inputMask_->setFlow(QListView::TopToBottom);
  inputMask_->setWrapping(true);
  inputMask_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  inputMask_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  const QSize cell(inputMask_->sizeHintForColumn(0) + 6, inputMask_->sizeHintForRow(0));
  inputMask_->setGridSize(cell);
  const int frame = 2 * inputMask_->frameWidth() + 4;
  inputMask_->setFixedHeight(cell.height() * 2 + frame);
  inputMask_->setMinimumWidth(cell.width() * 3 + frame);
  grid->addWidget(inputMask_, 1, 0);

  auto* current = new QHBoxLayout;
  current->setSpacing(6);
  currentInputCaption_ = MakeCaption("PanelCurrentInput_TPX520", language, group);
  currentInputCaption_->installEventFilter(this);
  currentInput_ = MakeList("ComboBoxCurrentInput_TPX520", language, group);
  current->addWidget(currentInputCaption_);
  current->addWidget(currentInput_, 1);
  grid->addLayout(current, 2, 0);
  connect(currentInput_, &QComboBox::activated, this, &Page::SelectCurrentInput);
  return group;
}

}  // namespace qvr::tpx520
