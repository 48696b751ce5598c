#include "platform/transfer_signals.h"

#include <signal.h>

#include <atomic>

#include "platform/temporary_removal.h"

namespace qvr {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Read by the batch threads as well as the handler: atomics, lock-free so the handler may
// touch them.
std::atomic<int> gTransferRunning{0};
std::atomic<int> gSignalDeferred{0};
static_assert(std::atomic<int>::is_always_lock_free);
struct sigaction gPrevious[sizeof kSignals / sizeof kSignals[0]];

void OnTerminationSignal(int signal) {
  if (gTransferRunning) {
    gSignalDeferred = 1;
    return;
  }
  // Outside a transfer the signal ends the program as if nobody had caught it, but takes the
  // configuration data kept in temporary files with it.
  RemoveTrackedFilesNow();
  struct sigaction action = {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  ::sigaction(signal, &action, nullptr);
  ::raise(signal);
}

}  // namespace

TransferSignals::TransferSignals() {
  gTransferRunning = 0;
  gSignalDeferred = 0;
  struct sigaction action = {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  // Reports and console writes that the signal interrupts carry on.
  action.sa_flags = SA_RESTART;
  for (size_t i = 0; i < sizeof kSignals / sizeof kSignals[0]; ++i)
    ::sigaction(kSignals[i], &action, &gPrevious[i]);
}

TransferSignals::~TransferSignals() {
  for (size_t i = 0; i < sizeof kSignals / sizeof kSignals[0]; ++i)
    ::sigaction(kSignals[i], &gPrevious[i], nullptr);
  gTransferRunning = 0;
}

void TransferSignals::TransferStarted() {
  gTransferRunning = 1;
}

bool TransferSignals::TakeDeferredSignal() {
  if (!gSignalDeferred) return false;
  gSignalDeferred = 0;
  return true;
}

}  // namespace qvr
