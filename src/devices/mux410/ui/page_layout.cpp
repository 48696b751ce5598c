// The MUX-410 page layout: the description across the top; parameters and navigation on the
// left; the action box on the right with the input parameters and the event editor side by
// side at its bottom.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include "devices/common/ui/description_memo.h"
#include "devices/common/ui/event_editor.h"
#include "devices/common/ui/list_texts.h"
#include "devices/common/ui/page_builder.h"
#include "devices/common/ui/page_host.h"
#include "devices/mux410/driver.h"
#include "devices/mux410/ui/page_widgets.h"
#include "i18n/added_texts.h"
#include "i18n/catalogue.h"

namespace qvr::mux410 {
namespace {

constexpr uint8_t kCmdGetEvent = 28, kCmdLearnIr = 29, kCmdIrPower = 30, kCmdMakeEvent = 28;

QGroupBox* BuildParameters(const PageBuilder& b, QWidget* page, PageWidgets& w) {
  QGroupBox* group = b.Group("GroupBoxParamMUX410", page);
  QGridLayout* grid = PageBuilder::GroupGrid(group);
  w.mode = b.List("ComboBoxModeMUX410", group);
  w.getPaType = b.Tool("SpeedButtonGetPATypeMUX410", "PA?", group);
  PageBuilder::KeepPlace(w.getPaType);
  auto* modeRow = new QHBoxLayout();
  modeRow->setSpacing(6);
  modeRow->addWidget(b.Label("PanelModeMUX410", group));
  modeRow->addWidget(w.mode, 1);
  modeRow->addWidget(w.getPaType);
  grid->addLayout(modeRow, 0, 0, 1, 2);
  const char* names[kDparBitCount] = {"CheckBoxCIR_MUX410",     "CheckBoxTPX_MUX410",
                                      "CheckBoxLX570_MUX410",   "CheckBoxGabar_MUX410",
                                      "CheckBoxResGFIV_MUX410", "CheckBoxActPA_MUX410"};
  for (int bit = 0; bit < kDparBitCount; ++bit) {
    w.dpar[size_t(bit)] = b.Check(names[bit], group);
    grid->addWidget(w.dpar[size_t(bit)], 1 + bit / 2, bit % 2);
  }
  return group;
}

QGroupBox* BuildNavigation(const PageBuilder& b, QWidget* page, PageWidgets& w) {
  QGroupBox* group = b.Group("GroupBoxNaviMUX410", page);
  QGridLayout* grid = PageBuilder::GroupGrid(group);
  grid->setColumnStretch(1, 1);
  w.naviType = b.List("ComboBoxNaviType_MUX410", group);
  w.naviAuto = b.Tool("SpeedButtonNaviAuto_MUX410", "A", group);
  w.naviInput = b.List("ComboBoxNaviInput_MUX410", group);
  w.naviMute = b.List("ComboBoxNaviMute_MUX410", group);
  w.allTouch = b.Check("CheckBoxAllTouch_MUX410", group);
  w.beep = b.Check("CheckBoxBeep_MUX410", group);
  // Captions beside their lists as on the TPX-520 page; in this narrow column the longer ones
  // wrap onto a second line instead of pushing the lists out of the group.
  constexpr int kCaptionWidth = 100;
  grid->setColumnMinimumWidth(0, kCaptionWidth);
  auto caption = [&](const char* name, int row) {
    grid->addWidget(b.WrappedLabel(name, group, kCaptionWidth), row, 0);
  };
  caption("PanelNaviType_MUX410", 0);
  grid->addWidget(w.naviType, 0, 1);
  grid->addWidget(w.naviAuto, 0, 2);
  caption("PanelVaviInput_MUX410", 1);
  grid->addWidget(w.naviInput, 1, 1);
  caption("PanelNaviMute_MUX410", 2);
  grid->addWidget(w.naviMute, 2, 1);
  grid->addWidget(w.allTouch, 3, 0, 1, 3);
  grid->addWidget(w.beep, 4, 0, 1, 3);
  grid->setRowStretch(5, 1);
  return group;
}

QGroupBox* BuildInputs(const PageBuilder& b, QWidget* parent, PageWidgets& w) {
  QGroupBox* group = b.Group("GroupBoxInputParam_MUX410", parent);
  auto* column = new QVBoxLayout(group);
  column->setContentsMargins(4, 2, 4, 4);
  column->setSpacing(2);
  column->addWidget(b.Label("PanelSkipInput_MUX410", group));
  w.skipInputs = b.CheckList("CheckListBoxSkipInput_MUX410", group);
  // Exactly its five items high: no blank row under them.
  w.skipInputs->setFixedHeight(w.skipInputs->sizeHintForRow(0) * w.skipInputs->count() +
                               2 * w.skipInputs->frameWidth() + 2);
  w.skipInputs->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  column->addWidget(w.skipInputs);
  w.firstInputLabel = b.WrappedLabel("PanelFirstInput_MUX410", group);
  PageBuilder::KeepPlace(w.firstInputLabel);
  w.firstInput = b.List("ComboBoxFirstInput_MUX410", group);
  PageBuilder::KeepPlace(w.firstInput);
  column->addWidget(w.firstInputLabel);
  column->addWidget(w.firstInput);
  w.currentInputLabel = b.WrappedLabel("PanelCurrentInput_MUX410", group);
  w.currentInput = b.List("ComboBoxCurrentInput_MUX410", group);
  column->addWidget(w.currentInputLabel);
  column->addWidget(w.currentInput);
  column->addStretch(1);
  return group;
}

QGroupBox* BuildAction(const PageBuilder& b, PageHost& host, EventTable& events, QWidget* page,
                       PageWidgets& w) {
  QGroupBox* group = b.Group("GroupBoxActionMUX410", page);
  QGridLayout* grid = PageBuilder::GroupGrid(group);
  grid->setColumnStretch(3, 1);
  // The power-on field also takes the debug raw command's hex bytes.
  w.powerOnTimeout = PageBuilder::SecondsEdit("EditPowerOnTO_MUX410", group, true);
  w.pulseTimeout = PageBuilder::SecondsEdit("Edit_PulseTO_MUX410", group);
  w.onPowerOn = b.List("ComboBoxOnPowerOn_MUX410", group);
  w.gvifMode = b.List("ComboBoxGVIFMode_MUX410", group);

  // Long captions wrap, so that the Russian ones leave room for the fields.
  auto caption = [&](const char* name) { return b.WrappedLabel(name, group); };
  grid->setColumnMinimumWidth(0, 170);
  grid->addWidget(caption("PanelPowerOnTO_MUX410"), 0, 0);
  grid->addWidget(w.powerOnTimeout, 0, 1);
  grid->addWidget(b.Label("PanelPowerOnTOSecond_MUX410", group), 0, 2);
  grid->addWidget(caption("PanelOnPowerOn_MUX410"), 1, 0);
  grid->addWidget(w.onPowerOn, 1, 1, 1, 3);
  grid->addWidget(caption("PanelGVIFMode_MUX410"), 2, 0);
  grid->addWidget(w.gvifMode, 2, 1, 1, 3);
  grid->addWidget(caption("PanelPulseTO_MUX410"), 3, 0);
  grid->addWidget(w.pulseTimeout, 3, 1);
  grid->addWidget(b.Label("PanelPulseTOSecond_MUX410", group), 3, 2);

  w.camOn = PageBuilder::Debug("SpeedButtonCamOn_MUX410x", "CamON", group);
  w.camOff = PageBuilder::Debug("SpeedButtonCamOff_MUX410x", "CamOFF", group);
  w.map = PageBuilder::Debug("SpeedButtonMap_MUX410x", "M", group);
  w.log = PageBuilder::Debug("SpeedButtonLog_MUX410x", "L", group);
  w.raw = PageBuilder::Debug("SpeedButtonRaw_MUX410x", "R", group);
  w.set = PageBuilder::Debug("SpeedButtonSet_MUX410x", "S", group);
  ShowDebugHints(w, host.catalogue());
  auto* debugRow = new QHBoxLayout();
  debugRow->setSpacing(1);
  debugRow->addStretch(1);
  for (QToolButton* button : {w.camOn, w.camOff, w.map, w.log, w.raw, w.set}) {
    debugRow->addWidget(button);
    button->setVisible(host.debugMode());
  }
  grid->addLayout(debugRow, 0, 3);

  w.events = new EventEditor(
      host, events,
      EventEditorConfig{
          "_MUX410", &kModule, true, {kCmdGetEvent, kCmdLearnIr, kCmdIrPower, kCmdMakeEvent}},
      group);
  auto* bottom = new QHBoxLayout();
  bottom->setSpacing(4);
  QGroupBox* inputs = BuildInputs(b, group, w);
  inputs->setFixedWidth(150);
  bottom->addWidget(inputs);
  bottom->addWidget(w.events, 1);
  grid->addLayout(bottom, 4, 0, 1, 4);
  grid->setRowStretch(4, 1);
  return group;
}

}  // namespace

void ShowDebugHints(const PageWidgets& w, const Catalogue& catalogue) {
  const std::pair<QToolButton*, AddedText> hints[] = {
      {w.camOn, AddedText::kHintCameraOn}, {w.camOff, AddedText::kHintCameraOff},
      {w.map, AddedText::kHintMapButton},  {w.log, AddedText::kHintIebusLog},
      {w.raw, AddedText::kHintRawButton},  {w.set, AddedText::kHintSetButton}};
  for (const auto& [button, text] : hints)
    button->setToolTip(QString::fromUtf8(Text(catalogue, text)));
}

PageWidgets BuildPageWidgets(PageHost& host, EventTable& events, QWidget* page) {
  PageWidgets w{};
  page->setFont(PageBuilder::PageFont(page->font()));
  const PageBuilder b(host.catalogue().language());
  auto* outer = new QVBoxLayout(page);
  outer->setContentsMargins(2, 2, 2, 2);
  outer->setSpacing(2);
  w.descriptionGroup =
      b.DescriptionGroup("GroupBoxDescriptionMUX410", "MemoDescriptionMUX410", page, w.description);
  outer->addWidget(w.descriptionGroup);

  auto* columns = new QHBoxLayout();
  columns->setSpacing(2);
  auto* left = new QVBoxLayout();
  left->setSpacing(2);
  left->addWidget(BuildParameters(b, page, w));
  left->addWidget(BuildNavigation(b, page, w), 1);
  columns->addLayout(left);
  columns->addWidget(BuildAction(b, host, events, page, w), 1);
  outer->addLayout(columns, 1);
  return w;
}

}  // namespace qvr::mux410
