#include "link/time_left.h"

namespace qvr {

namespace {

constexpr int64_t kFromPercent = 3;

}  // namespace

std::optional<unsigned> SecondsLeft(uint32_t elapsedMs, int64_t done, int64_t total) {
  if (done <= 0 || done >= total || done * 100 < total * kFromPercent) return std::nullopt;
  const double elapsed = double(elapsedMs) / 1000.0;
  return unsigned(elapsed * double(total - done) / double(done) + 0.5);
}

}  // namespace qvr
