// The toolbar: which commands each page allows with and without the controller, the busy
// state, and what the seven commands do on each page.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "shell_test_support.h"
#include "support/third_kind.h"

namespace qvr::test {
namespace {

constexpr const char* kButtons[] = {"SpeedButtonUpdate",      "SpeedButtonReadConfig",
                                    "SpeedButtonWriteConfig", "SpeedButtonReadDevice",
                                    "SpeedButtonWriteDevice", "SpeedButtonToDefault",
                                    "SpeedButtonReset"};

// The enabled buttons as a string of 0/1 in toolbar order.
std::string Enabled(const ShellFixture& shell) {
  std::string state;
  for (const char* name : kButtons) state += shell.Find<QToolButton>(name)->isEnabled() ? '1' : '0';
  return state;
}

class Toolbar : public ::testing::Test {
 protected:
  void SetUp() override { shell.Open(); }
  MainWindow& window() { return *shell.window; }
  ShellFixture shell;
};

TEST_F(Toolbar, EnablesWhatTheActiveRowSupportsAndTheControllerAllows) {
  window().setActivePage(0);
  window().RefreshToolbar();
  EXPECT_EQ(Enabled(shell), "0000000");
  window().setActivePage(1);
  window().RefreshToolbar();
  EXPECT_EQ(Enabled(shell), "0110000");

  shell.Connect();  // the connection refreshes the toolbar
  EXPECT_TRUE(window().monitor().connected());
  EXPECT_EQ(Enabled(shell), "1111111");
  shell.Find<QTabWidget>("PageControlMain")->setCurrentIndex(0);  // a user change refreshes too
  EXPECT_EQ(Enabled(shell), "1000001");

  {
    const Operation operation = window().EnterOperation();
    EXPECT_EQ(Enabled(shell), "0000000");
    EXPECT_TRUE(window().busy());
    window().RefreshToolbar();  // nothing but the operation's end gives the commands back
    EXPECT_EQ(Enabled(shell), "0000000");
  }
  EXPECT_FALSE(window().busy());
  EXPECT_EQ(Enabled(shell), "1000001");

  shell.controller.Unplug();
  shell.Connect();
  EXPECT_EQ(Enabled(shell), "0000000");
}

TEST_F(Toolbar, BusyStateRefusesTheUsersPageChanges) {
  window().setActivePage(1);
  window().show();
  QTabBar* tabs = shell.Find<QTabWidget>("PageControlMain")->tabBar();

  {
    const Operation operation = window().EnterOperation();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
    EXPECT_EQ(window().activePage(), 1);
  }
  QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
  EXPECT_EQ(window().activePage(), 2);

  // Inside a command nothing the user does, and no replug, re-enables anything: the pages
  // take no input (the event menu's Delete cannot reach the event list) until it ends.
  shell.Connect();
  window().setActivePage(1);
  shell.dialogs.during = [&] {
    shell.controller.Unplug();
    shell.Connect();
    shell.controller.Replug();
    shell.Connect();
    EXPECT_EQ(Enabled(shell), "0000000");
    EXPECT_TRUE(window().busy());
    EXPECT_FALSE(shell.mux->isEnabled());
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
    EXPECT_EQ(window().activePage(), 1);
  };
  window().OpenConfigFileCommand();  // cancelled at the file choice
  EXPECT_TRUE(shell.mux->isEnabled());
  EXPECT_EQ(Enabled(shell), "1111111");
}

// A command holds the device pages and the toolbar until it ends: neither an inner command's
// end nor the controller going and coming back meanwhile gives the user the controls back.
TEST_F(Toolbar, ACommandHoldsThePagesAndTheToolbarThroughAReplugAndInnerCommands) {
  window().setActivePage(kPageMux410);
  shell.Connect();
  QWidget* page = shell.Find<QTabWidget>("PageControlMain")->widget(kPageMux410);
  ASSERT_EQ(Enabled(shell), "1111111");
  {
    const Operation command = window().EnterOperation();
    EXPECT_FALSE(page->isEnabled());
    EXPECT_EQ(Enabled(shell), "0000000");
    { const Operation inner = window().EnterOperation(); }
    EXPECT_FALSE(page->isEnabled()) << "the inner command's end gave the page back";
    EXPECT_EQ(Enabled(shell), "0000000") << "the inner command's end gave the toolbar back";
    shell.controller.Unplug();
    shell.Connect();
    shell.controller.Replug();
    shell.Connect();
    EXPECT_TRUE(window().monitor().connected());
    EXPECT_EQ(Enabled(shell), "0000000") << "the replug enabled the toolbar";
    EXPECT_FALSE(page->isEnabled());
  }
  EXPECT_TRUE(page->isEnabled());
  EXPECT_EQ(Enabled(shell), "1111111");
}

// The usual keys run the enabled commands only, and the focus goes back where it was.
TEST_F(Toolbar, ShortcutsRunEnabledCommandsAndTheFocusReturns) {
  window().setActivePage(kPageMux410);
  window().show();
  QApplication::setActiveWindow(&window());
  shell.mux->naviType->setFocus();
  shell.mux->calls.clear();
  QTest::keyClick(shell.mux->naviType, Qt::Key_F5);  // no controller yet: disabled
  EXPECT_TRUE(shell.mux->calls.empty());
  shell.Connect();
  QTest::keyClick(shell.mux->naviType, Qt::Key_F5);
  EXPECT_EQ(shell.mux->calls, (std::vector<std::string>{"ReadDevice MUX-410"}));
  EXPECT_EQ(QApplication::focusWidget(), shell.mux->naviType);
  // Ctrl+S asks for a name only while the page has no file; then it saves there at once, and
  // the toolbar's button (Ctrl+Shift+S) asks again, starting from that file.
  const QString file = shell.dir.path() + "/car.MUX";
  shell.dialogs.answers = {file};
  QTest::keyClick(shell.mux->naviType, Qt::Key_S, Qt::ControlModifier);
  ASSERT_EQ(shell.dialogs.requests.size(), 1u);
  EXPECT_TRUE(shell.dialogs.requests.back().save);
  QTest::keyClick(shell.mux->naviType, Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(shell.dialogs.requests.size(), 1u);
  EXPECT_EQ(shell.mux->calls.back(), "WriteConfigFile MUX-410 " + file.toStdString());
  QTest::keyClick(shell.mux->naviType, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_EQ(shell.dialogs.requests.size(), 2u);
  EXPECT_EQ(shell.dialogs.requests.back().initialFolder, file);
  EXPECT_TRUE(shell.Find<QToolButton>("SpeedButtonWriteConfig")
                  ->accessibleDescription()
                  .endsWith("(Ctrl+Shift+S, Ctrl+S)"));
}

TEST_F(Toolbar, DeviceCommandsOnTheMonitoringPageDoNothing) {
  window().setActivePage(0);
  window().OpenConfigFileCommand();
  window().SaveConfigFileCommand();
  window().ReadDeviceCommand();
  window().WriteDeviceCommand();
  window().ResetToDefaultCommand();
  EXPECT_TRUE(shell.boxes.seen.empty());
  EXPECT_TRUE(shell.dialogs.requests.empty());
}

TEST_F(Toolbar, ReadDeviceReportsTheFailureWithDeviceNameResultTextAndPlace) {
  window().setActivePage(2);
  shell.tpx->readDeviceResult = LinkTimeout;
  window().ReadDeviceCommand();
  EXPECT_EQ(shell.tpx->calls.back(), "ReadDevice TPX-520");
  ASSERT_EQ(shell.boxes.seen.size(), 1u);
  EXPECT_EQ(shell.boxes.seen[0].request.style, BoxKind::kError);
  EXPECT_EQ(shell.boxes.lastText(),
            "Ошибка чтения конфигурации из устройства \"TPX-520\"\nВышел таймаут ожидания ответа");
  EXPECT_FALSE(window().busy());

  // A transfer that stopped part-way says where, in the same one box.
  shell.tpx->readDeviceResult =
      TransferResult(LinkTimeout, {.block = 3, .blocks = 12, .offset = 0x40, .area = 16});
  window().ReadDeviceCommand();
  ASSERT_EQ(shell.boxes.seen.size(), 2u);
  EXPECT_EQ(shell.boxes.lastText(),
            "Ошибка чтения конфигурации из устройства \"TPX-520\"\nВышел таймаут ожидания "
            "ответа\nсбой на блоке 3 из 12 (смещение 0x0040)");
}

TEST_F(Toolbar, WriteDeviceValidatesThenAsksWithNoAsDefault) {
  window().setActivePage(1);
  window().WriteDeviceCommand();  // the scripted user answers No
  EXPECT_EQ(shell.mux->calls.back(), "CheckForDevice");
  ASSERT_EQ(shell.boxes.seen.size(), 1u);
  EXPECT_EQ(shell.boxes.seen[0].request.style, (BoxStyle{BoxKind::kQuestion, DefaultButton::kNo}));
  EXPECT_TRUE(shell.boxes.seen[0].request.defaultNo);
  EXPECT_EQ(shell.boxes.lastText(), "Вы действительно хотите\nзаписать данные в контроллер?");

  shell.boxes.answers = {BoxAnswer::kYes};
  shell.mux->writeDeviceResult = DeviceResultError;
  window().WriteDeviceCommand();
  EXPECT_EQ(shell.mux->calls.back(), "WriteDevice MUX-410");
  EXPECT_EQ(shell.boxes.lastText(),
            "Ошибка записи конфигурации в устройство \"MUX-410\"\nОшибка результата");

  shell.boxes.seen.clear();
  shell.mux->validationResult = PageOutcome::kRefused;
  window().WriteDeviceCommand();
  EXPECT_TRUE(shell.boxes.seen.empty());  // the page has said what is wrong
  EXPECT_EQ(shell.mux->calls.back(), "CheckForDevice");
}

TEST_F(Toolbar, SaveConfigurationValidatesFirstAndAnInvalidPageOpensNoDialog) {
  window().setActivePage(1);
  shell.mux->validationResult = PageOutcome::kRefused;
  window().SaveConfigFileCommand();
  EXPECT_TRUE(shell.dialogs.requests.empty());
  EXPECT_FALSE(window().busy());

  shell.mux->validationResult = PageOutcome::kDone;
  const QString path = shell.dir.path() + "/car.MUX";
  shell.dialogs.answers = {path};
  window().SaveConfigFileCommand();
  ASSERT_EQ(shell.dialogs.requests.size(), 1u);
  EXPECT_TRUE(shell.dialogs.requests[0].save);
  EXPECT_EQ(shell.mux->calls.back(), "WriteConfigFile MUX-410 " + path.toStdString());
  EXPECT_EQ(shell.mux->calls[shell.mux->calls.size() - 2], "CheckForFile");
}

TEST_F(Toolbar, EventMenuActsOnTheActivePageOnly) {
  QMenu* menu = window().eventMenu();
  ASSERT_NE(menu, nullptr);
  window().setActivePage(2);
  shell.Find<QAction>("EventDelAll_MUX410")->trigger();
  EXPECT_EQ(shell.tpx->calls.back(), "Event 3");
  window().setActivePage(0);
  shell.Find<QAction>("EventInsert_MUX410")->trigger();
  EXPECT_NE(shell.mux->calls.back(), "Event 1");
}

// A table whose device rows lack every operation but the reset.
TransferResult FailingReset(ModuleContext&, const DeviceModule&) {
  return LinkDisconnected;
}
constexpr ModuleRow kSparseRows[] = {
    {&kControllerModule, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {&mux410::kModule, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, FailingReset},
};

TEST(ToolbarSparseTable, MissingOperationsAreReportedAsNotSupported) {
  ShellFixture shell;
  MainWindow& window = shell.Open(kSparseRows);
  shell.Connect();
  window.setActivePage(1);
  window.RefreshToolbar();
  EXPECT_EQ(Enabled(shell), "0000001");

  window.UpdateFirmwareCommand();
  window.OpenConfigFileCommand();
  window.SaveConfigFileCommand();
  window.ReadDeviceCommand();
  window.WriteDeviceCommand();
  window.ResetToDefaultCommand();
  window.ResetDeviceCommand();
  window.setActivePage(2);  // no row at all
  window.ResetDeviceCommand();

  std::vector<std::string> texts;
  for (const auto& seen : shell.boxes.seen) {
    EXPECT_EQ(seen.request.style, BoxKind::kError);
    texts.push_back(seen.request.text.toStdString());
  }
  ASSERT_EQ(texts.size(), 8u);
  EXPECT_EQ(texts[0], window.catalogue().Text(MessageId::kUpdateNotSupported));
  EXPECT_EQ(texts[1], window.catalogue().Text(MessageId::kLoadNotSupported));
  EXPECT_EQ(texts[2], window.catalogue().Text(MessageId::kSaveNotSupported));
  EXPECT_EQ(texts[3], window.catalogue().Text(MessageId::kReadDeviceNotSupported));
  EXPECT_EQ(texts[4], window.catalogue().Text(MessageId::kWriteDeviceNotSupported));
  EXPECT_EQ(texts[5], window.catalogue().Text(MessageId::kDefaultNotSupported));
  EXPECT_EQ(texts[6], "Ошибка сброса устройства \"MUX-410\"\nКонтроллер \"QVR-B\" отключен");
  EXPECT_EQ(texts[7], window.catalogue().Text(MessageId::kResetNotSupported));
  EXPECT_TRUE(shell.dialogs.requests.empty());
}

// A kind registered once, in the driver registry and the page registry, gets its row in the
// module table, its tab and its toolbar commands, which reach its page.
TEST(ToolbarThirdKind, ARegisteredKindGetsItsRowTabAndCommands) {
  const std::vector<ModuleRow> rows = ModuleTableOf(kDriversWithThirdKind);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[3].module, &kThirdKindModule);
  const std::array<PageKind, 4> pageKinds = PageKindsWithThirdKind();

  ShellFixture shell;
  MainWindow& window = shell.Open({}, kDriversWithThirdKind, pageKinds);
  auto* tabs = shell.Find<QTabWidget>("PageControlMain");
  ASSERT_EQ(tabs->count(), 4);
  EXPECT_EQ(tabs->tabText(3), "PRB-900");
  EXPECT_EQ(tabs->widget(3)->objectName(), "TabSheetPRB900x");
  ASSERT_NE(shell.other, nullptr);

  shell.Connect();
  window.setActivePage(3);
  window.RefreshToolbar();
  EXPECT_EQ(Enabled(shell), "1111111");
  window.ReadDeviceCommand();
  EXPECT_EQ(shell.other->calls.back(), "ReadDevice PRB-900");
  window.setActivePage(0);  // the controller's row is still the first
  window.RefreshToolbar();
  EXPECT_EQ(Enabled(shell), "1000001");
}

TEST_F(Toolbar, UpdateShowsTheMonitoringPageAndReturnsToTheCommandsPage) {
  shell.Connect();
  window().setActivePage(2);
  int pageDuringDialog = -1;
  shell.dialogs.during = [&] { pageDuringDialog = window().activePage(); };

  window().UpdateFirmwareCommand();  // cancelled at the file choice

  EXPECT_EQ(pageDuringDialog, 0);
  EXPECT_EQ(window().activePage(), 2);
  EXPECT_TRUE(window().monitor().connected());
  EXPECT_EQ(shell.dialogs.requests[0].title.toStdString(),
            window().catalogue().Text(MessageId::kUpdateFileTitle));
  EXPECT_FALSE(window().busy());
}

TEST_F(Toolbar, UpdatingTheControllerItselfAnnouncesItAnew) {
  shell.Connect();
  window().setActivePage(0);
  window().UpdateFirmwareCommand();
  EXPECT_FALSE(window().monitor().connected());
  EXPECT_EQ(Enabled(shell), "0000000");
  shell.Connect();
  EXPECT_EQ(Enabled(shell), "1000001");
}

}  // namespace
}  // namespace qvr::test
