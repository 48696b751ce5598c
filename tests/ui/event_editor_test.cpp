// The shared event editor on a MUX-410 configured table: tabs, panel, menu operations, list
// rules and the live event buttons against the simulated device.
#include "devices/common/ui/event_editor.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QTabBar>
#include <QTest>

#include "fake_page_host.h"
#include "i18n/cp1251.h"

namespace qvr {
namespace {

EventEditorConfig MuxConfig() {
  return {"_MUX410", &mux410::kModule, true, {28, 29, 30, 28}};
}

class EventEditorTest : public ::testing::Test {
 protected:
  explicit EventEditorTest(EventEditorConfig config = MuxConfig(), int capacity = 96)
      : table(capacity), editor(host, table, std::move(config), &window) {
    window.resize(400, 300);
    editor.resize(400, 300);
    window.show();
    editor.RebuildEventTabs(0);
  }

  // `count` used events described "e1".."en", each with its number as address.
  void Fill(int count) {
    table.setCount(count);
    for (int i = 0; i < count; ++i) {
      table.record(i) = EventRecord{1, uint8_t(2 + i % 9), 0, 1, 0, uint16_t(i + 1), 0};
      table.setDescription(i, std::string("e").append(std::to_string(i + 1)));
    }
    editor.RebuildEventTabs(0);
  }
  void Choose(QComboBox* list, int index) {
    list->setCurrentIndex(index);
    emit list->activated(index);
  }
  QString TabText(int i) const { return editor.tabBar()->tabText(i); }
  int Selected() const { return editor.tabBar()->currentIndex(); }

  test::FakePageHost host;
  QWidget window;
  EventTable table;
  EventEditor editor;
};

TEST_F(EventEditorTest, LeftClickOnInsertTabCreatesTheFirstEventRightClickOpensTheMenu) {
  EXPECT_EQ(TabText(0), "Insert");
  EXPECT_FALSE(editor.eventPanel()->isVisibleTo(&window));
  EXPECT_EQ(editor.title(), " Total events 0 of 96 ");

  QTabBar* tabs = editor.tabBar();
  QTest::mouseClick(tabs, Qt::RightButton, {}, tabs->tabRect(0).center());
  EXPECT_TRUE(host.menu.isVisible());
  host.menu.hide();
  EXPECT_EQ(table.count(), 0);

  QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
  EXPECT_EQ(table.count(), 1);
  EXPECT_EQ(tabs->count(), 1);
  EXPECT_EQ(TabText(0), "1");
  EXPECT_TRUE(editor.eventPanel()->isVisibleTo(&window));
  EXPECT_EQ(editor.title(), " Total events 1 of 96 ");
  EXPECT_EQ(tabs->toolTip(), "Event data 1");

  QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
  EXPECT_EQ(table.count(), 1);  // with events a click only selects
}

// A keyboard user reaches the same commands on the focused tab row.
TEST_F(EventEditorTest, KeysOnTheTabRowRunTheEventMenusCommands) {
  QTabBar* tabs = editor.tabBar();
  QTest::keyClick(tabs, Qt::Key_Menu);
  EXPECT_TRUE(host.menu.isVisible());
  host.menu.hide();
  QTest::keyClick(tabs, Qt::Key_Return);  // the lone "Insert" tab
  EXPECT_EQ(table.count(), 1);
  QTest::keyClick(tabs, Qt::Key_Plus);
  QTest::keyClick(tabs, Qt::Key_Insert);
  EXPECT_EQ(table.count(), 3);
  QTest::keyClick(tabs, Qt::Key_Delete);
  EXPECT_EQ(table.count(), 2);
  QTest::keyClick(tabs, Qt::Key_F10, Qt::ShiftModifier);
  EXPECT_TRUE(host.menu.isVisible());
  host.menu.hide();
}

TEST_F(EventEditorTest, InsertBeforeTheThirdOfFiveMovesTheLaterEventsWithTheirDescriptions) {
  Fill(5);
  editor.tabBar()->setCurrentIndex(2);
  EXPECT_EQ(editor.descriptionEdit()->text(), "e3");

  editor.InsertEvent();
  EXPECT_EQ(table.count(), 6);
  EXPECT_EQ(Selected(), 2);
  EXPECT_EQ(TabText(5), "6");
  EXPECT_EQ(editor.descriptionEdit()->text(), "");
  EXPECT_EQ(editor.zoneList()->currentIndex(), 0);
  EXPECT_EQ(table.description(3), "e3");
  EXPECT_EQ(table.description(5), "e5");
  EXPECT_EQ(table.record(5).address, 5);
}

TEST_F(EventEditorTest, DeletingSelectsTheLastEventAndTheOnlyEventLeavesInsert) {
  Fill(4);
  editor.tabBar()->setCurrentIndex(1);
  editor.DeleteCurrentEvent();
  EXPECT_EQ(table.count(), 3);
  EXPECT_EQ(Selected(), 2);
  EXPECT_EQ(table.description(1), "e3");
  EXPECT_EQ(editor.descriptionEdit()->text(), "e4");

  // Ctrl+Z on the tab row brings the deleted event back where it was, selected; the next one
  // undoes the change before, until there is none.
  editor.tabBar()->setFocus();
  QTest::keyClick(editor.tabBar(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(table.count(), 4);
  EXPECT_EQ(table.description(1), "e2");
  EXPECT_EQ(Selected(), 1);
  EXPECT_EQ(editor.descriptionEdit()->text(), "e2");
  editor.AddEventAtEnd();
  host.boxes.answers.push_back(BoxAnswer::kYes);
  editor.DeleteAllEvents();
  EXPECT_TRUE(editor.UndoEventChange());
  EXPECT_EQ(table.count(), 5);
  EXPECT_TRUE(editor.UndoEventChange());
  EXPECT_EQ(table.count(), 4);
  EXPECT_FALSE(editor.UndoEventChange()) << "the table filled by hand is where it starts";

  Fill(1);
  editor.DeleteCurrentEvent();
  EXPECT_EQ(TabText(0), "Insert");
  EXPECT_FALSE(editor.eventPanel()->isVisibleTo(&window));
}

TEST_F(EventEditorTest, PruneKeepsUsedEventsInOrderAndTheSelectionWhileItExists) {
  Fill(5);
  for (int i : {0, 2, 3}) table.record(i).type = 0;  // only events 2 and 5 are used
  editor.RebuildEventTabs(3);
  editor.PruneEvents();
  EXPECT_EQ(table.count(), 2);
  EXPECT_EQ(Selected(), 0);
  EXPECT_EQ(table.description(0), "e2");
  EXPECT_EQ(table.description(1), "e5");
  EXPECT_EQ(table.description(2), "");

  editor.RebuildEventTabs(1);
  editor.PruneEvents();
  EXPECT_EQ(Selected(), 1);
}

TEST_F(EventEditorTest, AddressOutOfRangeRefusesTheTabChangeAndKeepsTheTab) {
  Fill(2);
  editor.addressEdit()->setText("70000");
  editor.tabBar()->setCurrentIndex(1);
  EXPECT_EQ(host.LastBox(), "The value must be in the range from 0 to 65535");
  EXPECT_EQ(Selected(), 0);
  EXPECT_EQ(table.currentEvent, 0);
  EXPECT_EQ(table.record(0).address, 1);

  editor.addressEdit()->setText("300");
  editor.tabBar()->setCurrentIndex(1);
  EXPECT_EQ(Selected(), 1);
  EXPECT_EQ(table.record(0).address, 300);
  EXPECT_EQ(table.eventTemplate.address, 300);
}

TEST_F(EventEditorTest, SourceSelectionHidesTheIrPanelAndKeepsItsValues) {
  Fill(1);
  EXPECT_TRUE(editor.irPanel()->isVisibleTo(&window));
  Choose(editor.typeList(), kSourceSelectionType);
  EXPECT_FALSE(editor.irPanel()->isVisibleTo(&window));
  ASSERT_EQ(editor.SaveCurrentEvent(), 0);
  EXPECT_EQ(table.record(0).type, 10);
  EXPECT_EQ(table.record(0).address, 1);
  Choose(editor.typeList(), 1);
  EXPECT_TRUE(editor.irPanel()->isVisibleTo(&window));
}

TEST_F(EventEditorTest, PowerOnEventSelectsAnyInputOtherEventsLeaveIt) {
  Fill(1);
  Choose(editor.inputList(), 2);
  Choose(editor.zoneList(), 5);
  EXPECT_EQ(editor.inputList()->currentIndex(), 2);
  Choose(editor.zoneList(), kPowerOnEvent);
  EXPECT_EQ(editor.inputList()->currentIndex(), kAnyInput);
}

TEST_F(EventEditorTest, NewEventTakesInputReactionAddressRepeatAndOutputFromTheLastOne) {
  Fill(1);
  Choose(editor.inputList(), 2);
  Choose(editor.typeList(), 1);
  editor.addressEdit()->setText("4");
  Choose(editor.replayList(), 1);
  Choose(editor.outputList(), 8);
  editor.descriptionEdit()->setText("Кнопка");
  editor.AddEventAtEnd();
  EXPECT_EQ(table.description(0), Utf8ToCp1251("Кнопка"));
  EXPECT_EQ(table.description(0).size(), 6u);  // one byte per letter on the device
  EXPECT_EQ(Selected(), 1);
  EXPECT_EQ(editor.inputList()->currentIndex(), 2);
  EXPECT_EQ(editor.typeList()->currentIndex(), 1);
  EXPECT_EQ(editor.addressEdit()->text(), "4");
  EXPECT_EQ(editor.replayList()->currentIndex(), 1);
  EXPECT_EQ(editor.outputList()->currentIndex(), 8);
  EXPECT_EQ(editor.zoneList()->currentIndex(), 0);
  EXPECT_EQ(editor.descriptionEdit()->text(), "");

  editor.tabBar()->setCurrentIndex(0);
  EXPECT_EQ(editor.descriptionEdit()->text(), "Кнопка");
}

TEST_F(EventEditorTest, FullTableRefusesAddAndInsertDeleteAllNeedsYes) {
  Fill(96);
  editor.AddEventAtEnd();
  EXPECT_EQ(host.LastBox(), "There is no room to add events");
  editor.InsertEvent();
  EXPECT_EQ(host.boxes.boxes.size(), 2u);
  EXPECT_EQ(table.count(), 96);

  editor.DeleteAllEvents();  // the scripted host answers No
  EXPECT_EQ(host.boxes.boxes.back().style, (BoxStyle{BoxKind::kQuestion, DefaultButton::kNo}));
  EXPECT_EQ(table.count(), 96);
  host.boxes.answers.push_back(BoxAnswer::kYes);
  editor.DeleteAllEvents();
  EXPECT_EQ(table.count(), 0);
  EXPECT_EQ(TabText(0), "Insert");
}

TEST_F(EventEditorTest, ValuesBeyondTheListsShowEmptyAndAreKeptAsTheyWere) {
  Fill(1);
  table.record(0).input = 9;
  table.record(0).outTypeFreq = 40;
  editor.RebuildEventTabs(0);
  EXPECT_EQ(editor.inputList()->currentIndex(), -1);
  EXPECT_EQ(editor.outputList()->currentIndex(), -1);
  ASSERT_EQ(editor.SaveCurrentEvent(), 0);
  EXPECT_EQ(table.record(0).input, 9);  // never a byte nobody chose
  EXPECT_EQ(table.record(0).outTypeFreq, 40);
  editor.inputList()->setCurrentIndex(3);
  ASSERT_EQ(editor.SaveCurrentEvent(), 0);
  EXPECT_EQ(table.record(0).input, 3);
}

TEST_F(EventEditorTest, RefusedEventValueIsShownInItsOpenedList) {
  Fill(3);
  table.record(2).type = 40;
  editor.RebuildEventTabs(0);
  EXPECT_EQ(editor.PointAtEventValue(2, &EventRecord::type), 1);
  EXPECT_EQ(Selected(), 2);
  EXPECT_EQ(editor.typeList()->currentIndex(), -1);
  EXPECT_EQ(host.LastBox(), "Select an option from the drop down list");
  EXPECT_TRUE(editor.typeList()->view()->isVisible());
  editor.typeList()->hidePopup();
}

TEST_F(EventEditorTest, LiveButtonsTalkToTheDeviceOfTheirPage) {
  Fill(3);
  editor.tabBar()->setCurrentIndex(2);
  editor.MakeEvent();
  auto writes = host.Writes(1, 28);
  ASSERT_EQ(writes.size(), 1u);
  EXPECT_EQ(writes[0].data, std::vector<uint8_t>{2});

  // The simulated remote sends NEC, address 4, command 17. A click on another event's tab
  // while the wait pumps messages is not taken: the code belongs to the event learning began on.
  bool clicked = false;
  host.hooked.onPump = [&] {
    if (clicked) return;
    clicked = true;
    QTest::mouseClick(editor.tabBar(), Qt::LeftButton, {}, editor.tabBar()->tabRect(0).center());
  };
  editor.LearnIrCode();
  host.hooked.onPump = nullptr;
  EXPECT_TRUE(clicked);
  EXPECT_EQ(Selected(), 2);
  EXPECT_EQ(editor.typeList()->currentIndex(), 1);
  EXPECT_EQ(editor.addressEdit()->text(), "4");
  EXPECT_EQ(editor.commandEdit()->text(), "17");
  EXPECT_EQ(editor.replayList()->currentIndex(), 0);
  editor.tabBar()->setCurrentIndex(0);  // stores the third event
  EXPECT_EQ(table.record(2).address, 4);
  EXPECT_EQ(table.record(0).address, 1);
  EXPECT_TRUE(editor.isEnabled());

  editor.PowerIr();
  EXPECT_EQ(host.Writes(1, 30).size(), 1u);
}

TEST_F(EventEditorTest, LastEventFillsEventAndInputWithoutTheListRules) {
  Fill(1);
  editor.GetLastEvent();
  EXPECT_EQ(host.LastBox(), "No event");

  // The device issues its stored event 1: power-on on input 2.
  host.sim.SetBlock(1, 27, {2, 1, 0, 1, 0, 4, 0, 17});
  editor.MakeEvent();
  editor.GetLastEvent();
  EXPECT_EQ(editor.zoneList()->currentIndex(), kPowerOnEvent);
  EXPECT_EQ(editor.inputList()->currentIndex(), 2);  // not switched to "Any"
}

class TpxEventEditorTest : public EventEditorTest {
 protected:
  TpxEventEditorTest()
      : EventEditorTest({"_TPX520", &tpx520::kModule, false, {23, 24, 25, 23}}, 64) {}
};

TEST_F(TpxEventEditorTest, IrPanelFollowsANewReactionOnlyWhenShownAgain) {
  Fill(1);
  EXPECT_EQ(editor.title(), " Total events 1 of 64 ");
  EXPECT_EQ(editor.typeList()->count(), 10);
  editor.typeList()->setCurrentIndex(-1);
  emit editor.typeList()->activated(-1);
  EXPECT_TRUE(editor.irPanel()->isVisibleTo(&window));
  ASSERT_EQ(editor.SaveCurrentEvent(), 0);
  editor.ShowCurrentEvent();
  EXPECT_FALSE(editor.irPanel()->isVisibleTo(&window));
}

}  // namespace
}  // namespace qvr
