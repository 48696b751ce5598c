// Device information, the command wrappers with their error boxes, and the IR-code wait.
#include <array>
#include <string>
#include <vector>

#include "link/device_commands.h"
#include "link/device_info.h"
#include "link/link_fixture.h"

namespace qvr::test {
namespace {

const DeviceModule* const kMux = &kDeviceModules[kPageMux410];
const DeviceModule* const kTpx = &kDeviceModules[kPageTpx520];

using DeviceCommands = LinkFixture;

TEST_F(DeviceCommands, ResultTextsComeFromTheCatalogue) {
  EXPECT_EQ(LinkResultText(catalogue, LinkExchangeFailed),
            "Failed to communicate with the controller");
  EXPECT_EQ(LinkResultText(catalogue, LinkDisconnected), "Controller \"QVR-B\" is disconnected");
  EXPECT_EQ(LinkResultText(catalogue, DeviceUpdateFileError), "Failed firmware update file");
  EXPECT_EQ(LinkResultText(catalogue, 7), "Unknown error USB: 7");
  EXPECT_EQ(LinkResultText(catalogue, -255), "Unknown error USB: -255");
}

TEST_F(DeviceCommands, DeviceInfoOfAMux410FillsAFreshLog) {
  host.log = {"old line"};
  std::vector<uint8_t> payload(65, 0);
  PutU32(&payload[2], 4000000000u);
  PutU16(&payload[6], 7);
  const std::string name = "MUX-410";
  std::copy(name.begin(), name.end(), payload.begin() + 10);
  transport.script = {DataReply(1, 1, 0, payload)};

  DeviceInfo info;
  info.bytes.fill(0xEE);
  ASSERT_EQ(ReadDeviceInfo(link, catalogue, *kMux, info), LinkOk);
  EXPECT_EQ(transport.sent[0][kPacketDestination], 1);
  EXPECT_EQ(info.bytes[65], 0);
  const std::vector<std::string> expected = {
      "******************* Device *******************",
      "Controller                \"MUX-410\"",
      "The serial number         4000000000",
      "Boot version              0.07",
      "Application version       (application is not loaded)",
  };
  EXPECT_EQ(host.log, expected);
}

TEST_F(DeviceCommands, DeviceInfoOfAnAbsentDeviceLeavesTheLogAlone) {
  host.log = {"old line"};
  DeviceInfo info;
  EXPECT_EQ(ReadDeviceInfo(link, catalogue, *kTpx, info), LinkTimeout);
  EXPECT_EQ(transport.sent.size(), 2u);
  EXPECT_EQ(host.log, std::vector<std::string>{"old line"});
  EXPECT_EQ(host.clears, 0);
}

TEST_F(DeviceCommands, FailedRequestsShowOneBoxNamingTheDevice) {
  transport.script = {StatusReply(1, kStatusResultError)};
  const uint8_t on = 1;
  EXPECT_EQ(SendDeviceCommand(link, catalogue, kMux, 24, &on, 1), DeviceResultError);
  std::array<uint8_t, 2> lastEvent{};
  EXPECT_EQ(ReadDeviceValue(link, catalogue, kTpx, 23, lastEvent.data(), 2), LinkTimeout);
  ASSERT_EQ(host.boxes.size(), 2u);
  EXPECT_EQ(host.boxes[0].kind, kBoxError);
  EXPECT_EQ(host.boxes[0].text, "Error writing to the device \"MUX-410\"\nFailed result");
  EXPECT_EQ(host.boxes[1].text,
            "Error reading from device \"TPX-520\"\nOut of the timeout response");

  // Without a module nothing is sent and nothing is shown.
  EXPECT_EQ(SendDeviceCommand(link, catalogue, nullptr, 24, &on, 1), LinkExchangeFailed);
  unsigned length = 43;
  EXPECT_EQ(ReadDeviceValueOfPage(link, catalogue, 3, 16, lastEvent.data(), length),
            LinkExchangeFailed);
  EXPECT_EQ(length, 43u);
  EXPECT_EQ(host.boxes.size(), 2u);
  EXPECT_EQ(transport.sent.size(), 3u);
}

TEST_F(DeviceCommands, PageReadReportsNoMoreBytesThanFitTheBuffer) {
  std::vector<uint8_t> entry(50, 0x42);
  transport.script = {DataReply(1, 16, 0, entry), DataReply(1, 16, 0, {1, 2, 3})};
  std::array<uint8_t, 44> buffer{};
  unsigned length = 43;
  ASSERT_EQ(ReadDeviceValueOfPage(link, catalogue, kPageMux410, 16, buffer.data(), length), LinkOk);
  EXPECT_EQ(length, 43u);
  EXPECT_EQ(buffer[43], 0);
  length = 43;
  ASSERT_EQ(ReadDeviceValueOfPage(link, catalogue, kPageMux410, 16, buffer.data(), length), LinkOk);
  EXPECT_EQ(length, 3u);
}

TEST_F(DeviceCommands, DescriptionDumpIsOneLineOfHexPairs) {
  std::vector<uint8_t> description(20);
  for (size_t i = 0; i < description.size(); ++i) description[i] = uint8_t(0xA0 + i);
  transport.script = {DataReply(1, 6, 0, description)};
  std::string line;
  ASSERT_EQ(ReadDeviceDescription(link, catalogue, kTpx, 1, line), LinkOk);
  EXPECT_EQ(line.size(), 20u * 2 + 19);
  EXPECT_EQ(line.substr(0, 8), "A0 A1 A2");
  EXPECT_EQ(line.substr(line.size() - 5), "B2 B3");
}

TEST_F(DeviceCommands, ResetToDefaultAsksWithNoAsDefault) {
  host.answers = {kBoxResultNo};
  EXPECT_EQ(ResetToDefault(link, catalogue, *kTpx), LinkOk);
  EXPECT_TRUE(transport.sent.empty());
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].kind, kBoxWarning + kBoxDefaultNo);
  EXPECT_EQ(host.boxes[0].text,
            "Are you sure you want to reset\nthe device configuration \"TPX-520\"\nto its default "
            "state?");

  host.answers = {kBoxResultYes};
  transport.script = {StatusReply(2, kStatusOk)};
  EXPECT_EQ(ResetToDefault(link, catalogue, *kTpx), LinkOk);
  ASSERT_EQ(transport.sent.size(), 1u);
  EXPECT_EQ(transport.sent[0][kPacketDestination], 2);
  EXPECT_EQ(transport.sent[0][kPacketCommand], 0x84);

  transport.script = {StatusReply(0, kStatusOk)};
  EXPECT_EQ(ResetDevice(link, kDeviceModules[kPageQvrb]), LinkOk);
  EXPECT_EQ(transport.sent[1][kPacketDestination], 0);
  EXPECT_EQ(transport.sent[1][kPacketCommand], 0x83);
}

class IrWait : public LinkFixture {
 protected:
  IrWait() {
    host.pumpAdvanceMs = 5;
    transport.responder = [this](const PacketBytes& r) -> std::optional<Answer> {
      if (r[kPacketCommand] == (29 | kWriteFlag)) return StatusReply(1, startStatus);
      ++polls;
      const uint8_t type = polls >= answerOnPoll ? reaction : 0;
      return DataReply(1, 29, 0, {type, 1, 0x34, 0x12, 0x56});
    };
  }

  uint8_t startStatus = kStatusOk;
  uint8_t reaction = 0;
  int answerOnPoll = 1;
  int polls = 0;
  std::array<uint8_t, 5> code{};
};

TEST_F(IrWait, NoCodeEndsAtOnceWithFalse) {
  reaction = 0xFF;
  EXPECT_FALSE(WaitForIrCode(link, catalogue, kMux, 29, code.data()));
  EXPECT_EQ(polls, 1);
  EXPECT_EQ(host.progressTotal, 10000);
  EXPECT_EQ(host.progressCaption, "Pending receipt of the IR code");
}

TEST_F(IrWait, LearnedCodeEndsTheWaitWithItsBytes) {
  reaction = 3;
  answerOnPoll = 4;
  EXPECT_TRUE(WaitForIrCode(link, catalogue, kMux, 29, code.data()));
  EXPECT_EQ(polls, 4);
  EXPECT_EQ(code, (std::array<uint8_t, 5>{3, 1, 0x34, 0x12, 0x56}));
}

TEST_F(IrWait, NothingReceivedEndsAfterTenSecondsWithTrue) {
  const uint32_t start = clock.NowMs();
  EXPECT_TRUE(WaitForIrCode(link, catalogue, kMux, 29, code.data()));
  const uint32_t spent = clock.NowMs() - start;
  EXPECT_GT(spent, 10000u);
  EXPECT_LT(spent, 10400u);
  EXPECT_EQ(code[0], 0);
  EXPECT_GE(polls, 80);
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(IrWait, FailedStartOrFirstPollGivesFalse) {
  startStatus = kStatusParameterError;
  EXPECT_FALSE(WaitForIrCode(link, catalogue, kMux, 29, code.data()));
  EXPECT_EQ(polls, 0);
  EXPECT_EQ(host.progressBegins, 0);
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].text, "Error writing to the device \"MUX-410\"\nError in parameters");

  startStatus = kStatusOk;
  transport.script = {StatusReply(1, kStatusOk), StatusReply(1, kStatusMemoryError),
                      StatusReply(1, kStatusMemoryError)};
  EXPECT_FALSE(WaitForIrCode(link, catalogue, kMux, 29, code.data()));
  EXPECT_EQ(host.boxes.size(), 2u);
}

}  // namespace
}  // namespace qvr::test
