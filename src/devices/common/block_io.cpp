#include "devices/common/block_io.h"

namespace qvr {

namespace {

// A failed record of the table: its slot of the capacity, as the place of the whole table.
TransferResult AtSlot(const TransferResult& result, int slot, int capacity) {
  return {result.code(), {slot + 1, capacity, uint32_t(kEventRecordSize * slot)}};
}

}  // namespace

TransferResult ReadBlocks(Link& link, uint8_t address, std::span<const BlockRef> blocks) {
  for (const BlockRef& block : blocks) {
    TransferResult result = link.ReadMemory(address, block.command, 0, block.data, block.size);
    if (result != LinkOk) return result;
  }
  return LinkOk;
}

TransferResult WriteBlocks(Link& link, uint8_t address, int blockSize,
                           std::span<const BlockRef> blocks) {
  for (const BlockRef& block : blocks) {
    TransferResult result =
        link.WriteMemory(address, block.command, 0, block.data, block.size, blockSize);
    if (result != LinkOk) return result;
  }
  return LinkOk;
}

TransferResult ReadEventTable(Link& link, Host& host, uint8_t address, uint8_t command,
                              EventTable& table) {
  // Cleared once; the records read land in slots that are already zero, and the count is set
  // when the reading stops, so the table holds what was read even after a failure.
  table.setCount(0);
  int count = 0;
  bool ended = false;
  for (int slot = 0; slot < table.capacity(); ++slot) {
    if (ended) {
      host.AdvanceProgress(kEventRecordSize);
      continue;
    }
    uint8_t bytes[kEventRecordSize] = {};
    TransferResult result = link.ReadMemory(address, command, uint32_t(kEventRecordSize * slot),
                                            bytes, kEventRecordSize);
    if (result != LinkOk) {
      table.setCount(count);
      return AtSlot(result, slot, table.capacity());
    }
    EventRecord record = EventRecord::Decode(bytes);
    if (record.endsTable()) {
      ended = true;
      continue;
    }
    table.record(slot) = record;
    count = slot + 1;
  }
  table.setCount(count);
  return LinkOk;
}

TransferResult WriteEventTable(Link& link, Host& host, uint8_t address, uint8_t command,
                               int blockSize, const EventTable& table) {
  // The end record takes the progress share of the first unused slot, so that the progress
  // ends exactly at the total of a full table.
  bool endShareKept = false;
  int written = 0;
  for (int slot = 0; slot < table.capacity(); ++slot) {
    const EventRecord& record = table.record(slot);
    if (!record.used()) {
      if (endShareKept) host.AdvanceProgress(kEventRecordSize);
      endShareKept = true;
      continue;
    }
    auto bytes = record.Encode();
    TransferResult result = link.WriteMemory(address, command, uint32_t(kEventRecordSize * written),
                                             bytes.data(), kEventRecordSize, blockSize);
    if (result != LinkOk) return AtSlot(result, written, table.capacity());
    ++written;
  }
  if (written == table.capacity()) return LinkOk;
  const uint8_t endRecord[kEventRecordSize] = {};
  const TransferResult result =
      link.WriteMemory(address, command, uint32_t(kEventRecordSize * written), endRecord,
                       kEventRecordSize, blockSize);
  if (result != LinkOk) return AtSlot(result, written, table.capacity());
  return LinkOk;
}

}  // namespace qvr
