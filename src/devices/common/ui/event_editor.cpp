#include "devices/common/ui/event_editor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>

#include "devices/common/device_commands.h"
#include "devices/common/ui/list_texts.h"
#include "devices/common/ui/page_host.h"
#include "editors/ui/field_checks.h"
#include "editors/ui/field_names.h"
#include "i18n/catalogue.h"
#include "i18n/cp1251.h"
#include "link/bytes.h"

namespace qvr {
EventEditor::EventEditor(PageHost& host, EventTable& table, EventEditorConfig config,
                         QWidget* parent)
    : QGroupBox(parent), host_(host), table_(table), config_(std::move(config)) {
  setObjectName(QString::fromStdString("GroupBoxEvent" + config_.suffix + "x"));
  BuildWidgets();
}

namespace {

// Keeps a widget disabled for a scope, whichever way the scope ends.
class DisabledWhile {
 public:
  explicit DisabledWhile(QWidget& widget) : widget_(widget), wasEnabled_(widget.isEnabled()) {
    widget_.setEnabled(false);
  }
  ~DisabledWhile() { widget_.setEnabled(wasEnabled_); }
  DisabledWhile(const DisabledWhile&) = delete;
  DisabledWhile& operator=(const DisabledWhile&) = delete;

 private:
  QWidget& widget_;
  bool wasEnabled_;
};

}  // namespace

int EventEditor::selectedEvent() const {
  if (leaving_ >= 0) return leaving_;
  return std::max(0, tabs_->currentIndex());
}

const DeviceModule* EventEditor::Module() const {
  return config_.module;
}

int EventEditor::SaveCurrentEvent() {
  if (table_.count() == 0) return 0;
  const int slot = selectedEvent();
  EventRecord& record = table_.record(slot);
  table_.setDescription(slot, Utf8ToCp1251(description_->text().toStdString()));
  record.input = ListValue(input_);
  record.event = ListValue(zone_);
  record.type = ListValue(type_);

  const FieldContext ctx{host_.host(), host_.catalogue(), unsigned(slot + 1)};
  uint8_t address[2] = {};
  if (CheckNumberEdit(ctx, address_, 0, 65535, address, 2) != 0) return 1;
  record.address = GetU16(address);
  uint8_t command = 0;
  if (CheckNumberEdit(ctx, command_, 0, 255, &command, 1) != 0) return 1;
  record.command = command;

  record.replay = ListValue(replay_);
  record.outTypeFreq = ListValue(output_);
  return 0;
}

int EventEditor::LeaveCurrentEvent() {
  if (SaveCurrentEvent() != 0) return 1;
  table_.eventTemplate = table_.record(table_.count() > 0 ? selectedEvent() : 0);
  return 0;
}

void EventEditor::ShowEvent(int slot) {
  const EventRecord& record = table_.record(slot);
  description_->setText(QString::fromStdString(Cp1251ToUtf8(table_.description(slot))));
  SetListValue(input_, record.input);
  SetListValue(zone_, record.event);
  SetListValue(type_, record.type);
  address_->setText(QString::number(record.address));
  command_->setText(QString::number(record.command));
  SetListValue(replay_, record.replay);
  SetListValue(output_, record.outTypeFreq);
  panel_->setVisible(true);
}

void EventEditor::ShowCurrentEvent() {
  // The hints name the event shown (none yet: without a number).
  const int slot = table_.count() > 0 ? selectedEvent() : -1;
  const QString number = slot >= 0 ? QString::number(slot + 1) : QString();
  const Catalogue& text = host_.catalogue();
  getEvent_->setToolTip(QString::fromUtf8(text.Text(MessageId::kGetEventHint)) + number);
  tabs_->setToolTip(QString::fromUtf8(text.Text(MessageId::kEventDataHint)) + number);
  getReaction_->setToolTip(QString::fromUtf8(text.Text(MessageId::kGetIrCodeHint)) + number);
  powerIr_->setToolTip(QString::fromUtf8(text.Text(MessageId::kPowerIrHint)));
  // "?", "IR" and "5V" say nothing to a screen reader: the buttons are named by their hints.
  NameButtonsByHints(this);
  if (slot >= 0) {
    table_.currentEvent = slot;
    ShowEvent(slot);
  }
  panel_->setVisible(table_.count() > 0);
  UpdateReactionPanel();
}

void EventEditor::UpdateReactionPanel() {
  const int reaction = type_->currentIndex();
  const bool hidden = reaction < 0 || (config_.sourceSelection && reaction == kSourceSelectionType);
  irPanel_->setVisible(!hidden);
}

void EventEditor::RebuildEventTabs(int index) {
  AlignCaptionColumns();  // the captions may be in another language now
  const int count = table_.count();
  if (count == 0 || index < 0 || index >= count) index = 0;
  {
    QSignalBlocker block(tabs_);
    const int wanted = std::max(count, 1);
    // A visible bar lays itself out on every added or removed tab; a hidden one once, when
    // shown again. That keeps the rebuild of a full table fast.
    const bool bulk = std::abs(tabs_->count() - wanted) > 2 && tabs_->isVisible();
    if (bulk) tabs_->setVisible(false);
    while (tabs_->count() > wanted) tabs_->removeTab(tabs_->count() - 1);
    while (tabs_->count() < wanted) tabs_->addTab(QString());
    // Every caption change lays the whole bar out again: touch only the ones that differ.
    auto caption = [this](int i, const QString& text) {
      if (tabs_->tabText(i) != text) tabs_->setTabText(i, text);
    };
    if (count == 0) {
      caption(0, QString::fromUtf8(host_.catalogue().Text(MessageId::kInsertTab)));
    } else {
      for (int i = 0; i < count; ++i) caption(i, QString::number(i + 1));
    }
    tabs_->setCurrentIndex(index);
    if (bulk) tabs_->setVisible(true);
  }
  setTitle(QString::fromStdString(host_.catalogue().Format(MessageId::kTotalEvents, unsigned(count),
                                                           unsigned(table_.capacity()))));
  ShowCurrentEvent();
}

void EventEditor::AddEventAtEnd() {
  if (table_.full()) {
    host_.host().ShowMessageBox(BoxKind::kInformation,
                                host_.catalogue().Text(MessageId::kNoRoomForEvent));
    return;
  }
  if (LeaveCurrentEvent() != 0) return;
  RememberTable();
  const std::optional<int> added = table_.AddAtEnd();
  if (!added) return;
  RebuildEventTabs(*added);
  emit edited();
}

void EventEditor::InsertEvent() {
  if (table_.full()) {
    host_.host().ShowMessageBox(BoxKind::kInformation,
                                host_.catalogue().Text(MessageId::kNoRoomForEvent));
    return;
  }
  if (LeaveCurrentEvent() != 0) return;
  RememberTable();
  const std::optional<int> inserted = table_.Insert(selectedEvent());
  if (!inserted) return;
  RebuildEventTabs(*inserted);
  emit edited();
}

void EventEditor::DeleteCurrentEvent() {
  if (table_.count() == 0) return;
  RememberTable();
  RebuildEventTabs(table_.Delete(selectedEvent()));
  emit edited();
}

void EventEditor::DeleteAllEvents() {
  if (table_.count() == 0) return;
  const BoxAnswer answer =
      host_.host().ShowMessageBox(BoxStyle{BoxKind::kQuestion, DefaultButton::kNo},
                                  host_.catalogue().Text(MessageId::kDeleteAllEventsQuestion));
  if (answer != BoxAnswer::kYes) return;
  RememberTable();
  table_.DeleteAll();
  RebuildEventTabs(0);
  emit edited();
}

void EventEditor::PruneEvents() {
  RebuildEventTabs(table_.Prune(selectedEvent()));
}

void EventEditor::MenuAction(EventMenuItem item) {
  switch (item) {
    case EventMenuItem::AddAtEnd:
      return AddEventAtEnd();
    case EventMenuItem::Insert:
      return InsertEvent();
    case EventMenuItem::DeleteCurrent:
      return DeleteCurrentEvent();
    case EventMenuItem::DeleteAll:
      return DeleteAllEvents();
    case EventMenuItem::DeleteUnused: {
      const int before = table_.count();
      RememberTable();
      PruneEvents();
      if (table_.count() != before) {
        emit edited();
      } else {
        undo_.pop_back();  // nothing was deleted
      }
      return;
    }
  }
}

void EventEditor::RememberTable() {
  // Enough for a slip of the hand; each table is small (at most 96 records).
  constexpr size_t kKept = 20;
  if (undo_.size() == kKept) undo_.erase(undo_.begin());
  undo_.push_back(table_);
}

bool EventEditor::UndoEventChange() {
  if (undo_.empty()) return false;
  table_ = undo_.back();
  undo_.pop_back();
  RebuildEventTabs(table_.currentEvent);
  emit edited();
  return true;
}

void EventEditor::SelectFirstItems() {
  for (QComboBox* list : {input_, zone_, type_, output_}) SetListValue(list, 0);
}

QComboBox* EventEditor::ListOf(uint8_t EventRecord::*field) const {
  if (field == &EventRecord::input) return input_;
  if (field == &EventRecord::event) return zone_;
  if (field == &EventRecord::type) return type_;
  if (field == &EventRecord::replay) return replay_;
  return output_;
}

int EventEditor::PointAtEventValue(int slot, uint8_t EventRecord::*field) {
  RebuildEventTabs(slot);
  uint8_t unused = 0;
  // The list shows no selection, so the check gives the drop-down message and opens it.
  (void)CheckSelection(FieldContext{host_.host(), host_.catalogue(), unsigned(slot + 1)},
                       ListOf(field), &unused, 1);
  return 1;
}

void EventEditor::TabChanged(int index) {
  if (index < 0) return;
  leaving_ = table_.currentEvent;
  const int refused = LeaveCurrentEvent();
  leaving_ = -1;
  if (refused != 0) {
    QSignalBlocker block(tabs_);
    tabs_->setCurrentIndex(table_.currentEvent);
    return;
  }
  ShowCurrentEvent();
}

void EventEditor::ZoneChosen(int index) {
  if (index == kPowerOnEvent) SetListValue(input_, kAnyInput);
}

bool EventEditor::TabKey(QKeyEvent* key) {
  const bool shiftF10 = key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier;
  if (key->key() == Qt::Key_Menu || shiftF10) {
    const QRect tab = tabs_->tabRect(std::max(0, tabs_->currentIndex()));
    if (QMenu* menu = host_.eventMenu()) menu->popup(tabs_->mapToGlobal(tab.bottomLeft()));
    return true;
  }
  // Ctrl+Z: the tab row's undo is the list's, as a text field's is its text's.
  if (key->key() == Qt::Key_Z && key->modifiers() == Qt::ControlModifier) return UndoEventChange();
  if (key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) return false;
  switch (key->key()) {
    case Qt::Key_Insert:
      InsertEvent();
      return true;
    case Qt::Key_Plus:
      AddEventAtEnd();
      return true;
    case Qt::Key_Delete:
      DeleteCurrentEvent();
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
      // The lone "Insert" tab of an empty list adds the first event, as its click does.
      if (table_.count() != 0) return false;
      AddEventAtEnd();
      return true;
    default:
      return false;
  }
}

bool EventEditor::eventFilter(QObject* watched, QEvent* event) {
  if (watched == tabs_ && event->type() == QEvent::KeyPress &&
      TabKey(static_cast<QKeyEvent*>(event))) {
    return true;
  }
  if (watched != tabs_ || event->type() != QEvent::MouseButtonPress) {
    return QGroupBox::eventFilter(watched, event);
  }
  auto* press = static_cast<QMouseEvent*>(event);
  if (press->button() == Qt::RightButton) {
    if (QMenu* menu = host_.eventMenu()) menu->popup(press->globalPosition().toPoint());
    return true;
  }
  if (press->button() == Qt::LeftButton && table_.count() == 0) {
    AddEventAtEnd();
    return true;
  }
  return QGroupBox::eventFilter(watched, event);
}

void EventEditor::GetLastEvent() {
  uint8_t reply[2] = {};
  if (ReadDeviceValue(host_.link(), host_.host(), host_.catalogue(), Module(),
                      config_.commands.getEvent, reply, 2) != LinkOk) {
    return;
  }
  if (reply[0] == 0) {
    host_.host().ShowMessageBox(BoxKind::kInformation, host_.catalogue().Text(MessageId::kNoEvent));
    return;
  }
  SetListValue(zone_, reply[0]);
  SetListValue(input_, reply[1]);
  emit edited();
}

void EventEditor::LearnIrCode() {
  uint8_t code[5] = {};
  {
    // The code belongs to the event on which learning started: the tabs and fields take no
    // input while the wait pumps messages, so no other event can be shown meanwhile.
    const Operation operation = host_.EnterOperation();
    const DisabledWhile still(*this);
    if (!WaitForIrCode(host_.link(), host_.host(), host_.catalogue(), Module(),
                       config_.commands.learnIr, code)) {
      return;
    }
  }
  // The IR panel keeps its visibility until the event is shown again.
  SetListValue(type_, code[0]);
  address_->setText(QString::number(GetU16(&code[2])));
  command_->setText(QString::number(code[4]));
  SetListValue(replay_, code[1]);
  emit edited();
}

void EventEditor::PowerIr() {
  (void)SendDeviceCommand(host_.link(), host_.host(), host_.catalogue(), Module(),
                          config_.commands.irPower, nullptr, 0);
}

void EventEditor::MakeEvent() {
  const uint8_t slot = uint8_t(selectedEvent());
  (void)SendDeviceCommand(host_.link(), host_.host(), host_.catalogue(), Module(),
                          config_.commands.makeEvent, &slot, 1);
}

}  // namespace qvr
