// Field checks on real widgets: what is stored, what the user is told, where focus and the
// pointer end up.
#include "editors/ui/field_checks.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QWidget>

#include "i18n/catalogue.h"
#include "support/test_host.h"

namespace qvr {
namespace {

class FieldChecks : public ::testing::Test {
 protected:
  FieldChecks() {
    catalogue.setLanguage(kEnglish);
    window.resize(300, 200);
    edit = new QLineEdit(&window);
    edit->setGeometry(10, 10, 120, 24);
    list = new QComboBox(&window);
    list->setGeometry(10, 50, 120, 24);
    list->addItems({"a", "b", "c"});
    window.show();
  }

  FieldContext ctx() { return FieldContext{host, catalogue}; }
  int GetStored16() const { return dest[0] | (dest[1] << 8); }
  std::string LastBox() const { return host.boxes.empty() ? "" : host.boxes.back().text; }

  test::TestHost host;
  Catalogue catalogue;
  QWidget window;
  QLineEdit* edit;
  QComboBox* list;
  uint8_t dest[4] = {0xAA, 0xAA, 0xAA, 0xAA};
};

TEST_F(FieldChecks, NumberBeyondItsRangeIsRefusedWithTheLimitsAndNothingStored) {
  edit->setText("65536");
  EXPECT_EQ(CheckNumberEdit(ctx(), edit, 0, 65535, dest, 2), 1);
  EXPECT_EQ(LastBox(), "The value must be in the range from 0 to 65535");
  EXPECT_EQ(host.boxes.back().style, BoxKind::kError);
  EXPECT_EQ(dest[0], 0xAA);
  EXPECT_EQ(edit->selectedText(), "65536");

  edit->setText("-1");  // signed comparison: not stored as 255
  EXPECT_EQ(CheckNumberEdit(ctx(), edit, 0, 255, dest, 1), 1);
  EXPECT_EQ(LastBox(), "The value must be in the range from 0 to 255");
  EXPECT_EQ(dest[0], 0xAA);
}

TEST_F(FieldChecks, NumberIsStoredLittleEndianInItsWidth) {
  edit->setText("65535");
  EXPECT_EQ(CheckNumberEdit(ctx(), edit, 0, 65535, dest, 2), 0);
  EXPECT_EQ(dest[0], 0xFF);
  EXPECT_EQ(dest[1], 0xFF);
  EXPECT_EQ(dest[2], 0xAA);

  edit->setText("305419896");
  EXPECT_EQ(CheckNumberEdit(ctx(), edit, 0, 0x7FFFFFFF, dest, 4), 0);
  EXPECT_EQ(dest[0], 0x78);
  EXPECT_EQ(dest[3], 0x12);
  EXPECT_TRUE(host.boxes.empty());
}

TEST_F(FieldChecks, EmptyTextJunkAndBadWidthAreRefused) {
  edit->setText("");
  EXPECT_EQ(CheckNumberEdit(ctx(), edit, 0, 255, dest, 1), 1);
  EXPECT_EQ(LastBox(), "Enter a value in the specified position");

  edit->setText("12a");
  EXPECT_EQ(CheckNumberEdit(ctx(), edit, 0, 255, dest, 1), 1);
  EXPECT_EQ(LastBox(), "'12a' is not a valid integer value");

  edit->setText("1.5");
  EXPECT_EQ(CheckNumberEdit(ctx(), edit, 0, 255, dest, 1), 1);
  EXPECT_EQ(LastBox(), "'1.5' is not a valid integer value");

  edit->setText("99999999999");  // beyond 32 bits is no integer either
  EXPECT_EQ(CheckNumberEdit(ctx(), edit, 0, 255, dest, 1), 1);
  EXPECT_EQ(LastBox(), "'99999999999' is not a valid integer value");

  edit->setText("7");
  EXPECT_EQ(CheckNumberEdit(ctx(), edit, 0, 255, dest, 3), 1);
  EXPECT_EQ(LastBox(), "Enter a value in the specified position");
  EXPECT_EQ(dest[0], 0xAA);
  EXPECT_EQ(host.boxes.size(), 5u);
}

TEST_F(FieldChecks, SecondsAreReadWithCommaOrPointAndRoundedToMilliseconds) {
  edit->setText("0,125");
  EXPECT_EQ(CheckSecondsEdit(ctx(), edit, 125, 50000, dest, 2), 0);
  EXPECT_EQ(GetStored16(), 125);

  edit->setText("50.0004");
  EXPECT_EQ(CheckSecondsEdit(ctx(), edit, 125, 50000, dest, 2), 0);
  EXPECT_EQ(GetStored16(), 50000);
  EXPECT_TRUE(host.boxes.empty());

  edit->setText("0.1244");
  EXPECT_EQ(CheckSecondsEdit(ctx(), edit, 125, 50000, dest, 2), 1);
  EXPECT_EQ(LastBox(), "The value must be in the range from 0.125 to 50.000");
  EXPECT_EQ(GetStored16(), 50000);

  edit->setText("");
  EXPECT_EQ(CheckSecondsEdit(ctx(), edit, 125, 50000, dest, 2), 1);
  EXPECT_EQ(LastBox(), "Enter a value in the specified position");
}

TEST_F(FieldChecks, RefusedFieldGetsFocusAndThePointer) {
  edit->setText("0.1");
  QApplication::setActiveWindow(&window);
  ASSERT_EQ(CheckSecondsEdit(ctx(), edit, 125, 50000, dest, 2), 1);
  EXPECT_TRUE(edit->hasFocus());
  EXPECT_EQ(edit->selectedText(), "0.1");
  // A seconds field is pointed at on the middle of its right edge, a number field in its middle.
  EXPECT_EQ(QCursor::pos(), edit->mapToGlobal(QPoint(edit->width(), edit->height() / 2)));
  edit->setText("x");
  edit->setText("");
  ASSERT_EQ(CheckNumberEdit(ctx(), edit, 0, 9, dest, 1), 1);
  EXPECT_EQ(QCursor::pos(), edit->mapToGlobal(QPoint(edit->width() / 2, edit->height() / 2)));
}

TEST_F(FieldChecks, EmptyDropDownOpensItsListWithTheDropDownMessage) {
  list->setCurrentIndex(-1);
  EXPECT_EQ(CheckSelection(ctx(), list, dest, 1), 1);
  EXPECT_EQ(LastBox(), "Select an option from the drop down list");
  EXPECT_TRUE(list->view()->isVisible());
  EXPECT_EQ(QCursor::pos(), list->mapToGlobal(QPoint(list->width() / 2, 3 * list->height() / 2)));
  list->hidePopup();
  EXPECT_EQ(dest[0], 0xAA);

  list->setCurrentIndex(2);
  EXPECT_EQ(CheckSelection(ctx(), list, dest, 1), 0);
  EXPECT_EQ(dest[0], 2);
}

TEST_F(FieldChecks, RadioGroupWithoutChoiceAsksToSelectAnOption) {
  auto* group = new QGroupBox(&window);
  auto* layout = new QVBoxLayout(group);
  auto* first = new QRadioButton("0V", group);
  auto* second = new QRadioButton("5V", group);
  layout->addWidget(first);
  layout->addWidget(second);
  group->show();

  EXPECT_EQ(CheckSelection(ctx(), group, dest, 1), 1);
  EXPECT_EQ(LastBox(), "Select an option");

  second->setChecked(true);
  EXPECT_EQ(CheckSelection(ctx(), group, dest, 1), 0);
  EXPECT_EQ(dest[0], 1);
}

}  // namespace
}  // namespace qvr
