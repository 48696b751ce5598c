// Fault knobs of the simulated controller and how they look from the host side of the wire.
#include <chrono>

#include "sim_wire.h"

namespace qvr::sim::test {
namespace {

TEST(SimFaults, SilencedRequestsGetNoReplyAndAreNotCarriedOut) {
  SimController controller;
  SimTransport transport(controller);
  controller.SilenceNext(2);
  Reply silent = Write(transport, kAddressMux410, 19, 0, {0x3E});
  EXPECT_EQ(silent.received, LinkOk);
  EXPECT_EQ(silent.bytes, PacketBytes{});
  EXPECT_EQ(Read(transport, kAddressMux410, 1).command(), 0);
  EXPECT_EQ(controller.Block(kAddressMux410, 19), std::vector<uint8_t>{0x20});
  EXPECT_EQ(Read(transport, kAddressMux410, 1).command(), 0x81);

  controller.SilenceNext(kAlways);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Read(transport, kAddressController, 1).command(), 0);
  controller.ClearFaults();
  EXPECT_EQ(Read(transport, kAddressController, 1).command(), 0x81);
}

TEST(SimFaults, ForcedStatusHitsOnlyTheChosenCommand) {
  SimController controller;
  SimTransport transport(controller);
  controller.StatusNext(0xFD, 1, 5);
  EXPECT_EQ(Read(transport, kAddressMux410, 17).command(), 0x91);
  Reply refused = Write(transport, kAddressMux410, 5, 0, {'X'});
  EXPECT_EQ(refused.command(), 0xFD);
  EXPECT_EQ(refused.source(), kAddressMux410);
  EXPECT_TRUE(refused.checksumValid());
  EXPECT_EQ(controller.Block(kAddressMux410, 5)[0], 'D');  // not carried out
  EXPECT_EQ(Read(transport, kAddressMux410, 5).command(), 0x85);

  for (uint8_t status : {0xFB, 0xFC, 0xFE}) {
    controller.StatusNext(status, 1);
    EXPECT_EQ(Read(transport, kAddressTpx520, 1).command(), status);
  }
}

TEST(SimFaults, CorruptedRepliesStillCarryOutTheRequest) {
  SimController controller;
  SimTransport transport(controller);
  controller.CorruptChecksumNext(1);
  Reply corrupt = Write(transport, kAddressMux410, 19, 0, {0x02});
  EXPECT_EQ(corrupt.command(), 0xFF);
  EXPECT_FALSE(corrupt.checksumValid());
  EXPECT_EQ(controller.Block(kAddressMux410, 19), std::vector<uint8_t>{0x02});

  controller.WrongOffsetNext();
  Reply offset = Read(transport, kAddressMux410, 27, 8);
  EXPECT_EQ(offset.offset(), 9);
  EXPECT_TRUE(offset.checksumValid());
  controller.WrongSourceNext();
  EXPECT_EQ(Read(transport, kAddressMux410, 1).source(), 2);
  controller.OverlongLengthNext();
  Reply overlong = Read(transport, kAddressMux410, 1);
  EXPECT_EQ(overlong.length(), 66);
  EXPECT_TRUE(overlong.checksumValid());
  Reply clean = Read(transport, kAddressMux410, 1);
  EXPECT_EQ(clean.length(), 65);
  EXPECT_EQ(clean.source(), 1);
}

TEST(SimFaults, RequestWithBadChecksumIsAParameterError) {
  SimController controller;
  SimTransport transport(controller);
  PacketBytes request = MakeRequest(kAddressMux410, 19, true, 0, {0x04});
  request[71] ^= 1;
  Reply reply = Exchange(transport, request);
  EXPECT_EQ(reply.command(), 0xFE);
  EXPECT_EQ(controller.Block(kAddressMux410, 19), std::vector<uint8_t>{0x20});
}

TEST(SimFaults, ReceiveWithoutRequestIsEmptyAndRepliesAreFetchedOnce) {
  SimController controller;
  SimTransport transport(controller);
  PacketBytes packet{};
  packet.fill(0xAA);
  EXPECT_EQ(transport.ReceiveFeatureReport(packet), LinkOk);
  EXPECT_EQ(packet, PacketBytes{});
  EXPECT_EQ(Read(transport, kAddressController, 1).command(), 0x81);
  EXPECT_EQ(transport.ReceiveFeatureReport(packet), LinkOk);
  EXPECT_EQ(packet[2], 0);
}

TEST(SimFaults, UnplugFailsTheReportInFlightThenOpensUntilReplugged) {
  SimController controller;
  SimTransport transport(controller);
  controller.UnplugAfter(3);
  EXPECT_EQ(Read(transport, kAddressController, 1).command(), 0x81);  // reports 1 and 2
  PacketBytes request = MakeRequest(kAddressController, 1, false);
  EXPECT_EQ(transport.SendFeatureReport(request), LinkOk);  // report 3
  PacketBytes reply{};
  EXPECT_EQ(transport.ReceiveFeatureReport(reply), LinkExchangeFailed);
  EXPECT_FALSE(transport.isOpen());
  EXPECT_EQ(transport.SendFeatureReport(request), LinkDisconnected);
  EXPECT_EQ(transport.SendFeatureReport(request), LinkDisconnected);

  controller.ReplugAfter(2);
  EXPECT_EQ(transport.SendFeatureReport(request), LinkDisconnected);
  EXPECT_EQ(transport.SendFeatureReport(request), LinkDisconnected);
  EXPECT_EQ(Read(transport, kAddressController, 1).command(), 0x81);

  controller.Unplug();
  EXPECT_EQ(transport.SendFeatureReport(request), LinkExchangeFailed);
  controller.Replug();
  EXPECT_EQ(Read(transport, kAddressController, 1).command(), 0x81);
}

TEST(SimFaults, ControllerResetDropsOffTheBusBeforeOrAfterItsReply) {
  SimController controller;
  SimTransport transport(controller);
  controller.SetResetDropReports(3);
  // As a real controller does: it restarts before it can answer, and the report in flight
  // loses its handle.
  const Reply unanswered = Write(transport, kAddressController, 3, 0, {});
  EXPECT_EQ(unanswered.sent, LinkOk);
  EXPECT_EQ(unanswered.received, LinkExchangeFailed);
  PacketBytes poll = MakeRequest(kAddressController, 1, false);
  EXPECT_EQ(transport.SendFeatureReport(poll), LinkDisconnected);
  EXPECT_EQ(transport.SendFeatureReport(poll), LinkDisconnected);
  EXPECT_EQ(Read(transport, kAddressController, 1).command(), 0x81);

  controller.SetResetAnswersFirst(true);
  EXPECT_EQ(Write(transport, kAddressController, 3, 0, {}).command(), 0xFF);
  EXPECT_EQ(transport.SendFeatureReport(poll), LinkExchangeFailed);
  EXPECT_EQ(transport.SendFeatureReport(poll), LinkDisconnected);
  EXPECT_EQ(transport.SendFeatureReport(poll), LinkDisconnected);
  EXPECT_EQ(Read(transport, kAddressController, 1).command(), 0x81);
  // A device reset keeps the controller on the bus.
  EXPECT_EQ(Write(transport, kAddressMux410, 3, 0, {}).command(), 0xFF);
  EXPECT_EQ(Read(transport, kAddressController, 1).command(), 0x81);
  // One that stays away is back only when plugged in again (a new node, for the real one).
  controller.SetResetDropReports(kAlways);
  EXPECT_EQ(Write(transport, kAddressController, 3, 0, {}).command(), 0xFF);
  for (int attempt = 0; attempt < 20; ++attempt)
    EXPECT_NE(transport.SendFeatureReport(poll), LinkOk);
  controller.Replug();
  EXPECT_EQ(Read(transport, kAddressController, 1).command(), 0x81);
}

// A device still starting up after its restart answers nothing for a while, then as before;
// the controller's other devices answer all along.
TEST(SimFaults, ADeviceRestartingAnswersNoneOfItsNextRequests) {
  SimController controller;
  SimTransport transport(controller);
  controller.SetRestartSilence(2);
  EXPECT_EQ(Write(transport, kAddressMux410, 3, 0, {}).command(), 0xFF);
  EXPECT_EQ(Read(transport, kAddressTpx520, 1).command(), 0x81);
  EXPECT_EQ(Read(transport, kAddressMux410, 1).command(), 0);
  EXPECT_EQ(Read(transport, kAddressMux410, 1).command(), 0);
  EXPECT_EQ(Read(transport, kAddressMux410, 1).command(), 0x81);

  controller.SetRestartSilence(kAlways);
  EXPECT_EQ(Write(transport, kAddressTpx520, 3, 0, {}).command(), 0xFF);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Read(transport, kAddressTpx520, 1).command(), 0);
  controller.ClearFaults();
  EXPECT_EQ(Read(transport, kAddressTpx520, 1).command(), 0x81);
}

TEST(SimFaults, WireRecordHoldsRequestsAndRepliesInOrder) {
  SimController controller;
  SimTransport transport(controller);
  PacketBytes request = MakeRequest(kAddressTpx520, 17, false);
  Reply reply = Exchange(transport, request);
  controller.SilenceNext(1);
  (void)Read(transport, kAddressTpx520, 1);
  ASSERT_EQ(controller.Wire().size(), 3u);
  EXPECT_TRUE(controller.Wire()[0].request);
  EXPECT_EQ(controller.Wire()[0].bytes, request);
  EXPECT_FALSE(controller.Wire()[1].request);
  EXPECT_EQ(controller.Wire()[1].bytes, reply.bytes);
  EXPECT_TRUE(controller.Wire()[2].request);
  EXPECT_EQ(controller.CountRequests(kAddressTpx520, 17), 1);
  controller.ClearWire();
  EXPECT_TRUE(controller.Wire().empty());
}

TEST(SimFaults, LatencyIsSpentOnEveryReport) {
  SimController controller;
  SimTransport transport(controller);
  controller.SetLatency(std::chrono::microseconds(1500));
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 10; ++i) (void)Read(transport, kAddressController, 1);
  auto elapsed = std::chrono::steady_clock::now() - start;
  // A sleep is never shorter than asked; how much longer depends on the machine's load, so
  // only the lower bound is a property of the simulator.
  EXPECT_GE(elapsed, std::chrono::microseconds(20 * 1500));
}

}  // namespace
}  // namespace qvr::sim::test
