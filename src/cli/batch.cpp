#include "cli/batch.h"

#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "cli/cli_texts.h"
#include "cli/json_text.h"
#include "cli/session.h"
#include "i18n/catalogue.h"

namespace qvr::cli {

namespace {

struct AdapterRun {
  std::ostringstream out;
  std::ostringstream err;
  int status = kExitFailure;
};

// The last non-empty line of a text, without any JSON the run printed.
std::string LastLine(const std::string& text) {
  std::istringstream lines(text);
  std::string line, last;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.front() != '{') last = line;
  }
  return last;
}

const char* ResultWord(const Catalogue& catalogue, int status) {
  if (status == kExitOk) return Text(catalogue, CliText::kBatchDone);
  if (status == kExitDeclined) return Text(catalogue, CliText::kBatchDeclined);
  return Text(catalogue, CliText::kBatchFailed);
}

}  // namespace

int RunBatch(const RunOptions& options, const Catalogue& catalogue,
             const std::vector<Adapter>& adapters, std::ostream& out, std::ostream& err,
             TransferSignals& signals) {
  std::vector<AdapterRun> runs(adapters.size());
  {
    std::vector<std::jthread> threads;
    for (size_t i = 0; i < adapters.size(); ++i) {
      threads.emplace_back([&, i] {
        // Nobody can answer a question on several adapters at once: only --yes does.
        std::istringstream noInput;
        const Terminal terminal{&noInput, false, false};
        runs[i].status = RunOnAdapter(options, catalogue, &adapters[i], runs[i].out, runs[i].err,
                                      terminal, signals);
      });
    }
  }
  bool failed = false, declined = false;
  for (size_t i = 0; i < adapters.size(); ++i) {
    const AdapterRun& run = runs[i];
    failed = failed || (run.status != kExitOk && run.status != kExitDeclined);
    declined = declined || run.status == kExitDeclined;
    const std::string said = LastLine(run.status == kExitOk ? run.out.str() : run.err.str());
    if (options.packetLog) err << run.err.str();
    if (options.json) {
      out << JsonText({{"adapter", adapters[i].path},
                       {"exit", run.status},
                       {"status", run.status == kExitOk         ? "done"
                                  : run.status == kExitDeclined ? "declined"
                                                                : "failed"},
                       {"message", said}})
          << '\n';
      continue;
    }
    out << adapters[i].path << ": " << ResultWord(catalogue, run.status);
    if (!said.empty()) out << ": " << said;
    out << '\n';
  }
  if (failed) return kExitFailure;
  return declined ? kExitDeclined : kExitOk;
}

}  // namespace qvr::cli
