#pragma once
// How a transport keeps its adapter to this program: the adapter lock taken before a report
// goes out, kept for the exchange, the operation or the whole command, and what stood in the
// way when it could not be taken. Shared by the USB transport (the adapter's device node) and
// the simulated one (a lock file in its state folder).
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "link/link_result.h"
#include "platform/adapter_lock.h"

namespace qvr {

// How long a report waits for another program to let go of the adapter: the few milliseconds
// of a poll, never a command; longer waits are the caller's, outside any report.
inline constexpr uint32_t kAdapterBusyWaitMs = 150;

// How the program shares the adapter with our other programs.
struct AdapterSharing {
  bool holdWhileOpen = false;  // true: taken at the first report and kept (qvrctl's command)
  uint32_t waitMs = kAdapterBusyWaitMs;
};

class AdapterKeeper {
 public:
  explicit AdapterKeeper(AdapterSharing sharing = {}) : sharing_(sharing) {}

  // Makes sure the lock on `path` is this program's, taking it when it is not (a lock held on
  // another path goes first), and waiting up to `waitMs` for a brief holder: LinkOk,
  // LinkAdapterBusy (BusyHolder() says who), LinkNoPermission or LinkDisconnected when the node
  // cannot be opened for it, or LinkAdapterNotReserved (Problem() says why).
  [[nodiscard]] LinkResult Take(const std::string& path, AdapterLock::Kind kind, uint32_t waitMs);
  // The same with the sharing's wait.
  [[nodiscard]] LinkResult Take(const std::string& path, AdapterLock::Kind kind) {
    return Take(path, kind, sharing_.waitMs);
  }
  // The adapter was opened afresh at `path`: a lock held on what that name stood for before
  // (another node, or the same name given to a new node) is let go, to be taken on the new one.
  void Reopened(const std::string& path);
  // An exchange ended, or the adapter was closed: the lock goes unless it is kept.
  void ExchangeEnded();
  void Hold(bool hold);
  // Lets go whatever holds and sharing say (the transport ends).
  void ReleaseAll();

  AdapterHolder BusyHolder() const;
  AdapterLockProblem Problem() const;

 private:
  // Lets go of the lock unless the command keeps it or a hold is on. Never waits: the caller's
  // thread must not stall behind an open of the node that hangs on the transport thread, whose
  // call, abandoned at its deadline, closes the controller and lets go itself once it returns.
  void ReleaseUnlessKept(std::unique_lock<std::mutex>& state);

  // The bookkeeping both threads read; never held across a system call.
  mutable std::mutex stateMutex_;
  AdapterSharing sharing_;
  int holds_ = 0;
  AdapterHolder busy_;          // of the last attempt that found the adapter in use
  AdapterLockProblem problem_;  // of the last attempt that failed
  // The lock itself, held across its system calls (on the transport thread).
  std::mutex lockMutex_;
  std::unique_ptr<AdapterLock> lock_;
};

}  // namespace qvr
