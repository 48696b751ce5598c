// Closing the window: a close during an operation waits for its end, a termination signal
// diverts the boxes, and the shut-down lets running loops end before the controller closes.
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QTimer>
#include <cstdio>

#include "app/main_window.h"
#include "app/message_box.h"
#include "app/progress.h"
#include "app/shell_host.h"
#include "i18n/added_texts.h"
#include "link/clock.h"
#include "link/link.h"

namespace qvr {

void MainWindow::closeEvent(QCloseEvent* event) {
  if (shutDownDone_) return event->accept();
  // A second close request while the shut-down waits is answered by the first.
  if (shutDownStarted_) return event->ignore();
  if (OperationRunning()) {
    event->ignore();
    DeferClose();
    CancelOpenDialog();
    return;
  }
  // A close deferred behind an operation asks nothing more: its question would be declined.
  if (!closing_ && !SettleAllUnsavedChanges()) return event->ignore();
  ShutDown();
  event->accept();
}

bool MainWindow::OperationRunning() const {
  return busy() || host_->pumping();
}

void MainWindow::Terminate() {
  // Nobody may be left to answer a box (a logout, a shut-down): results go to the log, the
  // status bar and stderr, and the program ends as soon as the operation ends.
  boxes_->Divert([this](const std::string& text) {
    host_->LogLine(text);
    statusLabel_->setText(QString::fromStdString(text));
    std::fprintf(stderr, "%s\n", text.c_str());
  });
  close();
}

void MainWindow::CancelOpenDialog() {
  // A modal box or file dialog above the window belongs to the command that runs; closing it
  // answers No or Cancel, so nothing is sent.
  if (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr && modal != this)
    modal->close();
}

void MainWindow::DeferClose() {
  // A transfer cut short could leave the unit half-written or without firmware, so the window
  // stays until the operation ends. Loops that only watch (the IEBus log) end on `closing`.
  closing_ = true;
  progress_->HoldStatus();
  statusLabel_->setText(QString::fromUtf8(Text(catalogue_, AddedText::kClosingAfterOperation)));
  closeRetryTimer_->start();
}

void MainWindow::ShutDown() {
  shutDownStarted_ = true;
  closing_ = true;
  // Nothing new may start while the shut-down waits with messages.
  setEnabled(false);
  // Gives a running loop (the IEBus log) the chance to see `closing` and end.
  WaitWithMessages(*clock_, 100);
  pollTimer_->stop();
  link_->CloseController();
  WaitWithMessages(*clock_, 100);
  WriteSettings();
  // A box shown while saving starts the poll again; the controller stays closed.
  pollTimer_->stop();
  shutDownDone_ = true;
}

}  // namespace qvr
