// The window's keyboard: a shortcut for every toolbar command that has a usual key, quitting
// and help, each shown in its button's hint.
#include <QHelpEvent>
#include <QKeySequence>
#include <QShortcut>
#include <QToolButton>
#include <QToolTip>

#include "app/main_window.h"
#include "i18n/added_texts.h"
#include "link/host.h"

namespace qvr {
namespace {

constexpr const char* kShortcutProperty = "qvrShortcut";

struct CommandKey {
  size_t button;  // index in the toolbar, or kNoButton
  QKeySequence::StandardKey standard;
  const char* fallback;  // where the platform has no standard key
};

constexpr size_t kNoButton = size_t(-1);
constexpr size_t kQuit = kNoButton - 1;

constexpr CommandKey kCommandKeys[] = {
    {0, QKeySequence::UnknownKey, "Ctrl+U"},  // update
    {1, QKeySequence::Open, "Ctrl+O"},       {2, QKeySequence::Save, "Ctrl+S"},
    {3, QKeySequence::Refresh, "F5"},     // read from the device
    {4, QKeySequence::UnknownKey, "F6"},  // write to the device
    {kQuit, QKeySequence::Quit, "Ctrl+Q"},   {kNoButton, QKeySequence::HelpContents, "F1"},
};

QKeySequence KeyOf(const CommandKey& key) {
  if (key.standard != QKeySequence::UnknownKey) {
    const QList<QKeySequence> keys = QKeySequence::keyBindings(key.standard);
    if (!keys.isEmpty()) return keys.front();
  }
  return QKeySequence(QString::fromLatin1(key.fallback));
}

}  // namespace

void MainWindow::BuildShortcuts() {
  for (const CommandKey& key : kCommandKeys) {
    auto* shortcut = new QShortcut(KeyOf(key), this);
    shortcut->setContext(Qt::WindowShortcut);
    if (key.button == kQuit) {
      connect(shortcut, &QShortcut::activated, this, [this] { close(); });
    } else if (key.button == kNoButton) {
      connect(shortcut, &QShortcut::activated, this, [this] {
        if (!busy()) ShowBox(BoxKind::kInformation, Text(catalogue_, AddedText::kKeyboardHelp));
      });
    } else {
      QToolButton* button = commandButtons_[key.button];
      // A disabled command (busy, no controller, not supported) stays silent, as its button.
      connect(shortcut, &QShortcut::activated, this, [button] {
        if (button->isEnabled()) button->click();
      });
    }
  }
}

void MainWindow::AddShortcutsToHints() {
  for (const CommandKey& key : kCommandKeys) {
    if (key.button >= commandButtons_.size()) continue;
    QToolButton* button = commandButtons_[key.button];
    // The hint itself stays the product's text; what is shown and read out adds the key.
    button->setProperty(kShortcutProperty, KeyOf(key).toString(QKeySequence::NativeText));
    button->setAccessibleDescription(HintWithShortcut(button));
  }
}

QString HintWithShortcut(const QWidget* button) {
  const QString key = button->property(kShortcutProperty).toString();
  return key.isEmpty() ? button->toolTip() : button->toolTip() + " (" + key + ")";
}

bool ShowHintWithShortcut(QObject* watched, QEvent* event) {
  auto* button = qobject_cast<QToolButton*>(watched);
  if (event->type() != QEvent::ToolTip || !button || button->toolTip().isEmpty()) return false;
  QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), HintWithShortcut(button),
                     button);
  return true;
}

}  // namespace qvr
