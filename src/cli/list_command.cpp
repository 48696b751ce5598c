// list: every adapter connected, as a line or a JSON object each.
#include <nlohmann/json.hpp>

#include "cli/adapters.h"
#include "cli/cli_texts.h"
#include "cli/command_table.h"
#include "cli/json_objects.h"
#include "cli/run_options.h"
#include "cli/session.h"
#include "cli/terminal_text.h"
#include "devices/backup/json_text.h"
#include "i18n/catalogue.h"

namespace qvr::cli {

namespace {

nlohmann::json AdapterObject(const Command& list, const Catalogue& catalogue,
                             const Adapter& adapter, const AdapterReport& report) {
  const nlohmann::json fields = {{"simulated", adapter.simulated}};
  if (report.result != LinkOk) {
    nlohmann::json object = ResultObject(list.jsonName(), adapter.path, std::nullopt, "failed",
                                         LinkResultText(catalogue, report.result), fields);
    object["reason"] = report.result == LinkNoPermission ? "no-permission" : "unreachable";
    return object;
  }
  nlohmann::json object = ResultObject(list.jsonName(), adapter.path, report.info.serialNumber(),
                                       "ok", AdapterLine(catalogue, adapter, report), fields);
  object["identity"] = InfoObject(report.info);
  return object;
}

}  // namespace

int RunList(const RunOptions& options, const Catalogue& catalogue, std::ostream& out,
            std::ostream&) {
  const std::vector<Adapter> adapters = FindAdapters(SourceOf(options));
  const bool json = options.json;
  bool usable = false;
  for (const Adapter& adapter : adapters) {
    const AdapterReport report = IdentifyAdapter(adapter);
    usable = usable || report.result == LinkOk;
    if (json) {
      out << Dump(AdapterObject(*options.command, catalogue, adapter, report)) << '\n';
    } else {
      out << TerminalSafe(AdapterLine(catalogue, adapter, report)) << '\n';
    }
  }
  if (usable) return kExitOk;
  // Adapters that cannot be reached are listed with their reason; none at all is said.
  if (adapters.empty()) {
    const std::string none = Text(catalogue, CliText::kNoAdapter);
    if (json) {
      out << Dump(ResultObject(options.command->jsonName(), {}, std::nullopt, "failed", none))
          << '\n';
    } else {
      out << none << '\n';
    }
  }
  return kExitFailure;
}

}  // namespace qvr::cli
