#include "editors/ui/field_names.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <algorithm>
#include <vector>

namespace qvr {
namespace {

void CollectInLayoutOrder(QLayout* layout, std::vector<QWidget*>& out);

void CollectItem(QLayoutItem* item, std::vector<QWidget*>& out) {
  if (!item) return;
  if (QLayout* inner = item->layout()) return CollectInLayoutOrder(inner, out);
  QWidget* widget = item->widget();
  if (!widget) return;
  out.push_back(widget);
  // A group box or panel holds its own layout: its labels and fields follow in place.
  if (widget->layout() && !qobject_cast<QComboBox*>(widget))
    CollectInLayoutOrder(widget->layout(), out);
}

void CollectInLayoutOrder(QLayout* layout, std::vector<QWidget*>& out) {
  auto* grid = qobject_cast<QGridLayout*>(layout);
  if (!grid) {
    for (int i = 0; i < layout->count(); ++i) CollectItem(layout->itemAt(i), out);
    return;
  }
  struct Cell {
    int row, column, index;
  };
  std::vector<Cell> cells;
  for (int i = 0; i < grid->count(); ++i) {
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
    cells.push_back({row, column, i});
  }
  std::sort(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) {
    return a.row != b.row ? a.row < b.row : a.column < b.column;
  });
  for (const Cell& cell : cells) CollectItem(grid->itemAt(cell.index), out);
}

bool IsInput(const QWidget* widget) {
  return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QComboBox*>(widget) ||
         qobject_cast<const QListWidget*>(widget) || qobject_cast<const QPlainTextEdit*>(widget);
}

QLabel* BuddyLabelOf(const QWidget* control) {
  for (QLabel* label : control->window()->findChildren<QLabel*>()) {
    if (label->buddy() == control) return label;
  }
  return nullptr;
}

}  // namespace

void BuddyLabelsInLayoutOrder(QWidget* root) {
  if (!root->layout()) return;
  std::vector<QWidget*> order;
  CollectInLayoutOrder(root->layout(), order);
  for (size_t i = 0; i + 1 < order.size(); ++i) {
    auto* label = qobject_cast<QLabel*>(order[i]);
    if (!label || label->buddy() || !IsInput(order[i + 1])) continue;
    if (BuddyLabelOf(order[i + 1])) continue;
    label->setBuddy(order[i + 1]);
  }
}

namespace {

QString LabelText(const QLabel* label) {
  QString text = label->text();
  text.remove(QRegularExpression(QStringLiteral("&(?=[^&])")));
  text = text.simplified();
  while (text.endsWith(QLatin1Char(':'))) text.chop(1);
  return text.trimmed();
}

}  // namespace

void NameFieldsFromLabels(QWidget* root) {
  for (QLabel* label : root->findChildren<QLabel*>()) {
    if (label->buddy()) label->buddy()->setAccessibleName(LabelText(label));
  }
  for (QWidget* control : root->findChildren<QWidget*>()) {
    if (!IsInput(control) || qobject_cast<QComboBox*>(control->parentWidget())) continue;
    if (BuddyLabelOf(control)) continue;
    // Named by the code that built it (a field a shared label covers).
    if (control->property("qvrOwnName").toBool()) continue;
    for (QWidget* up = control->parentWidget(); up && up != root->parentWidget();
         up = up->parentWidget()) {
      if (auto* group = qobject_cast<QGroupBox*>(up);
          group && !group->title().trimmed().isEmpty()) {
        control->setAccessibleName(group->title().trimmed());
        break;
      }
    }
  }
}

void AddMnemonics(QWidget* root) {
  static const QRegularExpression kMnemonic(QStringLiteral("&(?=[^&])"));
  QString used;
  std::vector<QLabel*> labels;
  for (QLabel* label : root->findChildren<QLabel*>()) {
    if (!label->buddy() || label->textFormat() == Qt::RichText) continue;
    // A label that has one keeps it (a language switch sets the text anew, without).
    if (const auto match = kMnemonic.match(label->text()); match.hasMatch()) {
      used += label->text().at(match.capturedStart() + 1).toLower();
      continue;
    }
    labels.push_back(label);
  }
  // The labels with the fewest letters choose first, so that a short one is not left without.
  const auto letters = [](const QLabel* label) {
    QString distinct;
    for (QChar c : label->text().toLower())
      if (c.isLetter() && !distinct.contains(c)) distinct += c;
    return distinct.size();
  };
  std::stable_sort(labels.begin(), labels.end(),
                   [&](const QLabel* a, const QLabel* b) { return letters(a) < letters(b); });
  for (QLabel* label : labels) {
    QString text = label->text();
    for (qsizetype i = 0; i < text.size(); ++i) {
      const QChar letter = text[i].toLower();
      if (!letter.isLetter() || used.contains(letter)) continue;
      used += letter;
      text.insert(i, QLatin1Char('&'));
      label->setText(text);
      break;
    }
  }
}

QString FieldName(const QWidget* control) {
  if (!control->accessibleName().isEmpty()) return control->accessibleName();
  const QLabel* label = BuddyLabelOf(control);
  return label ? LabelText(label) : QString();
}

void NameButtonsByHints(QWidget* root) {
  constexpr qsizetype kGlyphLength = 3;
  for (QAbstractButton* button : root->findChildren<QAbstractButton*>()) {
    const QString text = QString(button->text()).remove('&').trimmed();
    if (text.size() <= kGlyphLength && !button->toolTip().isEmpty())
      button->setAccessibleName(button->toolTip());
  }
}

}  // namespace qvr
