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
  if (report.result == LinkAdapterBusy) {
    // Present, and another program's for now: who has it, as far as the system tells.
    const AdapterHolder& holder = report.holder;
    const std::string inUse = catalogue.FormatText(Text(catalogue, CliText::kAdapterInUse),
                                                   AdapterHolderText(catalogue, holder).c_str());
    nlohmann::json object =
        ResultObject(list.jsonName(), adapter.path, std::nullopt, "failed", inUse, fields);
    object["reason"] = "in-use";
    object["holder"] = {
        {"program", holder.program.empty() ? nlohmann::json() : nlohmann::json(holder.program)},
        {"pid", holder.processId == 0 ? nlohmann::json() : nlohmann::json(holder.processId)}};
    return object;
  }
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
    // An adapter another program uses is there, and usable once it lets go.
    usable = usable || report.result == LinkOk || report.result == LinkAdapterBusy;
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
