#pragma once
// Millisecond tick source. Time-outs, waits and the packet log's time base read it, so tests
// inject a clock they advance themselves instead of sleeping.
#include <cstdint>

namespace qvr {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary start; wraps at 2^32 like a tick counter, so callers
  // subtract in unsigned 32-bit arithmetic.
  virtual uint32_t NowMs() = 0;
  // Lets about `ms` milliseconds pass without using the processor; a test clock advances
  // itself instead (the default does nothing, for clocks that only tell the time).
  virtual void SleepMs(uint32_t ms) { (void)ms; }
};

// The real monotonic clock.
class SteadyClock final : public Clock {
 public:
  uint32_t NowMs() override;
  void SleepMs(uint32_t ms) override;
};

}  // namespace qvr
