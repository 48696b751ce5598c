#include "sim/sim_update_image.h"

#include <algorithm>

#include "link/bytes.h"

namespace qvr::sim {

namespace {

uint16_t CrcStep(uint16_t crc, uint8_t byte) {
  uint8_t x = uint8_t((crc >> 8) ^ byte);
  x ^= uint8_t(x >> 4);
  return uint16_t((crc << 8) ^ (uint16_t(x) << 12) ^ (uint16_t(x) << 5) ^ x);
}

}  // namespace

uint16_t UpdateFileCrc(const uint8_t* bytes, unsigned count) {
  uint16_t crc = 0;
  for (unsigned i = 0; i < count; ++i) crc = CrcStep(crc, bytes[i]);
  return crc;
}

bool UpdateImageComplete(const std::vector<uint8_t>& received, uint8_t deviceVersion,
                         uint8_t deviceType) {
  if (received.size() < kUpdateMagicSize + 2) return false;
  const uint8_t header[4] = {received[4], received[5], deviceVersion, deviceType};
  uint16_t crc = UpdateFileCrc(header, 4);
  // The checksum must be followed by zeros only, so it can only sit near the last non-zero.
  size_t lastNonZero = received.size();
  while (lastNonZero > 0 && received[lastNonZero - 1] == 0) --lastNonZero;
  for (size_t n = 0; n + 2 <= received.size(); ++n) {
    if (n >= kUpdateMagicSize && n + 2 >= lastNonZero && GetU16(&received[n]) == crc) return true;
    crc = CrcStep(crc, received[n]);
  }
  return false;
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
