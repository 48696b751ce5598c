#pragma once
// Telling a configuration file of one device kind from another's: the kinds' files share some
// keys (NAVI, MODE, the events), so a file is another kind's when it holds keys only that kind's
// files have and none that only this kind's have.
#include <string>

#include "link/device_module.h"

namespace qvr {

// The device kind the file at `path` is written for when that is not `module`'s; null when it
// may be `module`'s own (or is no readable configuration at all).
const DeviceModule* OtherDevicesFile(const std::string& path, const DeviceModule& module);

}  // namespace qvr
