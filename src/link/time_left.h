#pragma once
// How long a transfer still has to go, from the rate so far: the window's status text and
// qvrctl's progress bar tell the same.
#include <cstdint>
#include <optional>

namespace qvr {

// Seconds left when `done` of `total` took `elapsedMs`; none before a few percent are done
// (the rate says too little then) and none once the transfer is complete.
std::optional<unsigned> SecondsLeft(uint32_t elapsedMs, int64_t done, int64_t total);

}  // namespace qvr
