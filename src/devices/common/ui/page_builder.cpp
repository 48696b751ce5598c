#include "devices/common/ui/page_builder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <string>

#include "devices/common/ui/description_memo.h"
#include "devices/common/ui/list_texts.h"
#include "editors/ui/field_checks.h"
#include "i18n/translation_table.h"

namespace qvr {
namespace {

QList<QRadioButton*> Buttons(const QGroupBox* group) {
  return group->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly);
}

}  // namespace

QLabel* PageBuilder::Label(const char* name, QWidget* parent) const {
  auto* label = new QLabel(parent);
  SetupLabel(label, name, language_);
  return label;
}

QLabel* PageBuilder::WrappedLabel(const char* name, QWidget* parent, int maxWidth) const {
  QLabel* label = Label(name, parent);
  label->setWordWrap(true);
  if (maxWidth > 0) label->setMaximumWidth(maxWidth);
  return label;
}

QComboBox* PageBuilder::List(const char* name, QWidget* parent) const {
  auto* list = new QComboBox(parent);
  SetupList(list, name, language_);
  // A closed list that cut its item short would show "Активный" for "Активный ПА".
  list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  return list;
}

QListWidget* PageBuilder::CheckList(const char* name, QWidget* parent) const {
  auto* list = new QListWidget(parent);
  SetupCheckList(list, name, language_);
  return list;
}

QCheckBox* PageBuilder::Check(const char* name, QWidget* parent) const {
  auto* box = new QCheckBox(parent);
  SetupButton(box, name, language_);
  return box;
}

QGroupBox* PageBuilder::Group(const char* name, QWidget* parent) const {
  auto* group = new QGroupBox(parent);
  SetupGroup(group, name, language_);
  return group;
}

QToolButton* PageBuilder::Tool(const char* name, const char* glyph, QWidget* parent) const {
  auto* button = new QToolButton(parent);
  SetupHint(button, name, language_);
  if (glyph) {
    button->setText(QString::fromLatin1(glyph));
  } else {
    button->setIcon(button->style()->standardIcon(QStyle::SP_BrowserReload));
  }
  return button;
}

QToolButton* PageBuilder::Debug(const char* name, const char* caption, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setText(QString::fromLatin1(caption));
  return button;
}

QLineEdit* PageBuilder::SecondsEdit(const char* name, QWidget* parent, bool rawHex) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setAlignment(Qt::AlignRight);
  AcceptSeconds(edit, rawHex);
  edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("50.0000")) + 16);
  return edit;
}

QGroupBox* PageBuilder::RadioGroup(const char* name, QWidget* parent) const {
  QGroupBox* group = Group(name, parent);
  auto* layout = new QVBoxLayout(group);
  layout->setContentsMargins(4, 2, 4, 4);
  layout->setSpacing(2);
  std::string itemsKey = std::string("MainForm_") + name + "_Items";
  for (const std::string& item : TranslationItems(itemsKey, language_)) {
    layout->addWidget(new QRadioButton(QString::fromStdString(item), group));
  }
  layout->addStretch(1);
  return group;
}

QGroupBox* PageBuilder::DescriptionGroup(const char* groupName, const char* memoName,
                                         QWidget* parent, DescriptionMemo*& memo) const {
  QGroupBox* group = Group(groupName, parent);
  auto* layout = new QVBoxLayout(group);
  layout->setContentsMargins(4, 0, 4, 2);
  memo = new DescriptionMemo(memoName, group);
  memo->setFixedHeight(memo->fontMetrics().lineSpacing() * 2 + 2 * memo->frameWidth() + 6);
  layout->addWidget(memo);
  return group;
}

QFont PageBuilder::PageFont(const QFont& base) {
  QFont font = base;
  font.setFamilies(
      {"Arial Narrow", "Liberation Sans Narrow", "DejaVu Sans Condensed", base.family()});
  font.setPixelSize(11);
  return font;
}

QLabel* PageBuilder::FixedLabel(const char* name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  return label;
}

QLabel* PageBuilder::ValuePanel(const char* name, QWidget* parent) {
  QLabel* panel = FixedLabel(name, QStringLiteral("0"), parent);
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Sunken);
  panel->setAlignment(Qt::AlignCenter);
  panel->setMinimumWidth(panel->fontMetrics().horizontalAdvance(QStringLiteral("65535")) + 8);
  return panel;
}

QGridLayout* PageBuilder::GroupGrid(QWidget* group) {
  auto* grid = new QGridLayout(group);
  grid->setContentsMargins(4, 2, 4, 4);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(2);
  return grid;
}

void PageBuilder::KeepPlace(QWidget* widget) {
  QSizePolicy policy = widget->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  widget->setSizePolicy(policy);
}

void SetRadioIndex(QGroupBox* group, int index) {
  // Auto-exclusive buttons refuse to be all unchecked, so exclusivity is lifted while the
  // marks are set.
  const QList<QRadioButton*> buttons = Buttons(group);
  for (QRadioButton* button : buttons) button->setAutoExclusive(false);
  for (int i = 0; i < buttons.size(); ++i) {
    const QSignalBlocker blocker(buttons[i]);
    buttons[i]->setChecked(i == index);
  }
  for (QRadioButton* button : buttons) button->setAutoExclusive(true);
}

}  // namespace qvr
