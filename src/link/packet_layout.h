#pragma once
// Field positions of the 72-byte controller packet, shared by the link and the simulated
// controller that answers it.
#include <cstdint>

#include "link/link_result.h"

namespace qvr {

inline constexpr int kPacketDestination = 0;
inline constexpr int kPacketSource = 1;
inline constexpr int kPacketCommand = 2;
inline constexpr int kPacketOffset = 3;  // 16-bit little-endian
inline constexpr int kPacketLength = 5;
inline constexpr int kPacketPayload = 6;
inline constexpr int kPacketChecksum = 71;
inline constexpr unsigned kMaxPayload = 65;

inline constexpr uint8_t kWriteFlag = 0x80;
inline constexpr uint8_t kStatusOk = 0xFF;
inline constexpr uint8_t kStatusParameterError = 0xFE;
inline constexpr uint8_t kStatusResultError = 0xFD;
inline constexpr uint8_t kStatusMemoryError = 0xFC;
inline constexpr uint8_t kStatusUpdateFileError = 0xFB;

// True when a reply's command byte is a status (0xFB..0xFF); `result` is then its LinkResult.
inline bool IsStatusReply(uint8_t command, LinkResult& result) {
  switch (command) {
    case kStatusOk:
      result = LinkOk;
      return true;
    case kStatusParameterError:
      result = DeviceParameterError;
      return true;
    case kStatusResultError:
      result = DeviceResultError;
      return true;
    case kStatusMemoryError:
      result = DeviceMemoryError;
      return true;
    case kStatusUpdateFileError:
      result = DeviceUpdateFileError;
      return true;
    default:
      return false;
  }
}

}  // namespace qvr
