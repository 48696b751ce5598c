#pragma once
// Waiting for a unit that restarts (after a configuration write's reset, or once an update's
// last block is in): its identification is asked again until it answers or the wait is over.
#include <cstdint>

#include "link/device_info.h"
#include "link/host.h"
#include "link/link.h"

namespace qvr {

// How long a unit may take to answer again after its reset: a configuration write's restart.
inline constexpr uint32_t kRestartAnswerWaitMs = 3000;
// After an update the new firmware starts first (and the controller comes back on the bus).
inline constexpr uint32_t kUpdateAnswerWaitMs = 10000;

// Reads `address`'s identification (as ReadInfoBlock, showing nothing) until it answers or
// `waitMs` of the link's clock have passed since the call, pumping the host between attempts.
// LinkOk with `info` filled, or the last attempt's failure; an adapter that another program
// took meanwhile (LinkAdapterBusy), or whose lock cannot be had (LinkAdapterNotReserved), ends
// the wait at once.
[[nodiscard]] LinkResult AwaitIdentification(Link& link, Host& host, uint8_t address,
                                             uint32_t waitMs, DeviceInfo& info);

}  // namespace qvr
