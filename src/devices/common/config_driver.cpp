#include "devices/common/config_driver.h"

namespace qvr {

std::vector<uint8_t> SentBytes(std::initializer_list<std::span<const uint8_t>> blocks,
                               const EventTable& events) {
  std::vector<uint8_t> bytes;
  for (std::span<const uint8_t> block : blocks)
    bytes.insert(bytes.end(), block.begin(), block.end());
  for (int slot = 0; slot < events.count(); ++slot) {
    const auto record = events.record(slot).Encode();
    bytes.insert(bytes.end(), record.begin(), record.end());
  }
  return bytes;
}

}  // namespace qvr
