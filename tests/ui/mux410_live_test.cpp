// Live actions of the MUX-410 page against the simulated device, and the IEBus log.
#include <gtest/gtest.h>

#include <algorithm>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "devices/common/ui/description_memo.h"
#include "devices/mux410/ui/iebus_log.h"
#include "devices/mux410/ui/live_actions.h"
#include "devices/mux410/ui/mux410_page.h"
#include "fake_page_host.h"

namespace qvr::mux410 {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(IebusLine, HeadAndDataBytesAsTheMonitorShowsThem) {
  uint8_t entry[kIebusEntrySize] = {0, 0xD2, 0x04, 0, 0x00, 0x01, 0xF0, 0x01, 3, 0x01, 0x02, 0x3A};
  EXPECT_EQ(FormatIebusLine(entry), " 1.234: N 100->1F0 ( 3) 01 02 3A");

  entry[3] = 1;
  entry[8] = 0;
  EXPECT_EQ(FormatIebusLine(entry), " 1.234: B 100->1F0 ( 0)");

  entry[8] = 40;  // more than the entry holds: its 34 bytes are shown
  const std::string line = FormatIebusLine(entry);
  EXPECT_EQ(line.size(), std::string(" 1.234: B 100->1F0 (40)").size() + 34 * 3);

  uint8_t late[kIebusEntrySize] = {0, 0xFF, 0xFF, 0, 0xFF, 0x0F, 0x00, 0x00, 0};
  EXPECT_EQ(FormatIebusLine(late), "65.535: N FFF->000 ( 0)");
}

class Mux410LiveTest : public ::testing::Test {
 protected:
  Mux410LiveTest() : page(host, nullptr) {
    page.resize(776, 480);
    page.show();
    page.InitPage();
  }
  const PageWidgets& w() const { return page.widgets(); }
  Bytes Sent(uint8_t command) const {
    auto writes = host.Writes(1, command);
    return writes.empty() ? Bytes{0xEE} : writes.back().data;
  }

  test::FakePageHost host;
  Page page;
};

TEST_F(Mux410LiveTest, CurrentInputIsSentOnTheUsersChoiceAndReadOnDoubleClick) {
  w().currentInput->setCurrentIndex(4);
  emit w().currentInput->activated(4);
  EXPECT_EQ(Sent(22), Bytes{4});
  EXPECT_EQ(host.sim.CurrentInput(1), 4);

  w().currentInput->setCurrentIndex(0);
  QTest::mouseDClick(w().currentInputLabel, Qt::LeftButton);
  EXPECT_EQ(w().currentInput->currentText(), "5");
  EXPECT_EQ(host.Writes(1, 22).size(), 1u);  // reading sends nothing back
}

TEST_F(Mux410LiveTest, CurrentInputReadIsOneByteOfCommand22AndAFailureShowsOneBox) {
  host.sim.ClearWire();
  ASSERT_EQ(page.actions().ReadCurrentInput(), LinkOk);
  EXPECT_EQ(w().currentInput->currentIndex(), host.sim.CurrentInput(1));
  EXPECT_EQ(host.sim.CountRequests(1, 22), 1);

  w().currentInput->setCurrentIndex(2);
  host.sim.StatusNext(0xFD, 2);
  EXPECT_EQ(page.actions().ReadCurrentInput(), DeviceResultError);
  EXPECT_EQ(host.boxes.boxes.size(), 1u);  // the read shows its own box
  EXPECT_EQ(w().currentInput->currentIndex(), 2);
}

TEST_F(Mux410LiveTest, PaTypeIsToldByItsBox) {
  page.actions().AskPaType();  // the sample configuration runs with an active PA
  EXPECT_EQ(host.LastBox(), "Active type of PA");
  EXPECT_EQ(host.boxes.boxes.back().style, BoxKind::kInformation);
  host.sim.SetBlock(1, 20, {3, 0, 0});
  page.actions().AskPaType();
  EXPECT_EQ(host.LastBox(), "Unknown type of PA");
}

TEST_F(Mux410LiveTest, NavigationSetupRunsOnlyOnYesAndTheUnitKeepsWhatItFinds) {
  ASSERT_EQ(page.ReadDevice(mux410::kModule), LinkOk);
  EXPECT_EQ(w().naviType->currentIndex(), 2);
  page.actions().RunNaviAutoSetup();
  EXPECT_EQ(host.sim.CountRequests(1, 21), 0);
  EXPECT_EQ(w().naviType->currentIndex(), 2);

  host.boxes.answers.push_back(BoxAnswer::kYes);
  page.actions().RunNaviAutoSetup();
  EXPECT_EQ(host.sim.CountRequests(1, 21), 1);
  EXPECT_EQ(w().naviType->currentIndex(), 0);

  // The unit keeps what its setup found: the next write leaves the navigation block out, and
  // says so, until the user chooses a navigation value, which then is sent.
  const std::vector<uint8_t> found = host.sim.Block(1, 17);
  ASSERT_NE(found[0], 0);
  ASSERT_EQ(page.CheckForDevice(), PageOutcome::kDone);  // as the window checks first
  ASSERT_EQ(page.WriteDevice(mux410::kModule), LinkOk);
  EXPECT_TRUE(host.Writes(1, 17).empty());
  EXPECT_EQ(host.sim.Block(1, 17), found);
  const std::vector<std::string>& log = host.boxes.log;
  EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const std::string& line) {
    return line.starts_with("The navigation block is left out");
  }));
  w().naviInput->setCurrentIndex(3);
  emit w().naviInput->activated(3);
  ASSERT_EQ(page.CheckForDevice(), PageOutcome::kDone);
  ASSERT_EQ(page.WriteDevice(mux410::kModule), LinkOk);
  EXPECT_EQ(host.sim.Block(1, 17)[1], 3);
  EXPECT_EQ(host.sim.Block(1, 17)[0], 0) << "as the page shows it";
}

TEST_F(Mux410LiveTest, DebugCommandsSendTheirBytes) {
  page.actions().CamOn();
  EXPECT_TRUE(host.sim.CameraOn());
  page.actions().CamOff();
  EXPECT_EQ(Sent(24), Bytes{0});
  page.actions().Set();
  EXPECT_EQ(Sent(32), Bytes{1});

  w().powerOnTimeout->setText("1A2B");
  page.actions().Raw();
  EXPECT_EQ(Sent(31), (Bytes{0x1A, 0x2B}));
  for (const char* text : {"1A", "1A2B3C", "", "1A2B3C4D5E"}) {
    w().powerOnTimeout->setText(text);
    page.actions().Raw();
  }
  EXPECT_EQ(host.Writes(1, 31).size(), 1u);
  EXPECT_TRUE(host.boxes.boxes.empty());
}

TEST_F(Mux410LiveTest, DescriptionDumpNeedsConnectionAndDebugMode) {
  w().description->setPlainText("mine");
  QTest::mouseDClick(w().descriptionGroup, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(w().description->toPlainText(), "mine");  // not connected yet

  ASSERT_EQ(host.monitor().PollController(), LinkOk);
  ASSERT_TRUE(host.monitor().connected());
  page.actions().ShowDescriptionDump();
  EXPECT_NE(w().description->toPlainText(), "mine");
  EXPECT_EQ(host.sim.CountRequests(1, 6), 1);
}

TEST_F(Mux410LiveTest, IebusLogRunsOnTheMonitoringPageUntilItIsLeft) {
  std::array<uint8_t, 43> entry{};
  entry[1] = 0xD2;
  entry[2] = 0x04;
  PutU16(&entry[4], 0x100);
  PutU16(&entry[6], 0x1F0);
  entry[8] = 1;
  entry[9] = 0x3A;
  host.sim.QueueIebusEntry(entry);
  host.sim.QueueIebusEntry(entry);
  host.sim.SetIebusIdle(true);
  int pumps = 0;
  host.hooked.onPump = [&] {
    EXPECT_EQ(host.page, kPageQvrb);
    if (++pumps == 4) host.page = kPageMux410;  // the user chooses the MUX-410 page again
  };
  page.actions().RunIebusLog();
  EXPECT_EQ(host.boxes.log,
            (std::vector<std::string>{" 1.234: N 100->1F0 ( 1) 3A", " 1.234: N 100->1F0 ( 1) 3A"}));
  EXPECT_EQ(host.status.rfind("IEBUS packets received: 2", 0), 0u);
  EXPECT_EQ(host.page, kPageMux410);
}

TEST_F(Mux410LiveTest, IebusLogEndsOnAFailedReadOrClosingAndReturnsToItsPage) {
  host.sim.SilenceNext(sim::kAlways);
  host.clock.stepPerRead = 5;  // time passes while the link waits for a reply
  page.actions().RunIebusLog();
  EXPECT_EQ(host.boxes.boxes.size(), 1u);  // the read's own error box
  EXPECT_EQ(host.page, kPageMux410);

  host.sim.ClearFaults();
  const int before = host.sim.CountRequests(1, 16);
  host.hooked.onPump = [&] { host.closingFlag = true; };
  page.actions().RunIebusLog();
  EXPECT_EQ(host.sim.CountRequests(1, 16), before);  // closing: no exchange is started
  EXPECT_EQ(host.page, kPageMux410);
}

}  // namespace
}  // namespace qvr::mux410
