#include "devices/common/event_table.h"

#include <gtest/gtest.h>

#include <string>

namespace qvr {
namespace {

EventRecord Used(uint8_t input, uint16_t address) {
  EventRecord r;
  r.input = input;
  r.event = 11;
  r.type = 1;
  r.address = address;
  r.command = 17;
  return r;
}

// A table of `count` used events; event n (from 1) has address n and description "Dn".
EventTable Numbered(int count, int capacity = 96) {
  EventTable table(capacity);
  table.setCount(count);
  for (int i = 0; i < count; ++i) {
    table.record(i) = Used(1, uint16_t(i + 1));
    table.setDescription(i, std::string("D").append(std::to_string(i + 1)));
  }
  return table;
}

TEST(EventRecordBytes, LittleEndianAddressAndFieldOrder) {
  EventRecord r{7, 11, 8, 1, 2, 0x1234, 0x56};
  auto bytes = r.Encode();
  EXPECT_EQ(bytes, (std::array<uint8_t, 8>{7, 11, 8, 1, 2, 0x34, 0x12, 0x56}));
  EXPECT_EQ(EventRecord::Decode(bytes.data()), r);
}

TEST(EventTableEdits, InsertBeforeTheThirdOfFiveMovesLaterEventsWithTheirDescriptions) {
  EventTable table = Numbered(5);
  EXPECT_EQ(table.Insert(2), 2);
  ASSERT_EQ(table.count(), 6);
  EXPECT_FALSE(table.record(2).used());
  EXPECT_EQ(table.description(2), "");
  for (int n = 3; n <= 5; ++n) {
    EXPECT_EQ(table.record(n).address, n) << n;  // former event n is now event n + 1
    EXPECT_EQ(table.description(n), std::string("D").append(std::to_string(n)));
  }
  EXPECT_EQ(table.description(1), "D2");
}

TEST(EventTableEdits, DeleteSelectsTheLastEventAndClearsTheFreedSlot) {
  EventTable table = Numbered(4);
  EXPECT_EQ(table.Delete(1), 2);  // event 2 of 4: the last of the three remaining is selected
  EXPECT_EQ(table.count(), 3);
  EXPECT_EQ(table.record(1).address, 3);
  EXPECT_EQ(table.description(1), "D3");
  EXPECT_EQ(table.record(3), EventRecord{});
  EXPECT_EQ(table.description(3), "");

  EventTable single = Numbered(1);
  EXPECT_EQ(single.Delete(0), 0);
  EXPECT_EQ(single.count(), 0);
  EXPECT_EQ(single.Delete(0), 0);  // nothing left: no change
}

TEST(EventTableEdits, PrunePacksUsedEventsAndKeepsTheSelectionWhenStillInside) {
  auto fiveWithTwoUsed = [] {
    EventTable table = Numbered(5);
    for (int slot : {0, 2, 3}) table.record(slot).type = 0;  // only events 2 and 5 are used
    return table;
  };
  EventTable table = fiveWithTwoUsed();
  EXPECT_EQ(table.Prune(3), 0);  // event 4 was selected: event 1 afterwards
  EXPECT_EQ(table.count(), 2);
  EXPECT_EQ(table.record(0).address, 2);
  EXPECT_EQ(table.description(0), "D2");
  EXPECT_EQ(table.record(1).address, 5);
  EXPECT_EQ(table.description(1), "D5");
  for (int slot = 2; slot < 5; ++slot) {
    EXPECT_EQ(table.record(slot), EventRecord{});
    EXPECT_EQ(table.description(slot), "");
  }
  EventTable again = fiveWithTwoUsed();
  EXPECT_EQ(again.Prune(1), 1);  // event 2 was selected: event 2 stays selected
}

TEST(EventTableEdits, FullTableRefusesAddAndInsert) {
  EventTable table = Numbered(64, 64);
  EXPECT_TRUE(table.full());
  EXPECT_EQ(table.AddAtEnd(), std::nullopt);
  EXPECT_EQ(table.Insert(0), std::nullopt);
  EXPECT_EQ(table.count(), 64);
  EXPECT_EQ(table.record(0).address, 1);
  EXPECT_EQ(table.description(63), "D64");
}

TEST(EventTableEdits, DescriptionsAreCutTo99Bytes) {
  EventTable table(4);
  table.setDescription(0, std::string(150, 'x'));
  EXPECT_EQ(table.description(0).size(), 99u);
  table.setDescription(1, std::string("ab\0cd", 5));
  EXPECT_EQ(table.description(1), "ab");
}

TEST(EventTemplate, NewEventTakesInputTypeAddressAndThenReplayAndOutput) {
  EventTable table(96);
  table.eventTemplate = EventRecord{2, 11, 8, 1, 1, 4, 17};
  int slot = *table.AddAtEnd();
  EXPECT_EQ(slot, 0);
  const EventRecord& r = table.record(slot);
  EXPECT_EQ(r.input, 2);
  EXPECT_EQ(r.type, 1);
  EXPECT_EQ(r.address, 4);
  EXPECT_EQ(r.replay, 1);
  EXPECT_EQ(r.outTypeFreq, 8);
  EXPECT_EQ(r.event, 0);  // event and command are never pre-filled
  EXPECT_EQ(r.command, 0);
}

TEST(EventTemplate, NecWithAddressZeroCopiesInputAndTypeOnly) {
  EventTable table = Numbered(2);
  table.eventTemplate = EventRecord{2, 11, 8, 1, 1, 0, 17};
  EXPECT_EQ(table.Insert(1), 1);
  const EventRecord& r = table.record(1);
  EXPECT_EQ(r.input, 2);
  EXPECT_EQ(r.type, 1);
  EXPECT_EQ(r.address, 0);
  EXPECT_EQ(r.replay, 0);
  EXPECT_EQ(r.outTypeFreq, 0);
}

TEST(EventTemplate, ExistingEventsAreNeverPreFilled) {
  EventTable table(96);
  table.setCount(3);
  table.record(0) = EventRecord{0, 11, 0, 1, 0, 0, 5};  // input 0 and address 0 on purpose
  table.record(1) = EventRecord{0, 0, 0, 0, 0, 0, 0};   // unused
  table.record(2) = EventRecord{0, 12, 0, 1, 0, 0, 6};
  table.eventTemplate = EventRecord{3, 11, 8, 2, 1, 9, 17};
  EventRecord first = table.record(0);
  EventRecord third = table.record(2);

  table.Delete(1);
  EXPECT_EQ(table.record(0), first);
  EXPECT_EQ(table.record(1), third);
  table.Prune(1);
  EXPECT_EQ(table.record(0), first);
  EXPECT_EQ(table.record(1), third);
  (void)table.AddAtEnd();  // only the new event takes the template
  EXPECT_EQ(table.record(0), first);
  EXPECT_EQ(table.record(2).address, 9);
}

}  // namespace
}  // namespace qvr
