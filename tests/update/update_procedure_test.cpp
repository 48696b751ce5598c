// The firmware update against the simulated controller: what is asked, what is refused before
// anything is sent, and the requests that carry the image.
#include "update/update_procedure.h"
#include "devices/drivers/device_drivers.h"

#include <gtest/gtest.h>

#include "i18n/catalogue.h"
#include "link/bytes.h"
#include "link/device_info.h"
#include "link/packet_layout.h"
#include "sim/sim_controller.h"
#include "sim/sim_transport.h"
#include "support/ldr_builder.h"
#include "support/test_host.h"

namespace qvr {
namespace {

using test::LdrBuilder;

struct WriteRequest {
  unsigned offset;
  unsigned length;
  std::vector<uint8_t> data;
};

class FirmwareUpdate : public ::testing::Test {
 protected:
  FirmwareUpdate() {
    clock.stepPerRead = 1;  // a silent device runs into the reply time-out
    catalogue.setLanguage(kEnglish);
  }

  // An update file that fits the MUX-410 (device version 33, type 2).
  LdrBuilder MuxFile(uint16_t version, size_t payloadSize = 64) {
    return LdrBuilder{.version = version,
                      .deviceVersion = sim::kMux410Identity.deviceVersion,
                      .deviceType = sim::kMux410Identity.deviceType,
                      .payloadSize = payloadSize};
  }

  UpdateOutcome Update(const std::vector<uint8_t>& bytes, const DeviceModule& module = kMux410) {
    const std::string path = dir.File("mux.LDR");
    test::WriteBytes(path, bytes);
    UpdateFileChooser chooser{[path] { return path; },
                              [this](const std::string& p) { remembered.push_back(p); },
                              [this](const std::string&, const std::vector<uint8_t>& bytes) {
                                loaded = bytes;
                                writesBeforeLoaded = FirmwareWrites().size();
                              }};
    sim.ClearWire();
    return UpdateFirmware(link, host, catalogue, module, chooser);
  }

  // The firmware writes that reached `address`, in order.
  std::vector<WriteRequest> FirmwareWrites(uint8_t address = 1) const {
    std::vector<WriteRequest> writes;
    for (const sim::WirePacket& p : sim.Wire()) {
      if (!p.request || p.bytes[0] != address || p.bytes[2] != (2 | 0x80)) continue;
      const unsigned length = p.bytes[5];
      writes.push_back({GetU16(&p.bytes[3]), length,
                        std::vector<uint8_t>(p.bytes.begin() + 6, p.bytes.begin() + 6 + length)});
    }
    return writes;
  }

  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const test::Box& box : host.boxes) texts.push_back(box.text);
    return texts;
  }

  static constexpr const DeviceModule& kMux410 = mux410::kModule;

  test::TempDir dir;
  sim::SimController sim;
  sim::SimTransport transport{sim};
  test::ManualClock clock;
  test::TestHost host{&clock};
  Link link{transport, host, clock};
  Catalogue catalogue;
  std::vector<std::string> remembered;
  std::vector<uint8_t> loaded;  // what the update told it would send, before sending it
  size_t writesBeforeLoaded = 0;
};

TEST_F(FirmwareUpdate, NewerFileIsSentAndTheDeviceThenReportsItsVersion) {
  EXPECT_EQ(Update(MuxFile(216).Build()), UpdateOutcome::kUpdated);
  EXPECT_EQ(loaded, MuxFile(216).Build());
  EXPECT_EQ(writesBeforeLoaded, 0u);

  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].style, BoxKind::kInformation);
  EXPECT_EQ(host.boxes[0].text, "The device is successfully updated to version 2.16");
  EXPECT_EQ(remembered, std::vector<std::string>{dir.File("mux.LDR")});
  const std::vector<std::string> expectedLog{
      "******************* Device *******************",
      "Controller                \"MUX-410\"",
      "The serial number         41000123",
      "Boot version              1.04",
      "Application version       2.15",
      "******************* Update *******************",
      "The update file           \"mux.LDR\"",
      "Application version       2.16",
      "confirmed: the unit reports 2.16",
  };
  EXPECT_EQ(host.log, expectedLog);
  EXPECT_EQ(host.progressTotal, 64);
  EXPECT_EQ(host.progressCaption, "Firmware update \"MUX-410\"");

  DeviceInfo info;
  ASSERT_EQ(ReadDeviceInfo(link, host, catalogue, kMux410, info), LinkOk);
  EXPECT_EQ(info.applicationVersion(), 216);
}

TEST_F(FirmwareUpdate, SameOrOlderVersionAsksAndNoSendsNothing) {
  struct Case {
    uint16_t version;
    const char* question;
  };
  for (Case c : {Case{215,
                      "Are you trying to download the same version as in the device\n"
                      "Continue?"},
                 Case{214,
                      "Are you trying to download an older version than the device\n"
                      "Continue?"}}) {
    host.boxes.clear();
    host.answers = {BoxAnswer::kNo};
    EXPECT_EQ(Update(MuxFile(c.version).Build()), UpdateOutcome::kFailed);
    ASSERT_EQ(host.boxes.size(), 1u) << "No ends without a further message";
    EXPECT_EQ(host.boxes[0].style, BoxKind::kWarning);
    EXPECT_EQ(host.boxes[0].text, c.question);
    EXPECT_TRUE(FirmwareWrites().empty());
  }
  host.boxes.clear();
  host.answers = {BoxAnswer::kYes};
  EXPECT_EQ(Update(MuxFile(214).Build()), UpdateOutcome::kUpdated)
      << "Yes to the older version goes ahead";
  EXPECT_FALSE(FirmwareWrites().empty());
}

TEST_F(FirmwareUpdate, DeviceWithoutApplicationIsUpdatedWithoutAQuestion) {
  sim.SetApplicationVersion(1, 0);
  EXPECT_EQ(Update(MuxFile(1).Build()), UpdateOutcome::kUpdated);
  EXPECT_EQ(host.boxes.size(), 1u);
}

TEST_F(FirmwareUpdate, WrongDeviceVersionOrTypeIsRefusedBeforeAnyQuestion) {
  LdrBuilder wrongVersion = MuxFile(215);  // equal versions would ask, but never get there
  wrongVersion.deviceVersion += 1;
  LdrBuilder wrongType = MuxFile(215);
  wrongType.deviceType = sim::kTpx520Identity.deviceType;
  EXPECT_EQ(Update(wrongVersion.Build()), UpdateOutcome::kFailed);
  EXPECT_EQ(Update(wrongType.Build()), UpdateOutcome::kFailed);
  const std::vector<std::string> expected{"This update is not for this device",
                                          "This update is not for this type of device"};
  EXPECT_EQ(BoxTexts(), expected);
  EXPECT_EQ(host.boxes[0].style, BoxKind::kError);
  EXPECT_TRUE(FirmwareWrites().empty());
}

TEST_F(FirmwareUpdate, DamagedFilesAreRefusedWithNothingSent) {
  std::vector<uint8_t> oversized(131073, 0);
  std::vector<uint8_t> truncated = MuxFile(216).Build();
  truncated.resize(truncated.size() - 10);
  LdrBuilder swapped = MuxFile(216);
  swapped.crcHighByteFirst = true;

  for (const auto& bytes : {oversized, truncated, swapped.Build()}) Update(bytes);
  const std::vector<std::string> expected{
      "Error file size \"mux.LDR\"", "CRC error file \"mux.LDR\"", "CRC error file \"mux.LDR\""};
  EXPECT_EQ(BoxTexts(), expected);
  EXPECT_TRUE(FirmwareWrites().empty());
  EXPECT_EQ(host.progressBegins, 0);
  EXPECT_EQ(host.log.back(), "Application version       2.15") << "no update lines";
}

TEST_F(FirmwareUpdate, SeventyByteFileSendsTheLeadingBlockThenPayloadChecksumAndZeros) {
  const std::vector<uint8_t> bytes = MuxFile(216, 64).Build();
  ASSERT_EQ(bytes.size(), 70u);
  EXPECT_EQ(Update(bytes), UpdateOutcome::kUpdated);

  const std::vector<WriteRequest> writes = FirmwareWrites();
  ASSERT_EQ(writes.size(), 4u);
  const unsigned offsets[] = {0, 0, 32, 64};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(writes[i].offset, offsets[i]) << i;
    EXPECT_EQ(writes[i].length, 32u) << i;
  }
  const std::vector<uint8_t> leading(bytes.begin() + 4, bytes.begin() + 36);
  EXPECT_EQ(writes[0].data, leading);
  EXPECT_EQ(writes[1].data, leading);
  std::vector<uint8_t> last(32, 0);
  last[0] = bytes[68];
  last[1] = bytes[69];
  EXPECT_EQ(writes[3].data, last);
  EXPECT_EQ(host.progressDone, 96) << "every acknowledged block counts, the leading write not";
}

TEST_F(FirmwareUpdate, FileWhoseBlocksWouldPassOffset65535IsRefusedBeforeSendingAsTooLarge) {
  // 65,511 bytes: a sound file that the 16-bit offsets cannot carry, said as such (not as a
  // damaged file), in both languages.
  EXPECT_EQ(Update(MuxFile(216, 65505).Build()), UpdateOutcome::kFailed);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{
                            "The update file \"mux.LDR\" is too large to transfer to the device: "
                            "65511 bytes, while the 16-bit block offsets reach at most 65510 "
                            "bytes. The file is not damaged; nothing was sent to the device"});
  catalogue.setLanguage(kRussian);
  host.boxes.clear();
  EXPECT_EQ(Update(MuxFile(216, 65505).Build()), UpdateOutcome::kFailed);
  EXPECT_EQ(BoxTexts().at(0).rfind("Файл обновления \"mux.LDR\" слишком велик для передачи", 0),
            0u);
  catalogue.setLanguage(kEnglish);
  EXPECT_TRUE(FirmwareWrites().empty());

  host.boxes.clear();
  EXPECT_EQ(Update(MuxFile(216, 65504).Build()), UpdateOutcome::kUpdated);
  const std::vector<WriteRequest> writes = FirmwareWrites();
  ASSERT_FALSE(writes.empty());
  EXPECT_EQ(writes.back().offset, 65504u);
  EXPECT_EQ(writes.size(), 1u + 65536u / 32u);
}

TEST_F(FirmwareUpdate, UnplugDuringTheTransferSaysHowToRecoverAndTheSameUpdateRestoresTheUnit) {
  const std::vector<uint8_t> bytes = MuxFile(216, 1000).Build();
  test::WriteBytes(dir.File("mux.LDR"), bytes);
  // Identification takes two reports; let a few firmware blocks through, then pull the cable.
  sim.UnplugAfter(2 + 2 * 5);
  EXPECT_EQ(Update(bytes), UpdateOutcome::kFailed);
  ASSERT_EQ(host.boxes.size(), 1u);
  EXPECT_EQ(host.boxes[0].text,
            "Failed to update the firmware\n"
            "Failed to communicate with the controller\n"
            "The device may now be left without working firmware.\n"
            "Without unplugging the device, run the same update again: it restores the firmware.");
  EXPECT_EQ(FirmwareWrites().size(), 5u);
  EXPECT_EQ(host.log.back(), "failed at block 5 of 33 (offset 0x0080)") << "the place is logged";

  // The boot loader is left without an application; the same update, run again, brings it
  // back without a version question.
  sim.Replug();
  host.boxes.clear();
  EXPECT_EQ(Update(bytes), UpdateOutcome::kUpdated);
  EXPECT_EQ(BoxTexts(),
            std::vector<std::string>{"The device is successfully updated to version 2.16"});
  EXPECT_NE(std::find(host.log.begin(), host.log.end(),
                      "Application version       (application is not loaded)"),
            host.log.end());
  EXPECT_EQ(GetU16(sim.Info(1).data()), 216);
}

TEST_F(FirmwareUpdate, DeviceRejectingTheImageGivesTheUpdateFileText) {
  LdrBuilder noMagic = MuxFile(216);
  noMagic.withMagic = false;
  EXPECT_EQ(Update(noMagic.Build()), UpdateOutcome::kFailed);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Failed to update the firmware\n"
                                                 "Failed firmware update file"});

  // The leading block refused by the device: nothing more is sent.
  host.boxes.clear();
  sim.StatusNext(kStatusResultError, 1, 2);
  EXPECT_EQ(Update(MuxFile(216).Build()), UpdateOutcome::kFailed);
  EXPECT_EQ(FirmwareWrites().size(), 1u);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Failed to update the firmware\n"
                                                 "Failed result"});
}

// After the last block the unit restarts into its new firmware: its own answer, as the same
// unit, decides. It may be silent for a while; one that runs another version, or that has not
// answered after about ten seconds, has not been updated, and nothing but identification
// requests follows the last block.
TEST_F(FirmwareUpdate, TheUnitsOwnAnswerAfterItsRestartDecides) {
  // With 200 bytes the last block is a short one: the image ends, the unit restarts at once.
  sim.SetRestartSilence(4);  // two identifications (with their retries) go unanswered
  EXPECT_EQ(Update(MuxFile(216, 200).Build()), UpdateOutcome::kUpdated);
  EXPECT_EQ(BoxTexts(),
            std::vector<std::string>{"The device is successfully updated to version 2.16"});
  EXPECT_EQ(host.log.back(), "confirmed: the unit reports 2.16");

  // Header and image disagree on the version: the boot loader finds the image broken.
  std::vector<uint8_t> broken = MuxFile(217, 200).Build();
  broken[8] = 218 & 0xFF;
  const uint16_t crc = test::BitwiseCrc16Xmodem(broken.data(), broken.size() - 2);
  broken[broken.size() - 2] = uint8_t(crc);
  broken[broken.size() - 1] = uint8_t(crc >> 8);
  host.boxes.clear();
  EXPECT_EQ(Update(broken), UpdateOutcome::kNotTaken);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"the unit reports 0.00, not the update file's "
                                                 "2.17: it did not take the update"});
  EXPECT_EQ(host.boxes[0].style, BoxKind::kError);

  sim.SetKeepsOldFirmware(true);
  sim.SetApplicationVersion(1, 216);
  host.boxes.clear();
  EXPECT_EQ(Update(MuxFile(217, 200).Build()), UpdateOutcome::kNotTaken);
  EXPECT_EQ(BoxTexts(),
            std::vector<std::string>{"the unit still reports 2.16: it did not take the update"});

  sim.SetRestartSilence(sim::kAlways);
  host.boxes.clear();
  const uint32_t start = clock.NowMs();
  EXPECT_EQ(Update(MuxFile(217, 200).Build()), UpdateOutcome::kNotConfirmed);
  const uint32_t waited = clock.NowMs() - start;
  EXPECT_GE(waited, 10000u);
  EXPECT_LT(waited, 12500u);
  EXPECT_EQ(BoxTexts(),
            std::vector<std::string>{"sent, not confirmed: the unit has not answered since"});
  const std::vector<WriteRequest> blocks = FirmwareWrites();
  size_t afterLastBlock = 0;
  for (const sim::WirePacket& p : sim.Wire()) {
    if (!p.request) continue;
    if (p.bytes[2] == (2 | 0x80)) {
      afterLastBlock = 0;
      continue;
    }
    ++afterLastBlock;
    EXPECT_EQ(p.bytes[2], 1) << "only identifications follow the blocks";
    EXPECT_EQ(p.bytes[0], 1);
  }
  EXPECT_GE(afterLastBlock, 10u);
  EXPECT_EQ(blocks.back().length, 8u);
}

// The controller answers its last block and drops off the bus to restart: it is asked again
// until it is back.
TEST_F(FirmwareUpdate, TheControllerIsAskedAgainUntilItIsBackOnTheBus) {
  const sim::Identity& own = sim::kControllerIdentity;
  sim.SetResetDropReports(7);
  const std::vector<uint8_t> file = LdrBuilder{.version = 113,
                                               .deviceVersion = own.deviceVersion,
                                               .deviceType = own.deviceType,
                                               .payloadSize = 200}
                                        .Build();
  EXPECT_EQ(Update(file, kControllerModule), UpdateOutcome::kUpdated);
  EXPECT_EQ(host.log.back(), "confirmed: the unit reports 1.13");
}

TEST_F(FirmwareUpdate, CancelledChoiceEndsSilentlyAfterTheDeviceBanner) {
  UpdateFileChooser chooser{[] { return std::string(); },
                            [this](const std::string& p) { remembered.push_back(p); }, nullptr};
  EXPECT_EQ(UpdateFirmware(link, host, catalogue, kMux410, chooser), UpdateOutcome::kCancelled);
  EXPECT_TRUE(host.boxes.empty());
  EXPECT_TRUE(remembered.empty());
  ASSERT_FALSE(host.log.empty());
  EXPECT_EQ(host.log.front(), "******************* Device *******************");
}

TEST_F(FirmwareUpdate, AbsentDeviceIsReportedBeforeTheFileIsChosen) {
  sim.SetDevicePresent(2, false);
  bool chosen = false;
  UpdateFileChooser chooser{[&chosen] {
                              chosen = true;
                              return std::string("x.LDR");
                            },
                            nullptr, nullptr};
  EXPECT_EQ(UpdateFirmware(link, host, catalogue, tpx520::kModule, chooser),
            UpdateOutcome::kFailed);
  EXPECT_FALSE(chosen);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Error reading the device \"TPX-520\" "
                                                 "configuration\nOut of the timeout response"});
}

}  // namespace
}  // namespace qvr
