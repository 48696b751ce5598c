#include "app/progress.h"

#include <QLabel>
#include <QProgressBar>
#include <QToolBar>
#include <algorithm>

#include "link/clock.h"
#include "link/time_left.h"

namespace qvr {

namespace {

// The text should not flicker.
constexpr uint32_t kTimeLeftEveryMs = 1000;

}  // namespace

ProgressDisplay::ProgressDisplay(QToolBar* toolBar, QWidget* panel, QProgressBar* bar,
                                 QLabel* status, Clock& clock, TimeLeftText timeLeft)
    : toolBar_(toolBar),
      panel_(panel),
      progressBar_(bar),
      status_(status),
      clock_(clock),
      timeLeft_(std::move(timeLeft)) {}

void ProgressDisplay::SetStatus(const QString& text) {
  if (!statusHeld_) status_->setText(text);
}

void ProgressDisplay::Begin(int total, const QString& caption) {
  caption_ = caption;
  SetStatus(caption);
  startMs_ = shownAtMs_ = clock_.NowMs();
  maximum_ = std::max(total, 0);
  position_ = 0;
  runningTotal_ = 0;
  int width = toolBar_->width() - panel_->x() - 5;
  if (width > 0) panel_->setFixedWidth(width);
  progressBar_->setGeometry(0, 0, panel_->width(), panel_->height());
  ShowPosition();
  progressBar_->show();
}

bool ProgressDisplay::Advance(int count) {
  if (position_ >= maximum_) return false;
  if (progressBar_->isHidden()) {
    SetStatus(caption_);
    progressBar_->show();
  }
  runningTotal_ += count;
  position_ = int(std::clamp<int64_t>(runningTotal_, 0, maximum_));
  ShowPosition();
  ShowTimeLeft();
  return true;
}

void ProgressDisplay::ShowTimeLeft() {
  if (!timeLeft_) return;
  // Done: no time is left to tell.
  if (position_ >= maximum_) return SetStatus(caption_);
  const uint32_t now = clock_.NowMs();
  if (uint32_t(now - shownAtMs_) < kTimeLeftEveryMs) return;
  const std::optional<unsigned> left = SecondsLeft(now - startMs_, position_, maximum_);
  if (!left) return;
  shownAtMs_ = now;
  SetStatus(timeLeft_(caption_, *left));
}

void ProgressDisplay::Hide() {
  if (!progressBar_->isHidden()) progressBar_->hide();
}

void ProgressDisplay::ShowPosition() {
  // A bar of range 0..0 would turn into a busy indicator; an empty transfer is complete.
  if (maximum_ == 0) {
    progressBar_->setRange(0, 1);
    progressBar_->setValue(1);
    return;
  }
  progressBar_->setRange(0, maximum_);
  progressBar_->setValue(position_);
}

}  // namespace qvr
