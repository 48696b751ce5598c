#pragma once
// `qvrctl completion SHELL`: the completion script of a shell, written from the command table,
// so that every command, option and device name the command line takes is completed.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "devices/drivers/device_drivers.h"

namespace qvr::cli {

// The shells a script is written for: "bash", "zsh", "fish".
std::vector<std::string> CompletionShells();

// The completion script of qvrctl for `shell`, one of CompletionShells(); "" for any other. The
// devices offered are those of `drivers`.
std::string CompletionScript(std::string_view shell,
                             std::span<const DeviceDriver> drivers = DeviceDrivers());

}  // namespace qvr::cli
