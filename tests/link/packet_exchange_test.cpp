// Request/reply exchange, reply checks, retry policy and the packet log.
#include "link/scripted_transport.h"

namespace qvr::test {
namespace {

using PacketExchange = LinkFixture;

TEST(PacketChecksum, MatchesKnownVectors) {
  const uint8_t abc[] = {'a', 'b', 'c'};
  EXPECT_EQ(PacketChecksum(abc, 3), 0x04);
  PacketBytes info{0x00, 0x00, 0x01};
  EXPECT_EQ(PacketChecksum(info.data(), 71), 0x74);
  PacketBytes resetMux{0x01, 0x00, 0x83};
  EXPECT_EQ(PacketChecksum(resetMux.data(), 71), 0xF0);
}

TEST_F(PacketExchange, LengthLimitsOfRequestAndReply) {
  host.packetLog = true;
  EXPECT_EQ(link.WritePacket(1, 5, 0, buffer.data(), 66), DeviceParameterError);
  EXPECT_TRUE(transport.sent.empty());
  EXPECT_TRUE(host.log.empty());

  // A reply claiming 66 bytes is logged, then rejected even with a correct checksum.
  transport.script = {Reply(1, 0x91, 0, {}, 66)};
  EXPECT_EQ(link.ReadPacket(1, 17, 0, buffer.data(), 8, count), LinkExchangeFailed);
  ASSERT_EQ(host.log.size(), 2u);
  EXPECT_NE(host.log[1].find(" < 01<-00 CMD:91 OFFSET:0000 LEN:66 ["), std::string::npos);
}

TEST_F(PacketExchange, ReadRepliesAreCheckedAndCutToTheCapacity) {
  Answer badChecksum = Data(1, 17, 0, {1});
  badChecksum.packet[kPacketChecksum] ^= 1;
  for (const Answer& faulty :
       {Data(2, 17, 0, {1}), Data(1, 18, 0, {1}), Data(1, 17, 4, {1}), badChecksum}) {
    transport.script = {faulty};
    EXPECT_EQ(link.ReadPacket(1, 17, 0, buffer.data(), 4, count), LinkExchangeFailed);
  }

  buffer.fill(0xAA);
  transport.script = {Data(1, 17, 0, {9, 8, 7, 6, 5})};
  ASSERT_EQ(link.ReadPacket(1, 17, 0, buffer.data(), 3, count), LinkOk);
  EXPECT_EQ(count, 5u);
  EXPECT_EQ(std::vector<uint8_t>(buffer.begin(), buffer.begin() + 4),
            (std::vector<uint8_t>{9, 8, 7, 0xAA}));

  transport.script = {Status(1, kStatusOk)};  // success without data
  EXPECT_EQ(link.ReadPacket(1, 17, 0, buffer.data(), 4, count), LinkOk);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(buffer[0], 0);
}

TEST_F(PacketExchange, DeviceStatusRepeatsReadsButNeverWrites) {
  transport.script = {Status(1, kStatusResultError), Status(1, kStatusResultError)};
  EXPECT_EQ(link.DeviceRead(1, 17, 0, buffer.data(), 4, count), DeviceResultError);
  EXPECT_EQ(transport.sent.size(), 2u);

  transport.script = {Status(1, kStatusResultError)};
  EXPECT_EQ(link.DeviceWrite(1, 17, 0, buffer.data(), 4), DeviceResultError);
  EXPECT_EQ(transport.sent.size(), 3u);

  // Only a status from the addressed device at the same offset confirms a write.
  for (const Answer& wrong : {Data(1, 24, 0, {}), Status(2, kStatusOk), Status(1, kStatusOk, 1)}) {
    transport.script = {wrong};
    EXPECT_EQ(link.DeviceWrite(1, 24, 0, nullptr, 0), LinkExchangeFailed);
  }
  EXPECT_EQ(link.pollHoldOff(), 2);

  // A write the device may have taken counts as a change, so that the user hears the unit may
  // be half-written; one it refused with a status, or one that never left, changed nothing.
  Answer receiveFailed;
  receiveFailed.receiveFailure = LinkExchangeFailed;
  const struct {
    const char* what;
    Answer reply;
    LinkResult sendFailure;
    bool changed;
  } writes[] = {{"confirmed", Status(1, kStatusOk), LinkOk, true},
                {"refused", Status(1, kStatusResultError), LinkOk, false},
                {"reply lost", Answer{}, LinkOk, true},
                {"reply spoilt", Status(1, kStatusOk, 1), LinkOk, true},
                {"receive failed", receiveFailed, LinkOk, true},
                {"never sent", Status(1, kStatusOk), LinkExchangeFailed, false}};
  for (const auto& write : writes) {
    transport.script = {write.reply};
    transport.sendFailure = write.sendFailure;
    const WriteWatch watch(link);
    (void)link.DeviceWrite(1, 24, 0, nullptr, 0);
    EXPECT_EQ(watch.deviceChanged(), write.changed) << write.what;
  }
  transport.sendFailure = LinkOk;
  transport.script.clear();
}

TEST_F(PacketExchange, SilentDeviceTimesOutAfter500MsButASlowOneIsWaitedFor) {
  const uint32_t before = clock.NowMs();
  EXPECT_EQ(link.ReadPacket(1, 17, 0, buffer.data(), 4, count), LinkTimeout);
  EXPECT_GE(clock.NowMs() - before, 500u);
  EXPECT_LT(clock.NowMs() - before, 520u);
  // Polls are spaced by short sleeps, each with a pump that keeps the window alive: no spin.
  EXPECT_GT(host.pumps, 40);
  EXPECT_LT(host.pumps, 100);

  // A controller that takes 600 ms per report and answers on its second one: the poll begun
  // inside the time-out counts.
  struct SlowTransport : ScriptedTransport {
    LinkResult ReceiveFeatureReport(PacketBytes& packet) override {
      clock->Advance(600);
      if (++receives == 1) {
        packet.fill(0);
        return LinkOk;
      }
      return ScriptedTransport::ReceiveFeatureReport(packet);
    }
    ManualClock* clock = nullptr;
    int receives = 0;
  } slow;
  slow.clock = &clock;
  slow.script = {Data(1, 17, 0, {7})};
  Link slowLink{slow, host, clock};
  EXPECT_EQ(slowLink.ReadPacket(1, 17, 0, buffer.data(), 4, count), LinkOk);
  EXPECT_EQ(buffer[0], 7);
}

TEST_F(PacketExchange, OffsetBeyond16BitsIsNeverConfirmed) {
  transport.responder = [](const PacketBytes& r) -> std::optional<Answer> {
    return Data(1, 27, GetU16(&r[kPacketOffset]), {1, 2, 3, 4, 5, 6, 7, 8});
  };
  EXPECT_EQ(link.DeviceRead(1, 27, 65528, buffer.data(), 8, count), LinkOk);
  EXPECT_EQ(link.DeviceRead(1, 27, 65536, buffer.data(), 8, count), LinkExchangeFailed);
  EXPECT_EQ(transport.SentOffset(transport.sent.size() - 1), 0u);
}

TEST_F(PacketExchange, FailedReceivePumpsOnlyAfterTheExchangeEnded) {
  // A handler run by that pump may start an exchange; it must not find this one still busy.
  struct WatchingHost : TestHost {
    void PumpMessages() override { busy.push_back(link->exchangeBusy()); }
    Link* link = nullptr;
    std::vector<bool> busy;
  } watching;
  Link watched(transport, watching, clock);
  watching.link = &watched;
  transport.script = {Answer{{}, LinkExchangeFailed}};
  PacketBytes packet{};
  EXPECT_EQ(watched.ExchangePacket(packet), LinkExchangeFailed);
  EXPECT_EQ(watching.busy, std::vector<bool>{false});
}

TEST_F(PacketExchange, PacketLogCountsFromTheFirstLoggedPacketAndSkipsThePoll) {
  clock.stepPerRead = 0;
  clock.Set(0);  // a tick count of 0 is a valid time base
  host.packetLog = true;
  transport.script = {Data(0, 1, 0, {5}), Status(1, kStatusOk), Data(1, 17, 40, {1, 2, 0xA, 0xFF})};
  ASSERT_EQ(link.DeviceRead(0, 1, 0, buffer.data(), 66, count), LinkOk);  // the monitor's poll
  const uint8_t input = 3;
  ASSERT_EQ(link.DeviceWrite(1, 22, 0, &input, 1), LinkOk);
  clock.Advance(12345);
  ASSERT_EQ(link.DeviceRead(1, 17, 40, buffer.data(), 4, count), LinkOk);

  const std::vector<std::string> expected = {
      "     0.000 > 00->01 CMD:96 OFFSET:0000 LEN:01 [ 03 ]",
      "     0.000 < 01<-00 CMD:FF OFFSET:0000 LEN:00",
      "    12.345 > 00->01 CMD:11 OFFSET:0040 LEN:00",
      "    12.345 < 01<-00 CMD:91 OFFSET:0040 LEN:04 [ 01 02 0A FF ]",
  };
  EXPECT_EQ(host.log, expected);

  host.packetLog = false;
  transport.script = {Status(1, kStatusOk)};
  ASSERT_EQ(link.DeviceWrite(1, 3, 0, nullptr, 0), LinkOk);
  EXPECT_EQ(host.log.size(), 4u);
}

}  // namespace
}  // namespace qvr::test
