#pragma once
// The window's side of the core's user services: the monitoring memo, the progress display,
// message boxes and the message pump.
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
  void LogLine(const std::string& line) override;
  void ClearLog() override;
  void BeginProgress(int total, const std::string& caption) override;
  void AdvanceProgress(int count) override;
  bool PacketLogEnabled() const override;
  int ShowMessageBox(int kind, const std::string& text) override;

  void HideProgress();

 private:
  QPlainTextEdit& memo_;
  ProgressDisplay& progress_;
  MessageBoxService& boxes_;
  QAction& packetLogItem_;
};

// Returns after at least `ms` milliseconds of `clock`, pumping window messages meanwhile; the
// difference is taken in unsigned 32-bit arithmetic so a wrap of the counter does not matter.
void WaitWithMessages(Clock& clock, uint32_t ms);

}  // namespace qvr
