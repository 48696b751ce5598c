#include "link/clock.h"

#include <chrono>

namespace qvr {

uint32_t SteadyClock::NowMs() {
  using namespace std::chrono;
  return uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace qvr
