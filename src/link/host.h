#pragma once
// The core's only way to reach the user. The window implements it with the message pump, the
// monitoring memo, the toolbar gauge and message boxes; qvrctl with the console.
#include <string>

namespace qvr {

// Message box kinds and results, as the catalogue's callers use them.
inline constexpr int kBoxError = 16;
inline constexpr int kBoxQuestion = 32;
inline constexpr int kBoxWarning = 48;
inline constexpr int kBoxInformation = 64;
inline constexpr int kBoxDefaultNo = 256;  // added to a kind: No is the default button
inline constexpr int kBoxResultOk = 1;
inline constexpr int kBoxResultYes = 6;
inline constexpr int kBoxResultNo = 7;

class Host {
 public:
  virtual ~Host() = default;
  // Processes pending window events once (timer ticks and clicks may run inside).
  virtual void PumpMessages() = 0;
  // Processes pending window events while a report is in flight: repaints, timers and close
  // requests, but no user input, which could start a second exchange that would have to wait
  // for this one underneath it.
  virtual void PumpWhileExchanging() { PumpMessages(); }
  // Appends one line to the monitoring log, as given (no time stamp is added).
  virtual void LogLine(const std::string& line) = 0;
  // Empties the monitoring log (a device read starts a fresh one).
  virtual void ClearLog() = 0;
  // Starts the progress display for `total` bytes with a status caption.
  virtual void BeginProgress(int total, const std::string& caption) = 0;
  // Adds `count` bytes to the progress display and pumps messages once.
  virtual void AdvanceProgress(int count) = 0;
  // True while every packet is to be written to the monitoring log.
  virtual bool PacketLogEnabled() const = 0;
  // Shows a modal box of `kind` (plus kBoxDefaultNo) and returns the button pressed
  // (kBoxResultOk, kBoxResultYes or kBoxResultNo).
  virtual int ShowMessageBox(int kind, const std::string& text) = 0;
  // A box about the value of one field: `field` says which field (and event) for a host that
  // shows it beside the text; others show the text alone.
  virtual int ShowFieldMessageBox(int kind, const std::string& text, const std::string& field) {
    (void)field;
    return ShowMessageBox(kind, text);
  }
};

}  // namespace qvr
