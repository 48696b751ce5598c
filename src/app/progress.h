#pragma once
// The progress display in the toolbar: a gauge with the whole percentage done, the status text
// it started with (restored when a poll hid the gauge between two blocks) and a running total.
#include <QString>
#include <cstdint>
#include <functional>

class QLabel;
class QProgressBar;
class QToolBar;
class QWidget;

namespace qvr {

class Clock;

class ProgressDisplay {
 public:
  // The status text of a long operation: the caption with the time left.
  using TimeLeftText = std::function<QString(const QString& caption, unsigned secondsLeft)>;

  // `panel` holds `bar` and sits in `toolBar`; `status` is the status-bar text.
  ProgressDisplay(QToolBar* toolBar, QWidget* panel, QProgressBar* bar, QLabel* status,
                  Clock& clock, TimeLeftText timeLeft);

  // Caption into the status bar, gauge from 0 to `total`, panel stretched to the toolbar's end.
  void Begin(int total, const QString& caption);
  // Ignored once the gauge is full; shows a hidden gauge (and its caption) again.
  // False when it was ignored.
  bool Advance(int count);
  void Hide();
  // From now on the status text stays as it is (the window says it will close).
  void HoldStatus() { statusHeld_ = true; }

 private:
  void ShowPosition();
  void ShowTimeLeft();
  void SetStatus(const QString& text);

  QToolBar* toolBar_;
  QWidget* panel_;
  QProgressBar* progressBar_;
  QLabel* status_;
  QString caption_;
  int maximum_ = 0;
  int position_ = 0;
  int64_t runningTotal_ = 0;
  Clock& clock_;
  TimeLeftText timeLeft_;
  uint32_t startMs_ = 0;
  uint32_t shownAtMs_ = 0;
  bool statusHeld_ = false;
};

}  // namespace qvr
