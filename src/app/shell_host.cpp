#include "app/shell_host.h"

#include <QAction>
#include <QCoreApplication>
#include <QPlainTextEdit>

#include "app/message_box.h"
#include "app/progress.h"
#include "link/clock.h"

namespace qvr {

void ShellHost::Pump(QEventLoop::ProcessEventsFlags flags) {
  ++pumpDepth_;
  QCoreApplication::processEvents(flags);
  --pumpDepth_;
}

void ShellHost::PumpMessages() {
  Pump(QEventLoop::AllEvents);
}

void ShellHost::PumpWhileExchanging() {
  Pump(QEventLoop::ExcludeUserInputEvents);
}

void ShellHost::LogLine(const std::string& line) {
  memo_.appendPlainText(QString::fromStdString(line));
}

void ShellHost::ClearLog() {
  memo_.clear();
}

void ShellHost::BeginProgress(int total, const std::string& caption) {
  progress_.Begin(total, QString::fromStdString(caption));
  PumpMessages();
}

void ShellHost::AdvanceProgress(int count) {
  if (progress_.Advance(count)) PumpMessages();
}

bool ShellHost::PacketLogEnabled() const {
  return packetLogItem_.isChecked();
}

int ShellHost::ShowFieldMessageBox(int kind, const std::string& text, const std::string& field) {
  ++pumpDepth_;
  const int answer = boxes_.Show(kind, text, field);
  --pumpDepth_;
  return answer;
}

int ShellHost::ShowMessageBox(int kind, const std::string& text) {
  // A box runs an event loop of its own: the operation that asked waits beneath it.
  ++pumpDepth_;
  const int answer = boxes_.Show(kind, text);
  --pumpDepth_;
  return answer;
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
