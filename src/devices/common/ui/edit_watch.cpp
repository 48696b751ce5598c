#include "devices/common/ui/edit_watch.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

namespace qvr {
namespace {
constexpr const char* kLiveControl = "qvrLiveControl";
}

void MarkLiveControl(QWidget* control) {
  control->setProperty(kLiveControl, true);
}

void WatchUserEdits(QWidget* root, const std::function<void()>& edited) {
  for (QWidget* control : root->findChildren<QWidget*>()) {
    if (control->property(kLiveControl).toBool()) continue;
    if (auto* line = qobject_cast<QLineEdit*>(control)) {
      // The line edit of an editable list belongs to the list.
      if (qobject_cast<QComboBox*>(line->parentWidget())) continue;
      QObject::connect(line, &QLineEdit::textEdited, root, [edited] { edited(); });
    } else if (auto* list = qobject_cast<QComboBox*>(control)) {
      QObject::connect(list, &QComboBox::activated, root, [edited] { edited(); });
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
      if (!button->isCheckable()) continue;
      QObject::connect(button, &QAbstractButton::clicked, root, [edited] { edited(); });
    } else if (auto* checks = qobject_cast<QListWidget*>(control)) {
      QObject::connect(checks, &QListWidget::itemChanged, root, [edited] { edited(); });
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(control)) {
      QObject::connect(text, &QPlainTextEdit::textChanged, root, [edited] { edited(); });
    }
  }
}

}  // namespace qvr
