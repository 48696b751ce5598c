// The window's operation scope: while a command or a live action runs, the pages take no input
// and the toolbar is disabled; the focus goes back where it was when the outermost one ends.
#include <QApplication>
#include <QTabWidget>

#include "app/main_window.h"

namespace qvr {

MainWindow::OperationScope::OperationScope(MainWindow& window)
    : window_(window), hold_(*window.link_) {
  if (window_.operationDepth_++ == 0) {
    focus_ = QApplication::focusWidget();
    // The device pages' fields, event tabs and menus take no input until the command ends.
    for (size_t page = 0; page < window_.pageSheets_.size(); ++page)
      if (int(page) != window_.controllerPage_) window_.pageSheets_[page]->setEnabled(false);
  }
  window_.RefreshToolbar();
}

Operation MainWindow::EnterOperation() {
  return Operation(std::make_unique<OperationScope>(*this));
}

MainWindow::OperationScope::~OperationScope() {
  if (--window_.operationDepth_ == 0) {
    for (QWidget* sheet : window_.pageSheets_) sheet->setEnabled(true);
  }
  // An inner scope's end leaves the outer command's toolbar as it is.
  window_.RefreshToolbar();
  // Disabling the pages moved the focus away; it returns where the user left it, unless the
  // command put it on a field of its own (a refused value).
  if (window_.operationDepth_ != 0 || !focus_ || !focus_->isVisible()) return;
  QWidget* now = QApplication::focusWidget();
  const bool movedToField = now && now != focus_ && window_.pageTabs_->isAncestorOf(now) &&
                            focus_->window() == now->window();
  if (!movedToField && focus_->isEnabled()) focus_->setFocus(Qt::OtherFocusReason);
}

}  // namespace qvr
