#include <gtest/gtest.h>

#include "devices/drivers/device_drivers.h"
#include "devices/mux410/transfer.h"
#include "devices/sim_fixture.h"

namespace qvr::mux410 {
namespace {

const DeviceModule& kMux = mux410::kModule;
constexpr uint8_t kAddress = 1;
constexpr int kWrite = 0x80;

std::vector<uint8_t> TableBytes(const std::vector<EventRecord>& records) {
  std::vector<uint8_t> bytes(kEventCapacity * 8, 0);
  for (size_t i = 0; i < records.size(); ++i) {
    auto r = records[i].Encode();
    std::copy(r.begin(), r.end(), bytes.begin() + long(8 * i));
  }
  return bytes;
}

EventRecord Numbered(int n) {
  return {1, 11, 8, 1, 0, uint16_t(n), uint8_t(n)};
}

class Mux410Transfer : public test::SimFixture {};

TEST_F(Mux410Transfer, ReadAsksIdentificationBlocksAndRecordsUpToTheEndRecord) {
  ConfigImage image;
  image.events.setCount(5);  // reading starts from an empty image
  ASSERT_EQ(ReadConfiguration(link, host, catalogue, kMux, image), LinkOk);

  EXPECT_EQ(Commands(), (std::vector<int>{1, 5, 17, 18, 19, 20, 27, 27, 27, 27}));
  std::vector<int> offsets;
  for (const auto& r : Requests(27)) offsets.push_back(r.offset);
  EXPECT_EQ(offsets, (std::vector<int>{0, 8, 16, 24}));  // the sample holds three events
  for (const auto& r : Requests()) EXPECT_EQ(r.address, kAddress);

  EXPECT_EQ(image.configNameText(), "Demo");
  EXPECT_EQ(std::vector<uint8_t>(image.navi.begin(), image.navi.end()),
            sim.Block(kAddress, kCmdNavi));
  ASSERT_EQ(image.events.count(), 3);
  EXPECT_EQ(image.events.record(0), (EventRecord{7, 1, 8, 1, 0, 4, 0x11}));
  EXPECT_EQ(image.events.record(3), EventRecord{});
  EXPECT_EQ(host.progressTotal, kProgressTotal);
  EXPECT_EQ(host.progressDone, kProgressTotal);
  EXPECT_EQ(host.progressCaption, "Reading configuration from the device \"MUX-410\"");
  EXPECT_FALSE(host.log.empty());  // banner and identification lines
}

TEST_F(Mux410Transfer, EachEndConditionEndsTheTableOnItsOwnWithRecordsAfterIt) {
  // Input FF (even in a record otherwise used), event 0, type 0: each ends the table alone.
  const std::pair<const char*, void (*)(EventRecord&)> ends[] = {
      {"input FF", [](EventRecord& r) { r.input = 0xFF; }},
      {"event 0", [](EventRecord& r) { r.event = 0; }},
      {"type 0", [](EventRecord& r) { r.type = 0; }},
  };
  for (const auto& [what, end] : ends) {
    SCOPED_TRACE(what);
    std::vector<EventRecord> records{Numbered(1), Numbered(2), Numbered(3), Numbered(4)};
    end(records[2]);
    ASSERT_TRUE(sim.SetBlock(kAddress, kCmdEvents, TableBytes(records)));
    sim.ClearWire();
    host.progressDone = 0;
    ConfigImage image;
    ASSERT_EQ(ReadConfiguration(link, host, catalogue, kMux, image), LinkOk);
    EXPECT_EQ(image.events.count(), 2);
    EXPECT_EQ(image.events.record(2), EventRecord{});
    EXPECT_EQ(Requests(27).size(), 3u);
    EXPECT_EQ(host.progressDone, kProgressTotal);
  }
}

TEST_F(Mux410Transfer, WriteSendsBlocksUsedRecordsPackedOneEndRecordAndReset) {
  ConfigImage image;
  image.setConfigName("Car");
  image.naviType() = 2;
  image.setPulseTimeout(500);
  image.dparFlags() = 0xC3;
  image.events.setCount(4);
  image.events.record(0) = Numbered(1);
  image.events.record(1) = EventRecord{1, 11, 0, 0, 0, 9, 9};  // unused: not sent
  image.events.record(2) = Numbered(3);
  image.events.record(3) = Numbered(4);
  ASSERT_TRUE(
      sim.SetBlock(kAddress, kCmdEvents,
                   TableBytes({Numbered(7), Numbered(7), Numbered(7), Numbered(7), Numbered(7)})));
  sim.ClearWire();
  ASSERT_EQ(WriteConfiguration(link, host, catalogue, kMux, image), LinkOk);

  EXPECT_EQ(Commands(),
            (std::vector<int>{5 | kWrite, 17 | kWrite, 18 | kWrite, 19 | kWrite, 20 | kWrite,
                              27 | kWrite, 27 | kWrite, 27 | kWrite, 27 | kWrite, 3 | kWrite}));
  auto events = Requests(27);
  ASSERT_EQ(events.size(), 4u);
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(events[i].offset, 8 * i);
  auto first = Numbered(1).Encode();
  EXPECT_EQ(events[0].data, std::vector<uint8_t>(first.begin(), first.end()));
  EXPECT_EQ(events[3].data, std::vector<uint8_t>(8, 0));

  std::vector<uint8_t> table = sim.Block(kAddress, kCmdEvents);
  EXPECT_EQ(EventRecord::Decode(&table[8]), Numbered(3));
  EXPECT_EQ(EventRecord::Decode(&table[24]), EventRecord{});
  EXPECT_EQ(sim.Block(kAddress, kCmdDpar)[2], 0xC3);
  EXPECT_EQ(sim.Block(kAddress, kCmdName)[0], 'C');
  EXPECT_EQ(host.progressCaption, "Write configuration to the device \"MUX-410\"");
  EXPECT_EQ(host.progressDone, kProgressTotal);
}

TEST_F(Mux410Transfer, All96UsedAreReadAndWrittenWithoutAnEndRecord) {
  std::vector<EventRecord> records;
  for (int n = 1; n <= kEventCapacity; ++n) records.push_back(Numbered(n));
  ASSERT_TRUE(sim.SetBlock(kAddress, kCmdEvents, TableBytes(records)));
  ConfigImage image;
  ASSERT_EQ(ReadConfiguration(link, host, catalogue, kMux, image), LinkOk);
  EXPECT_EQ(image.events.count(), 96);
  EXPECT_EQ(image.events.record(95), Numbered(96));
  EXPECT_EQ(Requests(27).size(), 96u);

  sim.ClearWire();
  ASSERT_EQ(WriteConfiguration(link, host, catalogue, kMux, image), LinkOk);
  EXPECT_EQ(Requests(27).size(), 96u);
  EXPECT_EQ(Requests(27).back().offset, 95 * 8);
  EXPECT_EQ(Commands().back(), 3 | kWrite);
  EXPECT_EQ(host.progressDone, kProgressTotal);

  // One short of full: the last slot gets the end record, or the device would read its old
  // 96th event back.
  image.events.setCount(95);
  sim.ClearWire();
  ASSERT_EQ(WriteConfiguration(link, host, catalogue, kMux, image), LinkOk);
  EXPECT_EQ(Requests(27).size(), 96u);
  EXPECT_EQ(sim.Block(kAddress, kCmdEvents).size(), 96u * 8);
  const std::vector<uint8_t> table = sim.Block(kAddress, kCmdEvents);
  EXPECT_EQ(std::vector<uint8_t>(table.begin() + 95 * 8, table.end()), std::vector<uint8_t>(8, 0));
}

TEST_F(Mux410Transfer, FirstFailureStopsTheTransfer) {
  ConfigImage image;
  sim.StatusNext(0xFC, 2, kCmdMode);  // reads are tried twice
  EXPECT_EQ(ReadConfiguration(link, host, catalogue, kMux, image), DeviceMemoryError);
  EXPECT_EQ(Requests(kCmdInput).size(), 0u);
  EXPECT_EQ(image.configNameText(), "Demo");  // what was read before stays

  sim.ClearWire();
  image.events.setCount(1);
  image.events.record(0) = Numbered(1);
  sim.StatusNext(0xFE, 1, kCmdEvents);
  EXPECT_EQ(WriteConfiguration(link, host, catalogue, kMux, image), DeviceParameterError);
  EXPECT_EQ(Requests(3).size(), 0u);  // no reset after a failed write
  EXPECT_TRUE(host.boxes.empty());    // the caller shows the one error box
}

class Mux410Check : public test::SimFixture {
 protected:
  Mux410Check() {
    image.setPowerOnTimeout(1875);
    image.setPulseTimeout(500);
    image.events.setCount(2);
    image.events.record(0) = Numbered(1);
    image.events.record(1) = EventRecord{0xFF, 0, 0xFF, 0, 0xFF, 0, 0};  // unused: ignored
  }
  // The page's message for the first refused value, "" when the image may be sent.
  std::string Refusal() {
    const ImageRefusal refusal = PrepareForDevice(image);
    return refusal ? RefusalMessage(catalogue, refusal) : "";
  }
  ConfigImage image;
};

TEST_F(Mux410Check, ListsTimesAndUsedEventsAreCheckedAndBitFieldsCutAsTheControlsDo) {
  image.naviFlags() = 0xFF;
  image.inputMask() = 0xFF;
  image.dparFlags() = 0xFF;
  EXPECT_EQ(Refusal(), "");
  EXPECT_EQ(image.naviFlags(), 0x03);  // beep and intercept-all-touches only
  EXPECT_EQ(image.inputMask(), 0x3E);  // inputs 2..6
  EXPECT_EQ(image.dparFlags(), 0xFF);  // bits 6 and 7 belong to the device
  const std::string list = "Select an option from the drop down list";

  image.iebusMode() = 6;
  EXPECT_EQ(Refusal(), list);
  image.iebusMode() = 5;
  image.returnInput() = 6;
  const ImageRefusal returnInput = PrepareForDevice(image);
  EXPECT_STREQ(returnInput.section, "DPAR");
  EXPECT_STREQ(returnInput.key, "RETURN_INPUT");
  EXPECT_EQ(RefusalRange(catalogue, returnInput), "The value must be in the range from 0 to 5");
  image.returnInput() = 0;

  image.setPowerOnTimeout(50000 - 125 + 1);
  EXPECT_EQ(Refusal(), "The value must be in the range from 0.125 to 50.000");
  EXPECT_EQ(RefusalRange(catalogue, PrepareForDevice(image)),
            "The value must be in the range from 0 to 49875");  // as the file stores it
  image.setPowerOnTimeout(0);
  image.setPulseTimeout(9);
  EXPECT_EQ(Refusal(), "The value must be in the range from 0.010 to 5.000");
  image.setPulseTimeout(5000);
  EXPECT_EQ(Refusal(), "");

  image.events.record(0).input = 0xFF;
  EXPECT_EQ(Refusal(), list);
  image.events.record(0).input = 7;
  image.events.record(0).outTypeFreq = 11;
  const ImageRefusal output = PrepareForDevice(image);
  EXPECT_EQ(output.section, nullptr);
  EXPECT_STREQ(output.key, "OutTypeFreq");
  EXPECT_EQ(output.slot, 0);
  EXPECT_EQ(output.value, 11u);
  EXPECT_EQ(RefusalMessage(catalogue, output), list);
}

}  // namespace
}  // namespace qvr::mux410
