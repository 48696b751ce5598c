// The event editor's widgets: the tabs, the event's fields and the IR fields in two grids
// whose caption columns line up, and the buttons of the live actions.
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "devices/common/ui/event_editor.h"
#include "devices/common/ui/page_builder.h"
#include "devices/common/ui/page_host.h"
#include "editors/ui/field_checks.h"
#include "i18n/catalogue.h"

namespace qvr {
namespace {

constexpr const char* kMakeEventHint = "Выдать данное событие";  // the same in both languages

}  // namespace

std::string EventEditor::Name(const char* role) const {
  return role + config_.suffix;
}

QToolButton* EventEditor::AddButton(const char* role, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QString::fromStdString(Name(role) + "x"));
  button->setAutoRaise(false);
  return button;
}

// The event's fields and the IR fields stand in two grids, since the IR ones hide together;
// one width for both caption columns lines all fields up.
void EventEditor::AlignCaptionColumns() {
  int width = 0;
  for (const QLabel* label : panel_->findChildren<QLabel*>()) {
    width = std::max(width, label->sizeHint().width());
  }
  for (QWidget* grid : {panel_, irPanel_}) {
    static_cast<QGridLayout*>(grid->layout())->setColumnMinimumWidth(0, width);
  }
}

void EventEditor::BuildWidgets() {
  // Captions and lists are made as the pages make theirs, named for this page's events.
  const PageBuilder b(host_.catalogue().language());
  auto label = [&](const char* role, QWidget* parent) {
    return b.Label(Name(role).c_str(), parent);
  };
  auto list = [&](const char* role, QWidget* parent) { return b.List(Name(role).c_str(), parent); };
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(4, 2, 4, 4);
  outer->setSpacing(2);

  tabs_ = new QTabBar(this);
  tabs_->setObjectName(QString::fromStdString("TabControlEvent" + config_.suffix + "x"));
  tabs_->setUsesScrollButtons(true);
  tabs_->setExpanding(false);
  tabs_->setDrawBase(true);
  tabs_->installEventFilter(this);
  connect(tabs_, &QTabBar::currentChanged, this, &EventEditor::TabChanged);
  outer->addWidget(tabs_);

  panel_ = new QWidget(this);
  panel_->setObjectName(QString::fromStdString(Name("PanelEvent")));
  outer->addWidget(panel_);
  outer->addStretch(1);

  auto* grid = new QGridLayout(panel_);
  grid->setContentsMargins(0, 0, 0, 0);
  // Rows close together: the editor is the tallest part of both pages, which have to fit the
  // room a scale of 2 leaves on a 1920 x 1080 screen.
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(1);
  grid->setColumnStretch(1, 1);

  description_ = new QLineEdit(panel_);
  description_->setObjectName(QString::fromStdString(Name("EditDescriptionEvent")));
  description_->setMaxLength(kEventDescriptionSize - 1);
  grid->addWidget(label("PanelDescriptionEvent", panel_), 0, 0);
  grid->addWidget(description_, 0, 1, 1, 2);

  input_ = list("ComboBoxInputEvent", panel_);
  getEvent_ = AddButton("SpeedButtonGetEvent", panel_);
  getEvent_->setText("?");
  grid->addWidget(label("PanelInputEvent", panel_), 1, 0);
  grid->addWidget(input_, 1, 1);
  grid->addWidget(getEvent_, 1, 2);

  zone_ = list("ComboBoxZoneEvent", panel_);
  zone_->setMaxVisibleItems(18);
  makeEvent_ = AddButton("SpeedButtonMakeEvent", panel_);
  makeEvent_->setText("E");
  makeEvent_->setToolTip(QString::fromUtf8(kMakeEventHint));
  grid->addWidget(label("PanelZoneEvent", panel_), 2, 0);
  grid->addWidget(zone_, 2, 1);
  grid->addWidget(makeEvent_, 2, 2);

  type_ = list("ComboBoxIRTypeEvent", panel_);
  grid->addWidget(label("PanelIRTypeEvent", panel_), 3, 0);
  grid->addWidget(type_, 3, 1);

  irPanel_ = new QWidget(panel_);
  irPanel_->setObjectName(QString::fromStdString(Name("PanelIREvent")));
  grid->addWidget(irPanel_, 4, 0, 1, 3);
  auto* ir = new QGridLayout(irPanel_);
  ir->setContentsMargins(0, 0, 0, 0);
  ir->setHorizontalSpacing(4);
  ir->setVerticalSpacing(1);
  ir->setColumnStretch(4, 1);

  address_ = new QLineEdit(irPanel_);
  address_->setObjectName(QString::fromStdString(Name("EditAddressEvent")));
  command_ = new QLineEdit(irPanel_);
  command_->setObjectName(QString::fromStdString(Name("EditCommandEvent")));
  AcceptDigits(address_, 5);
  AcceptDigits(command_, 3);
  address_->setMaximumWidth(64);
  command_->setMaximumWidth(48);
  getReaction_ = AddButton("SpeedButtonGetReaction", irPanel_);
  getReaction_->setText("IR");
  powerIr_ = AddButton("SpeedButtonPowerIR", irPanel_);
  powerIr_->setText("5V");
  auto* buttons = new QHBoxLayout();
  buttons->setSpacing(1);
  buttons->addWidget(getReaction_);
  buttons->addWidget(powerIr_);
  ir->addWidget(label("PanelAddressCommandEvent", irPanel_), 0, 0);
  ir->addWidget(address_, 0, 1);
  ir->addWidget(command_, 0, 2);
  ir->addLayout(buttons, 0, 3);
  ir->addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding), 0, 4);

  replay_ = list("ComboBoxReplayEvent", irPanel_);
  ir->addWidget(label("PanelReplayEvent", irPanel_), 1, 0);
  ir->addWidget(replay_, 1, 1, 1, 4);
  output_ = list("ComboBoxOutputEvent", irPanel_);
  ir->addWidget(label("PanelOutputEvent", irPanel_), 2, 0);
  ir->addWidget(output_, 2, 1, 1, 4);

  // Only the user's choices run the list rules; program-made selections never do.
  connect(zone_, &QComboBox::activated, this, &EventEditor::ZoneChosen);
  if (config_.sourceSelection) {
    connect(type_, &QComboBox::activated, this, [this] { UpdateReactionPanel(); });
  }
  connect(getEvent_, &QToolButton::clicked, this, [this] { GetLastEvent(); });
  connect(getReaction_, &QToolButton::clicked, this, [this] { LearnIrCode(); });
  connect(powerIr_, &QToolButton::clicked, this, [this] { PowerIr(); });
  connect(makeEvent_, &QToolButton::clicked, this, [this] { MakeEvent(); });

  makeEvent_->setVisible(host_.debugMode());
  AlignCaptionColumns();
}

}  // namespace qvr
