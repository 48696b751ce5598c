#include <gtest/gtest.h>

#include "devices/drivers/device_drivers.h"
#include "devices/sim_fixture.h"
#include "devices/test_files.h"
#include "devices/tpx520/config_file.h"
#include "devices/tpx520/transfer.h"

namespace qvr::tpx520 {
namespace {

using test::ReadFile;
using test::ScratchFolder;
using test::WriteFile;

const DeviceModule& kTpx = tpx520::kModule;
constexpr uint8_t kAddress = 2;
constexpr int kWrite = 0x80;

TEST(Tpx520File, KeysOfNaviAndModeInOrderWithTheirOwnLetterCase) {
  ScratchFolder folder;
  ConfigImage image;
  image.setDescription("AB");
  image.naviType() = 5;
  image.naviInput() = 6;
  image.onPowerOn() = 7;
  image.setPowerOnTimeout(49875);
  image.setPulseTimeout(10);
  image.inpCtrType() = 1;
  image.muteType() = 1;
  image.inputMask() = 0x21;
  image.sendTo() = 1;
  image.touch.fill(0x55);  // never in the file
  image.events.setCount(1);
  image.events.record(0) = EventRecord{7, 1, 8, 1, 0, 16, 5};
  image.events.setDescription(0, "power");
  ASSERT_TRUE(WriteConfigFile(folder.File("Van.MUX"), image).ok());
  EXPECT_EQ(ReadFile(folder.File("Van.MUX")),
            "[CONFIGFILE]\r\nNAME=Van\r\nTEXT=4142\r\n\r\n"
            "[NAVI]\r\nType=5\r\nInput=6\r\n\r\n"
            "[MODE]\r\nOnPowerOn=7\r\nOutPulseMode=0\r\nOnPowerTOmS=49875\r\nPulseTOmS=10\r\n"
            "InpCtrType=1\r\nOutCtrType=0\r\nMuteType=1\r\nInputMASK=33\r\nSENDTO=1\r\n"
            "ONLYEXTOUCH=0\r\n\r\n"
            "[EVENT1]\r\nDescription=power\r\nInput=7\r\nEvent=1\r\nOutTypeFreq=8\r\ntype=1\r\n"
            "replay=0\r\naddress=16\r\ncommand=5\r\n");

  ConfigImage back;
  ReadConfigFile(folder.File("Van.MUX"), back);
  EXPECT_EQ(back.mode, image.mode);
  EXPECT_EQ(back.navi, image.navi);
  EXPECT_EQ(back.touch, decltype(back.touch){});
  EXPECT_FALSE(back.touchFromDevice);
}

TEST(Tpx520File, GappedSectionsPackInOrderAndOnly64AreRead) {
  ScratchFolder folder;
  std::string path = folder.File(std::string(40, 'x') + ".MUX");
  std::string file = "[CONFIGFILE]\r\nNAME=Kept\r\n[MODE]\r\nInputMASK=300\r\n";
  for (int n : {1, 3, 7, 65}) {
    file += "[EVENT" + std::to_string(n) + "]\r\nDescription=e" + std::to_string(n) +
            "\r\nEvent=2\r\ntype=1\r\naddress=" + std::to_string(n) + "\r\n";
  }
  file += "[EVENT2]\r\nDescription=not used\r\nEvent=2\r\ntype=0\r\n";
  WriteFile(path, file);
  ConfigImage image;
  ReadConfigFile(path, image);
  EXPECT_EQ(image.configNameText(), "Too long name...");
  EXPECT_EQ(image.inputMask(), 44);  // 300 cut to 8 bits
  ASSERT_EQ(image.events.count(), 3);
  EXPECT_EQ(image.events.record(0).address, 1);
  EXPECT_EQ(image.events.record(1).address, 3);
  EXPECT_EQ(image.events.record(2).address, 7);
  EXPECT_EQ(image.events.description(2), "e7");
}

class Tpx520Transfer : public test::SimFixture {};

TEST_F(Tpx520Transfer, ReadTakesTheTouchBlockFromTheDevice) {
  ConfigImage image;
  ASSERT_EQ(ReadConfiguration(link, host, catalogue, kTpx, image), LinkOk);
  EXPECT_EQ(Commands(), (std::vector<int>{1, 5, 16, 17, 18, 22, 22, 22}));
  EXPECT_TRUE(image.touchFromDevice);
  EXPECT_EQ(std::vector<uint8_t>(image.touch.begin(), image.touch.end()),
            sim.Block(kAddress, kCmdTouch));
  EXPECT_EQ(image.events.count(), 2);
  EXPECT_EQ(host.progressTotal, kProgressTotal);
  EXPECT_EQ(host.progressDone, kProgressTotal);
}

TEST_F(Tpx520Transfer, WriteAfterAFileLoadLeavesTheDeviceTouchBlockAlone) {
  ScratchFolder folder;
  WriteFile(folder.File("f.MUX"), "[NAVI]\r\nType=2\r\n[EVENT1]\r\nEvent=3\r\ntype=2\r\n");
  ConfigImage image;
  ReadConfigFile(folder.File("f.MUX"), image);
  std::vector<uint8_t> deviceTouch = sim.Block(kAddress, kCmdTouch);
  ASSERT_EQ(WriteConfiguration(link, host, catalogue, kTpx, image), LinkOk);
  EXPECT_EQ(Commands(), (std::vector<int>{5 | kWrite, 17 | kWrite, 18 | kWrite, 22 | kWrite,
                                          22 | kWrite, 3 | kWrite}));
  EXPECT_EQ(sim.Block(kAddress, kCmdTouch), deviceTouch);
  EXPECT_EQ(sim.Block(kAddress, kCmdNavi)[0], 2);
  EXPECT_EQ(host.progressDone, kProgressTotal);
}

TEST_F(Tpx520Transfer, WriteAfterADeviceReadSendsTheTouchBlockBack) {
  ConfigImage image;
  ASSERT_EQ(ReadConfiguration(link, host, catalogue, kTpx, image), LinkOk);
  std::vector<uint8_t> touch(image.touch.begin(), image.touch.end());
  sim.SetBlock(kAddress, kCmdTouch, std::vector<uint8_t>(12, 0));
  sim.ClearWire();
  image.events.setCount(64);
  for (int i = 0; i < 64; ++i) image.events.record(i) = EventRecord{1, 2, 0, 1, 0, 0, 0};
  ASSERT_EQ(WriteConfiguration(link, host, catalogue, kTpx, image), LinkOk);
  EXPECT_EQ(Requests(kCmdTouch).size(), 1u);
  EXPECT_EQ(sim.Block(kAddress, kCmdTouch), touch);
  EXPECT_EQ(Requests(kCmdEvents).size(), 64u);  // a full table has no end record
  EXPECT_EQ(Commands().back(), 3 | kWrite);
}

TEST_F(Tpx520Transfer, RadioGroupsShorterEventListsAndCheckBoxesAsTheControlsHoldThem) {
  ConfigImage image;
  image.setPulseTimeout(10);
  image.sendTo() = 2;
  image.onlyExtTouch() = 0xFF;
  image.inputMask() = 0xFF;
  image.events.setCount(1);
  image.events.record(0) = EventRecord{1, 10, 8, 9, 2, 0, 0};
  EXPECT_FALSE(PrepareForDevice(image));
  EXPECT_EQ(image.sendTo(), 1);
  EXPECT_EQ(image.onlyExtTouch(), 1);
  EXPECT_EQ(image.inputMask(), 0x3F);
  image.muteType() = 2;  // a radio group
  EXPECT_EQ(RefusalMessage(catalogue, PrepareForDevice(image)), "Select an option");
  image.muteType() = 1;
  image.events.record(0).type = 10;  // no source selection on this device
  const ImageRefusal type = PrepareForDevice(image);
  EXPECT_STREQ(type.key, "type");
  EXPECT_EQ(RefusalMessage(catalogue, type), "Select an option from the drop down list");
  EXPECT_EQ(RefusalRange(catalogue, type), "The value must be in the range from 0 to 9");
}

}  // namespace
}  // namespace qvr::tpx520
