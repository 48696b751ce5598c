// Live actions of the TPX-520 page against the simulated controller.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>

#include "devices/common/ui/event_editor.h"
#include "sim/sim_profiles.h"
#include "tpx520_page_host.h"

namespace qvr::test {
namespace {

TEST(Tpx520PageLive, SetupsAskFirstAndNoSendsNothing) {
  Tpx520PageHost h;
  ASSERT_EQ(h.tpx->ReadDevice(Tpx()), LinkOk);
  h.sim.ClearWire();
  h.boxes.answers = {BoxAnswer::kNo, BoxAnswer::kNo};
  h.tpx->actions().RunNaviAutoSetup();
  h.tpx->actions().RunTouchLineSetup();
  EXPECT_TRUE(h.sim.Wire().empty());
  ASSERT_EQ(h.boxes.boxes.size(), 2u);
  EXPECT_EQ(h.boxes.boxes[0].style, (BoxStyle{BoxKind::kQuestion, DefaultButton::kNo}));
  EXPECT_EQ(h.boxes.boxes[1].text, "Are you sure you want to\nrun the setup touchscreen?");
  EXPECT_EQ(Control<QComboBox>(h, "ComboBoxNaviType_TPX520")->currentText(), "GVN53");
}

TEST(Tpx520PageLive, TouchLineSetupIsKeptByTheUnitUntilTheNextReadShowsIt) {
  Tpx520PageHost h;
  ASSERT_EQ(h.tpx->ReadDevice(Tpx()), LinkOk);
  h.boxes.answers = {BoxAnswer::kYes, BoxAnswer::kYes};
  h.tpx->actions().RunTouchLineSetup();
  h.tpx->actions().RunNaviAutoSetup();
  EXPECT_EQ(h.RequestCount(19), 1);
  // The page's values are no longer the unit's: shown as kept by the unit, and a write leaves
  // the block out, so the unit keeps the lines and corners it found.
  EXPECT_EQ(Control<QLabel>(h, "PanelXPLS_TPX520")->text(), "");
  ASSERT_EQ(h.tpx->CheckForDevice(), PageOutcome::kDone);
  std::string preview;
  ASSERT_EQ(h.tpx->PreviewWrite(Tpx(), preview), DevicePage::kPreviewMade);
  EXPECT_TRUE(preview.starts_with("The touch block is left out of writes")) << preview;
  const std::vector<uint8_t> foundNavi = h.sim.Block(sim::kAddressTpx520, 17);
  ASSERT_EQ(h.tpx->WriteDevice(Tpx()), LinkOk);
  EXPECT_TRUE(h.Writes(16).empty());
  EXPECT_TRUE(h.Writes(17).empty());
  EXPECT_EQ(h.sim.Block(sim::kAddressTpx520, 16), sim::FoundTouchBlock());
  EXPECT_EQ(h.sim.Block(sim::kAddressTpx520, 17), foundNavi);

  ASSERT_EQ(h.tpx->ReadDevice(Tpx()), LinkOk);
  const std::vector<uint8_t> found = sim::FoundTouchBlock();
  EXPECT_EQ(std::vector<uint8_t>(h.tpx->image().touch.begin(), h.tpx->image().touch.end()), found);
  EXPECT_EQ(Control<QLabel>(h, "PanelXPLS_TPX520")->text(), QString::number(found[0]));
  EXPECT_EQ(Control<QLabel>(h, "PanelCORNER_XMAX_TPX520")->text(),
            QString::number(found[8] | found[9] << 8));
}

TEST(Tpx520PageLive, NaviAutoSetupResetsTheTypeEvenWhenTheDeviceRefuses) {
  Tpx520PageHost h;
  ASSERT_EQ(h.tpx->ReadDevice(Tpx()), LinkOk);
  auto* type = Control<QComboBox>(h, "ComboBoxNaviType_TPX520");
  h.sim.StatusNext(0xFE, 1, 20);
  h.boxes.answers = {BoxAnswer::kYes};
  h.tpx->actions().RunNaviAutoSetup();
  EXPECT_EQ(h.RequestCount(20), 1);
  EXPECT_EQ(type->currentIndex(), 0);
  ASSERT_EQ(h.boxes.boxes.size(), 2u);  // the question, then the refusal
  EXPECT_EQ(h.boxes.boxes[1].style, BoxKind::kError);
}

TEST(Tpx520PageLive, CurrentInputReadOnDoubleClickAndSentOnlyOnTheUsersChoice) {
  Tpx520PageHost h;
  auto* list = Control<QComboBox>(h, "ComboBoxCurrentInput_TPX520");
  QTest::mouseDClick(Control<QLabel>(h, "PanelCurrentInput_TPX520"), Qt::LeftButton);
  EXPECT_EQ(h.RequestCount(21), 1);
  EXPECT_EQ(list->currentIndex(), h.sim.CurrentInput(sim::kAddressTpx520));
  EXPECT_TRUE(h.Writes(21).empty());

  list->setCurrentIndex(2);
  QTest::keyClick(list, Qt::Key_Down);
  ASSERT_EQ(h.Writes(21).size(), 1u);
  EXPECT_EQ(h.Writes(21)[0].data, std::vector<uint8_t>{3});
  EXPECT_EQ(h.sim.CurrentInput(sim::kAddressTpx520), 3);
}

TEST(Tpx520PageLive, FireEventSendsTheSelectedTabIndex) {
  Tpx520PageHost h;
  EventEditor& editor = *h.tpx->widgets().events;
  editor.MakeEvent();  // with no events the index is 0
  h.tpx->image().events.setCount(5);
  for (int slot = 0; slot < 5; ++slot) h.tpx->image().events.record(slot) = {1, 2, 0, 1, 0, 0, 0};
  h.tpx->ImageToControls();
  editor.tabBar()->setCurrentIndex(2);
  editor.MakeEvent();
  const auto writes = h.Writes(23);
  ASSERT_EQ(writes.size(), 2u);
  EXPECT_EQ(writes[0].data, std::vector<uint8_t>{0});
  EXPECT_EQ(writes[1].data, std::vector<uint8_t>{2});
}

TEST(Tpx520PageLive, LastEventAndLearnedIrCodeFillTheEventControls) {
  Tpx520PageHost h;
  ASSERT_EQ(h.tpx->ReadDevice(Tpx()), LinkOk);
  EventEditor& editor = *h.tpx->widgets().events;

  editor.GetLastEvent();  // the device has issued nothing yet
  ASSERT_FALSE(h.boxes.boxes.empty());
  EXPECT_EQ(h.boxes.boxes.back().style, BoxKind::kInformation);
  EXPECT_EQ(h.boxes.boxes.back().text, "No event");

  h.sim.SetIrLearning(sim::kAddressTpx520, 2, {0x04, 0x01, 0x1A, 0x00, 0x2C});
  editor.LearnIrCode();
  EXPECT_EQ(editor.typeList()->currentText(), "RC5");
  EXPECT_EQ(editor.replayList()->currentText(), "Repeats the command code");
  EXPECT_EQ(editor.addressEdit()->text(), "26");
  EXPECT_EQ(editor.commandEdit()->text(), "44");
  EXPECT_EQ(h.RequestCount(24), 4);  // the start and three polls
}

}  // namespace
}  // namespace qvr::test
