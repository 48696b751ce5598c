#include "app/tab_order.h"

#include <QGridLayout>
#include <QLayout>
#include <QScrollArea>
#include <QTabWidget>
#include <QWidget>
#include <algorithm>
#include <tuple>

namespace qvr {
namespace {

void CollectWidget(QWidget* widget, std::vector<QWidget*>& chain);

// A grid's items row by row, each row from left to right; any other layout in its own order.
std::vector<QLayoutItem*> ItemsInOrder(QLayout* layout) {
  std::vector<std::tuple<int, int, QLayoutItem*>> placed;
  auto* grid = qobject_cast<QGridLayout*>(layout);
  for (int i = 0; i < layout->count(); ++i) {
    int row = 0, column = i, rowSpan = 0, columnSpan = 0;
    if (grid) grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
    placed.emplace_back(row, column, layout->itemAt(i));
  }
  std::stable_sort(placed.begin(), placed.end(), [](const auto& a, const auto& b) {
    return std::tie(std::get<0>(a), std::get<1>(a)) < std::tie(std::get<0>(b), std::get<1>(b));
  });
  std::vector<QLayoutItem*> items;
  for (const auto& entry : placed) items.push_back(std::get<2>(entry));
  return items;
}

void CollectLayout(QLayout* layout, std::vector<QWidget*>& chain) {
  for (QLayoutItem* item : ItemsInOrder(layout)) {
    if (QWidget* widget = item->widget()) {
      CollectWidget(widget, chain);
    } else if (QLayout* inner = item->layout()) {
      CollectLayout(inner, chain);
    }
  }
}

void CollectWidget(QWidget* widget, std::vector<QWidget*>& chain) {
  if (widget->focusPolicy() & Qt::TabFocus) chain.push_back(widget);
  if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
    for (int i = 0; i < tabs->count(); ++i) CollectWidget(tabs->widget(i), chain);
  } else if (auto* scroll = qobject_cast<QScrollArea*>(widget)) {
    if (scroll->widget()) CollectWidget(scroll->widget(), chain);
  } else if (widget->layout()) {
    CollectLayout(widget->layout(), chain);
  }
}

}  // namespace

std::vector<QWidget*> ControlsInLayoutOrder(QWidget* root) {
  std::vector<QWidget*> chain;
  if (root) CollectWidget(root, chain);
  return chain;
}

void SetTabChain(const std::vector<QWidget*>& chain) {
  for (size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

}  // namespace qvr
