// qvrctl through hidapi's hidraw backend against emulated adapters: what reaches each adapter
// and what the user sees are the same as through the simulator, adapters are chosen as the
// system's discovery chooses them, and failures of the USB layer end honestly.
#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <sstream>

#include "support/ldr_builder.h"
#include "usb/usb_fixture.h"

namespace qvr::test {
namespace {

constexpr int kNobody = 65534;

std::string WithoutPath(std::string text, const std::string& path) {
  for (size_t at; (at = text.find(path)) != std::string::npos;) text.replace(at, path.size(), "@");
  return text;
}

// The packet lines of a --log run without their times: the bytes each way, in order.
std::string Packets(const std::string& log) {
  std::string packets;
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    const size_t marker = line.find_first_of("<>");
    if (marker == std::string::npos || line.find(" CMD:") == std::string::npos) continue;
    packets += line.substr(marker) + "\n";
  }
  return packets;
}

std::string MuxUpdateFile(const std::string& path, size_t payload) {
  LdrBuilder builder;
  builder.version = 299;
  builder.deviceVersion = sim::kMux410Identity.deviceVersion;
  builder.deviceType = sim::kMux410Identity.deviceType;
  builder.payloadSize = payload;
  const std::vector<uint8_t> bytes = builder.Build();
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  return path;
}

// Changes one value of a configuration file so that a write has something to carry; the new
// value fits the unit's 16-bit field, so the unit keeps it as the file has it.
void EditFile(const std::string& path) {
  std::string text = FileText(path);
  const size_t at = text.find("ONPOWERTO=");
  ASSERT_NE(at, std::string::npos);
  const size_t value = at + 10;
  const size_t end = text.find_first_not_of("0123456789", value);
  const std::string next = text.compare(value, end - value, "1234") == 0 ? "4321" : "1234";
  text.replace(value, end - value, next);
  std::ofstream(path, std::ios::binary) << text;
}

class OneAdapter : public UsbGroup {
 protected:
  static void SetUpTestSuite() {
    UsbGroup::SetUpTestSuite();
    bed->Plug({});
  }
};

// The same commands through the emulated node and through the simulator: the same packets in
// the same order (the packet log), the same output, the same files.
TEST_F(OneAdapter, EveryCommandCrossesTheRealPathByteForByte) {
  Scratch real, sim, state;
  const ProgramResult list = Qvrctl({"list"});
  const ProgramResult simList = SimQvrctl(state.path, {"list"});
  ASSERT_EQ(list.status, 0) << list.err;
  EXPECT_EQ(WithoutPath(list.out, bed->Node(0)), WithoutPath(simList.out, "sim:1"));

  for (const char* device : {"qvr-b", "mux-410", "tpx-520"}) {
    const ProgramResult info = Qvrctl({"--log", "info", device});
    const ProgramResult simInfo = SimQvrctl(state.path, {"--log", "info", device});
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_EQ(info.out, simInfo.out) << device;
    EXPECT_EQ(Packets(info.err), Packets(simInfo.err)) << device;
  }

  const ProgramResult read = Qvrctl({"--log", "read", "mux-410", real / "car.MUX"});
  const ProgramResult simRead =
      SimQvrctl(state.path, {"--log", "read", "mux-410", sim / "car.MUX"});
  ASSERT_EQ(read.status, 0) << read.err;
  EXPECT_EQ(Packets(read.err), Packets(simRead.err));
  EXPECT_EQ(FileText(real / "car.MUX"), FileText(sim / "car.MUX"));

  EditFile(real / "car.MUX");
  EditFile(sim / "car.MUX");
  bed->WithModel(0, [](sim::SimController& model) { model.ClearWire(); });
  const ProgramResult write =
      Qvrctl({"--log", "write", "mux-410", real / "car.MUX", "--yes", "--no-backup"});
  const ProgramResult simWrite =
      SimQvrctl(state.path, {"--log", "write", "mux-410", sim / "car.MUX", "--yes", "--no-backup"});
  ASSERT_EQ(write.status, 0) << write.err;
  EXPECT_EQ(Packets(write.err), Packets(simWrite.err));
  // What the adapter model took in is what the program logged as sent.
  size_t logged = 0;
  for (size_t at = 0; (at = write.err.find("\n>", at)) != std::string::npos; ++at) ++logged;
  EXPECT_GE(bed->Requests(0).size(), logged);

  const std::string update = MuxUpdateFile(real / "mux.LDR", 60 * 1024);
  const ProgramResult updated = Qvrctl({"--log", "update", "mux-410", update, "--yes"});
  const ProgramResult simUpdated =
      SimQvrctl(state.path, {"--log", "update", "mux-410", update, "--yes"});
  ASSERT_EQ(updated.status, 0) << updated.err;
  EXPECT_EQ(updated.out, simUpdated.out);
  EXPECT_TRUE(Packets(updated.err) == Packets(simUpdated.err))
      << "the update's packets differ between the paths";
  bed->WithModel(0, [&](sim::SimController& model) {
    const auto info = model.Info(sim::kAddressMux410);
    EXPECT_EQ(info[0] | info[1] << 8, 299);
  });
}

// The adapter updating itself restarts and comes back on another node: qvrctl, bound to the
// node it chose, finds it again by its serial string and hears the new version from it.
TEST_F(OneAdapter, AnAdapterUpdatingItselfIsFoundAgainOnItsNewNode) {
  Scratch files;
  const sim::Identity& own = sim::kControllerIdentity;
  LdrBuilder builder{.version = 114,
                     .deviceVersion = own.deviceVersion,
                     .deviceType = own.deviceType,
                     .payloadSize = 200};
  WriteBytes(files / "qvr-b.LDR", builder.Build());
  bed->WithModel(0, [](sim::SimController& model) { model.SetResetDropReports(sim::kAlways); });
  const std::string before = bed->Node(0);
  Program updating({QVRCTL_BINARY, "--lang", "en", "-q", "--controller", before, "update", "qvr-b",
                    files / "qvr-b.LDR", "--yes"});
  // Once its last block is answered the adapter is off the bus, and re-enumerated.
  bool restarted = false;
  for (int look = 0; look < 20000 && !restarted; ++look) {
    bed->WithModel(0, [&](sim::SimController& model) {
      restarted = !model.onBus() && (model.Info(0)[0] | model.Info(0)[1] << 8) == 114;
    });
    if (!restarted) ::usleep(1000);
  }
  ASSERT_TRUE(restarted);
  bed->Unplug(0);
  bed->WithModel(0, [](sim::SimController& model) {
    model.Replug();
    model.SetResetDropReports(5);
  });
  bed->Replug(0);
  const ProgramResult updated = updating.Finish();
  EXPECT_NE(bed->Node(0), before);
  EXPECT_EQ(updated.status, 0) << updated.err;
  EXPECT_NE(updated.out.find("confirmed: the unit reports 1.14\n"), std::string::npos)
      << updated.out;
}

// Faults of the USB layer in the middle of a transfer: an ioctl that fails, a feature read
// that returns fewer bytes. Each ends with an honest result, never a crash or a success.
TEST_F(OneAdapter, FailuresInTheMiddleOfATransferEndHonestly) {
  Scratch files;
  // How many ioctls a whole read takes: the faults below strike half-way.
  const int before = bed->IoctlCount(0);
  ASSERT_EQ(Qvrctl({"read", "mux-410", files / "c.MUX"}).status, 0);
  const int half = (bed->IoctlCount(0) - before) / 2;

  // A single failed report is asked again; one that keeps failing ends the read.
  bed->FailIoctlAfter(0, half, EIO);
  EXPECT_EQ(Qvrctl({"read", "mux-410", files / "once.MUX"}).status, 0);
  bed->FailIoctlAfter(0, half, EIO, -1);
  const ProgramResult read = Qvrctl({"read", "mux-410", files / "a.MUX"});
  EXPECT_EQ(read.status, 1) << read.err;
  EXPECT_FALSE(std::filesystem::exists(files / "a.MUX"));

  bed->ClearFaults(0);
  bed->ShortReadAfter(0, half / 2, 9, -1);  // counts feature reads only
  const ProgramResult shortRead = Qvrctl({"read", "mux-410", files / "b.MUX"});
  EXPECT_EQ(shortRead.status, 1) << shortRead.err;
  EXPECT_FALSE(std::filesystem::exists(files / "b.MUX"));

  bed->ClearFaults(0);
  // The write fails after the device took its first blocks: the user is told it may be mixed.
  bed->FailIoctlAfter(0, half, EPIPE);
  const ProgramResult write = Qvrctl({"write", "mux-410", files / "c.MUX", "--yes", "--no-backup"});
  EXPECT_EQ(write.status, 1);
  EXPECT_NE(write.err.find("accepted part of the data"), std::string::npos) << write.err;
  bed->ClearFaults(0);

  // Every block went and only the final restart was refused: the user hears just that.
  bed->WithModel(0, [](sim::SimController& model) { model.StatusNext(0xFD, 1, 3); });
  const ProgramResult restart =
      Qvrctl({"write", "mux-410", files / "c.MUX", "--yes", "--no-backup"});
  EXPECT_EQ(restart.status, 1);
  EXPECT_NE(restart.err.find("refused to restart"), std::string::npos) << restart.err;
  EXPECT_EQ(restart.err.find("accepted part of the data"), std::string::npos);
}

// A node this user may not open: the permission text (how to install the rule), exit 1,
// never "disconnected". The list keeps such a node, with the same text beside its path, so
// that the user learns why; the opener's own access check decides, as nothing is passed in.
TEST_F(OneAdapter, ANodeTheUserMayNotOpenGivesThePermissionText) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to run the program as another user";
  const size_t reportsBefore = bed->Requests(0).size();
  // Shut to others, or readable by them but not writable: either way no report can go out.
  for (unsigned mode : {0600u, 0644u}) {
    SCOPED_TRACE(mode);
    bed->RestrictNode(0, true, mode);
    const ProgramResult info = Qvrctl({"info"}, kNobody);
    const ProgramResult list = Qvrctl({"list"}, kNobody);
    const ProgramResult chosen = Qvrctl({"--controller", bed->Node(0), "info"}, kNobody);
    bed->RestrictNode(0, false);
    EXPECT_EQ(info.status, 1) << info.err;
    EXPECT_NE(info.err.find("No permission to open the controller"), std::string::npos) << info.err;
    EXPECT_NE(info.err.find("70-qvr-b.rules"), std::string::npos);
    EXPECT_EQ(list.status, 1) << list.err;  // no adapter can be used
    EXPECT_NE(list.out.find(bed->Node(0) + "  No permission to open the controller"),
              std::string::npos)
        << list.out;
    EXPECT_EQ(chosen.status, 1) << chosen.err;
    EXPECT_NE(chosen.err.find("No permission to open the controller"), std::string::npos)
        << chosen.err;
  }
  EXPECT_EQ(bed->Requests(0).size(), reportsBefore);
}

AdapterSetup AdapterWithSerial(uint32_t serial, void (*change)(AdapterSetup&) = nullptr) {
  AdapterSetup setup;
  setup.serial = serial;
  if (change != nullptr) change(setup);
  return setup;
}

class SeveralAdapters : public UsbGroup {
 protected:
  static void SetUpTestSuite() {
    UsbGroup::SetUpTestSuite();
    bed->Plug(AdapterWithSerial(1001));
    bed->Plug(AdapterWithSerial(1002));
    bed->Plug(AdapterWithSerial(1003, [](AdapterSetup& s) { s.manufacturer = "Other Maker"; }));
    bed->Plug(AdapterWithSerial(1004, [](AdapterSetup& s) { s.product = "QVR-C"; }));
    // The right ids and strings, but a node that cannot be opened.
    bed->Plug(AdapterWithSerial(1005, [](AdapterSetup& s) { s.hasNode = false; }));
  }
  static int Reports(int adapter) { return int(bed->Requests(adapter).size()); }
};

// Only the two adapters with the controller's ids and strings that open are listed and used;
// a serial or a path chooses one, "all" runs on both.
TEST_F(SeveralAdapters, AdaptersAreChosenByTheirStringsSerialsAndPaths) {
  const ProgramResult list = Qvrctl({"list"});
  ASSERT_EQ(list.status, 0) << list.err;
  EXPECT_NE(list.out.find(bed->Node(0)), std::string::npos) << list.out;
  EXPECT_NE(list.out.find(bed->Node(1)), std::string::npos) << list.out;
  for (int other : {2, 3, 4}) EXPECT_EQ(list.out.find(bed->Node(other)), std::string::npos);

  const int before0 = Reports(0), before1 = Reports(1);
  const ProgramResult bySerial = Qvrctl({"--controller", "1002", "info", "mux-410"});
  ASSERT_EQ(bySerial.status, 0) << bySerial.err;
  EXPECT_GT(Reports(1), before1);
  const int between0 = Reports(0);

  const ProgramResult byPath = Qvrctl({"--controller", bed->Node(0), "info", "mux-410"});
  ASSERT_EQ(byPath.status, 0) << byPath.err;
  EXPECT_GT(Reports(0), between0);
  (void)before0;

  const ProgramResult all = Qvrctl({"--controller", "all", "info"});
  EXPECT_EQ(all.status, 0) << all.err;
  EXPECT_NE(all.out.find(bed->Node(0)), std::string::npos) << all.out;
  EXPECT_NE(all.out.find(bed->Node(1)), std::string::npos) << all.out;
  for (int other : {2, 3}) EXPECT_EQ(Reports(other), 0);

  // Two usable adapters and no choice: the program lists them and asks for one.
  EXPECT_EQ(Qvrctl({"info"}).status, 2);
  // With one of them gone, the one left is used; the unopenable twin is passed over.
  bed->Unplug(1);
  const ProgramResult single = Qvrctl({"info"});
  bed->Replug(1);
  EXPECT_EQ(single.status, 0) << single.err;
}

}  // namespace
}  // namespace qvr::test

namespace qvr::test {
namespace {

class SharedAdapter : public UsbGroup {
 protected:
  static void SetUpTestSuite() {
    UsbGroup::SetUpTestSuite();
    bed->Plug({});
  }
};

// Two of our programs on one adapter: the one that has it finishes untouched, the other is
// told the adapter is in use (by which program) or waits for it with --wait.
TEST_F(SharedAdapter, OneProgramAtATimeOnAnAdapter) {
  Scratch files;
  const std::string update = MuxUpdateFile(files / "mux.LDR", 60 * 1024);
  ASSERT_EQ(Qvrctl({"read", "mux-410", files / "a.MUX"}).status, 0);
  EditFile(files / "a.MUX");
  ASSERT_EQ(Qvrctl({"read", "mux-410", files / "b.MUX"}).status, 0);

  Program updating(
      {QVRCTL_BINARY, "--lang", "en", "-q", "--log", "update", "mux-410", update, "--yes"});
  // Once the update has its first packets out, another program asks.
  while (updating.ErrSoFar().find("CMD:82") == std::string::npos) ::usleep(1000);
  const ProgramResult asking = Qvrctl({"info", "mux-410"});
  const ProgramResult waiting = Qvrctl({"--wait", "60", "info", "mux-410"});
  const ProgramResult updated = updating.Finish();
  ASSERT_EQ(updated.status, 0) << updated.err.substr(updated.err.size() - 400);
  EXPECT_EQ(asking.status, 1);
  EXPECT_NE(asking.err.find("The controller \"QVR-B\" is in use by qvrctl (" +
                            std::to_string(updating.pid()) + "): wait until its operation ends."),
            std::string::npos)
      << asking.err;
  EXPECT_EQ(waiting.status, 0) << waiting.err;
  EXPECT_NE(waiting.out.find("2.99"), std::string::npos) << waiting.out;

  // Two writes of different files at once: the unit ends equal to one of them, and a program
  // that did not write says so.
  Program first({QVRCTL_BINARY, "--lang", "en", "-q", "write", "mux-410", files / "a.MUX", "--yes",
                 "--no-backup"});
  const ProgramResult second =
      Qvrctl({"write", "mux-410", files / "b.MUX", "--yes", "--no-backup"});
  const ProgramResult firstDone = first.Finish();
  ASSERT_EQ(Qvrctl({"read", "mux-410", files / "unit.MUX"}).status, 0);
  const std::string unit = FileText(files / "unit.MUX");
  // The configuration without its name, which a read takes from the file name.
  const auto config = [](const std::string& text) {
    std::string kept;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
      if (line.rfind("NAME=", 0) != 0 && line.rfind("TEXT=", 0) != 0) kept += line + "\n";
    }
    return kept;
  };
  const bool isA = config(unit) == config(FileText(files / "a.MUX"));
  const bool isB = config(unit) == config(FileText(files / "b.MUX"));
  EXPECT_TRUE(isA || isB);
  EXPECT_TRUE(firstDone.status == 0 || second.status == 0) << firstDone.err << second.err;
  if (firstDone.status != 0) {
    EXPECT_TRUE(isB) << firstDone.err;
  }
  if (second.status != 0) {
    EXPECT_TRUE(isA) << second.err;
  }
}

}  // namespace
}  // namespace qvr::test
