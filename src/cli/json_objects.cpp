#include "cli/json_objects.h"

#include <string>

#include "cli/command_table.h"
#include "cli/session.h"
#include "devices/backup/json_text.h"

namespace qvr::cli {

namespace {

std::string VersionText(unsigned version) {
  return std::to_string(version / 100) + "." + (version % 100 < 10 ? "0" : "") +
         std::to_string(version % 100);
}

}  // namespace

const char* StatusWord(const Command& command, int exitStatus) {
  if (exitStatus == kExitOk) return "ok";
  if (exitStatus == kExitDeclined) return "declined";
  // diff's 1 is its answer and its 2 its trouble; check's 1 is its answer too.
  if (command.exitsLikeDiff) return exitStatus == kExitFailure ? "different" : "failed";
  return exitStatus == kExitUsage ? "usage" : "failed";
}

nlohmann::json ResultObject(nlohmann::json command, const std::string& adapter,
                            std::optional<uint32_t> serial, const char* status,
                            const std::string& message, const nlohmann::json& fields) {
  nlohmann::json object = {
      {"format", kJsonFormat},
      {"command", std::move(command)},
      {"adapter", adapter.empty() ? nlohmann::json() : nlohmann::json(adapter)},
      {"serial", serial ? nlohmann::json(*serial) : nlohmann::json()},
      {"status", status},
      {"message", message}};
  for (const auto& [key, value] : fields.items()) object[key] = value;
  return object;
}

nlohmann::json InfoObject(const DeviceInfo& info) {
  return {{"name", info.name()},
          {"serial", info.serialNumber()},
          {"boot", VersionText(info.bootVersion())},
          {"application", info.applicationVersion() == 0
                              ? nlohmann::json()
                              : nlohmann::json(VersionText(info.applicationVersion()))}};
}

std::string Dump(const nlohmann::json& object) {
  return JsonText(object);
}

}  // namespace qvr::cli
