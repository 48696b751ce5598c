// A configuration file sent to a device by the window (load, then write) and by qvrctl write:
// the same bytes reach the device, or both refuse. Hand-picked files for the masked fields and
// the values beyond the lists, then generated ones.
#include <gtest/gtest.h>

#include <QComboBox>
#include <fstream>
#include <random>
#include <sstream>

#include "cli/qvrctl.h"
#include "devices/mux410/ui/mux410_page.h"
#include "devices/tpx520/ui/tpx520_page.h"
#include "fake_page_host.h"
#include "support/ldr_builder.h"

namespace qvr::test {
namespace {

using Memory = std::vector<std::vector<uint8_t>>;

struct Outcome {
  bool refused = false;
  Memory memory;  // the device's blocks afterwards
};

struct Device {
  int page;
  const char* cliName;
  std::vector<uint8_t> blocks;  // block commands, the event table last
};

const Device kMux{kPageMux410, "mux-410", {5, 17, 18, 19, 20, 27}};
const Device kTpx{kPageTpx520, "tpx-520", {5, 16, 17, 18, 22}};

Memory Blocks(const sim::SimController& sim, const Device& device) {
  Memory memory;
  for (uint8_t command : device.blocks) {
    memory.push_back(
        sim.Block(DeviceDrivers()[size_t(device.page)].module->deviceAddress, command));
  }
  return memory;
}

template <typename Page>
Outcome WindowWrite(const Device& device, const std::string& path) {
  FakePageHost host;
  host.page = device.page;
  Page page(host, nullptr);
  page.InitPage();
  const DeviceModule& module = *DeviceDrivers()[size_t(device.page)].module;
  EXPECT_EQ(page.ReadConfigFile(module, path), PageOutcome::kDone);
  Outcome outcome;
  outcome.refused = page.CheckForDevice() != PageOutcome::kDone;
  for (QComboBox* list : page.template findChildren<QComboBox*>()) list->hidePopup();
  if (!outcome.refused) {
    EXPECT_EQ(page.WriteDevice(module), LinkOk);
  }
  outcome.memory = Blocks(host.sim, device);
  return outcome;
}

Outcome QvrctlWrite(const Device& device, const std::string& path) {
  TempDir state;
  std::vector<std::string> args = {
      "qvrctl", "--simulator=" + state.path(), "--lang", "en", "write", device.cliName, path,
      "--yes",  "--allow-missing-sections"};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  std::istringstream in;
  std::ostringstream out, err;
  const int status =
      cli::RunQvrctl(int(argv.size()), argv.data(), out, err, cli::Terminal{&in, false, false});
  EXPECT_TRUE(status == 0 || status == 1) << err.str();
  return {status != 0, Blocks(sim::SimController(state.path()), device)};
}

// Both paths on one file; the window's outcome, after checking that qvrctl's is the same.
Outcome BothPaths(const Device& device, const std::string& path) {
  const Outcome window = device.page == kPageMux410 ? WindowWrite<mux410::Page>(device, path)
                                                    : WindowWrite<tpx520::Page>(device, path);
  const Outcome cli = QvrctlWrite(device, path);
  EXPECT_EQ(window.refused, cli.refused) << path;
  EXPECT_EQ(window.memory, cli.memory) << path;
  return window;
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

TEST(WritePaths, MaskedFieldsReachTheDeviceAsTheWindowHoldsThem) {
  TempDir files;
  WriteText(files.File("mux.MUX"),
            "[NAVI]\r\nFLAGS=255\r\n[MODE]\r\nPULSETO=500\r\n[DPAR]\r\nUSECIR=1\r\n"
            "[INPUT]\r\nMASKED=255\r\n[EVENT1]\r\nInput=1\r\nEvent=2\r\ntype=1\r\n");
  Outcome mux = BothPaths(kMux, files.File("mux.MUX"));
  ASSERT_FALSE(mux.refused);
  EXPECT_EQ(mux.memory[1][3], 0x03);  // beep and intercept-all-touches only
  EXPECT_EQ(mux.memory[3][0], 0x3E);  // inputs 2..6
  EXPECT_EQ(mux.memory[4][2], 0x01);

  WriteText(files.File("tpx.MUX"),
            "[MODE]\r\nPulseTOmS=500\r\nInputMASK=255\r\nSENDTO=2\r\nONLYEXTOUCH=255\r\n");
  Outcome tpx = BothPaths(kTpx, files.File("tpx.MUX"));
  ASSERT_FALSE(tpx.refused);
  EXPECT_EQ(std::vector<uint8_t>(tpx.memory[3].begin() + 9, tpx.memory[3].begin() + 12),
            (std::vector<uint8_t>{0x3F, 0x01, 0x01}));
}

TEST(WritePaths, ValueBeyondAListIsRefusedByBothAndTheDeviceKeepsItsConfiguration) {
  TempDir files;
  const Memory untouched = Blocks(sim::SimController(), kMux);
  for (const char* event : {"Input=8\r\nEvent=2", "Input=1\r\nEvent=36", "Input=255\r\nEvent=2"}) {
    WriteText(files.File("event.MUX"),
              std::string("[MODE]\r\nPULSETO=500\r\n[EVENT1]\r\nInput=1\r\n"
                          "Event=2\r\ntype=1\r\n[EVENT2]\r\n") +
                  event + "\r\ntype=1\r\n");
    const Outcome outcome = BothPaths(kMux, files.File("event.MUX"));
    EXPECT_TRUE(outcome.refused) << event;
    EXPECT_EQ(outcome.memory, untouched) << event;
  }
  WriteText(files.File("type.MUX"),
            "[MODE]\r\nPulseTOmS=500\r\n[EVENT1]\r\nInput=1\r\nEvent=2\r\ntype=10\r\n");
  EXPECT_TRUE(BothPaths(kTpx, files.File("type.MUX")).refused);  // no source selection here
}

// A file of the device's keys with values mostly valid, sometimes beyond their lists or ranges,
// quoted, missing or repeated, a few event sections with gaps, and now and then a NUL byte.
std::string GeneratedFile(std::mt19937& random, std::vector<ImageField> fields, int capacity,
                          const EventListSizes& lists) {
  auto chance = [&random](int percent) { return int(random() % 100) < percent; };
  auto below = [&random](uint32_t n) { return random() % n; };
  std::string text;
  const char* section = "";
  for (const ImageField& field : fields) {
    if (std::string(section) != field.section) {
      section = field.section;
      text += std::string("[") + section + "]\r\n";
    }
    if (chance(5)) continue;  // missing: reads as 0
    uint32_t value = below(256);
    if (field.rule == FieldRule::kList || field.rule == FieldRule::kRadioGroup) {
      value = chance(8) ? uint32_t(field.items) + below(8) : below(uint32_t(field.items));
    } else if (field.rule == FieldRule::kPowerOnTimeout) {
      value = chance(8) ? 49876 + below(15000) : below(49876);
    } else if (field.rule == FieldRule::kPulseTimeout) {
      value = chance(8) ? 5001 + below(1000) : 10 + below(4991);
    }
    const std::string number = std::to_string(value);
    text += std::string(field.key) + "=" + (chance(10) ? "\"" + number + "\"" : number) + "\r\n";
    if (chance(5)) text += std::string(field.key) + "=" + std::to_string(below(70000)) + "\r\n";
  }
  auto listValue = [&](int items) {
    return chance(4) ? uint32_t(items) + below(300) : 1 + below(uint32_t(items - 1));
  };
  for (int n = int(below(5)); n > 0; --n) {
    const int number = 1 + int(below(uint32_t(capacity + 2)));
    text +=
        "[EVENT" + std::to_string(number) + "]\r\nDescription=e" + std::to_string(number) + "\r\n";
    if (chance(5)) text += std::string(1, '\0');
    text += "Input=" + std::to_string(chance(3) ? 255 : listValue(lists.input)) + "\r\n";
    text += "Event=" + std::to_string(listValue(lists.event)) + "\r\n";
    text += "OutTypeFreq=" + std::to_string(listValue(lists.outTypeFreq)) + "\r\n";
    text += "type=" + std::to_string(listValue(lists.type)) + "\r\n";
    text += "replay=" + std::to_string(below(uint32_t(lists.replay))) + "\r\n";
    text += "address=" + std::to_string(below(65536)) +
            "\r\ncommand=" + std::to_string(below(256)) + "\r\n";
  }
  return text;
}

TEST(WritePaths, GeneratedFilesSendTheSameBytesFromTheWindowAndQvrctlOrAreRefusedByBoth) {
  TempDir files;
  std::mt19937 random(20240611);
  mux410::ConfigImage mux;
  tpx520::ConfigImage tpx;
  int refused = 0, written = 0;
  for (int i = 0; i < 40; ++i) {
    const bool onMux = i % 2 == 0;
    const std::string path = files.File("gen" + std::to_string(i) + ".MUX");
    WriteText(path, onMux ? GeneratedFile(random, mux410::ImageFields(mux), mux410::kEventCapacity,
                                          mux410::kEventLists)
                          : GeneratedFile(random, tpx520::ImageFields(tpx), tpx520::kEventCapacity,
                                          tpx520::kEventLists));
    const Outcome outcome = BothPaths(onMux ? kMux : kTpx, path);
    ++(outcome.refused ? refused : written);
  }
  EXPECT_GT(refused, 2) << "the generated files try the refusals";
  EXPECT_GT(written, 2) << "and the writes";
}

}  // namespace
}  // namespace qvr::test
