#include "i18n/ui/translate_form.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace qvr {
namespace {

template <typename T>
T* Named(QWidget* parent, const char* name) {
  auto* object = new T(parent);
  object->setObjectName(name);
  return object;
}

// A cut-down main window whose components carry the real names.
class TranslatedWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    window.setObjectName("MainForm");
    auto* pages = Named<QTabWidget>(&window, "PageControlMain");
    monitoring = Named<QWidget>(nullptr, "TabSheetMonitoring");
    pages->addTab(monitoring, "design");
    mux_page = Named<QWidget>(nullptr, "TabSheetMUX410x");
    pages->addTab(mux_page, "MUX-410");

    navi_type = Named<QComboBox>(mux_page, "ComboBoxNaviType_MUX410");
    navi_type->addItems({"a", "b", "c", "d", "e", "f"});
    navi_type->setCurrentIndex(2);

    skip_inputs = Named<QListWidget>(mux_page, "CheckListBoxSkipInput_MUX410");
    for (int i = 0; i < 5; ++i) {
      auto* item = new QListWidgetItem("design", skip_inputs);
      item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
      item->setCheckState(i == 1 || i == 3 ? Qt::Checked : Qt::Unchecked);
    }

    mute_type = Named<QGroupBox>(mux_page, "RadioGroupMuteType_TPX520");
    auto* layout = new QVBoxLayout(mute_type);
    for (const char* text : {"first", "second"}) layout->addWidget(new QRadioButton(text));
    Radio(1)->setChecked(true);

    menu = Named<QMenu>(&window, "PopupMenu");
    language_item = menu->addAction("design");
    language_item->setObjectName("MenuItemLanguage");

    panel_menu = Named<QFrame>(&window, "PanelMenu");
    mode_label = Named<QLabel>(mux_page, "PanelModeMUX410");
    get_event = Named<QToolButton>(mux_page, "SpeedButtonGetEvent_MUX410x");
    get_event->setText("run-time text");
    get_event->setToolTip("Get the code of event 1");
    event_tabs = Named<QTabBar>(mux_page, "TabControlEvent_MUX410x");
    event_tabs->addTab("1");
  }

  QRadioButton* Radio(int i) { return mute_type->findChildren<QRadioButton*>()[i]; }
  QStringList ComboItems(QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
  }

  QWidget window;
  QWidget* monitoring;
  QWidget* mux_page;
  QComboBox* navi_type;
  QListWidget* skip_inputs;
  QGroupBox* mute_type;
  QMenu* menu;
  QAction* language_item;
  QFrame* panel_menu;
  QLabel* mode_label;
  QToolButton* get_event;
  QTabBar* event_tabs;
};

TEST_F(TranslatedWindow, SwitchingLanguageReplacesTextsAndKeepsTheSelection) {
  TranslateForm(&window, kEnglish);
  EXPECT_EQ(ComboItems(navi_type), QStringList({"Unknown", "GVN53", "LM7200", "PHANTOM, F1",
                                                "KENWOOD MircoM", "KENWOOD Original"}));
  EXPECT_EQ(navi_type->currentIndex(), 2);
  EXPECT_EQ(mute_type->title(), " MUTE output ");
  EXPECT_EQ(Radio(0)->text(), "0V-mute");
  EXPECT_EQ(Radio(1)->text(), "5V-mute");
  EXPECT_TRUE(Radio(1)->isChecked());
  EXPECT_EQ(language_item->text(), "Language/Язык");
  EXPECT_EQ(mode_label->text(), "Mode");
  auto* pages = window.findChild<QTabWidget*>("PageControlMain");
  EXPECT_EQ(pages->tabText(0), "Monitoring");

  TranslateForm(&window, kRussian);
  EXPECT_EQ(navi_type->itemText(0), "Неизвестно");
  EXPECT_EQ(navi_type->currentIndex(), 2);
  EXPECT_EQ(Radio(0)->text(), "0В-mute");
  EXPECT_TRUE(Radio(1)->isChecked());
  EXPECT_EQ(language_item->text(), "Язык/Language");
  EXPECT_EQ(pages->tabText(0), "Мониторинг");
  EXPECT_EQ(pages->tabText(1), "MUX-410");
}

TEST_F(TranslatedWindow, CheckListBoxKeepsExactlyItsCheckMarks) {
  for (Language language : {kEnglish, kRussian, kEnglish}) {
    TranslateForm(&window, language);
    ASSERT_EQ(skip_inputs->count(), 5);
    for (int i = 0; i < 5; ++i) {
      SCOPED_TRACE(i);
      QListWidgetItem* item = skip_inputs->item(i);
      EXPECT_EQ(item->checkState(), i == 1 || i == 3 ? Qt::Checked : Qt::Unchecked);
      EXPECT_TRUE(item->flags() & Qt::ItemIsUserCheckable);
    }
  }
  EXPECT_EQ(skip_inputs->item(0)->text(), "2nd");
  EXPECT_EQ(skip_inputs->item(4)->text(), "6th");
}

TEST_F(TranslatedWindow, ReplacingListsRunsNoUserHandler) {
  int handler_calls = 0;
  auto count = [&] { ++handler_calls; };
  QObject::connect(navi_type, &QComboBox::activated, count);
  QObject::connect(navi_type, &QComboBox::currentIndexChanged, count);
  QObject::connect(skip_inputs, &QListWidget::itemChanged, count);
  QObject::connect(Radio(1), &QRadioButton::toggled, count);
  TranslateForm(&window, kEnglish);
  TranslateForm(&window, kRussian);
  EXPECT_EQ(handler_calls, 0);
}

TEST_F(TranslatedWindow, HintsComeFromTheTableAndXComponentsKeepTheirTexts) {
  TranslateForm(&window, kEnglish);
  EXPECT_EQ(panel_menu->toolTip(),
            "Select Options from the menu after clicking the right mouse button");
  EXPECT_EQ(get_event->text(), "run-time text");
  EXPECT_EQ(get_event->toolTip(), "Get the code of event 1");
  EXPECT_EQ(event_tabs->tabText(0), "1");
  TranslateForm(&window, kRussian);
  EXPECT_EQ(panel_menu->toolTip(), "Выберите параметры в меню, после нажатия правой кнопки мыши");
  EXPECT_EQ(get_event->text(), "run-time text");
}

}  // namespace
}  // namespace qvr
