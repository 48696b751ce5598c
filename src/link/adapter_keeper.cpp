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
  std::unique_lock guard(mutex_);
  for (;;) {
    if (lock_ && (lock_->path() != path || lock_->kind() != kind)) lock_.reset();
    if (!lock_) lock_ = std::make_unique<AdapterLock>(path, kind);
    AdapterLockAttempt attempt = lock_->TryTake();
    switch (attempt.outcome) {
      case AdapterLockAttempt::Outcome::kTaken:
        busy_ = {};
        problem_ = {};
        return LinkOk;
      case AdapterLockAttempt::Outcome::kFailed:
        busy_ = {};
        problem_ = attempt.problem;
        return ResultOf(problem_);
      case AdapterLockAttempt::Outcome::kInUse:
        break;
    }
    busy_ = attempt.holder;
    problem_ = {};
    if (std::chrono::steady_clock::now() >= deadline) return LinkAdapterBusy;
    // The caller's thread may end an exchange or ask who holds the adapter meanwhile.
    guard.unlock();
    std::this_thread::sleep_for(kRetryInterval);
    guard.lock();
  }
}

void AdapterKeeper::Reopened(const std::string& path) {
  std::lock_guard guard(mutex_);
  if (!lock_) return;
  if (lock_->path() != path || (lock_->held() && !lock_->StillAtPath())) lock_.reset();
}

void AdapterKeeper::ExchangeEnded() {
  std::lock_guard guard(mutex_);
  ReleaseUnlessKept();
}

void AdapterKeeper::Hold(bool hold) {
  std::lock_guard guard(mutex_);
  holds_ += hold ? 1 : -1;
  ReleaseUnlessKept();
}

void AdapterKeeper::ReleaseAll() {
  std::lock_guard guard(mutex_);
  lock_.reset();
}

AdapterHolder AdapterKeeper::BusyHolder() const {
  std::lock_guard guard(mutex_);
  return busy_;
}

AdapterLockProblem AdapterKeeper::Problem() const {
  std::lock_guard guard(mutex_);
  return problem_;
}

void AdapterKeeper::ReleaseUnlessKept() {
  if (lock_ && !sharing_.holdWhileOpen && holds_ == 0) lock_->Release();
}

}  // namespace qvr
