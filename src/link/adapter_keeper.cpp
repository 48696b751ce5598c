#include "link/adapter_keeper.h"

#include <chrono>
#include <thread>

namespace qvr {

namespace {

constexpr auto kRetryInterval = std::chrono::milliseconds(2);

// What a failed attempt means for the report: a node this user may not open is the permission
// failure hidapi's own open gives, a node that is gone the adapter pulled; anything else stops
// the report with its reason, never lets it go out unlocked.
LinkResult ResultOf(const AdapterLockProblem& problem) {
  if (problem.deviceNode && problem.failure == AdapterLockFailure::kNoAccess)
    return LinkNoPermission;
  if (problem.failure == AdapterLockFailure::kGone) return LinkDisconnected;
  return LinkAdapterNotReserved;
}

}  // namespace

LinkResult AdapterKeeper::Take(const std::string& path, AdapterLock::Kind kind, uint32_t waitMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  for (;;) {
    AdapterLockAttempt attempt;
    {
      std::lock_guard guard(lockMutex_);
      if (lock_ && (lock_->path() != path || lock_->kind() != kind)) lock_.reset();
      if (!lock_) lock_ = std::make_unique<AdapterLock>(path, kind);
      attempt = lock_->TryTake();
    }
    std::lock_guard state(stateMutex_);
    busy_ = attempt.holder;
    problem_ = attempt.problem;
    switch (attempt.outcome) {
      case AdapterLockAttempt::Outcome::kTaken:
        return LinkOk;
      case AdapterLockAttempt::Outcome::kFailed:
        return ResultOf(problem_);
      case AdapterLockAttempt::Outcome::kInUse:
        break;
    }
    if (std::chrono::steady_clock::now() >= deadline) return LinkAdapterBusy;
    std::this_thread::sleep_for(kRetryInterval);
  }
}

void AdapterKeeper::Reopened(const std::string& path) {
  std::lock_guard guard(lockMutex_);
  if (!lock_) return;
  if (lock_->path() != path || (lock_->held() && !lock_->StillAtPath())) lock_.reset();
}

void AdapterKeeper::ExchangeEnded() {
  std::unique_lock state(stateMutex_);
  ReleaseUnlessKept(state);
}

void AdapterKeeper::Hold(bool hold) {
  std::unique_lock state(stateMutex_);
  holds_ += hold ? 1 : -1;
  ReleaseUnlessKept(state);
}

void AdapterKeeper::ReleaseAll() {
  std::lock_guard guard(lockMutex_);
  lock_.reset();
}

AdapterHolder AdapterKeeper::BusyHolder() const {
  std::lock_guard state(stateMutex_);
  return busy_;
}

AdapterLockProblem AdapterKeeper::Problem() const {
  std::lock_guard state(stateMutex_);
  return problem_;
}

void AdapterKeeper::ReleaseUnlessKept(std::unique_lock<std::mutex>& state) {
  if (sharing_.holdWhileOpen || holds_ != 0) return;
  state.unlock();
  std::unique_lock guard(lockMutex_, std::try_to_lock);
  if (guard.owns_lock() && lock_) lock_->Release();
}

}  // namespace qvr
