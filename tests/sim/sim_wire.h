#pragma once
// Hand-built request packets and one request/reply round trip through the simulated transport,
// so the tests see exactly the bytes a host would.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "link/bytes.h"
#include "sim/sim_transport.h"

namespace qvr::sim::test {

// The checksum as the protocol states it, written independently of the simulator's own.
inline uint8_t WireChecksum(const uint8_t* bytes, unsigned count) {
  uint8_t c = 0;
  for (unsigned i = 0; i < count; ++i) {
    uint8_t x = c ^ bytes[i];
    c = uint8_t((x << 1) & 0xFF);
    if (x & 0x80) c ^= 0x21;
  }
  return c;
}

inline PacketBytes MakeRequest(uint8_t address, uint8_t command, bool write, uint16_t offset = 0,
                               std::vector<uint8_t> data = {}) {
  PacketBytes packet{};
  packet[0] = address;
  packet[1] = 0;
  packet[2] = uint8_t(write ? command | 0x80 : command);
  PutU16(&packet[3], offset);
  packet[5] = uint8_t(data.size());
  for (size_t i = 0; i < data.size() && i < 65; ++i) packet[6 + i] = data[i];
  packet[71] = WireChecksum(packet.data(), 71);
  return packet;
}

struct Reply {
  LinkResult sent = LinkOk;
  LinkResult received = LinkOk;
  PacketBytes bytes{};

  uint8_t command() const { return bytes[2]; }
  uint8_t source() const { return bytes[1]; }
  uint16_t offset() const { return GetU16(&bytes[3]); }
  uint8_t length() const { return bytes[5]; }
  std::vector<uint8_t> data() const {
    return std::vector<uint8_t>(bytes.begin() + 6, bytes.begin() + 6 + std::min<int>(length(), 65));
  }
  bool checksumValid() const { return WireChecksum(bytes.data(), 71) == bytes[71]; }
};

// One request and its reply; the exchange then ends, as the link ends it, so that another
// program on the same state folder may have the adapter next.
inline Reply Exchange(SimTransport& transport, const PacketBytes& request) {
  Reply reply;
  reply.sent = transport.SendFeatureReport(request);
  if (reply.sent == LinkOk) reply.received = transport.ReceiveFeatureReport(reply.bytes);
  transport.EndExchange();
  return reply;
}

inline Reply Read(SimTransport& transport, uint8_t address, uint8_t command, uint16_t offset = 0) {
  return Exchange(transport, MakeRequest(address, command, false, offset));
}

inline Reply Write(SimTransport& transport, uint8_t address, uint8_t command, uint16_t offset,
                   std::vector<uint8_t> data) {
  return Exchange(transport, MakeRequest(address, command, true, offset, std::move(data)));
}

// Reads a whole memory area the way a host does: offset by offset until a reply without bytes.
inline std::vector<uint8_t> ReadArea(SimTransport& transport, uint8_t address, uint8_t command) {
  std::vector<uint8_t> area;
  for (int guard = 0; guard < 100; ++guard) {
    Reply reply = Read(transport, address, command, uint16_t(area.size()));
    EXPECT_EQ(reply.command(), command | 0x80);
    if (reply.command() != (command | 0x80) || reply.length() == 0) break;
    std::vector<uint8_t> part = reply.data();
    area.insert(area.end(), part.begin(), part.end());
  }
  return area;
}

}  // namespace qvr::sim::test
