#include "i18n/ui/translate_form.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <string>
#include <vector>

#include "i18n/translation_table.h"

namespace qvr {
namespace {

// The texts one component can take from the table; a null row leaves that property alone.
struct ComponentRows {
  const TranslationRow* caption = nullptr;
  const TranslationRow* items = nullptr;
  const TranslationRow* hint = nullptr;
  Language language = kRussian;

  bool empty() const { return !caption && !items && !hint; }
  static QString Text(const TranslationRow* row, Language language) {
    return QString::fromUtf8(row->text(language));
  }
  QString captionText() const { return Text(caption, language); }
  QString hintText() const { return Text(hint, language); }
  QStringList captionItems() const { return Items(caption); }
  QStringList itemsItems() const { return Items(items); }

 private:
  QStringList Items(const TranslationRow* row) const {
    QStringList list;
    for (const std::string& item : TranslationItems(*row, language)) {
      list << QString::fromStdString(item);
    }
    return list;
  }
};

ComponentRows RowsFor(const QString& prefix, Language language) {
  std::string base = prefix.toStdString();
  ComponentRows rows;
  rows.caption = FindTranslation(base + "_Caption");
  rows.items = FindTranslation(base + "_Items");
  rows.hint = FindTranslation(base + "_Hint");
  rows.language = language;
  return rows;
}

void ApplyHint(QWidget* widget, const ComponentRows& rows) {
  if (rows.hint) SetHint(widget, rows.hintText());
}

void TranslateAction(QAction* action, const ComponentRows& rows) {
  if (rows.caption) action->setText(rows.captionText());
  if (!rows.hint) return;
  // A menu shows the status tip; an action placed on a tool bar shows the tool tip.
  action->setStatusTip(rows.hintText());
  action->setToolTip(rows.hintText());
}

void TranslateMenu(QMenu* menu, const ComponentRows& rows) {
  if (rows.caption) menu->setTitle(rows.captionText());
  if (rows.hint) menu->menuAction()->setStatusTip(rows.hintText());
}

void TranslateComboBox(QComboBox* box, const ComponentRows& rows) {
  if (rows.caption) {
    const QSignalBlocker blocker(box);
    int selected = box->currentIndex();
    box->clear();
    box->addItems(rows.captionItems());
    box->setCurrentIndex(selected < box->count() ? selected : -1);
  }
  ApplyHint(box, rows);
}

void TranslateCheckListBox(QListWidget* list, const ComponentRows& rows) {
  if (rows.caption) {
    const QSignalBlocker blocker(list);
    struct Kept {
      Qt::ItemFlags flags;
      Qt::CheckState check;
    };
    std::vector<Kept> kept;
    for (int i = 0; i < list->count(); ++i) {
      kept.push_back({list->item(i)->flags(), list->item(i)->checkState()});
    }
    int current = list->currentRow();
    list->clear();
    const Qt::ItemFlags checkable =
        Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    for (const QString& text : rows.captionItems()) {
      auto* item = new QListWidgetItem(text, list);
      size_t i = size_t(list->count() - 1);
      item->setFlags(i < kept.size() ? kept[i].flags | Qt::ItemIsUserCheckable : checkable);
      item->setCheckState(i < kept.size() ? kept[i].check : Qt::Unchecked);
    }
    if (current < list->count()) list->setCurrentRow(current);
  }
  ApplyHint(list, rows);
}

void TranslateTabBar(QTabBar* bar, const ComponentRows& rows) {
  if (rows.caption) {
    const QSignalBlocker blocker(bar);
    int selected = bar->currentIndex();
    while (bar->count() > 0) bar->removeTab(bar->count() - 1);
    for (const QString& text : rows.captionItems()) bar->addTab(text);
    if (selected < bar->count()) bar->setCurrentIndex(selected);
  }
  ApplyHint(bar, rows);
}

// The radio buttons of a radio group, in creation order; buttons inside a nested group box
// belong to that box.
QList<QRadioButton*> RadioButtonsOf(QGroupBox* box) {
  QList<QRadioButton*> buttons;
  for (QRadioButton* button : box->findChildren<QRadioButton*>()) {
    QWidget* owner = button->parentWidget();
    while (owner && owner != box && !qobject_cast<QGroupBox*>(owner)) owner = owner->parentWidget();
    if (owner == box) buttons << button;
  }
  return buttons;
}

void TranslateGroupBox(QGroupBox* box, const ComponentRows& rows) {
  if (rows.caption) box->setTitle(rows.captionText());
  if (rows.items) {
    // Changing a button's text leaves its check mark, so the selected item stays selected.
    QList<QRadioButton*> buttons = RadioButtonsOf(box);
    QStringList items = rows.itemsItems();
    for (int i = 0; i < buttons.size() && i < items.size(); ++i) buttons[i]->setText(items[i]);
  }
  ApplyHint(box, rows);
}

void TranslateCaptioned(QWidget* widget, const ComponentRows& rows) {
  if (rows.caption) {
    if (auto* label = qobject_cast<QLabel*>(widget)) {
      label->setText(rows.captionText());
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
      button->setText(rows.captionText());
    }
  }
  ApplyHint(widget, rows);
}

// A page of a tab widget lives in the tab widget's internal stack.
QTabWidget* TabWidgetOfPage(QWidget* widget) {
  auto* stack = qobject_cast<QStackedWidget*>(widget->parentWidget());
  if (!stack) return nullptr;
  auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget());
  return tabs && tabs->indexOf(widget) >= 0 ? tabs : nullptr;
}

void TranslateTabPage(QTabWidget* tabs, QWidget* page, const ComponentRows& rows) {
  if (rows.caption) tabs->setTabText(tabs->indexOf(page), rows.captionText());
  ApplyHint(page, rows);
}

void TranslateWidget(QWidget* widget, const ComponentRows& rows) {
  if (auto* box = qobject_cast<QComboBox*>(widget)) return TranslateComboBox(box, rows);
  if (auto* list = qobject_cast<QListWidget*>(widget)) return TranslateCheckListBox(list, rows);
  if (auto* box = qobject_cast<QGroupBox*>(widget)) return TranslateGroupBox(box, rows);
  if (auto* bar = qobject_cast<QTabBar*>(widget)) return TranslateTabBar(bar, rows);
  if (auto* bar = qobject_cast<QToolBar*>(widget)) return ApplyHint(bar, rows);
  if (auto* menu = qobject_cast<QMenu*>(widget)) return TranslateMenu(menu, rows);
  if (qobject_cast<QRadioButton*>(widget)) return;  // its text belongs to its radio group
  if (qobject_cast<QLabel*>(widget) || qobject_cast<QAbstractButton*>(widget)) {
    return TranslateCaptioned(widget, rows);
  }
  if (QTabWidget* tabs = TabWidgetOfPage(widget)) return TranslateTabPage(tabs, widget, rows);
  ApplyHint(widget, rows);  // a panel: only its hint is kept in the table
}

void TranslateObject(QObject* object, const QString& window_name, Language language) {
  const QString name = object->objectName();
  if (name.isEmpty()) return;
  ComponentRows rows = RowsFor(window_name + "_" + name, language);
  if (rows.empty()) return;
  if (auto* action = qobject_cast<QAction*>(object)) return TranslateAction(action, rows);
  if (auto* widget = qobject_cast<QWidget*>(object)) TranslateWidget(widget, rows);
}

}  // namespace

void TranslateForm(QWidget* window, Language language) {
  if (!window) return;
  const QString window_name = window->objectName();
  if (const TranslationRow* title = FindTranslation((window_name + "_Caption").toStdString())) {
    window->setWindowTitle(QString::fromUtf8(title->text(language)));
  }
  for (QObject* object : window->findChildren<QObject*>()) {
    TranslateObject(object, window_name, language);
  }
}

void SetHint(QWidget* widget, const QString& hint) {
  widget->setToolTip(hint);
  const QMetaObject* kind = widget->metaObject();
  const bool wordless = qobject_cast<QToolButton*>(widget) || kind == &QFrame::staticMetaObject ||
                        kind == &QWidget::staticMetaObject;
  if (wordless) {
    widget->setAccessibleName(hint);
  } else {
    widget->setAccessibleDescription(hint);
  }
}

}  // namespace qvr
