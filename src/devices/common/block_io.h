#pragma once
// Block transfers shared by both devices: parameter blocks by command code and the event table
// with its end-of-table rules. Progress advances by the bytes of every block and event slot.
#include <cstdint>
#include <span>

#include "devices/common/event_table.h"
#include "link/link.h"

namespace qvr {

struct BlockRef {
  uint8_t command;
  uint8_t* data;
  unsigned size;
};

// Reads each block whole from offset 0; the first failure is returned with its place in its
// block.
[[nodiscard]] TransferResult ReadBlocks(Link& link, uint8_t address,
                                        std::span<const BlockRef> blocks);
// Writes each block from offset 0 in requests of `blockSize`; the first failure is returned
// with its place in its block.
[[nodiscard]] TransferResult WriteBlocks(Link& link, uint8_t address, int blockSize,
                                         std::span<const BlockRef> blocks);
// Reads records at 8 x i until one ends the table (that slot is zeroed) or the capacity is
// reached; sets the count. Slots after the end only advance the progress by 8. A failure's
// place is its record of the table's capacity.
[[nodiscard]] TransferResult ReadEventTable(Link& link, Host& host, uint8_t address,
                                            uint8_t command, EventTable& table);
// Writes the used records packed from offset 0, then one zero record unless the table is full;
// unused slots advance the progress by 8, one of them through the end record, so the progress
// ends exactly at the table size. A failure's place is its record of the table's capacity.
[[nodiscard]] TransferResult WriteEventTable(Link& link, Host& host, uint8_t address,
                                             uint8_t command, int blockSize,
                                             const EventTable& table);

}  // namespace qvr
