#pragma once
// The window's side of the core's user services: the monitoring memo, the progress display,
// message boxes and the message pump.
#include <QEventLoop>

#include "link/host.h"

class QAction;
class QPlainTextEdit;

namespace qvr {

class Clock;
class MessageBoxService;
class ProgressDisplay;

class ShellHost final : public Host {
 public:
  ShellHost(QPlainTextEdit& memo, ProgressDisplay& progress, MessageBoxService& boxes,
            QAction& packetLogItem)
      : memo_(memo), progress_(progress), boxes_(boxes), packetLogItem_(packetLogItem) {}

  void PumpMessages() override;
  void PumpWhileExchanging() override;
  void LogLine(const std::string& line) override;
  void ClearLog() override;
  void BeginProgress(int total, const std::string& caption) override;
  void AdvanceProgress(int count) override;
  bool PacketLogEnabled() const override;
  int ShowMessageBox(int kind, const std::string& text) override;
  int ShowFieldMessageBox(int kind, const std::string& text, const std::string& field) override;

  void HideProgress();
  // True while an operation of the core is pumping messages beneath the current event: the
  // event loop is then not the program's own, and closing must wait until it is.
  bool insideOperation() const { return pumpDepth_ > 0; }

 private:
  void Pump(QEventLoop::ProcessEventsFlags flags);

  int pumpDepth_ = 0;
  QPlainTextEdit& memo_;
  ProgressDisplay& progress_;
  MessageBoxService& boxes_;
  QAction& packetLogItem_;
};

// Returns after at least `ms` milliseconds of `clock`, pumping window messages and sleeping
// between pumps; the difference is taken in unsigned 32-bit arithmetic so a wrap of the counter
// does not matter.
void WaitWithMessages(Clock& clock, uint32_t ms);

}  // namespace qvr
