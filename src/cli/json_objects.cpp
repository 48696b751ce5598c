#include "cli/json_objects.h"

#include <string>

namespace qvr::cli {

namespace {

std::string VersionText(unsigned version) {
  return std::to_string(version / 100) + "." + (version % 100 < 10 ? "0" : "") +
         std::to_string(version % 100);
}

}  // namespace

nlohmann::json InfoObject(const DeviceInfo& info) {
  return {{"name", info.name()},
          {"serial", info.serialNumber()},
          {"boot", VersionText(info.bootVersion())},
          {"application", info.applicationVersion() == 0
                              ? nlohmann::json()
                              : nlohmann::json(VersionText(info.applicationVersion()))}};
}

}  // namespace qvr::cli
