#pragma once
// The device side of the packet: the checksum as the controller's firmware computes it, the
// fields of a request, and the answer a device gives before it becomes a reply packet.
#include <cstdint>
#include <vector>

#include "link/transport.h"

namespace qvr::sim {

// The controller's packet checksum: one shift per byte with the feedback 0x21.
uint8_t DeviceChecksum(const uint8_t* bytes, unsigned count);

struct Request {
  uint8_t destination = 0;
  uint8_t command = 0;  // without the write flag
  bool write = false;
  uint16_t offset = 0;
  uint8_t length = 0;
  const uint8_t* payload = nullptr;  // 65 bytes inside the request packet
};

Request ParseRequest(const PacketBytes& packet);
bool RequestChecksumValid(const PacketBytes& packet);

// A device's answer: a status (0xFB..0xFF), or data when status is 0.
struct Answer {
  uint8_t status = 0;
  std::vector<uint8_t> data;
  bool changed = false;    // the request changed what the device keeps across restarts
  bool restarted = false;  // the device restarts once this answer has gone out

  static Answer Status(uint8_t code, bool changed = false) { return {code, {}, changed}; }
  static Answer Data(std::vector<uint8_t> bytes) { return {0, std::move(bytes), false}; }
};

// The reply packet for `answer` from `source` to the request's command and offset, with its
// checksum.
PacketBytes BuildReply(uint8_t source, const Request& request, const Answer& answer);

// Writes byte 71 from bytes 0..70.
void SealPacket(PacketBytes& packet);

}  // namespace qvr::sim
