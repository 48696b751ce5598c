#pragma once
// The JSON objects qvrctl prints with --json: stable English keys, whatever the language.
#include <nlohmann/json.hpp>

#include "link/device_info.h"

namespace qvr::cli {

// name, serial, boot and application ("1.12"; null when no application is loaded).
nlohmann::json InfoObject(const DeviceInfo& info);

}  // namespace qvr::cli
