#include "devices/common/config_driver.h"

namespace qvr {

std::vector<uint8_t> SentBytes(std::span<const BlockRef> blocks, const EventTable& events) {
  std::vector<uint8_t> bytes;
  for (const BlockRef& block : blocks)
    bytes.insert(bytes.end(), block.data, block.data + block.size);
  for (int slot = 0; slot < events.count(); ++slot) {
    const auto record = events.record(slot).Encode();
    bytes.insert(bytes.end(), record.begin(), record.end());
  }
  return bytes;
}

}  // namespace qvr
