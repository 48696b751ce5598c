// Live commands and firmware reception of the simulated devices.
#include "sim/sim_update_image.h"
#include "sim_wire.h"

namespace qvr::sim::test {
namespace {

// Sends an update file the way the update procedure does: one single block at offset 0, then
// payload + 32 bytes in blocks of 32 from offset 0 (the tail beyond the file is zero).
uint8_t SendUpdate(SimTransport& transport, uint8_t address, const std::vector<uint8_t>& file) {
  std::vector<uint8_t> payload(file.begin() + 4, file.end() - 2);
  std::vector<uint8_t> image(file.begin() + 4, file.end());
  image.resize(payload.size() + 32, 0);
  Reply first = Write(transport, address, 2, 0, {image.begin(), image.begin() + 32});
  if (first.command() != 0xFF) return first.command();
  for (size_t offset = 0; offset < image.size(); offset += 32) {
    size_t end = std::min(image.size(), offset + 32);
    Reply block = Write(transport, address, 2, uint16_t(offset),
                        {image.begin() + long(offset), image.begin() + long(end)});
    if (block.command() != 0xFF) return block.command();
  }
  return 0xFF;
}

uint16_t ReportedVersion(SimTransport& transport, uint8_t address) {
  return GetU16(&Read(transport, address, 1).bytes[6]);
}

TEST(SimUpdate, ImageWithMagicGivesTheNewVersionAtTheNextIdentification) {
  for (uint8_t address = 0; address < 3; ++address) {
    SCOPED_TRACE(int(address));
    SimController controller;
    SimTransport transport(controller);
    std::array<uint8_t, 66> info = controller.Info(address);
    // 64-byte payload: P + 32 is a whole number of blocks, so only the next command ends it.
    std::vector<uint8_t> file = BuildUpdateFile(901, info[8], info[9], 64);
    EXPECT_EQ(SendUpdate(transport, address, file), 0xFF);
    EXPECT_TRUE(controller.UpdateInProgress(address));
    EXPECT_EQ(ReportedVersion(transport, address), 901);
    EXPECT_FALSE(controller.UpdateInProgress(address));
    std::vector<uint8_t> received = controller.UpdateBytes(address);
    ASSERT_EQ(received.size(), 96u);
    EXPECT_TRUE(std::equal(file.begin() + 4, file.end(), received.begin()));
    EXPECT_TRUE(std::all_of(received.begin() + 66, received.end(), [](uint8_t b) { return !b; }));
  }
}

TEST(SimUpdate, ShortLastBlockEndsTheTransferAtOnce) {
  SimController controller;
  SimTransport transport(controller);
  std::vector<uint8_t> file =
      BuildUpdateFile(250, kMux410Identity.deviceVersion, kMux410Identity.deviceType, 70);
  EXPECT_EQ(SendUpdate(transport, kAddressMux410, file), 0xFF);
  EXPECT_FALSE(controller.UpdateInProgress(kAddressMux410));
  EXPECT_EQ(GetU16(controller.Info(kAddressMux410).data()), 250);
}

// The new firmware starts once the image is whole: a device behind the controller restarts
// (and may be silent for a while), the controller answers the last block and drops off the
// bus as after its reset.
TEST(SimUpdate, AWholeImageRestartsTheDeviceIntoIt) {
  SimController controller;
  SimTransport transport(controller);
  controller.SetRestartSilence(1);
  const Identity& mux = kMux410Identity;
  EXPECT_EQ(SendUpdate(transport, kAddressMux410,
                       BuildUpdateFile(251, mux.deviceVersion, mux.deviceType, 70)),
            0xFF);
  EXPECT_EQ(Read(transport, kAddressMux410, 1).command(), 0);
  EXPECT_EQ(ReportedVersion(transport, kAddressMux410), 251);

  controller.SetResetDropReports(2);
  const Identity& own = kControllerIdentity;
  EXPECT_EQ(SendUpdate(transport, kAddressController,
                       BuildUpdateFile(113, own.deviceVersion, own.deviceType, 70)),
            0xFF);
  PacketBytes poll = MakeRequest(kAddressController, 1, false);
  EXPECT_EQ(transport.SendFeatureReport(poll), LinkExchangeFailed);
  EXPECT_EQ(transport.SendFeatureReport(poll), LinkDisconnected);
  EXPECT_EQ(ReportedVersion(transport, kAddressController), 113);
}

// A boot loader that keeps its application acknowledges the whole image and starts the old
// firmware again: the version never changes, not even to "no application" during the transfer.
TEST(SimUpdate, ADeviceKeepingItsFirmwareAcknowledgesEveryBlockAndKeepsItsVersion) {
  SimController controller;
  SimTransport transport(controller);
  controller.SetKeepsOldFirmware(true);
  const Identity& tpx = kTpx520Identity;
  std::vector<uint8_t> file = BuildUpdateFile(990, tpx.deviceVersion, tpx.deviceType, 100);
  EXPECT_EQ(Write(transport, kAddressTpx520, 2, 0, {file.begin() + 4, file.begin() + 36}).command(),
            0xFF);
  EXPECT_EQ(GetU16(controller.Info(kAddressTpx520).data()), tpx.applicationVersion);
  EXPECT_EQ(SendUpdate(transport, kAddressTpx520, file), 0xFF);
  EXPECT_EQ(ReportedVersion(transport, kAddressTpx520), tpx.applicationVersion);
}

TEST(SimUpdate, ImageWithoutMagicIsAnUpdateFileErrorAndKeepsTheVersion) {
  SimController controller;
  SimTransport transport(controller);
  std::vector<uint8_t> file =
      BuildUpdateFile(999, kTpx520Identity.deviceVersion, kTpx520Identity.deviceType, 100, false);
  EXPECT_EQ(SendUpdate(transport, kAddressTpx520, file), 0xFB);
  EXPECT_EQ(Write(transport, kAddressTpx520, 2, 32, std::vector<uint8_t>(32, 1)).command(), 0xFB);
  EXPECT_EQ(ReportedVersion(transport, kAddressTpx520), kTpx520Identity.applicationVersion);
}

TEST(SimUpdate, BuiltFilesCarryTheXmodemCrc) {
  const uint8_t digits[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
  EXPECT_EQ(UpdateFileCrc(digits, 9), 0x31C3);
  std::vector<uint8_t> file = BuildUpdateFile(123, 4, 5, 10);
  ASSERT_EQ(file.size(), 16u);
  EXPECT_EQ(GetU16(&file[0]), 123);
  EXPECT_EQ(file[2], 4);
  EXPECT_EQ(file[3], 5);
  EXPECT_EQ(GetU16(&file[14]), UpdateFileCrc(file.data(), 14));
}

TEST(SimIrLearning, AnswersEmptyPollsThenTheCode) {
  SimController controller;
  SimTransport transport(controller);
  EXPECT_EQ(Write(transport, kAddressMux410, 29, 0, {}).command(), 0xFF);
  for (int poll = 0; poll < 3; ++poll) {
    Reply reply = Read(transport, kAddressMux410, 29);
    ASSERT_EQ(reply.length(), 5);
    EXPECT_EQ(reply.bytes[6], 0) << "poll " << poll;
  }
  EXPECT_EQ(Read(transport, kAddressMux410, 29).data(), (std::vector<uint8_t>{1, 0, 4, 0, 0x11}));
  // A new start begins a new wait.
  controller.SetIrLearning(kAddressTpx520, 1, {0xFF, 0, 0, 0, 0});
  EXPECT_EQ(Write(transport, kAddressTpx520, 24, 0, {}).command(), 0xFF);
  EXPECT_EQ(Read(transport, kAddressTpx520, 24).bytes[6], 0);
  EXPECT_EQ(Read(transport, kAddressTpx520, 24).bytes[6], 0xFF);
}

TEST(SimLiveCommands, CurrentInputEventsAndPaType) {
  SimController controller;
  SimTransport transport(controller);
  EXPECT_EQ(Write(transport, kAddressMux410, 22, 0, {4}).command(), 0xFF);
  EXPECT_EQ(Read(transport, kAddressMux410, 22).data(), std::vector<uint8_t>{4});
  EXPECT_EQ(Write(transport, kAddressTpx520, 21, 0, {6}).command(), 0xFF);
  EXPECT_EQ(Write(transport, kAddressTpx520, 21, 0, {7}).command(), 0xFE);
  EXPECT_EQ(controller.CurrentInput(kAddressTpx520), 6);

  EXPECT_EQ(Read(transport, kAddressMux410, 28).data(), (std::vector<uint8_t>{0, 0}));
  EXPECT_EQ(Write(transport, kAddressMux410, 28, 0, {1}).command(), 0xFF);
  EXPECT_EQ(Read(transport, kAddressMux410, 28).data(), (std::vector<uint8_t>{2, 2}));
  EXPECT_EQ(Write(transport, kAddressTpx520, 23, 0, {10}).command(), 0xFD);  // past the end

  EXPECT_EQ(Read(transport, kAddressMux410, 26).data(), std::vector<uint8_t>{1});
  EXPECT_EQ(Write(transport, kAddressMux410, 20, 0, {2}).command(), 0xFF);  // passive PA mode
  EXPECT_EQ(Read(transport, kAddressMux410, 26).data(), std::vector<uint8_t>{2});
}

TEST(SimLiveCommands, AutoSetupsChangeWhatTheNextReadShows) {
  SimController controller;
  SimTransport transport(controller);
  std::vector<uint8_t> touch = controller.Block(kAddressTpx520, 16);
  EXPECT_EQ(Write(transport, kAddressTpx520, 19, 0, {}).command(), 0xFF);
  EXPECT_NE(controller.Block(kAddressTpx520, 16), touch);
  EXPECT_EQ(Write(transport, kAddressTpx520, 20, 0, {}).command(), 0xFF);
  EXPECT_EQ(controller.Block(kAddressTpx520, 17)[0], 3);
  EXPECT_EQ(Write(transport, kAddressMux410, 17, 0, {0, 1, 0, 0}).command(), 0xFF);
  EXPECT_EQ(Write(transport, kAddressMux410, 21, 0, {}).command(), 0xFF);
  EXPECT_EQ(controller.Block(kAddressMux410, 17)[0], 2);
}

TEST(SimLiveCommands, IebusStreamAndDescription) {
  SimController controller;
  SimTransport transport(controller);
  std::array<uint8_t, 43> entry{};
  PutU16(&entry[1], 1234);
  PutU16(&entry[4], 0x100);
  PutU16(&entry[6], 0x1F0);
  entry[8] = 3;
  entry[9] = 0x01;
  controller.QueueIebusEntry(entry);
  Reply queued = Read(transport, kAddressMux410, 16);
  ASSERT_EQ(queued.length(), 43);
  EXPECT_TRUE(std::equal(entry.begin(), entry.end(), queued.bytes.begin() + 6));
  Reply made = Read(transport, kAddressMux410, 16);
  ASSERT_EQ(made.length(), 43);
  EXPECT_LE(made.bytes[6 + 8], 34);
  controller.SetIebusIdle(true);
  EXPECT_EQ(Read(transport, kAddressMux410, 16).length(), 0);

  Reply description = Read(transport, kAddressMux410, 6);
  EXPECT_GT(description.length(), 0);
  EXPECT_LE(description.length(), 65);
  EXPECT_EQ(description.bytes[6], 'M');
}

}  // namespace
}  // namespace qvr::sim::test
