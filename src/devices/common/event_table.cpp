#include "devices/common/event_table.h"

#include <algorithm>

namespace qvr {

namespace {

std::string CutDescription(std::string_view text) {
  text = text.substr(0, std::min(text.find('\0'), text.size()));
  return std::string(text.substr(0, kEventDescriptionSize - 1));
}

}  // namespace

EventTable::EventTable(int capacity)
    : capacity_(std::max(capacity, 0)),
      records_(size_t(capacity_)),
      descriptions_(size_t(capacity_)) {}

void EventTable::setCount(int count) {
  count_ = std::clamp(count, 0, capacity_);
  for (int slot = count_; slot < capacity_; ++slot) ZeroSlot(slot);
}

std::string EventTable::description(int slot) const {
  return descriptions_[size_t(slot)];
}

void EventTable::setDescription(int slot, std::string_view text) {
  descriptions_[size_t(slot)] = CutDescription(text);
}

void EventTable::Clear() {
  for (int slot = 0; slot < capacity_; ++slot) ZeroSlot(slot);
  count_ = 0;
  currentEvent = 0;
  eventTemplate = EventRecord{};
}

std::optional<int> EventTable::AddAtEnd() {
  if (full()) return std::nullopt;
  ++count_;
  for (int slot = count_ - 1; slot < capacity_; ++slot) ZeroSlot(slot);
  ApplyTemplate(count_ - 1);
  return count_ - 1;
}

std::optional<int> EventTable::Insert(int slot) {
  if (full()) return std::nullopt;
  slot = std::clamp(slot, 0, count_);
  for (int from = capacity_ - 2; from >= slot; --from) MoveSlot(from, from + 1);
  ++count_;
  ZeroSlot(slot);
  ApplyTemplate(slot);
  return slot;
}

int EventTable::Delete(int slot) {
  if (count_ == 0) return 0;
  if (slot < 0 || slot >= count_) return count_ - 1;
  for (int from = slot + 1; from < count_; ++from) MoveSlot(from, from - 1);
  --count_;
  ZeroSlot(count_);
  return count_ > 0 ? count_ - 1 : 0;
}

void EventTable::DeleteAll() {
  for (int slot = 0; slot < capacity_; ++slot) ZeroSlot(slot);
  count_ = 0;
}

int EventTable::Prune(int selected) {
  int kept = 0;
  for (int slot = 0; slot < capacity_; ++slot) {
    if (!records_[size_t(slot)].used()) continue;
    if (slot != kept) MoveSlot(slot, kept);
    ++kept;
  }
  count_ = kept;
  for (int slot = kept; slot < capacity_; ++slot) ZeroSlot(slot);
  return selected >= 0 && selected < count_ ? selected : 0;
}

void EventTable::ApplyTemplate(int slot) {
  EventRecord& record = records_[size_t(slot)];
  const EventRecord& from = eventTemplate;
  if (record.input == 0) record.input = from.input;
  int filled = 0;
  if (record.type == 0 && from.type != 0) {
    record.type = from.type;
    ++filled;
  }
  if (record.address == 0 && from.address != 0) {
    record.address = from.address;
    ++filled;
  }
  if (filled == 2) {
    record.replay = from.replay;
    record.outTypeFreq = from.outTypeFreq;
  }
}

void EventTable::ZeroSlot(int slot) {
  records_[size_t(slot)] = EventRecord{};
  descriptions_[size_t(slot)].clear();
}

void EventTable::MoveSlot(int from, int to) {
  records_[size_t(to)] = records_[size_t(from)];
  descriptions_[size_t(to)] = std::move(descriptions_[size_t(from)]);
  descriptions_[size_t(from)].clear();
}

}  // namespace qvr
