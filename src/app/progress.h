#pragma once
// The progress display in the toolbar: a gauge with the whole percentage done, the status text
// it started with (restored when a poll hid the gauge between two blocks) and a running total.
#include <QString>
#include <cstdint>

class QLabel;
class QProgressBar;
class QToolBar;
class QWidget;

namespace qvr {

class ProgressDisplay {
 public:
  // `panel` holds `gauge` and sits in `toolBar`; `status` is the status-bar text.
  ProgressDisplay(QToolBar* toolBar, QWidget* panel, QProgressBar* gauge, QLabel* status);

  // Caption into the status bar, gauge from 0 to `total`, panel stretched to the toolbar's end.
  void Begin(int total, const QString& caption);
  // Ignored once the gauge is full; shows a hidden gauge (and its caption) again.
  // False when it was ignored.
  bool Advance(int count);
  void Hide();

 private:
  void ShowPosition();

  QToolBar* toolBar_;
  QWidget* panel_;
  QProgressBar* gauge_;
  QLabel* status_;
  QString caption_;
  int maximum_ = 0;
  int position_ = 0;
  int64_t runningTotal_ = 0;
};

}  // namespace qvr
