#pragma once
// A backup's exact image: everything a read of the unit returned, byte for byte (the blocks no
// *.MUX file can carry included), with the unit's identification and the backup's place in the
// unit's sequence. Kept as a small JSON file beside the backup's *.MUX, hex for the bytes, so a
// person or a diff can read it.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "devices/common/config_driver.h"
#include "devices/common/event_record.h"

namespace qvr {

inline constexpr const char* kRawImageFileName = "raw-image.json";

struct RawBlock {
  uint8_t command = 0;
  std::vector<uint8_t> bytes;
  bool operator==(const RawBlock&) const = default;
};

struct RawImage {
  std::string device;  // the module's name
  uint32_t serial = 0;
  std::array<uint8_t, 66> identification{};  // the unit's identification block
  uint64_t sequence = 0;                     // the backup's number among the unit's backups
  std::string time;                          // UTC, "2026-12-07T10:30:00Z"
  std::string machine;                       // the id of the computer that made it
  std::string computer;                      // its name, for people
  std::string configSha256;                  // of the configuration file saved beside it
  bool afterFailedChange = false;            // the unit's last change before it had failed
  std::string name;                          // the configuration's name (UTF-8), for people
  std::vector<RawBlock> blocks;              // in transfer order
  std::vector<EventRecord> events;           // the table's records up to its end
};

// The image as its file holds it.
std::string RawImageText(const RawImage& image);
// The image a file holds; none when the text is not one (damaged, cut, another format).
std::optional<RawImage> ParseRawImage(const std::string& text);
// Reads and parses the file at `path`; none when it cannot be read or is not one. `bytes`, when
// given, receives what was read: the bytes the image came from.
std::optional<RawImage> ReadRawImage(const std::string& path, std::string* bytes = nullptr);

// Copies every unit block and the events of `image`, as read from the unit, into `raw`.
template <typename Image>
void CaptureUnitBytes(const ConfigDriver<Image>& driver, Image& image, RawImage& raw) {
  raw.blocks.clear();
  for (const BlockRef& block : driver.unitBlocks(image))
    raw.blocks.push_back({block.command, {block.data, block.data + block.size}});
  raw.events.clear();
  for (int slot = 0; slot < image.events.count(); ++slot)
    raw.events.push_back(image.events.record(slot));
}

// Puts the raw bytes into a zeroed `image` as a read of the unit would, so a write sends every
// block; false when the blocks or events do not fit the kind (another device's, damaged).
template <typename Image>
bool ImageFromUnitBytes(const ConfigDriver<Image>& driver, const RawImage& raw, Image& image) {
  const std::vector<BlockRef> blocks = driver.unitBlocks(image);
  if (blocks.size() != raw.blocks.size() || raw.events.size() > size_t(image.events.capacity()))
    return false;
  for (size_t i = 0; i < blocks.size(); ++i) {
    const RawBlock& kept = raw.blocks[i];
    if (kept.command != blocks[i].command || kept.bytes.size() != blocks[i].size) return false;
    std::copy(kept.bytes.begin(), kept.bytes.end(), blocks[i].data);
  }
  for (size_t slot = 0; slot < raw.events.size(); ++slot)
    image.events.record(int(slot)) = raw.events[slot];
  image.events.setCount(int(raw.events.size()));
  driver.takeAsRead(image);
  return true;
}

}  // namespace qvr
