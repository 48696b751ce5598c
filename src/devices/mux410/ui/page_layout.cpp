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
#include "devices/common/ui/page_host.h"
#include "devices/mux410/ui/page_widgets.h"
#include "editors/ui/field_checks.h"
#include "i18n/added_texts.h"
#include "i18n/catalogue.h"

namespace qvr::mux410 {
namespace {

constexpr uint8_t kCmdGetEvent = 28, kCmdLearnIr = 29, kCmdIrPower = 30, kCmdMakeEvent = 28;

class Builder {
 public:
  explicit Builder(PageHost& host) : language_(host.catalogue().language()) {}

  QLabel* Label(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    SetupLabel(label, name, language_);
    return label;
  }
  QComboBox* List(const char* name, QWidget* parent) {
    auto* list = new QComboBox(parent);
    SetupList(list, name, language_);
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list->setMinimumContentsLength(4);
    return list;
  }
  QListWidget* CheckList(const char* name, QWidget* parent) {
    auto* list = new QListWidget(parent);
    SetupCheckList(list, name, language_);
    return list;
  }
  QCheckBox* Check(const char* name, QWidget* parent) {
    auto* box = new QCheckBox(parent);
    SetupButton(box, name, language_);
    return box;
  }
  QGroupBox* Group(const char* name, QWidget* parent) {
    auto* group = new QGroupBox(parent);
    SetupGroup(group, name, language_);
    return group;
  }
  QToolButton* Tool(const char* name, const char* glyph, QWidget* parent) {
    auto* button = new QToolButton(parent);
    SetupHint(button, name, language_);
    button->setText(glyph);
    return button;
  }
  // A debug button: language-neutral caption; its hint follows the window's language.
  QToolButton* Debug(const char* name, const char* caption, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(caption);
    return button;
  }
  QLineEdit* Edit(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setAlignment(Qt::AlignRight);  // seconds line up as on the TPX-520 page
    edit->setFixedWidth(56);
    return edit;
  }
  // Mode-dependent controls keep their place when hidden, so the page does not jump.
  static void KeepPlace(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
  }

 private:
  Language language_;
};

QGridLayout* Grid(QWidget* parent) {
  auto* grid = new QGridLayout(parent);
  grid->setContentsMargins(4, 2, 4, 4);
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(2);
  return grid;
}

void BuildDescription(Builder& b, QWidget* page, PageWidgets& w) {
  w.descriptionGroup = b.Group("GroupBoxDescriptionMUX410", page);
  auto* layout = new QVBoxLayout(w.descriptionGroup);
  layout->setContentsMargins(4, 0, 4, 2);
  // The same editable text box as the TPX-520 page's: one look for one thing.
  w.description = new DescriptionMemo("MemoDescriptionMUX410", w.descriptionGroup);
  w.description->setFixedHeight(44);
  layout->addWidget(w.description);
}

QGroupBox* BuildParameters(Builder& b, QWidget* page, PageWidgets& w) {
  QGroupBox* group = b.Group("GroupBoxParamMUX410", page);
  QGridLayout* grid = Grid(group);
  w.mode = b.List("ComboBoxModeMUX410", group);
  w.getPaType = b.Tool("SpeedButtonGetPATypeMUX410", "PA?", group);
  Builder::KeepPlace(w.getPaType);
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

QGroupBox* BuildNavigation(Builder& b, QWidget* page, PageWidgets& w) {
  QGroupBox* group = b.Group("GroupBoxNaviMUX410", page);
  QGridLayout* grid = Grid(group);
  grid->setColumnStretch(0, 1);
  w.naviType = b.List("ComboBoxNaviType_MUX410", group);
  w.naviAuto = b.Tool("SpeedButtonNaviAuto_MUX410", "A", group);
  w.naviInput = b.List("ComboBoxNaviInput_MUX410", group);
  w.naviMute = b.List("ComboBoxNaviMute_MUX410", group);
  w.allTouch = b.Check("CheckBoxAllTouch_MUX410", group);
  w.beep = b.Check("CheckBoxBeep_MUX410", group);
  grid->addWidget(b.Label("PanelNaviType_MUX410", group), 0, 0, 1, 2);
  grid->addWidget(w.naviType, 1, 0);
  grid->addWidget(w.naviAuto, 1, 1);
  grid->addWidget(b.Label("PanelVaviInput_MUX410", group), 2, 0, 1, 2);
  grid->addWidget(w.naviInput, 3, 0);
  grid->addWidget(b.Label("PanelNaviMute_MUX410", group), 4, 0, 1, 2);
  grid->addWidget(w.naviMute, 5, 0);
  grid->addWidget(w.allTouch, 6, 0, 1, 2);
  grid->addWidget(w.beep, 7, 0, 1, 2);
  grid->setRowStretch(8, 1);
  return group;
}

QGroupBox* BuildInputs(Builder& b, QWidget* parent, PageWidgets& w) {
  QGroupBox* group = b.Group("GroupBoxInputParam_MUX410", parent);
  auto* column = new QVBoxLayout(group);
  column->setContentsMargins(4, 2, 4, 4);
  column->setSpacing(2);
  column->addWidget(b.Label("PanelSkipInput_MUX410", group));
  w.skipInputs = b.CheckList("CheckListBoxSkipInput_MUX410", group);
  w.skipInputs->setFixedHeight(5 * 17 + 4);
  w.skipInputs->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  column->addWidget(w.skipInputs);
  w.firstInputLabel = b.Label("PanelFirstInput_MUX410", group);
  w.firstInputLabel->setWordWrap(true);
  Builder::KeepPlace(w.firstInputLabel);
  w.firstInput = b.List("ComboBoxFirstInput_MUX410", group);
  Builder::KeepPlace(w.firstInput);
  column->addWidget(w.firstInputLabel);
  column->addWidget(w.firstInput);
  w.currentInputLabel = b.Label("PanelCurrentInput_MUX410", group);
  w.currentInputLabel->setWordWrap(true);
  w.currentInput = b.List("ComboBoxCurrentInput_MUX410", group);
  column->addWidget(w.currentInputLabel);
  column->addWidget(w.currentInput);
  column->addStretch(1);
  return group;
}

QGroupBox* BuildAction(Builder& b, PageHost& host, EventTable& events, QWidget* page,
                       PageWidgets& w) {
  QGroupBox* group = b.Group("GroupBoxActionMUX410", page);
  QGridLayout* grid = Grid(group);
  grid->setColumnStretch(3, 1);
  w.powerOnTimeout = b.Edit("EditPowerOnTO_MUX410", group);
  w.pulseTimeout = b.Edit("Edit_PulseTO_MUX410", group);
  AcceptSeconds(w.powerOnTimeout, true);
  AcceptSeconds(w.pulseTimeout);
  w.onPowerOn = b.List("ComboBoxOnPowerOn_MUX410", group);
  w.gvifMode = b.List("ComboBoxGVIFMode_MUX410", group);

  // Long captions wrap, so that the Russian ones leave room for the fields.
  auto caption = [&](const char* name) {
    QLabel* label = b.Label(name, group);
    label->setWordWrap(true);
    return label;
  };
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

  w.camOn = b.Debug("SpeedButtonCamOn_MUX410x", "CamON", group);
  w.camOff = b.Debug("SpeedButtonCamOff_MUX410x", "CamOFF", group);
  w.map = b.Debug("SpeedButtonMap_MUX410x", "M", group);
  w.log = b.Debug("SpeedButtonLog_MUX410x", "L", group);
  w.raw = b.Debug("SpeedButtonRaw_MUX410x", "R", group);
  w.set = b.Debug("SpeedButtonSet_MUX410x", "S", group);
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
          "_MUX410", kPageMux410, true, {kCmdGetEvent, kCmdLearnIr, kCmdIrPower, kCmdMakeEvent}},
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
  const std::pair<QToolButton*, AddedText> hints[] = {{w.camOn, AddedText::kHintCameraOn},
                                                      {w.camOff, AddedText::kHintCameraOff},
                                                      {w.map, AddedText::kHintMapButton},
                                                      {w.log, AddedText::kHintIebusLog}};
  for (const auto& [button, text] : hints)
    button->setToolTip(QString::fromUtf8(Text(catalogue, text)));
}

PageWidgets BuildPageWidgets(PageHost& host, EventTable& events, QWidget* page) {
  PageWidgets w{};
  Builder b(host);
  auto* outer = new QVBoxLayout(page);
  outer->setContentsMargins(2, 2, 2, 2);
  outer->setSpacing(2);
  BuildDescription(b, page, w);
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
