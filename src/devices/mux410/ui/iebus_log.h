#pragma once
// One IEBus log entry of the MUX-410 (command 16, 43 bytes) as a monitoring line.
#include <cstdint>
#include <string>

namespace qvr::mux410 {

inline constexpr unsigned kIebusEntrySize = 43;
inline constexpr unsigned kIebusMaxData = 34;

// " 1.234: N 100->1F0 ( 3) 01 02 3A": time stamp in seconds, broadcast "B" or "N", sender and
// receiver, data count, then at most 34 data bytes.
std::string FormatIebusLine(const uint8_t (&entry)[kIebusEntrySize]);

}  // namespace qvr::mux410
