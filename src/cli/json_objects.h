#pragma once
// The JSON objects qvrctl prints with --json: one object per adapter for every command,
// success or failure, with stable English keys whatever the language:
//   {"format":1, "command":"write", "adapter":"sim:1", "serial":20230417,
//    "status":"ok", "message":"...", ...the command's own fields}
// `status` is one of kJsonStatuses; `adapter` and `serial` are null when no adapter was used.
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "cli/run_options.h"
#include "link/device_info.h"

namespace qvr::cli {

inline constexpr int kJsonFormat = 1;
// ok: done (diff: the same); different: diff found a difference; declined: a question was
// answered No, nothing was changed; failed: the command could not do its work; usage: the
// command line was wrong.
inline constexpr const char* kJsonStatuses[] = {"ok", "different", "declined", "failed", "usage"};

// The status word of an exit status of `command`.
const char* StatusWord(const Command& command, int exitStatus);

// The common part of every object; `fields` (the command's own) follow it.
nlohmann::json ResultObject(nlohmann::json command, const std::string& adapter,
                            std::optional<uint32_t> serial, const char* status,
                            const std::string& message,
                            const nlohmann::json& fields = nlohmann::json::object());

// name, serial, boot and application ("1.12"; null when no application is loaded).
nlohmann::json InfoObject(const DeviceInfo& info);

// One line of JSON; bytes that are not UTF-8 (names from a device) are replaced, never thrown.
std::string Dump(const nlohmann::json& object);

}  // namespace qvr::cli
