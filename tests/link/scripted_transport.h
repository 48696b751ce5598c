#pragma once
// A transport for link tests: each request sent takes the next scripted answer (a reply
// packet, a failed report call, or silence), and every request is recorded. Without a
// script, an optional responder answers; without either the device stays silent.
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "link/bytes.h"
#include "link/link.h"
#include "link/packet_layout.h"
#include "link/transport.h"

namespace qvr::test {

struct Answer {
  enum Kind { kReply, kReceiveFails, kSilence } kind = kSilence;
  PacketBytes packet{};
  LinkResult failure = LinkOk;
};

inline PacketBytes Sealed(PacketBytes packet) {
  packet[kPacketChecksum] = PacketChecksum(packet.data(), kPacketChecksum);
  return packet;
}

// A data reply from `source` to a read of `command` at `offset`.
inline Answer DataReply(uint8_t source, uint8_t command, uint16_t offset,
                        const std::vector<uint8_t>& payload) {
  PacketBytes p{};
  p[kPacketSource] = source;
  p[kPacketCommand] = uint8_t(command | kWriteFlag);
  PutU16(&p[kPacketOffset], offset);
  p[kPacketLength] = uint8_t(payload.size());
  for (size_t i = 0; i < payload.size() && i < kMaxPayload; ++i) p[kPacketPayload + i] = payload[i];
  return {Answer::kReply, Sealed(p), LinkOk};
}

inline Answer StatusReply(uint8_t source, uint8_t status, uint16_t offset = 0) {
  PacketBytes p{};
  p[kPacketSource] = source;
  p[kPacketCommand] = status;
  PutU16(&p[kPacketOffset], offset);
  return {Answer::kReply, Sealed(p), LinkOk};
}

inline Answer RawReply(const PacketBytes& packet) {
  return {Answer::kReply, packet, LinkOk};
}
inline Answer ReceiveFails(LinkResult code) {
  return {Answer::kReceiveFails, {}, code};
}
inline Answer Silence() {
  return {};
}

class ScriptedTransport : public Transport {
 public:
  LinkResult SendFeatureReport(const PacketBytes& packet) override {
    if (sendFailure != LinkOk) return sendFailure;
    sent.push_back(packet);
    pending_ = Silence();
    if (!script.empty()) {
      pending_ = script.front();
      script.pop_front();
    } else if (responder) {
      if (auto reply = responder(packet)) pending_ = *reply;
    }
    return LinkOk;
  }

  LinkResult ReceiveFeatureReport(PacketBytes& packet) override {
    ++receives;
    if (pending_.kind == Answer::kReceiveFails) {
      LinkResult failure = pending_.failure;
      pending_ = Silence();
      return failure;
    }
    if (pending_.kind == Answer::kReply) {
      packet = pending_.packet;
      pending_ = Silence();
      return LinkOk;
    }
    packet.fill(0);
    return LinkOk;
  }

  void CloseController() override { ++closes; }

  uint32_t SentOffset(size_t i) const { return GetU16(&sent.at(i)[kPacketOffset]); }
  unsigned SentLength(size_t i) const { return sent.at(i)[kPacketLength]; }

  std::deque<Answer> script;
  std::function<std::optional<Answer>(const PacketBytes&)> responder;
  std::vector<PacketBytes> sent;
  LinkResult sendFailure = LinkOk;
  int receives = 0;
  int closes = 0;

 private:
  Answer pending_;
};

}  // namespace qvr::test
