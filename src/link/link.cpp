#include "link/link.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>

#include "link/bytes.h"
#include "link/packet_layout.h"
#include "link/scoped_value.h"

namespace qvr {

namespace {

constexpr uint32_t kReplyTimeoutMs = 500;
// Pauses between polls for a reply that is not there yet: short at first, since a controller
// usually answers within a few reports, then longer so a silent one costs almost no processor.
constexpr uint32_t kFirstPollPauseMs = 1;
constexpr uint32_t kLongestPollPauseMs = 8;
constexpr int kPollHoldOffTicks = 2;
constexpr size_t kLogLineLimit = 996;  // the payload dump stops once the line reaches this

PacketBytes RequestPacket(uint8_t address, uint8_t command, uint32_t offset) {
  PacketBytes packet{};
  packet[kPacketDestination] = address;
  packet[kPacketSource] = 0;
  packet[kPacketCommand] = command;
  // Only the low 16 bits travel; the reply check compares against the full offset, so an
  // offset beyond 65535 is never confirmed.
  PutU16(&packet[kPacketOffset], uint16_t(offset));
  return packet;
}

uint32_t ReplyOffset(const PacketBytes& packet) {
  return GetU16(&packet[kPacketOffset]);
}

}  // namespace

uint8_t PacketChecksum(const uint8_t* bytes, size_t count) {
  uint8_t c = 0;
  for (size_t i = 0; i < count; ++i) {
    uint8_t x = c ^ bytes[i];
    c = uint8_t(x << 1);
    if (x & 0x80) c ^= 0x21;
  }
  return c;
}

Link::Link(Transport& transport, Host& host, Clock& clock)
    : transport_(transport), host_(host), clock_(clock) {}

LinkResult Link::ExchangePacket(PacketBytes& packet) {
  // The link runs on one thread, so an exchange still in progress is one further down this
  // very call stack, reached through a pump: it cannot end before this one does, and waiting
  // for it would never end. Such a nested exchange is refused instead.
  if (exchangeBusy_) return LinkExchangeFailed;
  bool receiveFailed = false;
  LinkResult result = LinkOk;
  {
    const ScopedValue busy(exchangeBusy_, true);
    packet[kPacketChecksum] = PacketChecksum(packet.data(), kPacketChecksum);
    LogPacket('>', packet);
    result = transport_.SendFeatureReport(packet);
    requestDelivered_ = result == LinkOk;
    if (result == LinkOk) result = AwaitReply(packet, receiveFailed);
  }
  transport_.EndExchange();
  // Pumped only after the exchange has ended: a handler running inside this pump may start
  // an exchange of its own, which would otherwise wait for this one forever.
  if (receiveFailed) host_.PumpMessages();
  return result;
}

LinkResult Link::AwaitReply(PacketBytes& packet, bool& receiveFailed) {
  packet.fill(0);
  const uint32_t start = clock_.NowMs();
  uint32_t pause = kFirstPollPauseMs;
  for (;;) {
    // A poll begun within the time-out counts even when the report itself is slow, so a
    // controller that takes long per report is not mistaken for a silent one.
    const uint32_t pollStart = clock_.NowMs();
    LinkResult result = transport_.ReceiveFeatureReport(packet);
    if (result != LinkOk) {
      receiveFailed = true;
      return result;
    }
    if (packet[kPacketCommand] != 0) break;
    if (uint32_t(pollStart - start) >= kReplyTimeoutMs) return LinkTimeout;
    host_.PumpWhileExchanging();
    clock_.SleepMs(pause);
    pause = std::min(pause * 2, kLongestPollPauseMs);
  }
  LogPacket('<', packet);
  if (packet[kPacketLength] > kMaxPayload) return LinkExchangeFailed;
  if (PacketChecksum(packet.data(), kPacketChecksum) != packet[kPacketChecksum]) {
    return LinkExchangeFailed;
  }
  return LinkOk;
}

LinkResult Link::ReadPacket(uint8_t address, uint8_t command, uint32_t offset, uint8_t* destination,
                            unsigned capacity, unsigned& count) {
  count = 0;
  std::fill_n(destination, capacity, uint8_t(0));
  PacketBytes packet = RequestPacket(address, command, offset);
  LinkResult result = ExchangePacket(packet);
  if (result != LinkOk) return result;
  // A plain 0xFF carries no data: LinkOk with count 0.
  if (IsStatusReply(packet[kPacketCommand], result)) return result;
  if (packet[kPacketSource] != address || packet[kPacketCommand] != uint8_t(command | kWriteFlag) ||
      ReplyOffset(packet) != offset) {
    return LinkExchangeFailed;
  }
  const unsigned length = packet[kPacketLength];
  std::copy_n(&packet[kPacketPayload], std::min(capacity, length), destination);
  count = length;
  return LinkOk;
}

LinkResult Link::WritePacket(uint8_t address, uint8_t command, uint32_t offset, const uint8_t* data,
                             unsigned length) {
  if (length > kMaxPayload) return DeviceParameterError;
  PacketBytes packet = RequestPacket(address, uint8_t(command | kWriteFlag), offset);
  packet[kPacketLength] = uint8_t(length);
  if (data != nullptr) std::copy_n(data, length, &packet[kPacketPayload]);
  LinkResult result = ExchangePacket(packet);
  if (result != LinkOk) return result;
  if (packet[kPacketSource] != address || ReplyOffset(packet) != offset) return LinkExchangeFailed;
  // Only a status reply confirms a write; a data reply is a protocol fault.
  if (IsStatusReply(packet[kPacketCommand], result)) return result;
  return LinkExchangeFailed;
}

LinkResult Link::DeviceRead(uint8_t address, uint8_t command, uint32_t offset, uint8_t* destination,
                            unsigned capacity, unsigned& count) {
  pollHoldOff_ = kPollHoldOffTicks;
  LinkResult result = ReadPacket(address, command, offset, destination, capacity, count);
  if (result == LinkOk) return result;
  return ReadPacket(address, command, offset, destination, capacity, count);
}

LinkResult Link::DeviceWrite(uint8_t address, uint8_t command, uint32_t offset, const uint8_t* data,
                             unsigned length) {
  if (beforeNextWrite_) std::exchange(beforeNextWrite_, nullptr)();
  pollHoldOff_ = kPollHoldOffTicks;
  lastWriteCommand_ = command;
  const LinkResult result = WritePacket(address, command, offset, data, length);
  // A request that reached the device may have changed it even when its reply was lost or
  // spoilt (a local failure, positive): the user must hear that the unit may be half-written.
  // A status reply says the device refused it and changed nothing.
  if (result == LinkOk || (requestDelivered_ && IsLocalResult(result))) ++acknowledgedWrites_;
  return result;
}

void Link::LogPacket(char marker, const PacketBytes& packet) {
  const unsigned command = packet[kPacketCommand];
  // The connection monitor's poll and its reply would drown every other line.
  if (packet[kPacketDestination] == 0 && (command == 0x01 || command == 0x81)) return;
  if (!host_.PacketLogEnabled()) return;

  const uint32_t now = clock_.NowMs();
  if (!logTimeBaseSet_) {
    logTimeBase_ = now;
    logTimeBaseSet_ = true;
  }
  const uint32_t elapsed = now - logTimeBase_;
  const char* format = marker == '<' ? "%6u.%03u %s %02X<-%02X CMD:%02X OFFSET:%04u LEN:%02u"
                                     : "%6u.%03u %s %02X->%02X CMD:%02X OFFSET:%04u LEN:%02u";
  const char markerText[2] = {marker, '\0'};
  char head[1000];
  int n = std::snprintf(head, sizeof head, format, unsigned(elapsed / 1000),
                        unsigned(elapsed % 1000), markerText, unsigned(packet[kPacketSource]),
                        unsigned(packet[kPacketDestination]), command,
                        unsigned(GetU16(&packet[kPacketOffset])), unsigned(packet[kPacketLength]));
  std::string line(head, size_t(std::clamp(n, 0, int(sizeof head) - 1)));

  const unsigned length = std::min<unsigned>(packet[kPacketLength], kMaxPayload);
  if (length != 0) {
    line += " [";
    for (unsigned i = 0; i < length && line.size() < kLogLineLimit; ++i) {
      char hex[4];
      std::snprintf(hex, sizeof hex, " %02X", unsigned(packet[kPacketPayload + i]));
      line += hex;
    }
    line += " ]";
  }
  host_.LogPacketLine(line);
}

}  // namespace qvr
