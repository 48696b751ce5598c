#pragma once
// The event table of a device with its editor rules (add, insert, delete, delete all, prune,
// template pre-fill), written once for both devices with the capacity as a parameter.
// Descriptions are Windows-1251 bytes, at most 99, and move with their records.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "devices/common/event_record.h"

namespace qvr {

inline constexpr int kEventDescriptionSize = 100;  // 99 characters and a terminator

class EventTable {
 public:
  explicit EventTable(int capacity);

  int capacity() const { return capacity_; }
  int count() const { return count_; }
  // For readers that fill records directly; slots from `count` on must be zero.
  void setCount(int count);

  EventRecord& record(int slot) { return records_[size_t(slot)]; }
  const EventRecord& record(int slot) const { return records_[size_t(slot)]; }
  std::string description(int slot) const;               // up to its terminator
  void setDescription(int slot, std::string_view text);  // cut to 99 bytes

  int currentEvent = 0;       // the tab last shown
  EventRecord eventTemplate;  // the record last stored by leaving an event

  void Clear();  // no events, all slots and descriptions zero, template and current zero

  bool full() const { return count_ == capacity_; }
  // Appends an empty event pre-filled from the template; returns its slot, none when full.
  std::optional<int> AddAtEnd();
  // Inserts an empty, pre-filled event at `slot`, moving the later ones down; none when full.
  std::optional<int> Insert(int slot);
  // Removes `slot`, moving the later ones up; returns the slot to select (the last event).
  int Delete(int slot);
  void DeleteAll();
  // Packs the used records to the front; returns the slot to select afterwards: `selected`
  // when it is still inside the table, else 0.
  int Prune(int selected);
  // Pre-fill of a new empty event: input when 0, type and address when 0 and the template's
  // are not, and replay and output when both type and address were taken.
  void ApplyTemplate(int slot);

 private:
  void ZeroSlot(int slot);
  void MoveSlot(int from, int to);

  int capacity_;
  int count_ = 0;
  std::vector<EventRecord> records_;
  std::vector<std::string> descriptions_;
};

}  // namespace qvr
