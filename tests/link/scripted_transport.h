#pragma once
// A transport for link tests: each request takes the next scripted answer (a reply, a failed
// receive, or silence), else the responder's, else silence; every request is recorded.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "i18n/catalogue.h"
#include "link/bytes.h"
#include "link/link.h"
#include "link/packet_layout.h"
#include "support/test_host.h"

namespace qvr::test {

struct Answer {
  PacketBytes packet{};  // command 0: silence
  LinkResult receiveFailure = LinkOk;
};

inline Answer Reply(uint8_t source, uint8_t command, uint16_t offset,
                    const std::vector<uint8_t>& payload = {}, uint8_t length = 0) {
  Answer a;
  a.packet[kPacketSource] = source;
  a.packet[kPacketCommand] = command;
  PutU16(&a.packet[kPacketOffset], offset);
  a.packet[kPacketLength] = length ? length : uint8_t(payload.size());
  std::copy(payload.begin(), payload.end(), a.packet.begin() + kPacketPayload);
  a.packet[kPacketChecksum] = PacketChecksum(a.packet.data(), kPacketChecksum);
  return a;
}
// The data reply of a read of `command`.
inline Answer Data(uint8_t source, uint8_t command, uint16_t offset,
                   const std::vector<uint8_t>& payload) {
  return Reply(source, command | kWriteFlag, offset, payload);
}
inline Answer Status(uint8_t source, uint8_t status, uint16_t offset = 0) {
  return Reply(source, status, offset);
}

class ScriptedTransport : public Transport {
 public:
  LinkResult SendFeatureReport(const PacketBytes& packet) override {
    if (sendFailure != LinkOk) return sendFailure;
    sent.push_back(packet);
    pending_ = Answer{};
    if (!script.empty()) {
      pending_ = script.front();
      script.pop_front();
    } else if (responder) {
      pending_ = responder(packet).value_or(Answer{});
    }
    return LinkOk;
  }
  LinkResult ReceiveFeatureReport(PacketBytes& packet) override {
    packet = pending_.packet;
    LinkResult result = pending_.receiveFailure;
    pending_ = Answer{};
    return result;
  }
  void CloseController() override {}
  AdapterHolder BusyHolder() const override { return busyHolder; }
  AdapterLockProblem LockProblem() const override { return lockProblem; }
  uint32_t SentOffset(size_t i) const { return GetU16(&sent.at(i)[kPacketOffset]); }

  std::deque<Answer> script;
  std::function<std::optional<Answer>(const PacketBytes&)> responder;
  std::vector<PacketBytes> sent;
  LinkResult sendFailure = LinkOk;
  AdapterHolder busyHolder;        // who has the adapter when it is in use
  AdapterLockProblem lockProblem;  // why its lock could not be taken

 private:
  Answer pending_;
};

// A link whose clock moves 1 ms on every read, so time-outs pass without real waiting.
class LinkFixture : public ::testing::Test {
 protected:
  LinkFixture() {
    clock.stepPerRead = 1;
    catalogue.setLanguage(kEnglish);
  }
  ManualClock clock;
  TestHost host{&clock};
  ScriptedTransport transport;
  Link link{transport, host, clock};
  Catalogue catalogue;
  std::array<uint8_t, 66> buffer{};
  unsigned count = 0;
};

}  // namespace qvr::test
