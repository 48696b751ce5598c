#include "sim/sim_update_image.h"

#include <algorithm>

#include "link/bytes.h"

namespace qvr::sim {

uint16_t UpdateFileCrc(const uint8_t* bytes, unsigned count) {
  uint16_t crc = 0;
  for (unsigned i = 0; i < count; ++i) {
    uint8_t x = uint8_t((crc >> 8) ^ bytes[i]);
    x ^= uint8_t(x >> 4);
    crc = uint16_t((crc << 8) ^ (uint16_t(x) << 12) ^ (uint16_t(x) << 5) ^ x);
  }
  return crc;
}

std::vector<uint8_t> BuildUpdateFile(uint16_t version, uint8_t deviceVersion, uint8_t deviceType,
                                     unsigned payloadSize, bool withMagic) {
  if (withMagic) payloadSize = std::max(payloadSize, kUpdateMagicSize);
  std::vector<uint8_t> file(4 + size_t(payloadSize) + 2, 0);
  PutU16(&file[0], version);
  file[2] = deviceVersion;
  file[3] = deviceType;
  uint8_t* payload = &file[4];
  // Filler that differs from block to block, so misplaced blocks show in the received image.
  for (unsigned i = 0; i < payloadSize; ++i) payload[i] = uint8_t(i * 7 + (i >> 5));
  if (withMagic) {
    std::copy(std::begin(kUpdateMagic), std::end(kUpdateMagic), payload);
    PutU16(payload + 4, version);
  }
  unsigned crcOffset = unsigned(file.size()) - 2;
  PutU16(&file[crcOffset], UpdateFileCrc(file.data(), crcOffset));
  return file;
}

}  // namespace qvr::sim
