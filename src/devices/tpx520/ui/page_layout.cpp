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
#include <QToolButton>
#include <QVBoxLayout>

#include "devices/common/ui/description_memo.h"
#include "devices/common/ui/event_editor.h"
#include "devices/common/ui/page_builder.h"
#include "devices/common/ui/page_host.h"
#include "devices/tpx520/driver.h"
#include "devices/tpx520/ui/page_widgets.h"

namespace qvr::tpx520 {
namespace {

constexpr int kGroupSpacing = 4;
constexpr uint8_t kCmdGetEvent = 23, kCmdLearnIr = 24, kCmdIrPower = 25, kCmdMakeEvent = 23;

QGroupBox* BuildLinesAndCorners(const PageBuilder& b, QWidget* page, PageWidgets& w) {
  QGroupBox* group = b.Group("GroupBoxLineCornerTPX520", page);
  QGridLayout* grid = PageBuilder::GroupGrid(group);
  // Line numbers on the first row, corners on the second; the pairs read X+ X- Y+ Y- and
  // Xmin Xmax Ymin Ymax as the installer's sheet lists them.
  struct Cell {
    const char* caption;
    const char* text;
    const char* panel;
    TouchValue value;
    int row, column;
  };
  static constexpr Cell kCells[] = {
      {"PanelDXPLS_TPX520x", "X+", "PanelXPLS_TPX520", kLineXPlus, 0, 0},
      {"PanelDXMIN_TPX520x", "X-", "PanelXMIN_TPX520", kLineXMinus, 0, 2},
      {"PanelDYPLS_TPX520x", "Y+", "PanelYPLS_TPX520", kLineYPlus, 0, 4},
      {"PanelDYMIN_TPX520x", "Y-", "PanelYMIN_TPX520", kLineYMinus, 0, 6},
      {"PanelDCORNER_XMIN_TPX520x", "Xmin", "PanelCORNER_XMIN_TPX520", kCornerXMin, 1, 0},
      {"PanelDCORNER_XMAX_TPX520x", "Xmax", "PanelCORNER_XMAX_TPX520", kCornerXMax, 1, 2},
      {"PanelDCORNER_YMIN_TPX520x", "Ymin", "PanelCORNER_YMIN_TPX520", kCornerYMin, 1, 4},
      {"PanelDCORNER_YMAX_TPX520x", "Ymax", "PanelCORNER_YMAX_TPX520", kCornerYMax, 1, 6},
  };
  for (const Cell& cell : kCells) {
    QLabel* caption = PageBuilder::FixedLabel(cell.caption, QString::fromLatin1(cell.text), group);
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(caption, cell.row, cell.column);
    QLabel*& panel = w.touchValues[size_t(cell.value)];
    panel = PageBuilder::ValuePanel(cell.panel, group);
    grid->addWidget(panel, cell.row, cell.column + 1);
  }
  w.touchAuto = b.Tool("SpeedButtonTouchAuto_TPX520", nullptr, group);

  auto* checks = new QHBoxLayout;
  w.onlyExtTouch = b.Check("CheckBoxONLYEXTOUCH_TPX520", group);
  w.sendTo = new QCheckBox(QStringLiteral("+ MUX410"), group);
  w.sendTo->setObjectName(QStringLiteral("CheckBoxSENDTO_TPX520x"));
  checks->addWidget(w.onlyExtTouch);
  checks->addStretch(1);
  checks->addWidget(w.sendTo);
  checks->addWidget(w.touchAuto);
  grid->addLayout(checks, 2, 0, 1, 8);
  return group;
}

QGroupBox* BuildNavigation(const PageBuilder& b, QWidget* page, PageWidgets& w) {
  QGroupBox* group = b.Group("GroupBoxNaviTPX520", page);
  QGridLayout* grid = PageBuilder::GroupGrid(group);
  grid->addWidget(b.Label("PanelNaviTypeTPX520", group), 0, 0);
  w.naviType = b.List("ComboBoxNaviType_TPX520", group);
  grid->addWidget(w.naviType, 0, 1);
  w.naviAuto = b.Tool("SpeedButtonNaviAuto_TPX520", nullptr, group);
  grid->addWidget(w.naviAuto, 0, 2);
  grid->addWidget(b.Label("PanelNaviInputTPX520", group), 1, 0);
  w.naviInput = b.List("ComboBoxNaviInput_TPX520", group);
  grid->addWidget(w.naviInput, 1, 1);
  grid->setColumnStretch(1, 1);
  return group;
}

QGroupBox* BuildAction(const PageBuilder& b, QWidget* page, PageWidgets& w) {
  QGroupBox* group = b.Group("GroupBoxAction_TPX520", page);
  QGridLayout* grid = PageBuilder::GroupGrid(group);
  grid->setColumnStretch(2, 1);
  // Captions beside their fields as on the MUX-410 page; the long Russian ones wrap within the
  // column, so that the lists beside them show their longest items whole. The English ones
  // keep to one line.
  constexpr int kCaptionWidth = 130;
  grid->setColumnMinimumWidth(0, kCaptionWidth);
  auto caption = [&](const char* name, int row) {
    grid->addWidget(b.WrappedLabel(name, group, kCaptionWidth), row, 0);
  };
  auto seconds = [&](const char* name, const char* edit, const char* unit, int row) {
    caption(name, row);
    QLineEdit* field = PageBuilder::SecondsEdit(edit, group);
    grid->addWidget(field, row, 1);
    grid->addWidget(b.Label(unit, group), row, 2);
    return field;
  };
  auto list = [&](const char* name, const char* box, int row) {
    caption(name, row);
    QComboBox* field = b.List(box, group);
    grid->addWidget(field, row, 1, 1, 2);
    return field;
  };
  w.powerOnTimeout =
      seconds("PanelOnPowerTOmS_TPX520", "EditOnPowerTOmS_TPX520", "PanelOnPowerTOmSSec_TPX520", 0);
  w.onPowerOn = list("PanelOnPowerOn_TPX520", "ComboBoxOnPowerOn_TPX520", 1);
  w.outPulseMode = list("PanelOutPulseMode_TPX520", "ComboBoxOutPulseMode_TPX520", 2);
  w.pulseTimeout =
      seconds("PanelPulseTOmS_TPX520", "EditPulseTOmS_TPX520", "PanelPulseTOmSSec_TPX520", 3);
  return group;
}

QGroupBox* BuildInputs(const PageBuilder& b, QWidget* page, PageWidgets& w) {
  QGroupBox* group = b.Group("GroupBoxInputParams_TPX520", page);
  QGridLayout* grid = PageBuilder::GroupGrid(group);
  grid->addWidget(b.Label("PanelInputMASK_TPX520", group), 0, 0);
  QListWidget* mask = w.inputMask = b.CheckList("CheckListBoxInputMASK_TPX520", group);
  // Six short items in three columns of two rows, each cell as wide as the widest item.
  mask->setFlow(QListView::TopToBottom);
  mask->setWrapping(true);
  mask->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  mask->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  const QSize cell(mask->sizeHintForColumn(0) + 6, mask->sizeHintForRow(0));
  mask->setGridSize(cell);
  const int frame = 2 * mask->frameWidth() + 4;
  mask->setFixedHeight(cell.height() * 2 + frame);
  mask->setMinimumWidth(cell.width() * 3 + frame);
  grid->addWidget(mask, 1, 0);

  auto* current = new QHBoxLayout;
  current->setSpacing(6);
  w.currentInputLabel = b.Label("PanelCurrentInput_TPX520", group);
  w.currentInput = b.List("ComboBoxCurrentInput_TPX520", group);
  current->addWidget(w.currentInputLabel);
  current->addWidget(w.currentInput, 1);
  grid->addLayout(current, 2, 0);
  return group;
}

}  // namespace

PageWidgets BuildPageWidgets(PageHost& host, EventTable& events, QWidget* page) {
  PageWidgets w{};
  page->setFont(PageBuilder::PageFont(page->font()));
  const PageBuilder b(host.catalogue().language());
  auto* columns = new QHBoxLayout(page);
  columns->setContentsMargins(2, 2, 2, 2);
  columns->setSpacing(kGroupSpacing);

  auto* left = new QVBoxLayout;
  left->setSpacing(kGroupSpacing);
  w.descriptionGroup =
      b.DescriptionGroup("GroupBoxDescriptionTPX520", "MemoDescriptionTPX520", page, w.description);
  left->addWidget(w.descriptionGroup);
  left->addWidget(BuildLinesAndCorners(b, page, w));
  left->addWidget(BuildNavigation(b, page, w));
  left->addWidget(BuildAction(b, page, w));
  left->addStretch(1);

  // Three control-type groups side by side are wider than half the page in Russian, so the
  // MUTE output sits beside the input parameters.
  w.inpCtrType = b.RadioGroup("RadioGroupInpCtrType_TPX520", page);
  w.outCtrType = b.RadioGroup("RadioGroupOutCtrType_TPX520", page);
  w.muteType = b.RadioGroup("RadioGroupMuteType_TPX520", page);
  auto* controlRow = new QHBoxLayout;
  controlRow->setSpacing(kGroupSpacing);
  controlRow->addWidget(w.inpCtrType, 1);
  controlRow->addWidget(w.outCtrType, 1);
  auto* inputRow = new QHBoxLayout;
  inputRow->setSpacing(kGroupSpacing);
  inputRow->addWidget(BuildInputs(b, page, w), 1);
  inputRow->addWidget(w.muteType);

  auto* right = new QVBoxLayout;
  right->setSpacing(kGroupSpacing);
  right->addLayout(controlRow);
  right->addLayout(inputRow);
  w.events = new EventEditor(
      host, events,
      EventEditorConfig{
          "_TPX520", &kModule, false, {kCmdGetEvent, kCmdLearnIr, kCmdIrPower, kCmdMakeEvent}},
      page);
  right->addWidget(w.events, 1);

  columns->addLayout(left, 1);
  columns->addLayout(right, 1);
  return w;
}

}  // namespace qvr::tpx520
