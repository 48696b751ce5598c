#pragma once
// Result of every link and device operation: 0 success, 1..6 local failures, -254..-251
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
inline constexpr LinkResult DeviceParameterError = -254;
inline constexpr LinkResult DeviceResultError = -253;
inline constexpr LinkResult DeviceMemoryError = -252;
inline constexpr LinkResult DeviceUpdateFileError = -251;

// The catalogue text of a result in the catalogue's current language; unknown codes give
// "Unknown error USB: %d" formatted with the code.
std::string LinkResultText(const Catalogue& catalogue, LinkResult result);
// Message `messageId` formatted with the device's name and the result's text, the form of
// every "Error ... device "%s"\n%s" box.
std::string DeviceFailureText(const Catalogue& catalogue, MessageId messageId,
                              const char* deviceName, LinkResult result);

}  // namespace qvr
