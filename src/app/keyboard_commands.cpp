// The window's keyboard: a shortcut for every toolbar command that has a usual key, quitting
// and help, each shown in its button's hint. They work from every field: a key a text field or
// list would take for itself (Ctrl+U erases a line edit's text) is the window's first.
#include <QApplication>
#include <QFrame>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QShortcut>
#include <QTabWidget>
#include <QToolButton>
#include <QToolTip>
#include <vector>

#include "app/main_window.h"
#include "i18n/added_texts.h"
#include "link/host.h"

namespace qvr {
namespace {

constexpr const char* kShortcutProperty = "qvrShortcut";

constexpr size_t kNoButton = size_t(-1);
constexpr size_t kQuit = kNoButton - 1;

struct CommandKey {
  size_t button;  // the toolbar button it follows (enabled or not), kNoButton or kQuit
  QKeySequence::StandardKey standard;
  const char* fallback;  // where the platform has no standard key
  // What the key runs instead of a click on the button (whose hint then names it after its own).
  void (MainWindow::*run)() = nullptr;
};

constexpr size_t kSaveButton = 2;

constexpr CommandKey kCommandKeys[] = {
    {0, QKeySequence::UnknownKey, "Ctrl+U"},  // update
    {1, QKeySequence::Open, "Ctrl+O"},
    {kSaveButton, QKeySequence::SaveAs, "Ctrl+Shift+S"},  // the button's own: Save As
    {kSaveButton, QKeySequence::Save, "Ctrl+S", &MainWindow::SaveToPageFileCommand},
    {3, QKeySequence::Refresh, "F5"},     // read from the device
    {4, QKeySequence::UnknownKey, "F6"},  // write to the device
    {kQuit, QKeySequence::Quit, "Ctrl+Q"},
    {kNoButton, QKeySequence::HelpContents, "F1"},
    // The page control takes these only while the focus is inside it; the window, anywhere.
    {kNoButton, QKeySequence::UnknownKey, "Ctrl+Tab", &MainWindow::NextPageCommand},
    {kNoButton, QKeySequence::UnknownKey, "Ctrl+Shift+Tab", &MainWindow::PreviousPageCommand},
    {kNoButton, QKeySequence::UnknownKey, "F10", &MainWindow::WindowMenuCommand},
};

// Sees every event of the program before its receiver: a shortcut override for one of the
// window's keys, from a widget of the window, is consumed unaccepted, so that the window's
// command runs rather than the field's own use of the key.
class WindowKeyFilter final : public QObject {
 public:
  explicit WindowKeyFilter(QWidget& window) : QObject(&window), window_(&window) {
    qApp->installEventFilter(this);
  }
  void Add(const QKeySequence& key) { keys_.push_back(key); }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::ShortcutOverride) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != window_) return false;
    const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
    for (const QKeySequence& own : keys_)
      if (own.matches(pressed) == QKeySequence::ExactMatch) return true;
    return false;
  }

 private:
  QWidget* window_;  // compared only: the filter goes with the window
  std::vector<QKeySequence> keys_;
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
  auto* filter = new WindowKeyFilter(*this);
  for (const CommandKey& key : kCommandKeys) {
    auto* shortcut = new QShortcut(KeyOf(key), this);
    shortcut->setContext(Qt::WindowShortcut);
    if (key.button == kQuit) {
      connect(shortcut, &QShortcut::activated, this, [this] { close(); });
    } else if (key.button == kNoButton && key.run) {
      connect(shortcut, &QShortcut::activated, this, [this, run = key.run] {
        if (!busy()) (this->*run)();
      });
    } else if (key.button == kNoButton) {
      connect(shortcut, &QShortcut::activated, this, [this] {
        if (!busy()) ShowBox(BoxKind::kInformation, Text(catalogue_, AddedText::kKeyboardHelp));
      });
    } else {
      QToolButton* button = commandButtons_[key.button];
      // A disabled command (busy, no controller, not supported) stays silent, as its button.
      connect(shortcut, &QShortcut::activated, this, [this, button, run = key.run] {
        if (!button->isEnabled()) return;
        if (run) {
          (this->*run)();
        } else {
          button->click();
        }
      });
    }
    filter->Add(shortcut->key());
  }
}

void MainWindow::AddShortcutsToHints() {
  for (QToolButton* button : commandButtons_) button->setProperty(kShortcutProperty, QVariant());
  for (const CommandKey& key : kCommandKeys) {
    if (key.button >= commandButtons_.size()) continue;
    QToolButton* button = commandButtons_[key.button];
    // The hint itself stays the product's text; what is shown and read out adds the keys, the
    // button's own first.
    const QString before = button->property(kShortcutProperty).toString();
    const QString shown = KeyOf(key).toString(QKeySequence::NativeText);
    button->setProperty(kShortcutProperty, before.isEmpty() ? shown : before + ", " + shown);
    button->setAccessibleDescription(HintWithShortcut(button));
  }
}

QString HintWithShortcut(const QWidget* button) {
  const QString key = button->property(kShortcutProperty).toString();
  return key.isEmpty() ? button->toolTip() : button->toolTip() + " (" + key + ")";
}

void MainWindow::NextPageCommand() {
  setActivePage((activePage() + 1) % pageTabs_->count());
}

void MainWindow::PreviousPageCommand() {
  setActivePage((activePage() + pageTabs_->count() - 1) % pageTabs_->count());
}

void MainWindow::WindowMenuCommand() {
  windowMenu_->popup(progressPanel_->mapToGlobal(QPoint(0, progressPanel_->height())));
}

bool ShowHintWithShortcut(QObject* watched, QEvent* event) {
  auto* button = qobject_cast<QToolButton*>(watched);
  if (event->type() != QEvent::ToolTip || !button || button->toolTip().isEmpty()) return false;
  QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), HintWithShortcut(button),
                     button);
  return true;
}

}  // namespace qvr
