// list: every adapter connected, as a line or a JSON object each.
#include <nlohmann/json.hpp>

#include "cli/adapters.h"
#include "cli/cli_texts.h"
#include "cli/json_objects.h"
#include "cli/run_options.h"
#include "cli/session.h"
#include "i18n/catalogue.h"

namespace qvr::cli {

namespace {

// Stable English keys; a version 0 application is null (not loaded).
nlohmann::json AdapterObject(const Catalogue& catalogue, const Adapter& adapter,
                             const AdapterReport& report) {
  nlohmann::json object = {{"path", adapter.path}, {"simulated", adapter.simulated}};
  if (report.result != LinkOk) {
    object["status"] = report.result == LinkNoPermission ? "no-permission" : "unreachable";
    object["message"] = LinkResultText(catalogue, report.result);
    return object;
  }
  object.update(InfoObject(report.info));
  object["status"] = "ok";
  return object;
}

}  // namespace

int RunList(const Catalogue& catalogue, const std::vector<Adapter>& adapters, std::ostream& out,
            bool json) {
  bool usable = false;
  for (const Adapter& adapter : adapters) {
    const AdapterReport report = IdentifyAdapter(adapter);
    usable = usable || report.result == LinkOk;
    if (json) {
      out << AdapterObject(catalogue, adapter, report).dump() << '\n';
    } else {
      out << AdapterLine(catalogue, adapter, report) << '\n';
    }
  }
  if (usable) return kExitOk;
  // Adapters that cannot be reached are listed with their reason; none at all is said.
  if (adapters.empty() && !json) out << Text(catalogue, CliText::kNoAdapter) << '\n';
  return kExitFailure;
}

}  // namespace qvr::cli
