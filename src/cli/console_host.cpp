#include "cli/console_host.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/terminal_text.h"
#include "i18n/added_texts.h"
#include "link/time_left.h"

namespace qvr::cli {

namespace {
constexpr int kBarWidth = 30;

void AppendLine(std::string& lines, const std::string& line) {
  if (!lines.empty()) lines += '\n';
  lines += line;
}
}  // namespace

std::string ConsoleHost::TimeLeft() const {
  if (!catalogue_) return {};
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - progressStart_);
  const std::optional<unsigned> left = SecondsLeft(uint32_t(elapsed.count()), done_, total_);
  if (!left) return {};
  // Blanks after it wipe what a longer earlier text left on the line.
  return ", " + TimeLeftText(*catalogue_, *left) + "   ";
}

void ConsoleHost::LogLine(const std::string& line) {
  EndProgressLine();
  out_ << TerminalSafe(line) << '\n';
  AppendLine(logLines_, line);
}

void ConsoleHost::LogPacketLine(const std::string& line) {
  // Packet lines are a trace beside the operation's own output, never part of it.
  EndProgressLine();
  err_ << TerminalSafe(line) << '\n';
}

void ConsoleHost::BeginProgress(int total, const std::string& caption) {
  progressStart_ = std::chrono::steady_clock::now();
  if (signals_) signals_->TransferStarted();
  EndProgressLine();
  caption_ = caption;
  total_ = std::max(total, 0);
  done_ = 0;
  shownPercent_ = -1;
  DrawProgress();
}

void ConsoleHost::AdvanceProgress(int count) {
  ReportDeferredSignal();
  if (done_ >= total_) return;
  done_ = std::min(total_, done_ + std::max(count, 0));
  DrawProgress();
}

void ConsoleHost::ReportDeferredSignal() {
  if (!signals_ || !signals_->TakeDeferredSignal()) return;
  stopRequested_ = true;
  Error(signalNotice_);
}

BoxAnswer ConsoleHost::ShowMessageBox(BoxStyle style, const std::string& unsafeText) {
  EndProgressLine();
  const std::string text = TerminalSafe(unsafeText);
  switch (style.kind) {
    case BoxKind::kQuestion:
    case BoxKind::kWarning:
      for (const Override& o : overrides_)
        if (o.question == text)
          return prompter_.AskOverride(text, o.allowed, o.option) ? BoxAnswer::kYes
                                                                  : BoxAnswer::kNo;
      return prompter_.Ask(text) ? BoxAnswer::kYes : BoxAnswer::kNo;
    case BoxKind::kError:
      Error(text);
      return BoxAnswer::kOk;
    case BoxKind::kInformation:
      break;
  }
  Note(text);
  return BoxAnswer::kOk;
}

void ConsoleHost::Error(const std::string& text) {
  EndProgressLine();
  err_ << TerminalSafe(text) << '\n';
  AppendLine(errors_, text);
}

void ConsoleHost::Remark(const std::string& text) {
  EndProgressLine();
  err_ << TerminalSafe(text) << '\n';
}

std::string ConsoleHost::Message(bool succeeded) const {
  if (!succeeded) return errors_;
  return notes_.empty() ? logLines_ : notes_;
}

void ConsoleHost::Note(const std::string& text) {
  EndProgressLine();
  out_ << TerminalSafe(text) << '\n';
  AppendLine(notes_, text);
}

bool ConsoleHost::WriteStdout(const std::string& bytes, std::string* reason) {
  errno = 0;
  json_.write(bytes.data(), std::streamsize(bytes.size()));
  json_.flush();
  if (json_) return true;
  if (reason) *reason = errno ? std::strerror(errno) : "I/O error";
  return false;
}

void ConsoleHost::ShowWaiting(const std::string& text) {
  if (!progressBar_) return;
  EndWaiting();
  EndProgressLine();
  const std::string shown = TerminalSafe(text);
  err_ << shown << std::flush;
  // Characters, not bytes: what follows UTF-8's lead bytes takes no room of its own.
  waitingWidth_ = size_t(std::count_if(shown.begin(), shown.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

void ConsoleHost::EndWaiting() {
  if (waitingWidth_ == 0) return;
  // Blanks over it, then back to the line's start: the console of either system takes that.
  err_ << '\r' << std::string(waitingWidth_, ' ') << '\r' << std::flush;
  waitingWidth_ = 0;
}

void ConsoleHost::DrawProgress() {
  if (!progressBar_) return;
  const int percent = total_ > 0 ? int(done_ * 100 / total_) : 100;
  if (percent == shownPercent_) return;
  shownPercent_ = percent;
  const int filled = percent * kBarWidth / 100;
  err_ << '\r' << caption_ << " [" << std::string(size_t(filled), '#')
       << std::string(size_t(kBarWidth - filled), ' ') << "] " << percent << '%' << TimeLeft()
       << std::flush;
  progressLineOpen_ = true;
  if (percent == 100) EndProgressLine();
}

void ConsoleHost::EndProgressLine() {
  if (!progressLineOpen_) return;
  err_ << '\n';
  progressLineOpen_ = false;
}

}  // namespace qvr::cli
