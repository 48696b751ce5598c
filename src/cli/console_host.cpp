#include "cli/console_host.h"

#include <algorithm>

#include "link/link.h"

namespace qvr::cli {

namespace {
constexpr int kBarWidth = 30;
}

void ConsoleHost::LogLine(const std::string& line) {
  EndProgressLine();
  // The link writes packet lines only from inside an exchange; every other log line is the
  // operation's own output.
  if (link_ && link_->exchangeBusy()) {
    err_ << line << '\n';
    return;
  }
  out_ << line << '\n';
}

void ConsoleHost::BeginProgress(int total, const std::string& caption) {
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
  if (signals_ && signals_->TakeDeferredSignal()) Error(signalNotice_);
}

int ConsoleHost::ShowMessageBox(int kind, const std::string& text) {
  EndProgressLine();
  switch (kind & 0xFF) {
    case kBoxQuestion:
    case kBoxWarning:
      return prompter_.Ask(text) ? kBoxResultYes : kBoxResultNo;
    case kBoxError:
      err_ << text << '\n';
      return kBoxResultOk;
    default:
      out_ << text << '\n';
      return kBoxResultOk;
  }
}

void ConsoleHost::Error(const std::string& text) {
  EndProgressLine();
  err_ << text << '\n';
}

void ConsoleHost::Note(const std::string& text) {
  EndProgressLine();
  out_ << text << '\n';
}

void ConsoleHost::DrawProgress() {
  if (!progressBar_) return;
  const int percent = total_ > 0 ? int(done_ * 100 / total_) : 100;
  if (percent == shownPercent_) return;
  shownPercent_ = percent;
  const int filled = percent * kBarWidth / 100;
  err_ << '\r' << caption_ << " [" << std::string(size_t(filled), '#')
       << std::string(size_t(kBarWidth - filled), ' ') << "] " << percent << '%' << std::flush;
  progressLineOpen_ = true;
  if (percent == 100) EndProgressLine();
}

void ConsoleHost::EndProgressLine() {
  if (!progressLineOpen_) return;
  err_ << '\n';
  progressLineOpen_ = false;
}

}  // namespace qvr::cli
