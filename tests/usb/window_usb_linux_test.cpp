// The window over hidapi's hidraw backend and an emulated adapter: its connection monitor
// follows the adapter being unplugged and plugged in again, also in the middle of a read, and
// a restore sends and reads back every byte of a backup's raw image.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTimer>
#include <fstream>
#include <sstream>

#include "app/device_pages.h"
#include "app/shell_test_support.h"
#include "i18n/added_texts.h"
#include "link/hid_transport.h"
#include "platform/adapter_lock.h"
#include "sim/sim_profiles.h"
#include "support/ldr_builder.h"
#include "usb/usb_fixture.h"

namespace qvr::test {
namespace {

class WindowOverUsb : public UsbGroup {
 protected:
  static void SetUpTestSuite() {
    UsbGroup::SetUpTestSuite();
    bed->Plug({});
  }
  void SetUp() override {
    shell.realPages = true;
    shell.makeTransport = [](sim::SimController&) { return std::make_unique<HidTransport>(); };
    shell.Open();
  }
  MainWindow& window() { return *shell.window; }
  std::string Status() const {
    const auto labels = shell.window->statusBar()->findChildren<QLabel*>();
    std::string text;
    for (const QLabel* label : labels) text += label->text().toStdString() + "|";
    return text;
  }
  ShellFixture shell;
};

TEST_F(WindowOverUsb, TheMonitorFollowsTheAdapterOutAndBackIn) {
  shell.Connect();
  ASSERT_TRUE(window().monitor().connected()) << Status();
  const std::string connected = Status();
  EXPECT_NE(connected.find("QVR-B"), std::string::npos) << connected;

  bed->Unplug(0);
  shell.Connect();
  EXPECT_FALSE(window().monitor().connected());
  EXPECT_NE(Status(), connected);

  bed->Replug(0);
  shell.Connect();
  EXPECT_TRUE(window().monitor().connected()) << Status();
  EXPECT_EQ(Status(), connected);
}

// Between its polls the window leaves the adapter to other programs; a command keeps it from
// its first report to its end, also after an inner command ended.
TEST_F(WindowOverUsb, ACommandKeepsTheAdapterWhichIsFreeBetweenPolls) {
  shell.Connect();
  ASSERT_TRUE(window().monitor().connected()) << Status();
  using Outcome = AdapterLockAttempt::Outcome;
  AdapterLock otherProgram(bed->Node(0), AdapterLock::Kind::kDeviceNode);
  EXPECT_EQ(otherProgram.TryTake().outcome, Outcome::kTaken);
  otherProgram.Release();
  {
    const Operation command = window().EnterOperation();
    { const Operation inner = window().EnterOperation(); }
    shell.Connect();  // a report inside the command
    EXPECT_TRUE(window().monitor().connected()) << Status();
    EXPECT_EQ(otherProgram.TryTake().outcome, Outcome::kInUse);
  }
  EXPECT_EQ(otherProgram.TryTake().outcome, Outcome::kTaken);
  otherProgram.Release();
}

// The adapter vanishes while the window reads the MUX-410: one box says the read failed, the
// page keeps no half-read data, and the window finds the adapter when it is back.
TEST_F(WindowOverUsb, AnAdapterPulledDuringAReadEndsTheReadHonestly) {
  shell.Connect();
  ASSERT_TRUE(window().monitor().connected());
  window().setActivePage(1);
  const int before = bed->IoctlCount(0);
  window().ReadDeviceCommand();
  ASSERT_TRUE(shell.boxes.seen.empty()) << shell.boxes.lastText();
  bed->FailIoctlAfter(0, (bed->IoctlCount(0) - before) / 2, ENODEV, -1);

  window().ReadDeviceCommand();

  ASSERT_EQ(shell.boxes.seen.size(), 1u);
  EXPECT_EQ(shell.boxes.seen[0].request.style, BoxKind::kError) << shell.boxes.lastText();
  EXPECT_FALSE(window().busy());
  bed->Unplug(0);
  bed->ClearFaults(0);
  shell.Connect();
  EXPECT_FALSE(window().monitor().connected());
  bed->Replug(0);
  shell.Connect();
  EXPECT_TRUE(window().monitor().connected());
}

// A restore from the list over hidraw gives back what a file write left out, the MUX-410's DPAR
// bits 6 and 7 and the TPX-520's touch calibration, each read back byte for byte; the log still
// says where the backup taken before it went.
TEST_F(WindowOverUsb, ARestoreFromTheListGivesBackWhatNoFileCarries) {
  shell.Connect();
  ASSERT_TRUE(window().monitor().connected());
  std::vector<uint8_t> touch;
  bed->WithModel(0, [&](sim::SimController& model) {
    std::vector<uint8_t> dpar = model.Block(sim::kAddressMux410, 20);
    dpar[2] = 0xC1;
    model.SetBlock(sim::kAddressMux410, 20, dpar);
    touch = model.Block(sim::kAddressTpx520, 16);
  });
  shell.WriteThroughFile(kPageMux410, shell.dir.filePath("car.MUX"));
  shell.WriteThroughFile(kPageTpx520, shell.dir.filePath("car-tpx.MUX"));
  bed->WithModel(0, [&](sim::SimController& model) {
    EXPECT_EQ(model.Block(sim::kAddressMux410, 20)[2], 0x01);
    model.SetBlock(sim::kAddressTpx520, 16, sim::FoundTouchBlock());
  });
  const std::string saved = TextIn(kRussian, AddedText::kBackupSaved);
  const QString savedLine = QString::fromStdString(saved.substr(0, saved.find('%')));
  for (const int page : {kPageMux410, kPageTpx520}) {
    window().setActivePage(page);
    shell.dialogs.backupChoices = {{BackupChoice::kListed}};
    shell.boxes.answers = {BoxAnswer::kYes};
    shell.boxes.seen.clear();
    window().RestoreFromBackup();
    EXPECT_EQ(shell.boxes.seen.size(), 1u) << shell.boxes.lastText();
    EXPECT_TRUE(shell.Find<QPlainTextEdit>("Memo")->toPlainText().contains(savedLine));
  }
  bed->WithModel(0, [&](sim::SimController& model) {
    EXPECT_EQ(model.Block(sim::kAddressMux410, 20)[2], 0xC1);
    EXPECT_EQ(model.Block(sim::kAddressTpx520, 16), touch);
  });
}

// A qvrctl update while the window is open: the window's polls wait for it or are told the
// adapter is in use (never "disconnected", device commands disabled), and the update goes
// through whole; afterwards the window has the adapter again.
TEST_F(WindowOverUsb, AnUpdateFromQvrctlRunsWhileTheWindowIsOpen) {
  shell.Connect();
  ASSERT_TRUE(window().monitor().connected());
  Scratch files;
  LdrBuilder builder;
  builder.version = 277;
  builder.deviceVersion = sim::kMux410Identity.deviceVersion;
  builder.deviceType = sim::kMux410Identity.deviceType;
  builder.payloadSize = 60 * 1024;
  WriteBytes(files / "mux.LDR", builder.Build());
  Program updating({QVRCTL_BINARY, "--lang", "en", "-q", "--log", "update", "mux-410",
                    files / "mux.LDR", "--yes"});
  while (updating.ErrSoFar().find("CMD:82") == std::string::npos) ::usleep(1000);
  bool sawBusy = false;
  for (int poll = 0; poll < 20 && !sawBusy; ++poll) {
    shell.Connect();
    sawBusy = window().monitor().adapterBusy();
  }
  EXPECT_TRUE(sawBusy);
  EXPECT_FALSE(window().monitor().connected());
  EXPECT_NE(window().statusText().toStdString().find("QVR-B"), std::string::npos);
  const ProgramResult updated = updating.Finish();
  EXPECT_EQ(updated.status, 0) << updated.err.substr(updated.err.size() - 300);
  shell.Connect();
  EXPECT_TRUE(window().monitor().connected());
  EXPECT_FALSE(window().monitor().adapterBusy());
  bed->WithModel(0, [](sim::SimController& model) {
    const auto info = model.Info(sim::kAddressMux410);
    EXPECT_EQ(info[0] | info[1] << 8, 277);
  });
}

// Changes one value of a configuration file, to the other of two values each time.
void EditFile(const std::string& path) {
  std::string text = FileText(path);
  const size_t value = text.find("ONPOWERTO=") + 10;
  const size_t end = text.find_first_not_of("0123456789", value);
  const std::string next = text.compare(value, end - value, "1234") == 0 ? "4321" : "1234";
  text.replace(value, end - value, next);
  std::ofstream(path, std::ios::binary) << text;
}

// A configuration without its name and descriptions, which a read takes from elsewhere.
std::string Configuration(const std::string& path) {
  std::string kept;
  std::istringstream lines(FileText(path));
  for (std::string line; std::getline(lines, line);)
    if (line.rfind("NAME=", 0) != 0 && line.rfind("TEXT=", 0) != 0) kept += line + "\n";
  return kept;
}

// A write from the window and one from qvrctl at the same time: whichever takes the adapter
// first keeps it from its first exchange to its last, the other is told who has it, and the
// unit holds one whole configuration, never blocks of both.
TEST_F(WindowOverUsb, AWindowWriteAndAQvrctlWriteLeaveOneWholeConfiguration) {
  shell.Connect();
  ASSERT_TRUE(window().monitor().connected());
  Scratch files;
  const std::string a = files / "a.MUX", b = files / "b.MUX", unit = files / "unit.MUX";
  ASSERT_EQ(Qvrctl({"read", "mux-410", a}).status, 0);
  ASSERT_EQ(Qvrctl({"read", "mux-410", b}).status, 0);
  EditFile(a);
  EditFile(b);
  EditFile(b);
  ASSERT_NE(Configuration(a), Configuration(b));
  window().setActivePage(kPageMux410);
  shell.dialogs.answers = {QString::fromStdString(b)};
  window().OpenConfigFileCommand();
  const std::vector<std::string> writeA = {QVRCTL_BINARY, "--lang",  "en", "-q",    "--log",
                                           "write",       "mux-410", a,    "--yes", "--no-backup"};

  // A slow adapter, so that each write lasts well beyond the other program's start.
  const auto slow = [](std::chrono::milliseconds latency) {
    bed->WithModel(0, [&](sim::SimController& model) { model.SetLatency(latency); });
  };

  // qvrctl first: the window's write, started once qvrctl's first report is out, finds the
  // adapter in use by it and sends nothing.
  {
    slow(std::chrono::milliseconds(10));
    Program writing(writeA);
    while (writing.ErrSoFar().find("CMD:") == std::string::npos) ::usleep(1000);
    shell.boxes.seen.clear();
    shell.boxes.answers = {BoxAnswer::kYes};
    window().WriteDeviceCommand();
    const ProgramResult written = writing.Finish();
    slow({});
    EXPECT_EQ(written.status, 0) << written.err;
    EXPECT_NE(shell.boxes.lastText().find("qvrctl (" + std::to_string(writing.pid()) + ")"),
              std::string::npos)
        << shell.boxes.lastText();
    ASSERT_EQ(Qvrctl({"read", "mux-410", unit}).status, 0);
    EXPECT_EQ(Configuration(unit), Configuration(a));
  }

  // The window first: qvrctl, started as the window asks whether to write, is told that the
  // adapter is in use by the window's program, or comes after the window's write.
  std::unique_ptr<Program> writing;
  shell.boxes.during = [&] {
    if (!writing) writing = std::make_unique<Program>(writeA);
  };
  shell.boxes.seen.clear();
  shell.boxes.answers = {BoxAnswer::kYes};
  slow(std::chrono::milliseconds(5));
  window().WriteDeviceCommand();
  slow({});
  shell.boxes.during = nullptr;
  ASSERT_TRUE(writing);
  const ProgramResult written = writing->Finish();
  EXPECT_EQ(shell.boxes.seen.size(), 1u) << shell.boxes.lastText();  // the question alone
  ASSERT_EQ(Qvrctl({"read", "mux-410", unit}).status, 0);
  std::string self;
  std::getline(std::ifstream("/proc/self/comm"), self);
  if (written.status != 0) {
    EXPECT_NE(written.err.find("in use by " + self + " (" + std::to_string(::getpid()) + ")"),
              std::string::npos)
        << written.err;
    EXPECT_EQ(Configuration(unit), Configuration(b));
  } else {
    EXPECT_EQ(Configuration(unit), Configuration(a));
  }
}

}  // namespace
}  // namespace qvr::test
