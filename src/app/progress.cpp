#include "app/progress.h"

#include <QLabel>
#include <QProgressBar>
#include <QToolBar>
#include <algorithm>

namespace qvr {

ProgressDisplay::ProgressDisplay(QToolBar* toolBar, QWidget* panel, QProgressBar* gauge,
                                 QLabel* status)
    : toolBar_(toolBar), panel_(panel), gauge_(gauge), status_(status) {}

void ProgressDisplay::Begin(int total, const QString& caption) {
  caption_ = caption;
  status_->setText(caption);
  maximum_ = std::max(total, 0);
  position_ = 0;
  runningTotal_ = 0;
  int width = toolBar_->width() - panel_->x() - 5;
  if (width > 0) panel_->setFixedWidth(width);
  gauge_->setGeometry(0, 0, panel_->width(), panel_->height());
  ShowPosition();
  gauge_->show();
}

bool ProgressDisplay::Advance(int count) {
  if (position_ >= maximum_) return false;
  if (gauge_->isHidden()) {
    status_->setText(caption_);
    gauge_->show();
  }
  runningTotal_ += count;
  position_ = int(std::clamp<int64_t>(runningTotal_, 0, maximum_));
  ShowPosition();
  return true;
}

void ProgressDisplay::Hide() {
  if (!gauge_->isHidden()) gauge_->hide();
}

void ProgressDisplay::ShowPosition() {
  // A bar of range 0..0 would turn into a busy indicator; an empty transfer is complete.
  if (maximum_ == 0) {
    gauge_->setRange(0, 1);
    gauge_->setValue(1);
    return;
  }
  gauge_->setRange(0, maximum_);
  gauge_->setValue(position_);
}

}  // namespace qvr
