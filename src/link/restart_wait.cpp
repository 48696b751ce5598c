#include "link/restart_wait.h"

namespace qvr {

namespace {

// Between two attempts: a unit that is not there (a controller off the bus) fails at once, and
// asking it again without a pause would only keep the processor busy.
constexpr uint32_t kAttemptPauseMs = 200;
constexpr uint32_t kPumpStepMs = 10;

void PauseBetweenAttempts(Clock& clock, Host& host) {
  const uint32_t start = clock.NowMs();
  while (uint32_t(clock.NowMs() - start) < kAttemptPauseMs) {
    host.PumpMessages();
    clock.SleepMs(kPumpStepMs);
  }
}

}  // namespace

LinkResult AwaitIdentification(Link& link, Host& host, uint8_t address, uint32_t waitMs,
                               DeviceInfo& info) {
  Clock& clock = link.clock();
  const uint32_t start = clock.NowMs();
  for (;;) {
    const LinkResult result = ReadInfoBlock(link, address, info);
    if (result == LinkOk || uint32_t(clock.NowMs() - start) >= waitMs) return result;
    // The unit came back on a node another program took first, or whose lock cannot be had:
    // the command stops there, never goes on unlocked.
    if (result == LinkAdapterBusy || result == LinkAdapterNotReserved) return result;
    PauseBetweenAttempts(clock, host);
  }
}

}  // namespace qvr
