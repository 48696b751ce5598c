// Console control events on Windows: Ctrl+C, Ctrl+Break and closing the console window. Outside
// a transfer the handler declines and the system's default ends the process; during one it
// takes Ctrl+C and Ctrl+Break, and the command ends with its result after the transfer.
// Closing the console cannot be held off: the system ends the process about 5 s after the
// close event whatever the handler does. So while a transfer runs the console window's close
// button is disabled, and a close that comes all the same (signing out, a terminal's tab, which
// has no button of ours to disable) is only waited on for as long as the system allows.
#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>

#include "platform/transfer_signals.h"

namespace qvr {

namespace {

std::atomic<bool> gTransferRunning{false};
std::atomic<bool> gSignalDeferred{false};

// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI OnConsoleControl(DWORD event) {
  if (!gTransferRunning) return FALSE;
  gSignalDeferred = true;
  if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
    while (gTransferRunning) ::Sleep(50);
  }
  return TRUE;
}

// The close button of the console window this process shows its text in; none when the
// process has no console window (a pipe, a pseudo console).
HMENU ConsoleSystemMenu() {
  const HWND window = ::GetConsoleWindow();
  return window != nullptr ? ::GetSystemMenu(window, FALSE) : nullptr;
}

// Disables the close button for as long as it lives, and enables it again only if it was
// enabled when found (another program in the same console may have disabled it).
class CloseButtonOff {
 public:
  CloseButtonOff() : menu_(ConsoleSystemMenu()) {
    if (menu_ == nullptr) return;
    const UINT state = ::GetMenuState(menu_, SC_CLOSE, MF_BYCOMMAND);
    if (state == UINT(-1) || (state & (MF_GRAYED | MF_DISABLED)) != 0) {
      menu_ = nullptr;
      return;
    }
    ::EnableMenuItem(menu_, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  }
  ~CloseButtonOff() {
    if (menu_ != nullptr) ::EnableMenuItem(menu_, SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
  }
  CloseButtonOff(const CloseButtonOff&) = delete;
  CloseButtonOff& operator=(const CloseButtonOff&) = delete;

 private:
  HMENU menu_;
};

// Adapters of one batch start their transfers on threads of their own.
std::mutex gCloseButtonMutex;
std::unique_ptr<CloseButtonOff> gCloseButton;

}  // namespace

TransferSignals::TransferSignals() {
  gTransferRunning = false;
  gSignalDeferred = false;
  ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

TransferSignals::~TransferSignals() {
  {
    const std::lock_guard<std::mutex> lock(gCloseButtonMutex);
    gCloseButton.reset();
  }
  ::SetConsoleCtrlHandler(OnConsoleControl, FALSE);
  gTransferRunning = false;
}

void TransferSignals::TransferStarted() {
  {
    const std::lock_guard<std::mutex> lock(gCloseButtonMutex);
    if (!gCloseButton) gCloseButton = std::make_unique<CloseButtonOff>();
  }
  gTransferRunning = true;
}

bool TransferSignals::TakeDeferredSignal() {
  return gSignalDeferred.exchange(false);
}

}  // namespace qvr
