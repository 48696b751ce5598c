#pragma once
// Result of every link and device operation: 0 success, 1..9 local outcomes, -254..-251
// device status replies. Never thrown; passed up until the first layer that talks to the user.
#include <cstdint>
#include <string>

#include "i18n/message_id.h"
#include "platform/adapter_lock.h"

namespace qvr {

class Catalogue;

// Typed, so that a code is never mistaken for a count or a 0/1 check; the values are the
// protocol's (device status replies are negative).
enum class LinkResult : int32_t {
  LinkOk = 0,
  LinkDriverNotLoaded = 1,
  LinkDriverFunctionMissing = 2,
  LinkExchangeFailed = 3,
  LinkDisconnected = 4,
  LinkTimeout = 5,
  // The controller is present but its device node may not be opened (no udev rule yet).
  LinkNoPermission = 6,
  // Another of our programs is using the adapter (each program takes it for its exchanges).
  LinkAdapterBusy = 7,
  // The operation stopped before sending anything (a backup before a change failed, say) and
  // has told the user why: no failure box follows.
  LinkStoppedAndShown = 8,
  // The adapter lock could not be taken for another reason than another program holding it
  // (the transport's LockProblem() says which): nothing is sent unlocked.
  LinkAdapterNotReserved = 9,
  DeviceParameterError = -254,
  DeviceResultError = -253,
  DeviceMemoryError = -252,
  DeviceUpdateFileError = -251,
};
using enum LinkResult;

// Whether `result` is a local outcome (the controller was reached or not) rather than a status
// the device replied with.
constexpr bool IsLocalResult(LinkResult result) {
  return int32_t(result) > 0;
}

// Where a memory transfer stopped: the memory area (the request's command), its failed request
// (counted from 1) of all it was to make, and the device offset that request addressed.
// Block 0: no place is known.
struct TransferPlace {
  int block = 0;
  int blocks = 0;
  uint32_t offset = 0;
  uint8_t area = 0;
};

// The failure type of the link and device layers, carried up to the first layer that talks to
// the user: its LinkResult code and, when a memory transfer failed, the place where it stopped.
// Made from a bare code where there is no place, and compared with codes.
class [[nodiscard]] TransferResult {
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
// Who holds the adapter, as far as the system tells: "qvrctl (4242)", "process 4242" or
// "another program" (the name made safe by whoever prints it).
std::string AdapterHolderText(const Catalogue& catalogue, const AdapterHolder& holder);
// The adapter is in use: the sentence naming who holds it, as far as the system tells.
std::string AdapterBusyText(const Catalogue& catalogue, const AdapterHolder& holder);
// Why the adapter lock could not be taken ("Reason: ..."); empty when no reason is recorded.
std::string AdapterLockProblemText(const Catalogue& catalogue, const AdapterLockProblem& problem);
// Message `messageId` formatted with the device's name and the result's text, the form of
// every "Error ... device "%s"\n%s" box, with the place where a transfer stopped on a line of
// its own when the result has one.
std::string DeviceFailureText(const Catalogue& catalogue, MessageId messageId,
                              const char* deviceName, const TransferResult& result);
// "failed at block 12 of 96 (offset 0x0180)" for a result with a place; empty otherwise.
std::string TransferPlaceText(const Catalogue& catalogue, const TransferResult& result);
// `text` with the result's place on a line of its own after it, when it has one.
std::string WithTransferPlace(const Catalogue& catalogue, const std::string& text,
                              const TransferResult& result);

}  // namespace qvr
