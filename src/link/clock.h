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
};

// The real monotonic clock.
class SteadyClock final : public Clock {
 public:
  uint32_t NowMs() override;
};

}  // namespace qvr
