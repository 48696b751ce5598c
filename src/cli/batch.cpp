#include "cli/batch.h"

#include <algorithm>
#include <sstream>
#include <thread>

#include "cli/cli_texts.h"
#include "cli/command_table.h"
#include "cli/session.h"
#include "cli/terminal_text.h"
#include "i18n/added_texts.h"
#include "i18n/catalogue.h"

namespace qvr::cli {

namespace {

constexpr const char* kSerialPlaceholder = "{serial}";
constexpr const char* kAdapterPlaceholder = "{adapter}";

struct AdapterRun {
  std::ostringstream out;
  std::ostringstream err;
  int status = kExitFailure;
};

void ReplaceAll(std::string& text, const std::string& what, const std::string& with) {
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
    text.replace(at, what.size(), with);
}

bool HasPlaceholder(const std::string& file) {
  return file.find(kSerialPlaceholder) != std::string::npos ||
         file.find(kAdapterPlaceholder) != std::string::npos;
}

// Every line of `text` with `prefix` before it.
void PrefixLines(std::ostream& to, const std::string& prefix, const std::string& text) {
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) to << prefix << line << '\n';
}

const char* ResultWord(const Catalogue& catalogue, const Command& command, int status) {
  if (command.exitsLikeDiff && status != kExitDiffTrouble)
    return Text(catalogue, status == kExitOk ? AddedText::kBatchSame : AddedText::kBatchDifferent);
  if (status == kExitOk) return Text(catalogue, CliText::kBatchDone);
  if (status == kExitDeclined) return Text(catalogue, CliText::kBatchDeclined);
  return Text(catalogue, CliText::kBatchFailed);
}

int Aggregate(const Command& command, const std::vector<AdapterRun>& runs) {
  auto any = [&runs](auto test) {
    return std::any_of(runs.begin(), runs.end(),
                       [&](const AdapterRun& r) { return test(r.status); });
  };
  if (command.exitsLikeDiff) {
    if (any([](int s) { return s != kExitOk && s != kExitFailure; })) return kExitDiffTrouble;
    return any([](int s) { return s == kExitFailure; }) ? kExitFailure : kExitOk;
  }
  if (any([](int s) { return s != kExitOk && s != kExitDeclined; })) return kExitFailure;
  return any([](int s) { return s == kExitDeclined; }) ? kExitDeclined : kExitOk;
}

}  // namespace

std::string FileForAdapter(const std::string& file, const Adapter& adapter, uint32_t serial) {
  if (!HasPlaceholder(file)) return file;
  std::string name = adapter.path.substr(adapter.path.find_last_of("/\\") + 1);
  std::replace(name.begin(), name.end(), ':', '-');
  std::string result = file;
  ReplaceAll(result, kSerialPlaceholder, std::to_string(serial));
  ReplaceAll(result, kAdapterPlaceholder, name);
  return result;
}

std::string BatchRefusal(const RunOptions& options, const Catalogue& catalogue, size_t count) {
  if (count < 2) return {};
  if (options.file == "-" && !options.command->fileIsOutput)
    return Text(catalogue, AddedText::kBatchNoStdin);
  if (options.command->fileIsOutput && !HasPlaceholder(options.file))
    return catalogue.FormatText(Text(catalogue, AddedText::kBatchNeedsPlaceholder),
                                options.file.c_str());
  return {};
}

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
        RunOptions own = options;
        const AdapterReport report =
            HasPlaceholder(options.file) ? IdentifyAdapter(adapters[i]) : AdapterReport{};
        own.file = FileForAdapter(options.file, adapters[i], report.info.serialNumber());
        runs[i].status =
            RunOnAdapter(own, catalogue, &adapters[i], runs[i].out, runs[i].err, terminal, signals);
      });
    }
  }
  for (size_t i = 0; i < adapters.size(); ++i) {
    const AdapterRun& run = runs[i];
    const std::string prefix = TerminalSafe(adapters[i].path) + ": ";
    PrefixLines(err, prefix, run.err.str());
    // JSON objects name their adapter themselves.
    if (options.json) {
      out << run.out.str();
      continue;
    }
    PrefixLines(out, prefix, run.out.str());
    out << prefix << ResultWord(catalogue, *options.command, run.status) << '\n';
  }
  return Aggregate(*options.command, runs);
}

}  // namespace qvr::cli
