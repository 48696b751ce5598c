#include "devices/common/ui/page_builder.h"

#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <string>

#include "devices/common/ui/list_texts.h"
#include "i18n/translation_table.h"

namespace qvr {
namespace {

QList<QRadioButton*> Buttons(const QGroupBox* group) {
  return group->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly);
}

}  // namespace

QLabel* MakeFixedCaption(const char* name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  return label;
}

QLabel* MakeValuePanel(const char* name, QWidget* parent) {
  QLabel* panel = MakeFixedCaption(name, QStringLiteral("0"), parent);
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Sunken);
  panel->setAlignment(Qt::AlignCenter);
  panel->setMinimumWidth(panel->fontMetrics().horizontalAdvance(QStringLiteral("65535")) + 8);
  return panel;
}

QGroupBox* MakeRadioGroup(const char* name, Language language, QWidget* parent) {
  auto* group = new QGroupBox(parent);
  SetupGroup(group, name, language);
  auto* layout = new QVBoxLayout(group);
  layout->setContentsMargins(6, 2, 6, 4);
  layout->setSpacing(2);
  std::string itemsKey = std::string("MainForm_") + name + "_Items";
  for (const std::string& item : TranslationItems(itemsKey, language)) {
    layout->addWidget(new QRadioButton(QString::fromStdString(item), group));
  }
  layout->addStretch(1);
  return group;
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
