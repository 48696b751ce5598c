// The window as a desktop program: the keyboard reaches every control in the order of the
// layout, the popup menu opens from the keyboard, icons are drawn for the scale at hand, and the
// window fits a screen a large scale factor leaves small.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <map>

#include "app/device_pages.h"
#include "app/toolbar_icons.h"
#include "app/window_fit.h"
#include "shell_test_support.h"

namespace qvr::test {
namespace {

class Keyboard : public ::testing::Test {
 protected:
  void SetUp() override {
    shell.realPages = true;
    shell.Open().show();
    QApplication::setActiveWindow(shell.window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(shell.window.get()));
  }
  // Presses Tab `count` times from `start`, noting the name of each control reached.
  std::vector<std::string> TabFrom(QWidget* start, int count) {
    start->setFocus(Qt::TabFocusReason);
    std::vector<std::string> reached;
    for (int i = 0; i < count; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QWidget* focus = QApplication::focusWidget();
      reached.push_back(focus->objectName().isEmpty() ? focus->metaObject()->className()
                                                      : focus->objectName().toStdString());
    }
    return reached;
  }
  ShellFixture shell;
};

TEST_F(Keyboard, TabLeavesTheDescriptionAndWalksEachPageAsItIsLaidOut) {
  // The window opens with the focus on its page's first field, not on the toolbar's panel.
  EXPECT_EQ(QApplication::focusWidget()->objectName(), "Memo");
  shell.Connect();
  shell.window->setActivePage(1);
  shell.Find<QAction>("EventAddInLast_MUX410")->trigger();  // the event panel shows
  auto* description = shell.Find<QPlainTextEdit>("MemoDescriptionMUX410");
  description->setFocus(Qt::TabFocusReason);
  QTest::keyClicks(description, "Lexus");
  QTest::keyClick(description, Qt::Key_Tab);
  EXPECT_EQ(description->toPlainText(), "Lexus") << "no tab character for the file and the device";
  EXPECT_EQ(QApplication::focusWidget()->objectName(), "ComboBoxModeMUX410");

  // Parameters and navigation on the left, then the action box: its fields, the input
  // parameters and the event editor beside them.
  EXPECT_EQ(TabFrom(description, 25), (std::vector<std::string>{
                                          "ComboBoxModeMUX410",
                                          "ComboBoxNaviType_MUX410",
                                          "SpeedButtonNaviAuto_MUX410",
                                          "ComboBoxNaviInput_MUX410",
                                          "ComboBoxNaviMute_MUX410",
                                          "CheckBoxBeep_MUX410",
                                          "EditPowerOnTO_MUX410",
                                          "ComboBoxOnPowerOn_MUX410",
                                          "ComboBoxGVIFMode_MUX410",
                                          "Edit_PulseTO_MUX410",
                                          "CheckListBoxSkipInput_MUX410",
                                          "ComboBoxCurrentInput_MUX410",
                                          "TabControlEvent_MUX410x",
                                          "EditDescriptionEvent_MUX410",
                                          "ComboBoxInputEvent_MUX410",
                                          "SpeedButtonGetEvent_MUX410x",
                                          "ComboBoxZoneEvent_MUX410",
                                          "ComboBoxIRTypeEvent_MUX410",
                                          "EditAddressEvent_MUX410",
                                          "EditCommandEvent_MUX410",
                                          "SpeedButtonGetReaction_MUX410x",
                                          "SpeedButtonPowerIR_MUX410x",
                                          "ComboBoxReplayEvent_MUX410",
                                          "ComboBoxOutputEvent_MUX410",
                                          "SpeedButtonUpdate",
                                      }));

  // The left column top to bottom, then the right one: input and output control, the input
  // parameters, the mute output, the events.
  shell.window->setActivePage(2);
  EXPECT_EQ(TabFrom(shell.Find<QPlainTextEdit>("MemoDescriptionTPX520"), 16),
            (std::vector<std::string>{
                "CheckBoxONLYEXTOUCH_TPX520",
                "CheckBoxSENDTO_TPX520x",
                "SpeedButtonTouchAuto_TPX520",
                "ComboBoxNaviType_TPX520",
                "SpeedButtonNaviAuto_TPX520",
                "ComboBoxNaviInput_TPX520",
                "EditOnPowerTOmS_TPX520",
                "ComboBoxOnPowerOn_TPX520",
                "ComboBoxOutPulseMode_TPX520",
                "EditPulseTOmS_TPX520",
                "QRadioButton",
                "QRadioButton",
                "CheckListBoxInputMASK_TPX520",
                "ComboBoxCurrentInput_TPX520",
                "QRadioButton",
                "TabControlEvent_TPX520x",
            }));
}

// What a screen reader announces, asked through Qt's accessibility interface in the process: every
// control that takes input has a name, and the fields of a page are told apart by it, in both
// languages.
// The window's keys run their commands from every kind of field, also where the field has a use
// of its own for the key (Ctrl+U erases a line edit's text): the command asks for its file or
// shows its box, and the field keeps what it holds.
TEST_F(Keyboard, TheWindowsKeysWorkFromEveryKindOfField) {
  // Where the platform binds editing keys (Ctrl+U erases a line edit's text on X11), a field
  // claims the key before any shortcut; this filter stands for such bindings on every platform.
  struct ControlKeysOfTheField : QObject {
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() != QEvent::ShortcutOverride ||
          !(static_cast<QKeyEvent*>(event)->modifiers() & Qt::ControlModifier))
        return false;
      event->accept();
      return true;
    }
  } takesControlKeys;
  shell.Connect();
  shell.window->setActivePage(1);
  shell.window->ReadDeviceCommand();
  shell.Find<QAction>("EventAddInLast_MUX410")->trigger();  // its fields show
  shell.window->devicePage(1)->SetModified(false);          // Ctrl+O asks nothing
  const std::vector<std::pair<QKeyCombination, bool>> keys = {
      {Qt::ControlModifier | Qt::Key_U, true},
      {Qt::ControlModifier | Qt::Key_O, true},
      {Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_S, true},
      {QKeyCombination(Qt::Key_F1), false},
  };
  for (const char* name : {"EditPowerOnTO_MUX410", "EditDescriptionEvent_MUX410",
                           "EditCommandEvent_MUX410", "ComboBoxModeMUX410", "MemoDescriptionMUX410",
                           "CheckListBoxSkipInput_MUX410", "TabControlEvent_MUX410x"}) {
    auto* field = shell.Find<QWidget>(name);
    ASSERT_NE(field, nullptr) << name;
    field->installEventFilter(&takesControlKeys);
    for (const auto& [key, opensDialog] : keys) {
      shell.window->setActivePage(1);
      field->setFocus();
      auto* line = qobject_cast<QLineEdit*>(field);
      const QString before = line ? line->text() : QString();
      const size_t dialogs = shell.dialogs.requests.size(), boxes = shell.boxes.seen.size();
      QTest::keyClick(field, key.key(), key.keyboardModifiers());
      EXPECT_EQ(shell.dialogs.requests.size(), dialogs + (opensDialog ? 1 : 0))
          << name << " " << QKeySequence(key).toString().toStdString();
      EXPECT_EQ(shell.boxes.seen.size(), boxes + (opensDialog ? 0 : 1))
          << name << " " << QKeySequence(key).toString().toStdString() << " "
          << (shell.boxes.seen.empty() ? "" : shell.boxes.lastText());
      EXPECT_EQ(line ? line->text() : QString(), before) << name;
    }
  }
}

TEST_F(Keyboard, EveryControlIsNamedAndTheFieldsOfAPageApart) {
  for (int language : {kRussian, kEnglish}) {
    shell.window->SetLanguage(language);
    for (const char* pageName : {"PageMUX410", "PageTPX520"}) {
      SCOPED_TRACE(testing::Message() << pageName << " language " << language);
      auto* page = shell.Find<QWidget>(pageName);
      ASSERT_NE(page, nullptr);
      // Each labelled field has an Alt+letter of its own.
      std::map<QChar, std::string> keys;
      for (QLabel* label : page->findChildren<QLabel*>()) {
        if (!label->buddy()) continue;
        const qsizetype at = label->text().indexOf('&');
        ASSERT_GE(at, 0) << label->objectName().toStdString();
        const auto [was, fresh] =
            keys.emplace(label->text()[at + 1].toLower(), label->objectName().toStdString());
        EXPECT_TRUE(fresh) << was->second << " and " << label->objectName().toStdString();
      }
      std::map<QString, std::string> fields;
      for (QWidget* control : page->findChildren<QWidget*>()) {
        const bool field = qobject_cast<QLineEdit*>(control) || qobject_cast<QComboBox*>(control) ||
                           qobject_cast<QAbstractItemView*>(control) ||
                           qobject_cast<QPlainTextEdit*>(control);
        const bool named =
            field || qobject_cast<QAbstractButton*>(control) || qobject_cast<QTabBar*>(control);
        // A list's drop-down is a window of its own, announced with the list.
        if (!named || !control->focusPolicy() || control->window() != shell.window.get()) continue;
        QAccessibleInterface* node = QAccessible::queryAccessibleInterface(control);
        ASSERT_NE(node, nullptr);
        QString name = node->text(QAccessible::Name);
        // On Linux a list is announced by its value and the label it is labelled by.
        if (qobject_cast<QComboBox*>(control)) {
          // Its own label comes first; the group box that holds it follows.
          const auto labels = node->relations(QAccessible::Label);
          if (!labels.isEmpty()) name = labels.front().first->text(QAccessible::Name);
        }
        EXPECT_FALSE(name.trimmed().isEmpty())
            << control->metaObject()->className() << " " << control->objectName().toStdString()
            << " in " << control->parent()->objectName().toStdString();
        // A button is named by what it does, not by a glyph such as "?", "IR" or "A".
        if (qobject_cast<QAbstractButton*>(control)) {
          EXPECT_GT(name.trimmed().size(), 3) << control->objectName().toStdString();
        }
        if (!field) continue;
        const auto [at, fresh] = fields.emplace(name, control->objectName().toStdString());
        EXPECT_TRUE(fresh) << name.toStdString() << ": " << at->second << " and "
                           << control->objectName().toStdString();
      }
    }
  }
}

// F10 opens the window's menu from anywhere, as the menu bar key does elsewhere; Ctrl+Tab and
// Ctrl+Shift+Tab switch pages from anywhere too.
TEST_F(Keyboard, PopupMenuOpensFromTheContextMenuKeyShiftF10AndF10) {
  auto* menu = shell.Find<QMenu>("PopupMenu");
  auto* panel = shell.Find<QFrame>("PanelMenu");
  EXPECT_TRUE(panel->focusPolicy() & Qt::TabFocus);
  panel->setFocus(Qt::TabFocusReason);
  QTest::keyClick(panel, Qt::Key_F10, Qt::ShiftModifier);
  ASSERT_TRUE(menu->isVisible());
  EXPECT_EQ(menu->pos(), panel->mapToGlobal(QPoint(0, panel->height())));
  menu->hide();

  shell.Connect();
  auto* button = shell.Find<QToolButton>("SpeedButtonUpdate");
  button->setFocus(Qt::TabFocusReason);
  QTest::keyClick(button, Qt::Key_Menu);
  EXPECT_TRUE(menu->isVisible());
  menu->hide();
  auto* description = shell.Find<QPlainTextEdit>("MemoDescriptionMUX410");
  shell.window->setActivePage(1);
  description->setFocus();
  QTest::keyClick(description, Qt::Key_F10);
  EXPECT_TRUE(menu->isVisible());
  menu->hide();

  panel->setFocus(Qt::TabFocusReason);
  QTest::keyClick(panel, Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(shell.window->activePage(), 2);
  QTest::keyClick(panel, Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(shell.window->activePage(), 0);
  QTest::keyClick(panel, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(shell.window->activePage(), 2);
}

// Icons are drawn for each scale, never a 16-pixel bitmap blown up.
TEST(ScaledScreen, IconsAreDrawnForTheScaleAndTheWindowFitsTheScreen) {
  for (ToolbarGlyph glyph : {ToolbarGlyph::Update, ToolbarGlyph::Reset}) {
    const QIcon icon = ToolbarIcon(glyph);
    for (int size : {16, 24, 32}) EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size)));
    const QImage doubled = icon.pixmap(QSize(16, 16), 2.0).toImage();
    EXPECT_EQ(doubled.size(), QSize(32, 32));
    EXPECT_NE(doubled, ToolbarIcon(glyph).pixmap(16, 16).toImage().scaled(32, 32));
  }
  EXPECT_TRUE(ProgramIcon().availableSizes().contains(QSize(256, 256)));

  const QSize specified(784, 550), frame(8, 40);
  // 1366 x 768 at scale 1 (a panel takes 28 lines), 1920 x 1080 at 1.5: the design size.
  EXPECT_EQ(FitWindow(specified, {1366, 740}, frame).client, specified);
  EXPECT_TRUE(FitWindow(specified, {1280, 720}, frame).fixed);
  // 1920 x 1080 at 2: all but the bottom of the pages, which scroll, resizable up to specified.
  const WindowFit scaled = FitWindow(specified, {960, 540}, frame);
  EXPECT_EQ(scaled.client, QSize(784, 500));
  EXPECT_FALSE(scaled.fixed);
  EXPECT_EQ(FitWindow(specified, {320, 240}, frame).client, QSize(400, 300));

  ShellFixture shell;
  MainWindow& window = shell.Open();
  EXPECT_EQ(window.minimumSize(), specified);
  EXPECT_EQ(window.maximumSize(), specified);
  EXPECT_FALSE(window.windowIcon().isNull());

  // In the room scale 2 leaves, each device page shows whole in both languages, an event's
  // fields included: nothing to scroll, no row cut, the event's fields lined up.
  ShellFixture real;
  real.realPages = true;
  MainWindow& small = real.Open();
  small.setMinimumSize(scaled.client);
  small.setMaximumSize(scaled.client);
  small.show();
  for (Language language : {kRussian, kEnglish}) {
    small.SetLanguage(language);
    for (int page : {kPageMux410, kPageTpx520}) {
      small.setActivePage(page);
      real.Find<QAction>("EventAddInLast_MUX410")->trigger();
      QApplication::processEvents();
      const char* name = page == kPageMux410 ? "PageMUX410" : "PageTPX520";
      auto* scroll =
          qobject_cast<QScrollArea*>(real.Find<QWidget>(name)->parentWidget()->parentWidget());
      ASSERT_NE(scroll, nullptr);
      EXPECT_EQ(scroll->verticalScrollBar()->maximum(), 0) << name << " " << language;
      EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), 0) << name << " " << language;
      // The event's fields and its IR fields start in one column.
      const QString suffix = page == kPageMux410 ? "_MUX410" : "_TPX520";
      auto left = [&](const QString& field) {
        return real.Find<QWidget>(field.toLatin1().constData())->mapTo(&small, QPoint()).x();
      };
      EXPECT_EQ(left("EditAddressEvent" + suffix), left("ComboBoxInputEvent" + suffix)) << name;
      EXPECT_EQ(left("ComboBoxOutputEvent" + suffix), left("EditDescriptionEvent" + suffix));
      // A closed list shows each of its items whole.
      for (QComboBox* list : real.Find<QWidget>(name)->findChildren<QComboBox*>()) {
        if (!list->isVisible()) continue;
        QStyleOptionComboBox option;
        option.initFrom(list);
        const int room =
            list->style()
                ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list)
                .width();
        for (int i = 0; i < list->count(); ++i)
          EXPECT_LE(list->fontMetrics().horizontalAdvance(list->itemText(i)), room)
              << list->objectName().toStdString() << " " << list->itemText(i).toStdString();
      }
    }
  }
}

}  // namespace
}  // namespace qvr::test
