#pragma once
// The Host of qvrctl: log lines on standard output, packet lines and error boxes on the error
// stream, questions through the Prompter, and a
// progress bar on the error stream when it is a terminal.
#include <chrono>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <vector>

#include "cli/prompter.h"
#include "link/host.h"
#include "platform/transfer_signals.h"

namespace qvr {
class Catalogue;
}  // namespace qvr

namespace qvr::cli {

class ConsoleHost final : public Host {
 public:
  // With `json` standard output carries only JSON objects, with `stdoutIsData` only the data
  // a command writes there ("-" as its file); every text then goes to the error stream.
  ConsoleHost(std::ostream& out, std::ostream& err, Prompter& prompter, bool packetLog,
              bool progressBar, bool json = false, bool stdoutIsData = false)
      : out_(json || stdoutIsData ? err : out),
        err_(err),
        json_(out),
        prompter_(prompter),
        packetLog_(packetLog),
        progressBar_(progressBar),
        jsonMode_(json) {}

  // A progress display begins a transfer, which termination signals must not cut short;
  // `notice` is said on the error stream once such a signal has arrived.
  void AttachSignals(TransferSignals* signals, std::string notice) {
    signals_ = signals;
    signalNotice_ = std::move(notice);
  }
  // Says the notice if a signal arrived during the transfer and was not reported yet.
  void ReportDeferredSignal();
  // True once a termination signal arrived during this command's transfers: a change that has
  // not started yet must not start.
  bool stopRequested() {
    ReportDeferredSignal();
    return stopRequested_;
  }

  void PumpMessages() override {}
  void LogLine(const std::string& line) override;
  void LogPacketLine(const std::string& line) override;
  void ClearLog() override {}  // a console keeps what it printed
  void BeginProgress(int total, const std::string& caption) override;
  void AdvanceProgress(int count) override;
  bool PacketLogEnabled() const override { return packetLog_; }
  BoxAnswer ShowMessageBox(BoxStyle style, const std::string& text) override;

  // The question `text`, when an operation asks it, is answered only by `option` (given:
  // `allowed`) or by the user on a terminal, never by --yes.
  void OverrideQuestion(std::string text, bool allowed, std::string option) {
    overrides_.push_back({std::move(text), std::move(option), allowed});
  }

  // Prints a failure on the error stream (ends an open progress line first).
  void Error(const std::string& text);
  bool jsonMode() const { return jsonMode_; }
  // The command's own fields of its JSON object (set whatever the mode; printed in JSON mode).
  nlohmann::json& fields() { return fields_; }
  // What the command said: its result lines (or, without any, its log lines) on success, its
  // failures otherwise, each set joined by line breaks.
  std::string Message(bool succeeded) const;
  // Beside the progress bar, the time left in the catalogue's language.
  void ShowTimeLeftIn(const Catalogue& catalogue) { catalogue_ = &catalogue; }
  // Prints a result line on standard output.
  void Note(const std::string& text);
  // Prints a note on the error stream (standard output carries something else).
  void Remark(const std::string& text);
  // Where progress shows (a terminal, not --quiet): `text` on a line of its own while the
  // command waits, until EndWaiting wipes it; elsewhere nothing.
  void ShowWaiting(const std::string& text);
  void EndWaiting();
  // Writes bytes as they are to standard output (a configuration read to "-", a JSON line);
  // false, with the system's reason in `reason` when given, when they could not all be written.
  bool WriteStdout(const std::string& bytes, std::string* reason = nullptr);

 private:
  void DrawProgress();
  std::string TimeLeft() const;
  void EndProgressLine();

  std::ostream& out_;
  std::ostream& err_;
  std::ostream& json_;
  Prompter& prompter_;
  TransferSignals* signals_ = nullptr;
  std::string signalNotice_;
  bool stopRequested_ = false;
  bool packetLog_;
  bool progressBar_;
  bool jsonMode_;
  std::string errors_, notes_, logLines_;
  nlohmann::json fields_ = nlohmann::json::object();
  struct Override {
    std::string question;
    std::string option;
    bool allowed;
  };
  std::vector<Override> overrides_;
  const Catalogue* catalogue_ = nullptr;
  std::chrono::steady_clock::time_point progressStart_;
  bool progressLineOpen_ = false;
  size_t waitingWidth_ = 0;  // the characters of the waiting line shown (0: none)
  std::string caption_;
  long long total_ = 0;
  long long done_ = 0;
  int shownPercent_ = -1;
};

}  // namespace qvr::cli
