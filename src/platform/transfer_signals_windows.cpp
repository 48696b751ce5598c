// Console control events on Windows: Ctrl+C, Ctrl+Break and closing the console window. Outside
// a transfer the handler declines and the system's default ends the process; during one it
// takes the event, and the command ends with its result after the transfer.
#include <windows.h>

#include <atomic>

#include "platform/transfer_signals.h"

namespace qvr {

namespace {

std::atomic<bool> gTransferRunning{false};
std::atomic<bool> gSignalDeferred{false};

// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI OnConsoleControl(DWORD event) {
  if (!gTransferRunning) return FALSE;
  gSignalDeferred = true;
  // Closing the console ends the process when the handler returns; hold it until the
  // transfer is done (the system allows a few seconds).
  if (event == CTRL_CLOSE_EVENT) {
    while (gTransferRunning) ::Sleep(50);
  }
  return TRUE;
}

}  // namespace

TransferSignals::TransferSignals() {
  gTransferRunning = false;
  gSignalDeferred = false;
  ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

TransferSignals::~TransferSignals() {
  ::SetConsoleCtrlHandler(OnConsoleControl, FALSE);
  gTransferRunning = false;
}

void TransferSignals::TransferStarted() {
  gTransferRunning = true;
}

bool TransferSignals::TakeDeferredSignal() {
  return gSignalDeferred.exchange(false);
}

}  // namespace qvr
