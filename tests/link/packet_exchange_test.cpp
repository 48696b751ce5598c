// Request/reply exchange, reply checks and retry policy, seen as bytes on the wire.
#include <array>
#include <string>
#include <vector>

#include "link/link_fixture.h"

namespace qvr::test {
namespace {

using PacketExchange = LinkFixture;

TEST(PacketChecksum, MatchesKnownVectors) {
  const uint8_t abc[] = {'a', 'b', 'c'};
  EXPECT_EQ(PacketChecksum(abc, 3), 0x04);

  PacketBytes infoRequest{};
  infoRequest[2] = 0x01;
  EXPECT_EQ(PacketChecksum(infoRequest.data(), 71), 0x74);

  PacketBytes resetMux{};
  resetMux[0] = 0x01;
  resetMux[2] = 0x83;
  EXPECT_EQ(PacketChecksum(resetMux.data(), 71), 0xF0);
}

TEST_F(PacketExchange, ResetRequestToMux410GoesOutByteForByte) {
  transport.script = {StatusReply(1, kStatusOk)};
  EXPECT_EQ(link.DeviceWrite(1, 3, 0, nullptr, 0), LinkOk);

  ASSERT_EQ(transport.sent.size(), 1u);
  PacketBytes expected{};
  expected[0] = 0x01;
  expected[2] = 0x83;
  expected[71] = 0xF0;
  EXPECT_EQ(transport.sent[0], expected);
}

TEST_F(PacketExchange, WriteOfMoreThan65BytesIsRefusedWithoutTraffic) {
  host.packetLog = true;
  std::array<uint8_t, 66> data{};
  EXPECT_EQ(link.WritePacket(1, 5, 0, data.data(), 66), DeviceParameterError);
  EXPECT_TRUE(transport.sent.empty());
  EXPECT_TRUE(host.log.empty());
  EXPECT_EQ(link.WritePacket(1, 5, 0, data.data(), 65), LinkTimeout);  // 65 still goes out
}

TEST_F(PacketExchange, ReplyClaimingMoreThan65BytesIsLoggedThenRejected) {
  host.packetLog = true;
  PacketBytes reply{};
  reply[kPacketSource] = 1;
  reply[kPacketCommand] = 0x91;
  reply[kPacketLength] = 66;
  transport.script = {RawReply(Sealed(reply))};
  std::array<uint8_t, 8> buffer{};
  unsigned count = 99;
  EXPECT_EQ(link.ReadPacket(1, 17, 0, buffer.data(), 8, count), LinkExchangeFailed);
  ASSERT_EQ(host.log.size(), 2u);
  EXPECT_NE(host.log[1].find(" < 01<-00 CMD:91 OFFSET:0000 LEN:66 ["), std::string::npos);
  EXPECT_EQ(count, 0u);
}

TEST_F(PacketExchange, FaultyRepliesAreExchangeFailures) {
  struct Case {
    const char* what;
    Answer reply;
  };
  PacketBytes badChecksum = DataReply(1, 17, 0, {1, 2, 3, 4}).packet;
  badChecksum[kPacketChecksum] ^= 0x01;
  const std::vector<Case> cases = {
      {"foreign source", DataReply(2, 17, 0, {1, 2, 3, 4})},
      {"other command", DataReply(1, 18, 0, {1, 2, 3, 4})},
      {"other offset", DataReply(1, 17, 4, {1, 2, 3, 4})},
      {"bad checksum", RawReply(badChecksum)},
  };
  for (const Case& c : cases) {
    transport.script = {c.reply};
    std::array<uint8_t, 4> buffer{};
    unsigned count = 0;
    EXPECT_EQ(link.ReadPacket(1, 17, 0, buffer.data(), 4, count), LinkExchangeFailed) << c.what;
  }
}

TEST_F(PacketExchange, DataReplyCopiesAtMostTheCapacity) {
  transport.script = {DataReply(1, 17, 0, {9, 8, 7, 6, 5})};
  std::array<uint8_t, 5> buffer{0xAA, 0xAA, 0xAA, 0xAA, 0xAA};
  unsigned count = 0;
  ASSERT_EQ(link.ReadPacket(1, 17, 0, buffer.data(), 3, count), LinkOk);
  EXPECT_EQ(count, 5u);
  EXPECT_EQ(buffer, (std::array<uint8_t, 5>{9, 8, 7, 0xAA, 0xAA}));
}

TEST_F(PacketExchange, ReadAnsweredWithPlainOkCarriesNoBytes) {
  transport.script = {StatusReply(1, kStatusOk)};
  std::array<uint8_t, 4> buffer{0xAA, 0xAA, 0xAA, 0xAA};
  unsigned count = 7;
  EXPECT_EQ(link.ReadPacket(1, 17, 0, buffer.data(), 4, count), LinkOk);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(buffer, (std::array<uint8_t, 4>{}));
}

TEST_F(PacketExchange, DeviceStatusRetriesReadsButNotWrites) {
  transport.script = {StatusReply(1, kStatusResultError), StatusReply(1, kStatusResultError)};
  std::array<uint8_t, 4> buffer{};
  unsigned count = 0;
  EXPECT_EQ(link.DeviceRead(1, 17, 0, buffer.data(), 4, count), DeviceResultError);
  EXPECT_EQ(transport.sent.size(), 2u);
  EXPECT_EQ(transport.sent[0], transport.sent[1]);

  transport.sent.clear();
  transport.script = {StatusReply(1, kStatusResultError)};
  EXPECT_EQ(link.DeviceWrite(1, 17, 0, buffer.data(), 4), DeviceResultError);
  EXPECT_EQ(transport.sent.size(), 1u);

  transport.script = {StatusReply(1, kStatusParameterError), DataReply(1, 17, 0, {1})};
  EXPECT_EQ(link.DeviceRead(1, 17, 0, buffer.data(), 4, count), LinkOk);  // second try wins
  EXPECT_EQ(link.pollHoldOff(), 2);
}

TEST_F(PacketExchange, EachStatusByteHasItsResult) {
  const std::vector<std::pair<uint8_t, LinkResult>> statuses = {{0xFF, LinkOk},
                                                                {0xFE, DeviceParameterError},
                                                                {0xFD, DeviceResultError},
                                                                {0xFC, DeviceMemoryError},
                                                                {0xFB, DeviceUpdateFileError}};
  for (auto [status, result] : statuses) {
    transport.script = {StatusReply(2, status, 8)};
    EXPECT_EQ(link.WritePacket(2, 22, 8, nullptr, 8), result) << int(status);
  }
}

TEST_F(PacketExchange, WriteIsConfirmedOnlyByAStatusFromTheAddressedDevice) {
  transport.script = {DataReply(1, 24, 0, {})};
  EXPECT_EQ(link.WritePacket(1, 24, 0, nullptr, 0), LinkExchangeFailed);
  transport.script = {StatusReply(2, kStatusOk)};
  EXPECT_EQ(link.WritePacket(1, 24, 0, nullptr, 0), LinkExchangeFailed);
  transport.script = {StatusReply(1, kStatusOk, 1)};
  EXPECT_EQ(link.WritePacket(1, 24, 0, nullptr, 0), LinkExchangeFailed);
}

TEST_F(PacketExchange, SilentDeviceTimesOutAfter500MsAndReadsTryTwice) {
  const uint32_t before = clock.NowMs();
  std::array<uint8_t, 4> buffer{};
  unsigned count = 0;
  EXPECT_EQ(link.ReadPacket(1, 17, 0, buffer.data(), 4, count), LinkTimeout);
  const uint32_t spent = clock.NowMs() - before;
  EXPECT_GE(spent, 500u);
  EXPECT_LT(spent, 510u);
  EXPECT_EQ(host.pumps, 0);  // the reply is polled without pumping

  transport.sent.clear();
  EXPECT_EQ(link.DeviceRead(1, 17, 0, buffer.data(), 4, count), LinkTimeout);
  EXPECT_EQ(transport.sent.size(), 2u);
}

TEST_F(PacketExchange, OffsetBeyond16BitsIsNeverConfirmed) {
  // A device that answers at the offset it received on the wire.
  transport.responder = [](const PacketBytes& request) -> std::optional<Answer> {
    return DataReply(1, 27, GetU16(&request[kPacketOffset]), {1, 2, 3, 4, 5, 6, 7, 8});
  };
  std::array<uint8_t, 8> record{};
  unsigned count = 0;
  EXPECT_EQ(link.DeviceRead(1, 27, 65528, record.data(), 8, count), LinkOk);
  EXPECT_EQ(link.DeviceRead(1, 27, 65536, record.data(), 8, count), LinkExchangeFailed);
  EXPECT_EQ(transport.SentOffset(transport.sent.size() - 1), 0u);
}

// Records whether the exchange was still marked busy when the link pumped messages.
class PumpWatchingHost : public TestHost {
 public:
  using TestHost::TestHost;
  void PumpMessages() override {
    TestHost::PumpMessages();
    if (link != nullptr) busyWhilePumping.push_back(link->exchangeBusy());
  }
  Link* link = nullptr;
  std::vector<bool> busyWhilePumping;
};

TEST(PacketExchangeFailures, FailedReceivePumpsOnceAfterTheExchangeEnded) {
  ManualClock clock;
  PumpWatchingHost host(&clock);
  ScriptedTransport transport;
  Link link(transport, host, clock);
  host.link = &link;

  transport.script = {ReceiveFails(LinkExchangeFailed)};
  PacketBytes packet{};
  EXPECT_EQ(link.ExchangePacket(packet), LinkExchangeFailed);
  EXPECT_EQ(host.busyWhilePumping, std::vector<bool>{false});

  transport.sendFailure = LinkDisconnected;
  EXPECT_EQ(link.ExchangePacket(packet), LinkDisconnected);
  EXPECT_EQ(transport.receives, 1);  // nothing is polled after a failed send
  EXPECT_FALSE(link.exchangeBusy());
}

TEST_F(PacketExchange, PacketLogLinesCountFromTheFirstLoggedPacket) {
  clock.stepPerRead = 0;
  clock.Set(0);  // a tick count of 0 is a valid time base
  host.packetLog = true;
  transport.script = {StatusReply(1, kStatusOk)};
  const uint8_t input = 3;
  ASSERT_EQ(link.DeviceWrite(1, 22, 0, &input, 1), LinkOk);

  clock.Advance(12345);
  transport.script = {DataReply(1, 17, 40, {0x01, 0x02, 0x0A, 0xFF})};
  std::array<uint8_t, 4> navi{};
  unsigned count = 0;
  ASSERT_EQ(link.DeviceRead(1, 17, 40, navi.data(), 4, count), LinkOk);

  const std::vector<std::string> expected = {
      "     0.000 > 00->01 CMD:96 OFFSET:0000 LEN:01 [ 03 ]",
      "     0.000 < 01<-00 CMD:FF OFFSET:0000 LEN:00",
      "    12.345 > 00->01 CMD:11 OFFSET:0040 LEN:00",
      "    12.345 < 01<-00 CMD:91 OFFSET:0040 LEN:04 [ 01 02 0A FF ]",
  };
  EXPECT_EQ(host.log, expected);
}

TEST_F(PacketExchange, ControllerPollAndUncheckedLogWriteNothing) {
  host.packetLog = true;
  transport.script = {DataReply(0, 1, 0, {5, 0})};
  std::array<uint8_t, 66> info{};
  unsigned count = 0;
  ASSERT_EQ(link.DeviceRead(0, 1, 0, info.data(), 66, count), LinkOk);
  EXPECT_TRUE(host.log.empty());

  host.packetLog = false;
  transport.script = {StatusReply(1, kStatusOk)};
  ASSERT_EQ(link.DeviceWrite(1, 3, 0, nullptr, 0), LinkOk);
  EXPECT_TRUE(host.log.empty());
}

}  // namespace
}  // namespace qvr::test
