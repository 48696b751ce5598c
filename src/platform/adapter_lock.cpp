// The adapter lock's waiting and bookkeeping, the same on both platforms; taking, letting go and
// naming the holder are the platform file's.
#include "platform/adapter_lock.h"

#include <chrono>
#include <thread>

namespace qvr {

namespace {
constexpr auto kRetryInterval = std::chrono::milliseconds(2);
}  // namespace

bool AdapterLock::Acquire(uint32_t waitMs) {
  std::lock_guard guard(mutex_);
  if (held_) return true;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  while (!(held_ = TryOnce())) {
    if (std::chrono::steady_clock::now() >= deadline) {
      holder_ = ReadHolder();
      return false;
    }
    std::this_thread::sleep_for(kRetryInterval);
  }
  return true;
}

void AdapterLock::Release() {
  std::lock_guard guard(mutex_);
  if (!held_) return;
  held_ = false;
  Unlock();
}

bool AdapterLock::held() const {
  std::lock_guard guard(mutex_);
  return held_;
}

AdapterHolder AdapterLock::holder() const {
  std::lock_guard guard(mutex_);
  return holder_;
}

}  // namespace qvr
