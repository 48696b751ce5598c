#pragma once
// SIGTERM, SIGINT and SIGHUP end the program through the window's ordinary close (settings saved,
// controller closed): the signal handler only writes a byte into a pipe that the event loop
// watches. On Windows the window's own close and session-end events do this, and
// nothing is watched (active() is false).
#include <QObject>
#include <functional>

class QSocketNotifier;

namespace qvr {

class TerminationSignals : public QObject {
 public:
  // `onSignal` runs on the event loop after SIGTERM, SIGINT or SIGHUP. One instance at a time.
  explicit TerminationSignals(std::function<void()> onSignal, QObject* parent = nullptr);
  ~TerminationSignals() override;
  bool active() const { return notifier_ != nullptr; }

 private:
  void Drain();

  std::function<void()> onSignal_;
  QSocketNotifier* notifier_ = nullptr;
  int fds_[2] = {-1, -1};
};

}  // namespace qvr
