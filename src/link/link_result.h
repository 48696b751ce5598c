#pragma once
// Result of every link and device operation: 0 success, 1..8 local outcomes, -254..-251
// device status replies. Never thrown; passed up until the first layer that talks to the user.
#include <cstdint>
#include <string>

#include "i18n/message_id.h"

namespace qvr {

class Catalogue;

using LinkResult = int32_t;

inline constexpr LinkResult LinkOk = 0;
inline constexpr LinkResult LinkDriverNotLoaded = 1;
inline constexpr LinkResult LinkDriverFunctionMissing = 2;
inline constexpr LinkResult LinkExchangeFailed = 3;
inline constexpr LinkResult LinkDisconnected = 4;
inline constexpr LinkResult LinkTimeout = 5;
// The controller is present but its device node may not be opened (no udev rule yet).
inline constexpr LinkResult LinkNoPermission = 6;
// Another of our programs is using the adapter (each program takes it for its exchanges).
inline constexpr LinkResult LinkAdapterBusy = 7;
// The operation stopped before sending anything (a backup before a change failed, say) and has
// told the user why: no failure box follows.
inline constexpr LinkResult LinkStoppedAndShown = 8;
inline constexpr LinkResult DeviceParameterError = -254;
inline constexpr LinkResult DeviceResultError = -253;
inline constexpr LinkResult DeviceMemoryError = -252;
inline constexpr LinkResult DeviceUpdateFileError = -251;

// Where a memory transfer stopped: its failed request (counted from 1) of all it was to make,
// and the device offset that request addressed. Block 0: no place is known.
struct TransferPlace {
  int block = 0;
  int blocks = 0;
  uint32_t offset = 0;
};

// The result of a transfer: its LinkResult code and, when a memory transfer failed, the place
// where it stopped. Made from a bare code where there is no place, and compared with codes.
class TransferResult {
 public:
  // Implicit, so that a function returning a code returns a result without a place.
  constexpr TransferResult(LinkResult code = LinkOk) : code_(code) {}
  constexpr TransferResult(LinkResult code, TransferPlace place) : code_(code), place_(place) {}

  constexpr LinkResult code() const { return code_; }
  constexpr bool ok() const { return code_ == LinkOk; }
  constexpr bool hasPlace() const { return place_.block > 0; }
  constexpr const TransferPlace& place() const { return place_; }

  friend constexpr bool operator==(const TransferResult& result, LinkResult code) {
    return result.code_ == code;
  }

 private:
  LinkResult code_;
  TransferPlace place_;
};

// The catalogue text of a result in the catalogue's current language; unknown codes give
// "Unknown error USB: %d" formatted with the code.
std::string LinkResultText(const Catalogue& catalogue, LinkResult result);
// Message `messageId` formatted with the device's name and the result's text, the form of
// every "Error ... device "%s"\n%s" box.
std::string DeviceFailureText(const Catalogue& catalogue, MessageId messageId,
                              const char* deviceName, LinkResult result);
// "failed at block 12 of 96 (offset 0x0180)" for a result with a place; empty otherwise.
std::string TransferPlaceText(const Catalogue& catalogue, const TransferResult& result);
// `text` with the result's place on a line of its own after it, when it has one.
std::string WithTransferPlace(const Catalogue& catalogue, const std::string& text,
                              const TransferResult& result);

}  // namespace qvr
