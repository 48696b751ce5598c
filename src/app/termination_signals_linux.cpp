#include "app/termination_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>

namespace qvr {
namespace {

volatile sig_atomic_t gWriteFd = -1;
// SIGHUP comes when the terminal the program was started from is closed.
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

void OnTerminationSignal(int) {
  const int savedErrno = errno;
  const char byte = 1;
  if (gWriteFd >= 0) (void)!::write(gWriteFd, &byte, 1);
  errno = savedErrno;
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void()> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal)) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, fds_) != 0) {
    qWarning("Termination signals not watched: socketpair failed");
    return;
  }
  gWriteFd = fds_[0];
  notifier_ = new QSocketNotifier(fds_[1], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, [this] { Drain(); });

  struct sigaction action = {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : kSignals) ::sigaction(signal, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
  if (!notifier_) return;
  struct sigaction action = {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  for (int signal : kSignals) ::sigaction(signal, &action, nullptr);
  gWriteFd = -1;
  delete notifier_;
  notifier_ = nullptr;
  ::close(fds_[0]);
  ::close(fds_[1]);
}

void TerminationSignals::Drain() {
  char buffer[16];
  while (::read(fds_[1], buffer, sizeof buffer) > 0) {
  }
  if (onSignal_) onSignal_();
}

}  // namespace qvr
