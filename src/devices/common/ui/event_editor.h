#pragma once
// The event list editor of both device pages: a group box with one tab per event, the panel of
// the selected event's fields, the shared pop-up menu and the live event buttons. It edits a
// qvr::EventTable and is configured per device (component suffix, reaction list rule, device
// commands). Component names are "<Kind><Role>Event<suffix>" so the translation walk finds
// them; the group box, the tab bar and the four buttons end in "x" (texts set here).
#include <QGroupBox>
#include <cstdint>
#include <string>
#include <vector>

#include "devices/common/event_table.h"
#include "devices/common/ui/device_page.h"

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QTabBar;
class QToolButton;

namespace qvr {

class PageHost;

struct EventEditorCommands {
  uint8_t getEvent;   // ReadDeviceValue, 2 bytes: event code, input
  uint8_t learnIr;    // WaitForIrCode: type, replay, address (u16), command
  uint8_t irPower;    // SendDeviceCommand, no data
  uint8_t makeEvent;  // SendDeviceCommand, 1 byte: the selected tab index
};

struct EventEditorConfig {
  std::string suffix;          // the object names' suffix of the kind ("_<KIND>")
  const DeviceModule* module;  // the device the live buttons' requests go to
  // With source selection the reaction list ends with "Source selection" (item 10), which hides
  // the IR panel, and the panel follows every user choice of a reaction. Without it the panel is
  // hidden only without a reaction and follows a new reaction when the event is shown again.
  bool sourceSelection;
  EventEditorCommands commands;
};

inline constexpr int kSourceSelectionType = 10;
inline constexpr int kPowerOnEvent = 1;
inline constexpr int kAnyInput = 7;

class EventEditor : public QGroupBox {
  Q_OBJECT

 public:
  // The lists are filled from the translation table in the catalogue's current language; the
  // capacity is the table's.
  EventEditor(PageHost& host, EventTable& table, EventEditorConfig config, QWidget* parent);

  // Stores the panel into the selected event: 0 stored (or no events), 1 refused by the
  // address or command check. A list left without a selection by a value beyond it keeps
  // that value (the device write refuses it; a file keeps it).
  int SaveCurrentEvent();
  // SaveCurrentEvent, and on success the selected record becomes the template.
  int LeaveCurrentEvent();
  void ShowEvent(int slot);
  // Remembers the selected tab as current, sets the hints, shows it, panel visibility.
  void ShowCurrentEvent();
  void UpdateReactionPanel();
  // Tabs "1".."n" (or "Insert"), selects `index`, caption " Total events n of capacity ".
  void RebuildEventTabs(int index);
  void AddEventAtEnd();
  void InsertEvent();
  void DeleteCurrentEvent();
  void DeleteAllEvents();  // asks first
  void PruneEvents();      // the panel is reloaded from the table, unsaved edits are dropped
  void MenuAction(EventMenuItem item);
  // Brings back the event list as it was before the last add, insert or delete (Ctrl+Z on the
  // tab row); false when there is nothing to undo.
  bool UndoEventChange();
  // A table read or loaded anew has no earlier states to go back to.
  void ForgetEventChanges() { undo_.clear(); }

  // Start-up: item 0 in the input, event, reaction and output lists.
  void SelectFirstItems();
  // A device write refused a value of event `slot` that its list cannot show: shows that
  // event, the drop-down message on the list, opens it and points at it. Answers 1.
  int PointAtEventValue(int slot, uint8_t EventRecord::*field);

  // Live buttons, also reachable for tests.
  void GetLastEvent();  // event and input lists from the device's last event
  void LearnIrCode();   // reaction, address, command, replay from a remote control
  void PowerIr();
  void MakeEvent();  // the device issues the selected event of its stored table

  int selectedEvent() const;
  EventTable& table() { return table_; }

  QTabBar* tabBar() const { return tabs_; }
  QWidget* eventPanel() const { return panel_; }
  QWidget* irPanel() const { return irPanel_; }
  QLineEdit* descriptionEdit() const { return description_; }
  QComboBox* inputList() const { return input_; }
  QComboBox* zoneList() const { return zone_; }
  QComboBox* typeList() const { return type_; }
  QLineEdit* addressEdit() const { return address_; }
  QLineEdit* commandEdit() const { return command_; }
  QComboBox* replayList() const { return replay_; }
  QComboBox* outputList() const { return output_; }

 signals:
  // The event list or the shown event changed by a command (the event menu, the device's last
  // event, a learned IR code), not by typing in a field.
  void edited();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildWidgets();
  // One width for the caption columns of the event's grid and the IR grid lines all fields up.
  void AlignCaptionColumns();
  QToolButton* AddButton(const char* role, QWidget* parent);
  std::string Name(const char* role) const;  // role + suffix
  void TabChanged(int index);
  // Keys on the focused tab row: Insert inserts, + adds at the end, Delete deletes, the menu
  // key and Shift+F10 open the event menu; true when the key was used.
  bool TabKey(QKeyEvent* key);
  void ZoneChosen(int index);
  // Keeps the table as it is now for UndoEventChange, before a change of the list.
  void RememberTable();
  QComboBox* ListOf(uint8_t EventRecord::*field) const;
  const DeviceModule* Module() const;

  PageHost& host_;
  EventTable& table_;
  EventEditorConfig config_;
  int leaving_ = -1;              // the tab being left while a tab change is decided
  std::vector<EventTable> undo_;  // the tables before the latest list changes, newest last

  QTabBar* tabs_ = nullptr;
  QWidget* panel_ = nullptr;
  QWidget* irPanel_ = nullptr;
  QLineEdit* description_ = nullptr;
  QComboBox* input_ = nullptr;
  QComboBox* zone_ = nullptr;
  QComboBox* type_ = nullptr;
  QLineEdit* address_ = nullptr;
  QLineEdit* command_ = nullptr;
  QComboBox* replay_ = nullptr;
  QComboBox* output_ = nullptr;
  QToolButton* getEvent_ = nullptr;
  QToolButton* getReaction_ = nullptr;
  QToolButton* powerIr_ = nullptr;
  QToolButton* makeEvent_ = nullptr;
};

}  // namespace qvr
