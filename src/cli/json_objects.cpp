#include "cli/json_objects.h"

#include <string>

#include "cli/json_text.h"
#include "cli/session.h"

namespace qvr::cli {

namespace {

std::string VersionText(unsigned version) {
  return std::to_string(version / 100) + "." + (version % 100 < 10 ? "0" : "") +
         std::to_string(version % 100);
}

}  // namespace

nlohmann::json CommandName(Command command) {
  switch (command) {
    case Command::kList:
      return "list";
    case Command::kInfo:
      return "info";
    case Command::kReset:
      return "reset";
    case Command::kDefault:
      return "default";
    case Command::kRead:
      return "read";
    case Command::kWrite:
      return "write";
    case Command::kDiff:
      return "diff";
    case Command::kUpdate:
      return "update";
    case Command::kBackups:
      return "backups";
    case Command::kRestore:
      return "restore";
    case Command::kHistory:
      return "history";
    case Command::kCheck:
      return "check";
  }
  return nullptr;
}

const char* StatusWord(Command command, int exitStatus) {
  if (exitStatus == kExitOk) return "ok";
  if (exitStatus == kExitDeclined) return "declined";
  // diff's 1 is its answer and its 2 its trouble; check's 1 is its answer too.
  if (command == Command::kDiff || command == Command::kCheck)
    return exitStatus == kExitFailure ? "different" : "failed";
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
