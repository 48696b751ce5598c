#include "app/shell_host.h"

#include <QAction>
#include <QCoreApplication>
#include <QPlainTextEdit>

#include "app/message_box.h"
#include "app/progress.h"
#include "link/clock.h"
#include "link/scoped_value.h"

namespace qvr {

void ShellHost::Pump(QEventLoop::ProcessEventsFlags flags) {
  const ScopedValue depth(pumpDepth_, pumpDepth_ + 1);
  QCoreApplication::processEvents(flags);
}

void ShellHost::PumpMessages() {
  Pump(QEventLoop::AllEvents);
}

void ShellHost::PumpWhileExchanging() {
  Pump(QEventLoop::ExcludeUserInputEvents);
}

void ShellHost::LogLine(const std::string& line) {
  log_.appendPlainText(QString::fromStdString(line));
}

void ShellHost::ClearLog() {
  if (logKept_) return;
  log_.clear();
}

void ShellHost::BeginProgress(int total, const std::string& caption) {
  progress_.Begin(total, QString::fromStdString(caption));
  PumpMessages();
}

void ShellHost::AdvanceProgress(int count) {
  // The gauge moved: the window repaints it and keeps answering while the operation goes on.
  if (progress_.Advance(count)) PumpMessages();
}

bool ShellHost::PacketLogEnabled() const {
  return packetLogItem_.isChecked();
}

BoxAnswer ShellHost::ShowFieldMessageBox(BoxStyle style, const std::string& text,
                                         const std::string& field) {
  // A box runs an event loop of its own: the operation that asked waits beneath it.
  const ScopedValue depth(pumpDepth_, pumpDepth_ + 1);
  return boxes_.Show(style, text, field);
}

BoxAnswer ShellHost::ShowMessageBox(BoxStyle style, const std::string& text) {
  return ShowFieldMessageBox(style, text, std::string());
}

BoxAnswer ShellHost::AskSaveChanges(const std::string& text) {
  const ScopedValue depth(pumpDepth_, pumpDepth_ + 1);
  return boxes_.AskSaveChanges(text);
}

void ShellHost::HideProgress() {
  progress_.Hide();
}

void WaitWithMessages(Clock& clock, uint32_t ms) {
  const uint32_t start = clock.NowMs();
  while (uint32_t(clock.NowMs() - start) < ms) {
    QCoreApplication::processEvents();
    clock.SleepMs(1);
  }
}

}  // namespace qvr
