#include "devices/common/ui/list_texts.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>

#include "i18n/translation_table.h"
#include "i18n/ui/translate_form.h"

namespace qvr {
namespace {

// The value a program last gave a list that the list cannot show.
constexpr const char* kGivenValue = "qvrGivenValue";

std::string Key(const std::string& name, const char* suffix) {
  return "MainForm_" + name + suffix;
}

QStringList ItemsOf(const std::string& name, Language language) {
  QStringList items;
  for (const std::string& item : TranslationItems(Key(name, "_Caption"), language)) {
    items.append(QString::fromStdString(item));
  }
  return items;
}

}  // namespace

std::string CaptionOf(const std::string& name, Language language) {
  return TranslationText(Key(name, "_Caption"), language);
}

void SetupHint(QWidget* widget, const std::string& name, Language language) {
  widget->setObjectName(QString::fromStdString(name));
  const std::string hint = TranslationText(Key(name, "_Hint"), language);
  if (!hint.empty()) SetHint(widget, QString::fromStdString(hint));
}

void SetupLabel(QLabel* label, const std::string& name, Language language) {
  SetupHint(label, name, language);
  label->setText(QString::fromStdString(CaptionOf(name, language)));
}

void SetupButton(QAbstractButton* button, const std::string& name, Language language) {
  SetupHint(button, name, language);
  button->setText(QString::fromStdString(CaptionOf(name, language)));
}

void SetupGroup(QGroupBox* group, const std::string& name, Language language) {
  SetupHint(group, name, language);
  group->setTitle(QString::fromStdString(CaptionOf(name, language)));
}

void SetupList(QComboBox* list, const std::string& name, Language language) {
  SetupHint(list, name, language);
  QSignalBlocker block(list);
  list->addItems(ItemsOf(name, language));
  list->setCurrentIndex(-1);
}

void SetupCheckList(QListWidget* list, const std::string& name, Language language) {
  SetupHint(list, name, language);
  for (const QString& text : ItemsOf(name, language)) {
    auto* item = new QListWidgetItem(text, list);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
  }
}

uint8_t ListValue(const QComboBox* list) {
  const int index = list->currentIndex();
  if (index >= 0) return uint8_t(index);
  bool given = false;
  const int value = list->property(kGivenValue).toInt(&given);
  return given && value >= 0 && value <= 0xFF ? uint8_t(value) : 0xFF;
}

void SetListValue(QComboBox* list, int value) {
  const bool shown = value >= 0 && value < list->count();
  list->setProperty(kGivenValue, shown ? QVariant() : QVariant(value));
  QSignalBlocker block(list);
  list->setCurrentIndex(shown ? value : -1);
}

void SetCheckMask(QListWidget* list, uint8_t mask, int firstBit) {
  QSignalBlocker block(list);
  for (int i = 0; i < list->count() && firstBit + i < 8; ++i) {
    const bool set = (mask >> (firstBit + i)) & 1;
    list->item(i)->setCheckState(set ? Qt::Checked : Qt::Unchecked);
  }
}

uint8_t CheckMask(const QListWidget* list, int firstBit) {
  uint8_t mask = 0;
  for (int i = 0; i < list->count() && firstBit + i < 8; ++i) {
    if (list->item(i)->checkState() == Qt::Checked) mask |= uint8_t(1 << (firstBit + i));
  }
  return mask;
}

}  // namespace qvr
