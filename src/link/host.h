#pragma once
// The core's only way to reach the user, handed to whatever needs it beside the link. The window
// implements it with the message pump, the monitoring log, the toolbar gauge and message boxes;
// qvrctl with the console.
#include <cstdint>
#include <string>

namespace qvr {

// What a message box says about its text: its icon, caption and buttons (OK for errors and
// information, Yes and No for questions and warnings).
enum class BoxKind : uint8_t { kError, kQuestion, kWarning, kInformation };
// Which of a box's buttons Enter presses.
enum class DefaultButton : uint8_t { kFirst, kNo };

// A box's kind and default button; a kind alone has its first button as the default.
struct BoxStyle {
  constexpr BoxStyle(BoxKind kind, DefaultButton defaultButton = DefaultButton::kFirst)
      : kind(kind), defaultButton(defaultButton) {}
  BoxKind kind;
  DefaultButton defaultButton;
  friend constexpr bool operator==(const BoxStyle&, const BoxStyle&) = default;
};

// The button that closed a box (kCancel: only the window's Save / Discard / Cancel question).
enum class BoxAnswer : uint8_t { kOk, kYes, kNo, kCancel };

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
  // One packet of an exchange in progress, for the packet log; the log itself by default.
  virtual void LogPacketLine(const std::string& line) { LogLine(line); }
  // Empties the monitoring log (a device read starts a fresh one).
  virtual void ClearLog() = 0;
  // Starts the progress display for `total` bytes with a status caption.
  virtual void BeginProgress(int total, const std::string& caption) = 0;
  // Reports `count` more bytes done. The host decides what to show and whether to process
  // events then (the window does when its gauge moved).
  virtual void AdvanceProgress(int count) = 0;
  // True while every packet is to be written to the monitoring log.
  virtual bool PacketLogEnabled() const = 0;
  // Shows a modal box and returns the button pressed (kOk, kYes or kNo).
  virtual BoxAnswer ShowMessageBox(BoxStyle style, const std::string& text) = 0;
  // A box about the value of one field: `field` says which field (and event) for a host that
  // shows it beside the text; others show the text alone.
  virtual BoxAnswer ShowFieldMessageBox(BoxStyle style, const std::string& text,
                                        const std::string& field) {
    (void)field;
    return ShowMessageBox(style, text);
  }
};

}  // namespace qvr
