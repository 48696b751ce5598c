// Closing the window (close button or a termination signal) while a firmware update or a
// device write runs: the transfer completes, then the window closes with the settings as they
// were before the command, and nothing reaches the controller afterwards.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <unistd.h>
#endif

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QTest>
#include <atomic>

#include "app/device_pages.h"
#include "app/termination_signals.h"
#include "devices/common/ini_file.h"
#include "i18n/added_texts.h"
#include "link/packet_layout.h"
#include "shell_test_support.h"
#include "support/ldr_builder.h"

namespace qvr::test {
namespace {

// Passes reports to the simulated controller and runs `trigger` (on the transport thread) when
// the `count`-th request with `command` goes out.
class TriggerTransport : public Transport {
 public:
  TriggerTransport(sim::SimController& controller, uint8_t command, int count,
                   std::function<void()> trigger)
      : inner_(controller), command_(command), left_(count), trigger_(std::move(trigger)) {}
  LinkResult SendFeatureReport(const PacketBytes& packet) override {
    if (packet[kPacketCommand] == command_ && --left_ == 0) trigger_();
    return inner_.SendFeatureReport(packet);
  }
  LinkResult ReceiveFeatureReport(PacketBytes& packet) override {
    return inner_.ReceiveFeatureReport(packet);
  }
  void CloseController() override { inner_.CloseController(); }

 private:
  sim::SimTransport inner_;
  uint8_t command_;
  int left_;
  std::function<void()> trigger_;
};

enum class Closer { kButton, kTerm, kInt, kHup };
enum class Operation { kUpdate, kDeviceWrite };

struct Outcome {
  std::string statusRightAfter;  // the status bar as the command returned
  bool visibleRightAfter = false;
  bool closed = false;
  int savedPage = -1;
  size_t wireAtClose = 0;
  size_t wireLater = 0;
  size_t boxesAfter = 0;  // boxes shown by the command (answered by the script)
};

Outcome CloseDuring(Operation operation, Closer closer, ShellFixture& shell) {
  std::atomic<MainWindow*> target{nullptr};
  auto trigger = [&target, closer] {
    if (closer == Closer::kButton) {
      QMetaObject::invokeMethod(
          target.load(), [w = target.load()] { w->close(); }, Qt::QueuedConnection);
      return;
    }
#ifndef _WIN32
    const int signal = closer == Closer::kTerm ? SIGTERM : closer == Closer::kInt ? SIGINT : SIGHUP;
    ::kill(::getpid(), signal);  // to the process, as the shell or the system sends it
#endif
  };
  const bool update = operation == Operation::kUpdate;
  shell.makeTransport = [&](sim::SimController& controller) {
    // The 10th firmware block, or the mode block in the middle of a configuration write.
    return std::make_unique<TriggerTransport>(controller, update ? 0x82 : 0x92, update ? 10 : 1,
                                              trigger);
  };
  if (!update) shell.realPages = true;
  MainWindow& window = shell.Open();
  target = &window;
  window.show();
  TerminationSignals signalWatch([&window] { window.Terminate(); });
  shell.Connect();
  window.setActivePage(kPageMux410);

  if (update) {
    const std::string path = shell.dir.filePath("mux.LDR").toStdString();
    WriteBytes(path, LdrBuilder{.version = 216,
                                .deviceVersion = sim::kMux410Identity.deviceVersion,
                                .deviceType = sim::kMux410Identity.deviceType,
                                .payloadSize = 4010}
                         .Build());
    shell.dialogs.answers = {QString::fromStdString(path)};
    window.UpdateFirmwareCommand();
  } else {
    window.ReadDeviceCommand();  // the page shows what the device holds
    shell.boxes.answers = {BoxAnswer::kYes};
    window.WriteDeviceCommand();
  }

  Outcome outcome;
  outcome.boxesAfter = shell.boxes.seen.size();
  outcome.statusRightAfter = window.statusText().toStdString();
  outcome.visibleRightAfter = window.isVisible();
  QElapsedTimer waited;
  waited.start();
  while (window.isVisible() && waited.elapsed() < 5000) QCoreApplication::processEvents();
  outcome.closed = !window.isVisible();
  outcome.wireAtClose = shell.controller.Wire().size();
  const qint64 closedAt = waited.elapsed();
  while (waited.elapsed() < closedAt + 300) QCoreApplication::processEvents();
  outcome.wireLater = shell.controller.Wire().size();
  IniFile saved;
  saved.Load(shell.settingsPath.toStdString());
  outcome.savedPage = saved.GetInt("MainSettings", "ActivePage", -1);
  return outcome;
}

TEST(ClosingDuringATransfer, EveryWayOfClosingWaitsForTheUpdateAndTheDeviceWriteToEnd) {
  for (Operation operation : {Operation::kUpdate, Operation::kDeviceWrite}) {
#ifdef _WIN32
    // Windows has no termination signals: what ends a program there reaches the window as its
    // own close.
    for (Closer closer : {Closer::kButton}) {
#else
    for (Closer closer : {Closer::kButton, Closer::kTerm, Closer::kInt, Closer::kHup}) {
#endif
      SCOPED_TRACE(testing::Message()
                   << "operation " << int(operation) << " closer " << int(closer));
      ShellFixture shell;
      const Outcome outcome = CloseDuring(operation, closer, shell);
      // After a signal nobody may be there to answer: the result goes to the status bar, the
      // log and stderr, never into a box; the close button's user sees the result box.
      if (closer == Closer::kButton) {
        EXPECT_EQ(outcome.statusRightAfter, TextIn(kRussian, AddedText::kClosingAfterOperation));
        EXPECT_EQ(outcome.boxesAfter, 1u);
      } else {
        EXPECT_EQ(outcome.boxesAfter, operation == Operation::kUpdate ? 0u : 1u);
      }
      EXPECT_TRUE(outcome.visibleRightAfter);
      EXPECT_TRUE(outcome.closed);
      EXPECT_EQ(outcome.savedPage, kPageMux410);  // not the log page the update showed
      EXPECT_EQ(outcome.wireLater, outcome.wireAtClose);
      if (operation == Operation::kUpdate) {
        EXPECT_EQ(GetU16(shell.controller.Info(1).data()), 216);  // the image went in whole
      } else {
        // The write ran to its end: the device's reset follows the event table.
        EXPECT_EQ(shell.controller.CountRequests(1, 3), 1);
      }
    }
  }
}

// A close or a signal while the command's question or file dialog is open cancels it: nothing
// reaches the controller, and the window closes at once.
TEST(ClosingDuringATransfer, AQuestionOrFileDialogOpenAtTheCloseCancelsTheCommand) {
  for (Operation operation : {Operation::kUpdate, Operation::kDeviceWrite}) {
    for (bool signal : {false, true}) {
      SCOPED_TRACE(testing::Message() << "operation " << int(operation) << " signal " << signal);
      ShellFixture shell;
      if (operation == Operation::kDeviceWrite) shell.realPages = true;
      MainWindow& window = shell.Open();
      window.show();
      shell.Connect();
      window.setActivePage(kPageMux410);
      const auto closeNow = [&] { signal ? window.Terminate() : (void)window.close(); };
      if (operation == Operation::kUpdate) {
        const std::string path = shell.dir.filePath("mux.LDR").toStdString();
        WriteBytes(path, LdrBuilder{.version = 216,
                                    .deviceVersion = sim::kMux410Identity.deviceVersion,
                                    .deviceType = sim::kMux410Identity.deviceType,
                                    .payloadSize = 400}
                             .Build());
        shell.dialogs.answers = {QString::fromStdString(path)};
        shell.dialogs.during = closeNow;
        shell.controller.ClearWire();
        window.UpdateFirmwareCommand();
      } else {
        window.ReadDeviceCommand();
        shell.boxes.answers = {BoxAnswer::kYes};
        shell.boxes.during = closeNow;
        shell.controller.ClearWire();
        window.WriteDeviceCommand();
      }
      EXPECT_EQ(shell.controller.CountRequests(sim::kAddressMux410, 2), 0);
      EXPECT_EQ(shell.controller.CountRequests(sim::kAddressMux410, 0x12), 0);
      EXPECT_EQ(shell.controller.CountRequests(sim::kAddressMux410, 3), 0);
      QElapsedTimer waited;
      waited.start();
      while (window.isVisible() && waited.elapsed() < 3000) QCoreApplication::processEvents();
      EXPECT_FALSE(window.isVisible());
    }
  }
}

// An edited page is not lost by a close, a load or a device read: the user is asked to save,
// discard or cancel, and the title names the file with a modified mark meanwhile.
TEST(ClosingWithUnsavedChanges, CloseLoadAndReadAskToSaveDiscardOrCancel) {
  enum class Over { kClose, kLoad, kRead };
  for (Over over : {Over::kClose, Over::kLoad, Over::kRead}) {
    for (BoxAnswer answer : {BoxAnswer::kCancel, BoxAnswer::kNo, BoxAnswer::kYes}) {
      SCOPED_TRACE(testing::Message() << "over " << int(over) << " answer " << int(answer));
      ShellFixture shell;
      shell.realPages = true;
      MainWindow& window = shell.Open();
      window.show();
      shell.Connect();
      window.setActivePage(kPageMux410);
      window.ReadDeviceCommand();
      ASSERT_TRUE(shell.boxes.seen.empty());
      const QString saved = shell.dir.filePath("edited.MUX");
      const QString other = shell.dir.filePath("absent.MUX");  // refused, which is no matter here
      auto* description = shell.Find<QPlainTextEdit>("MemoDescriptionMUX410");
      QTest::keyClicks(description, "van 7");
      // A double click empties the description, and Ctrl+Z brings it back.
      const QString typed = description->toPlainText();
      QTest::mouseDClick(description->viewport(), Qt::LeftButton);
      EXPECT_TRUE(description->toPlainText().isEmpty());
      QTest::keyClick(description, Qt::Key_Z, Qt::ControlModifier);
      EXPECT_EQ(description->toPlainText(), typed);
      ASSERT_TRUE(window.devicePage(kPageMux410)->modified());
      EXPECT_TRUE(window.windowTitle().endsWith("*"));

      shell.boxes.answers = {answer};
      shell.dialogs.answers = {saved};
      shell.controller.ClearWire();
      if (over == Over::kClose) window.close();
      if (over == Over::kLoad) window.LoadConfigFile(other.toStdString());
      if (over == Over::kRead) window.ReadDeviceCommand();

      ASSERT_FALSE(shell.boxes.seen.empty());
      const BoxRequest& asked = shell.boxes.seen.front().request;
      EXPECT_TRUE(asked.saveChanges);
      EXPECT_TRUE(asked.text.contains("MUX-410"));
      EXPECT_EQ(QFile::exists(saved), answer == BoxAnswer::kYes);
      if (answer == BoxAnswer::kYes) {
        QFile file(saved);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_TRUE(bytes.contains(QByteArray("van 7").toHex().toUpper()));
      }
      if (over == Over::kClose) {
        EXPECT_EQ(window.isVisible(), answer == BoxAnswer::kCancel);
      } else if (answer == BoxAnswer::kCancel) {
        EXPECT_TRUE(window.devicePage(kPageMux410)->modified());
        EXPECT_EQ(shell.controller.CountRequests(sim::kAddressMux410, 0x12), 0);
      }
      if (over == Over::kRead && answer != BoxAnswer::kCancel) {
        // The device's configuration is shown unmodified, from no file.
        EXPECT_FALSE(window.devicePage(kPageMux410)->modified());
        EXPECT_TRUE(window.pageFile(kPageMux410).isEmpty());
      }
      if (over == Over::kLoad && answer == BoxAnswer::kYes) {
        EXPECT_EQ(window.pageFile(kPageMux410), saved);  // the refused load kept the saved one
        EXPECT_TRUE(window.windowTitle().endsWith(QString::fromUtf8("edited.MUX")));
      }
    }
  }
}

// What reaches the unit is no save: after a device write the page still differs from its file,
// and says so; the question's Save, like Ctrl+S, saves to the page's own file without asking for
// a name. Another device's file is loaded only when the user says so.
TEST(ClosingWithUnsavedChanges, ADeviceWriteLeavesThePageUnsavedUntilItsFileHoldsIt) {
  ShellFixture shell;
  shell.realPages = true;
  MainWindow& window = shell.Open();
  window.show();
  shell.Connect();
  const QString tpxFile = shell.dir.filePath("t.MUX");
  window.setActivePage(kPageTpx520);
  window.ReadDeviceCommand();
  shell.dialogs.answers = {tpxFile};
  window.SaveToPageFileCommand();
  window.setActivePage(kPageMux410);
  window.ReadDeviceCommand();
  const QString file = shell.dir.filePath("c.MUX");
  shell.dialogs.answers = {file};
  window.SaveToPageFileCommand();
  ASSERT_EQ(window.pageFile(kPageMux410), file);
  QTest::keyClicks(shell.Find<QPlainTextEdit>("MemoDescriptionMUX410"), "van 7");

  shell.boxes.answers = {BoxAnswer::kYes};
  window.WriteDeviceCommand();
  EXPECT_TRUE(window.devicePage(kPageMux410)->modified());
  EXPECT_TRUE(window.windowTitle().endsWith("c.MUX*")) << window.windowTitle().toStdString();
  EXPECT_EQ(window.statusText().toStdString(),
            Catalogue::FormatText(TextIn(kRussian, AddedText::kWrittenNotSaved), "c.MUX"));
  const auto fileHoldsEdit = [&] {
    QFile saved(file);
    return saved.open(QIODevice::ReadOnly) &&
           saved.readAll().contains(QByteArray("van 7").toHex().toUpper());
  };
  EXPECT_FALSE(fileHoldsEdit());

  shell.boxes.seen.clear();
  shell.boxes.answers = {BoxAnswer::kYes, BoxAnswer::kNo};
  window.LoadConfigFile(tpxFile.toStdString());
  ASSERT_EQ(shell.boxes.seen.size(), 2u);
  EXPECT_TRUE(shell.boxes.seen[0].request.saveChanges) << "the edit is asked about first";
  EXPECT_EQ(shell.boxes.seen[1].request.style, (BoxStyle{BoxKind::kQuestion, DefaultButton::kNo}));
  EXPECT_EQ(shell.boxes.lastText(),
            Catalogue::FormatText(TextIn(kRussian, AddedText::kLoadOtherDevicesFile), "t.MUX",
                                  "TPX-520", "MUX-410"));
  EXPECT_EQ(window.pageFile(kPageMux410), file) << "not loaded";
  EXPECT_TRUE(fileHoldsEdit()) << "the question's Save saved to the page's file";
  EXPECT_EQ(shell.dialogs.requests.size(), 2u) << "without asking for a name";
}

}  // namespace
}  // namespace qvr::test
