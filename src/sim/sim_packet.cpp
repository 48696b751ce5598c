#include "sim/sim_packet.h"

#include <algorithm>

#include "link/bytes.h"
#include "link/packet_layout.h"

namespace qvr::sim {

uint8_t DeviceChecksum(const uint8_t* bytes, unsigned count) {
  uint8_t c = 0;
  for (unsigned i = 0; i < count; ++i) {
    uint8_t x = c ^ bytes[i];
    c = uint8_t(x << 1);
    if (x & 0x80) c ^= 0x21;
  }
  return c;
}

Request ParseRequest(const PacketBytes& packet) {
  Request request;
  request.destination = packet[kPacketDestination];
  request.command = packet[kPacketCommand] & uint8_t(~kWriteFlag);
  request.write = (packet[kPacketCommand] & kWriteFlag) != 0;
  request.offset = GetU16(&packet[kPacketOffset]);
  request.length = packet[kPacketLength];
  request.payload = &packet[kPacketPayload];
  return request;
}

bool RequestChecksumValid(const PacketBytes& packet) {
  return DeviceChecksum(packet.data(), kPacketChecksum) == packet[kPacketChecksum];
}

void SealPacket(PacketBytes& packet) {
  packet[kPacketChecksum] = DeviceChecksum(packet.data(), kPacketChecksum);
}

PacketBytes BuildReply(uint8_t source, const Request& request, const Answer& answer) {
  PacketBytes reply{};
  reply[kPacketDestination] = 0;
  reply[kPacketSource] = source;
  PutU16(&reply[kPacketOffset], request.offset);
  if (answer.status != 0) {
    reply[kPacketCommand] = answer.status;
  } else {
    reply[kPacketCommand] = uint8_t(request.command | kWriteFlag);
    size_t count = std::min<size_t>(answer.data.size(), kMaxPayload);
    reply[kPacketLength] = uint8_t(count);
    std::copy_n(answer.data.begin(), count, reply.begin() + kPacketPayload);
  }
  SealPacket(reply);
  return reply;
}

}  // namespace qvr::sim
