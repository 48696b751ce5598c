// Device information, the command wrappers with their error boxes, and the IR-code wait.
#include "devices/common/device_commands.h"
#include "devices/drivers/device_drivers.h"
#include "link/device_info.h"
#include "link/scripted_transport.h"
#include "sim/sim_controller.h"
#include "sim/sim_transport.h"

namespace qvr::test {
namespace {

const DeviceModule* const kMux = &mux410::kModule;
const DeviceModule* const kTpx = &tpx520::kModule;

using DeviceCommands = LinkFixture;

TEST_F(DeviceCommands, DeviceInfoFillsAFreshLogOnlyWhenTheDeviceAnswers) {
  host.log = {"old line"};
  DeviceInfo info;
  EXPECT_EQ(ReadDeviceInfo(link, host, catalogue, *kTpx, info), LinkTimeout);
  EXPECT_EQ(host.log, std::vector<std::string>{"old line"});

  std::vector<uint8_t> payload(65, 0x41);  // a name that runs to the end of the reply
  PutU16(&payload[0], 0);
  PutU32(&payload[2], 4000000000u);
  PutU16(&payload[6], 7);
  payload[10] = 0xCA;  // Windows-1251, as every 8-bit text of the devices: "Ко"
  payload[11] = 0xEE;
  transport.script = {Data(1, 1, 0, payload)};
  ASSERT_EQ(ReadDeviceInfo(link, host, catalogue, *kMux, info), LinkOk);
  EXPECT_EQ(transport.sent.back()[kPacketDestination], 1);
  const std::vector<std::string> expected = {
      "******************* Device *******************",
      "Controller                \"Ко" + std::string(53, 'A') + "\"",
      "The serial number         4000000000",
      "Boot version              0.07",
      "Application version       (application is not loaded)",
  };
  EXPECT_EQ(host.log, expected);
}

TEST(ControllerReset, CountsAsDoneWhenTheControllerLeavesTheBusInsteadOfAnswering) {
  sim::SimController controller;
  sim::SimTransport transport(controller);
  ManualClock clock;
  clock.stepPerRead = 1;
  TestHost host(&clock);
  Link link(transport, host, clock);
  const DeviceModule& qvrb = kControllerModule;
  EXPECT_EQ(ResetDevice(link, qvrb), LinkOk);
  EXPECT_EQ(controller.CountRequests(0, 3), 1);

  // One that answers first is as good; one that neither answers nor leaves has failed.
  controller.ClearFaults();
  controller.SetResetAnswersFirst(true);
  EXPECT_EQ(ResetDevice(link, qvrb), LinkOk);
  controller.ClearFaults();
  controller.SilenceNext(1);
  EXPECT_EQ(ResetDevice(link, qvrb), LinkTimeout);
  // A controller already gone before the request is not reset either.
  controller.Unplug();
  EXPECT_EQ(ResetDevice(link, qvrb), LinkExchangeFailed);
  EXPECT_EQ(ResetDevice(link, qvrb), LinkDisconnected);
}

TEST_F(DeviceCommands, FailedRequestsShowOneBoxNamingTheDevice) {
  transport.script = {Status(1, kStatusResultError)};
  EXPECT_EQ(SendDeviceCommand(link, host, catalogue, kMux, 24, buffer.data(), 1),
            DeviceResultError);
  EXPECT_EQ(ReadDeviceValue(link, host, catalogue, kTpx, 23, buffer.data(), 2), LinkTimeout);
  EXPECT_EQ(ResetDevice(link, *kMux), LinkTimeout);  // the toolbar reports this one
  ASSERT_EQ(host.boxes.size(), 2u);
  EXPECT_EQ(host.boxes[0].style, BoxKind::kError);
  EXPECT_EQ(host.boxes[0].text, "Error writing to the device \"MUX-410\"\nFailed result");
  EXPECT_EQ(host.boxes[1].text,
            "Error reading from device \"TPX-520\"\nOut of the timeout response");
  EXPECT_EQ(LinkResultText(catalogue, LinkResult(99)), "Unknown error USB: 99");

  // No device row: silently refused.
  EXPECT_EQ(SendDeviceCommand(link, host, catalogue, nullptr, 16, nullptr, 0), LinkExchangeFailed);
  EXPECT_EQ(host.boxes.size(), 2u);
}

TEST_F(DeviceCommands, PageReadReportsNoMoreBytesThanFitTheBuffer) {
  transport.script = {Data(1, 16, 0, std::vector<uint8_t>(50, 0x42))};
  unsigned length = 43;
  ASSERT_EQ(ReadDeviceReply(link, host, catalogue, *kMux, 16, buffer.data(), length), LinkOk);
  EXPECT_EQ(length, 43u);
  EXPECT_EQ(buffer[43], 0);
}

TEST_F(DeviceCommands, ResetToDefaultSendsNothingUnlessConfirmed) {
  EXPECT_EQ(ResetToDefault(link, host, catalogue, *kTpx), LinkOk);  // the host answers No
  EXPECT_TRUE(transport.sent.empty());
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].style, (BoxStyle{BoxKind::kWarning, DefaultButton::kNo}));
  EXPECT_EQ(host.boxes[0].text,
            "Are you sure you want to reset\nthe device configuration \"TPX-520\"\nto its default "
            "state?");

  host.answers = {BoxAnswer::kYes};
  transport.script = {Status(2, kStatusOk)};
  EXPECT_EQ(ResetToDefault(link, host, catalogue, *kTpx), LinkOk);
  EXPECT_EQ(transport.sent.at(0)[kPacketCommand], 0x84);
}

class IrWait : public LinkFixture {
 protected:
  IrWait() {
    host.pumpAdvanceMs = 5;
    transport.responder = [this](const PacketBytes& r) -> std::optional<Answer> {
      if (r[kPacketCommand] & kWriteFlag) return Status(1, startStatus);
      ++polls;
      return Data(1, 29, 0, {polls >= answerOnPoll ? reaction : uint8_t(0), 1, 0x34, 0x12, 0x56});
    };
  }
  bool Wait() { return WaitForIrCode(link, host, catalogue, kMux, 29, code.data()); }

  uint8_t startStatus = kStatusOk, reaction = 0;
  int answerOnPoll = 1, polls = 0;
  std::array<uint8_t, 5> code{};
};

TEST_F(IrWait, CodeOrNoCodeEndsTheWait) {
  reaction = 0xFF;
  EXPECT_FALSE(Wait());
  EXPECT_EQ(polls, 1);
  EXPECT_EQ(host.progressTotal, 10000);
  EXPECT_EQ(host.progressCaption, "Pending receipt of the IR code");

  reaction = 3;
  answerOnPoll = 5;
  EXPECT_TRUE(Wait());
  EXPECT_EQ(polls, 5);
  EXPECT_EQ(code, (std::array<uint8_t, 5>{3, 1, 0x34, 0x12, 0x56}));
}

TEST_F(IrWait, NothingReceivedEndsAfterTenSecondsWithTrue) {
  const uint32_t start = clock.NowMs();
  EXPECT_TRUE(Wait());
  EXPECT_GT(clock.NowMs() - start, 10000u);
  EXPECT_LT(clock.NowMs() - start, 10400u);
  EXPECT_EQ(code[0], 0);
  EXPECT_TRUE(host.boxes.empty());
  EXPECT_NEAR(polls, 10000 / 125, 2) << "the device is asked every 125 ms";
}

TEST_F(IrWait, FailedStartOrFirstPollGivesFalse) {
  startStatus = kStatusParameterError;
  EXPECT_FALSE(Wait());
  EXPECT_EQ(polls, 0);
  EXPECT_EQ(host.progressBegins, 0);

  transport.script = {Status(1, kStatusOk), Status(1, kStatusMemoryError),
                      Status(1, kStatusMemoryError)};
  EXPECT_FALSE(Wait());
  EXPECT_EQ(host.boxes.size(), 2u);
}

}  // namespace
}  // namespace qvr::test
