#pragma once
// The window's side of the core's user services: the monitoring log, the progress display,
// message boxes and the message pump. The window decides when events are processed: after
// a progress report that moved the gauge, and inside the waits of the core.
#include <QEventLoop>

#include "link/host.h"
#include "link/scoped_value.h"

class QAction;
class QPlainTextEdit;

namespace qvr {

class Clock;
class MessageBoxService;
class ProgressDisplay;

class ShellHost final : public Host {
 public:
  ShellHost(QPlainTextEdit& log, ProgressDisplay& progress, MessageBoxService& boxes,
            QAction& packetLogItem)
      : log_(log), progress_(progress), boxes_(boxes), packetLogItem_(packetLogItem) {}

  void PumpMessages() override;
  void PumpWhileExchanging() override;
  void LogLine(const std::string& line) override;
  void ClearLog() override;
  void BeginProgress(int total, const std::string& caption) override;
  void AdvanceProgress(int count) override;
  bool PacketLogEnabled() const override;
  BoxAnswer ShowMessageBox(BoxStyle style, const std::string& text) override;
  BoxAnswer ShowFieldMessageBox(BoxStyle style, const std::string& text,
                                const std::string& field) override;
  // Save, Discard or Cancel (kYes, kNo, kCancel).
  BoxAnswer AskSaveChanges(const std::string& text);

  // While the returned guard lives, ClearLog keeps the log: a command's read-back leaves what
  // the command said before it (where its backup went) in view.
  [[nodiscard]] ScopedValue<bool> KeepLog() { return ScopedValue<bool>(logKept_, true); }

  void HideProgress();
  // True while the core pumps messages beneath the current event (a wait outside any toolbar
  // command, say): the event loop is then not the program's own, and closing must wait.
  bool pumping() const { return pumpDepth_ > 0; }

 private:
  void Pump(QEventLoop::ProcessEventsFlags flags);

  int pumpDepth_ = 0;
  bool logKept_ = false;
  QPlainTextEdit& log_;
  ProgressDisplay& progress_;
  MessageBoxService& boxes_;
  QAction& packetLogItem_;
};

// Returns after at least `ms` milliseconds of `clock`, pumping window messages and sleeping
// between pumps; the difference is taken in unsigned 32-bit arithmetic so a wrap of the counter
// does not matter.
void WaitWithMessages(Clock& clock, uint32_t ms);

}  // namespace qvr
