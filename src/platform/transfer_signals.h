#pragma once
// SIGINT, SIGTERM and SIGHUP (on Windows: Ctrl+C, Ctrl+Break, closing the console) end qvrctl
// at once, except while a transfer to a device runs: a unit cut off half-way may be left
// half-written or without firmware, so the transfer runs to its end and the command then ends
// with its own result. Windows holds a closing console only for about 5 s, so there the
// console window's close button is disabled while a transfer runs.
namespace qvr {

class TransferSignals {
 public:
  // Installs the handlers; one instance at a time.
  TransferSignals();
  // Puts back the handlers that were there before.
  ~TransferSignals();
  TransferSignals(const TransferSignals&) = delete;
  TransferSignals& operator=(const TransferSignals&) = delete;

  // From now until the command ends, a signal waits for the command instead of ending it.
  void TransferStarted();
  // True once, after a signal arrived during the transfer (the caller then says so).
  bool TakeDeferredSignal();
};

}  // namespace qvr
