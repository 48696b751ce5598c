// Message boxes (kinds, default button, placement, the poll held while open), the progress
// gauge, the monitoring memo and the message-pumping wait.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QStatusBar>
#include <QTest>
#include <QTextDocument>
#include <QToolBar>

#include "app/progress.h"
#include "app/shell_host.h"
#include "i18n/catalogue.h"
#include "i18n/ui/qt_translations.h"
#include "shell_test_support.h"
#include "support/test_host.h"

namespace qvr::test {
namespace {

TEST(MessageBoxKinds, CaptionButtonsAndDefaultFollowTheKind) {
  Catalogue catalogue;
  catalogue.setLanguage(kEnglish);
  struct Case {
    BoxStyle style;
    const char* caption;
    bool yesNo;
    bool defaultNo;
  };
  const Case cases[] = {
      {BoxKind::kError, "Error", false, false},
      {BoxKind::kQuestion, "Question", true, false},
      {BoxKind::kWarning, "Warning", true, false},
      {BoxKind::kInformation, "Information", false, false},
      {{BoxKind::kWarning, DefaultButton::kNo}, "Warning", true, true},
      {{BoxKind::kQuestion, DefaultButton::kNo}, "Question", true, true},
      {BoxKind(99), "", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.style.kind));
    BoxRequest request = MakeBoxRequest(catalogue, c.style, "text");
    EXPECT_EQ(request.caption.toStdString(), c.caption);
    EXPECT_EQ(request.yesNo, c.yesNo);
    EXPECT_EQ(request.defaultNo, c.defaultNo);
    EXPECT_EQ(request.text, "text");
  }
  catalogue.setLanguage(kRussian);
  EXPECT_EQ(MakeBoxRequest(catalogue, BoxKind::kWarning, "").caption,
            QString::fromUtf8("Предупреждение"));
}

TEST(MessageBoxPlacement, CentredOnTheMainWindowAndFiftyPixelsBelowEvenOffScreen) {
  EXPECT_EQ(CentredPosition(QRect(-300, 100, 784, 550), QSize(301, 121), 50), QPoint(-58, 365));
  EXPECT_EQ(CentredPosition(QRect(550, 442, 790, 577), QSize(200, 100), 50), QPoint(845, 730));
  EXPECT_EQ(CentredPosition(QRect(0, 0, 784, 550), QSize(), 50), QPoint(192, 125));
  EXPECT_EQ(CentredPosition(QRect(10, 20, 784, 550), QSize(300, 200), 0), QPoint(252, 195));
}

// Presses Enter on the modal box once it is up, noting where it stood.
struct EnterOnBox {
  explicit EnterOnBox(QWidget* main) {
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [this, main] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->isVisible()) return;
      timer.stop();
      position = box->pos();
      expected = CentredPosition(main->frameGeometry(), box->frameGeometry().size(), 50);
      caption = box->windowTitle();
      icon = box->icon();
      format = box->textFormat();
      for (QAbstractButton* button : box->buttons()) buttons << button->text();
      buttons.sort();
      QTest::keyClick(box, Qt::Key_Return);
    });
    timer.start();
  }
  QTimer timer;
  QPoint position, expected;
  QString caption;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  Qt::TextFormat format = Qt::AutoText;
  QStringList buttons;
};

TEST(RealMessageBox, EnterPressesTheDefaultButtonAndTheBoxStandsOverTheWindow) {
  QWidget main;
  main.setGeometry(-200, 300, 784, 550);
  main.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
  QtMessageBoxResponder responder(&main);
  Catalogue catalogue;
  catalogue.setLanguage(kEnglish);

  {
    EnterOnBox enter(&main);
    EXPECT_EQ(responder.Respond(
                  MakeBoxRequest(catalogue, {BoxKind::kWarning, DefaultButton::kNo}, "Sure?")),
              BoxAnswer::kNo);
    EXPECT_EQ(enter.caption, "Warning");
    EXPECT_EQ(enter.position, enter.expected);
    EXPECT_EQ(enter.icon, QMessageBox::Warning);  // the reset warning looks like one
  }
  {
    EnterOnBox enter(&main);
    EXPECT_EQ(responder.Respond(MakeBoxRequest(catalogue, BoxKind::kQuestion, "Sure?")),
              BoxAnswer::kYes);
    EXPECT_EQ(enter.icon, QMessageBox::Question);
  }
  {
    EnterOnBox enter(&main);
    // A file name that looks like HTML is shown as written.
    EXPECT_EQ(
        responder.Respond(MakeBoxRequest(catalogue, BoxKind::kError, "<b>car</b>.MUX broken")),
        BoxAnswer::kOk);
    EXPECT_EQ(enter.icon, QMessageBox::Critical);
    EXPECT_EQ(enter.format, Qt::PlainText);
  }
  {
    EnterOnBox enter(&main);
    EXPECT_EQ(responder.Respond(MakeBoxRequest(catalogue, BoxKind::kInformation, "Done")),
              BoxAnswer::kOk);
    EXPECT_EQ(enter.icon, QMessageBox::Information);
  }
  {
    // Qt's own button texts follow the program's language.
    QtTranslations qtTexts;
    ASSERT_TRUE(qtTexts.Switch(kRussian)) << "Qt's Russian translation is not installed";
    EnterOnBox enter(&main);
    EXPECT_EQ(responder.Respond(MakeBoxRequest(catalogue, BoxKind::kQuestion, "?")),
              BoxAnswer::kYes);
    EXPECT_EQ(enter.buttons, (QStringList{QString::fromUtf8("&Да"), QString::fromUtf8("&Нет")}));
  }
}

TEST(WindowMessageBox, PollStopsWhileOpenAndRunsAfterwardsEvenIfItWasOff) {
  ShellFixture shell;
  MainWindow& window = shell.Open();
  auto* poll = shell.Find<QTimer>("TimerQVRBTest");
  poll->stop();  // as in the close sequence

  shell.boxes.answers = {BoxAnswer::kYes};
  EXPECT_EQ(window.host().ShowMessageBox(BoxKind::kQuestion, "Go?"), BoxAnswer::kYes);

  ASSERT_EQ(shell.boxes.seen.size(), 1u);
  EXPECT_FALSE(shell.boxes.seen[0].pollRunning);
  EXPECT_EQ(shell.boxes.seen[0].request.caption, QString::fromUtf8("Вопрос"));
  EXPECT_TRUE(poll->isActive());

  // After a termination signal nobody may be there to answer: a question is answered No
  // without a box, and a message goes to the log and the status bar instead.
  window.Terminate();
  shell.boxes.answers = {BoxAnswer::kYes};
  EXPECT_EQ(window.host().ShowMessageBox(BoxKind::kQuestion, "Again?"), BoxAnswer::kNo);
  EXPECT_EQ(window.host().ShowMessageBox(BoxKind::kInformation, "Updated to 2.16"), BoxAnswer::kOk);
  EXPECT_EQ(shell.boxes.seen.size(), 1u);
  EXPECT_TRUE(shell.Find<QPlainTextEdit>("Memo")->toPlainText().contains("Updated to 2.16"));
  EXPECT_EQ(window.statusText(), "Updated to 2.16");
}

// The status bar shows a text's first line and the whole text as its tool tip, both as written
// even when a name in it looks like HTML (here a settings path that cannot be saved).
TEST(StatusBar, ShowsNamesThatLookLikeHtmlAsWritten) {
  ShellFixture shell;
  QFile blocker(shell.dir.path() + "/file");
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  shell.settingsPath = blocker.fileName() + "/<b>car</b>\n<i>unit</i> &amp;.ini";
  shell.dialogs.answers = {"/home/user/a.MUX"};
  MainWindow& window = shell.Open();
  window.SetLanguage(kEnglish);
  window.setActivePage(kPageMux410);
  window.OpenConfigFileCommand();  // remembers the file's folder: the first save

  const QString told =
      "The program settings were not saved to \"" + shell.settingsPath + "\": Not a directory";
  auto* label = shell.Find<QStatusBar>("StatusBar")->findChild<QLabel*>();
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->textFormat(), Qt::PlainText);
  EXPECT_EQ(window.statusText(), told.section('\n', 0, 0));
  QTextDocument shown;
  shown.setHtml(label->toolTip());  // a tool tip is rich text when it looks like it
  EXPECT_EQ(shown.toPlainText(), told);
  window.close();
}

class Gauge : public ::testing::Test {
 protected:
  void SetUp() override {
    shell.Open().show();
    gauge = shell.Find<QProgressBar>("CGaugeProgressProcent");
  }
  ShellHost& host() { return shell.window->shellHost(); }
  ShellFixture shell;
  QProgressBar* gauge = nullptr;
};

TEST_F(Gauge, HiddenUntilUsedThenShowsThePercentageAcrossThePanel) {
  EXPECT_TRUE(gauge->isHidden());
  host().BeginProgress(814, "Reading");
  EXPECT_FALSE(gauge->isHidden());
  EXPECT_EQ(shell.window->statusText(), "Reading");
  EXPECT_EQ(gauge->text(), "0%");
  host().AdvanceProgress(407);
  EXPECT_EQ(gauge->text(), "50%");

  auto* panel = shell.Find<QWidget>("PanelMenu");
  auto* toolBar = shell.Find<QToolBar>("MainToolBar");
  EXPECT_EQ(panel->width(), toolBar->width() - panel->x() - 5);
  EXPECT_EQ(gauge->width(), panel->width());
}

TEST_F(Gauge, APollBetweenBlocksHidesItAndTheNextBlockBringsBackGaugeAndCaption) {
  host().BeginProgress(100, "Writing");
  host().AdvanceProgress(40);
  host().HideProgress();
  shell.window->setStatusText("Controller \"QVR-B\" is connected.");
  EXPECT_TRUE(gauge->isHidden());

  host().AdvanceProgress(10);
  EXPECT_FALSE(gauge->isHidden());
  EXPECT_EQ(shell.window->statusText(), "Writing");
  EXPECT_EQ(gauge->value(), 50);
}

TEST_F(Gauge, AdvancingPastTheMaximumClampsAndAfterwardsChangesNothing) {
  host().BeginProgress(100, "Update");
  host().AdvanceProgress(70);
  host().AdvanceProgress(70);
  EXPECT_EQ(gauge->value(), 100);
  EXPECT_EQ(gauge->text(), "100%");

  host().HideProgress();
  shell.window->setStatusText("other");
  host().AdvanceProgress(5);
  EXPECT_TRUE(gauge->isHidden());
  EXPECT_EQ(shell.window->statusText(), "other");
}

TEST(GaugeTimeLeft, TheStatusAddsTheTimeLeftOnceAFewPercentAreDoneAndDropsItAtTheEnd) {
  ManualClock clock;
  ShellFixture shell;
  shell.clock = &clock;
  shell.Open().show();
  ShellHost& host = shell.window->shellHost();
  host.BeginProgress(1000, "Updating");
  clock.Advance(2000);
  host.AdvanceProgress(20);  // 2 % says too little
  EXPECT_EQ(shell.window->statusText(), "Updating");
  clock.Advance(2000);
  host.AdvanceProgress(80);  // 10 % in 4 s: 36 s to go
  EXPECT_EQ(shell.window->statusText(), QString::fromUtf8("Updating, осталось 0:36"));
  host.AdvanceProgress(900);
  EXPECT_EQ(shell.window->statusText(), "Updating");
}

TEST(Memo, LinesAppendAsGivenAndADoubleClickClears) {
  ShellFixture shell;
  shell.Open().show();
  auto* memo = shell.Find<QPlainTextEdit>("Memo");
  shell.window->host().LogLine("  first  ");
  shell.window->host().LogLine("second");
  EXPECT_EQ(memo->toPlainText(), "  first  \nsecond");
  EXPECT_TRUE(memo->isReadOnly());

  QTest::mouseDClick(memo->viewport(), Qt::LeftButton);
  EXPECT_EQ(memo->toPlainText(), "");
}

TEST(WaitWithMessages, WaitsTheFullTimeAcrossAWrapOfTheCounter) {
  ManualClock clock;
  clock.Set(0xFFFFFFC0u);
  clock.stepPerRead = 1;
  WaitWithMessages(clock, 100);
  const uint32_t after = clock.NowMs();
  EXPECT_GE(uint32_t(after - 0xFFFFFFC0u), 100u);
  EXPECT_LE(uint32_t(after - 0xFFFFFFC0u), 103u);
}

}  // namespace
}  // namespace qvr::test
