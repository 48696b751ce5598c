// history: the changes made to units, read and written out a change at a time, so that a
// history of any length takes the same memory.
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

#include "cli/cli_texts.h"
#include "cli/command_table.h"
#include "cli/json_objects.h"
#include "cli/run_options.h"
#include "cli/session.h"
#include "cli/terminal_text.h"
#include "devices/backup/backup_store.h"
#include "devices/backup/history_reader.h"
#include "i18n/added_texts.h"
#include "i18n/save_failure_text.h"

namespace qvr::cli {

namespace {

struct Word {
  const char* recorded;
  AddedText shown;
};

constexpr Word kCommandWords[] = {{"write", AddedText::kHistoryWrite},
                                  {"default", AddedText::kHistoryDefault},
                                  {"restore", AddedText::kHistoryRestore},
                                  {"update", AddedText::kHistoryUpdate},
                                  {"reset", AddedText::kHistoryReset}};
constexpr Word kResultWords[] = {{kResultOk, AddedText::kHistoryOk},
                                 {kResultFailed, AddedText::kHistoryFailed},
                                 {kResultCut, AddedText::kHistoryCut},
                                 {kResultNotConfirmed, AddedText::kHistoryNotConfirmed},
                                 {"", AddedText::kHistoryNoResult}};

// A recorded word in the catalogue's language; one of a later version as it stands.
template <size_t N>
std::string Shown(const Catalogue& catalogue, const Word (&words)[N], const std::string& word) {
  for (const Word& known : words)
    if (word == known.recorded) return Text(catalogue, known.shown);
  return word;
}

std::string SerialText(const std::optional<uint32_t>& value) {
  return value ? std::to_string(*value) : std::string("?");
}

std::string LineOf(const Catalogue& catalogue, const HistoryEntry& e) {
  std::string line = catalogue.FormatText(
      Text(catalogue, AddedText::kHistoryLine), e.time.c_str(),
      Shown(catalogue, kCommandWords, e.command).c_str(), e.device.c_str(),
      SerialText(e.unitSerial).c_str(), SerialText(e.adapterSerial).c_str(), e.program.c_str(),
      Shown(catalogue, kResultWords, e.result).c_str(), e.file.c_str(), e.sha256.c_str());
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line + '\n';
}

// The local date the UTC time "2026-12-07T10:30:00Z" falls on, "2026-12-07".
std::string LocalDateOf(const std::string& time) {
  std::string compact;
  for (const char c : time)
    if (c != '-' && c != ':') compact += c;
  return LocalTimeOfName(compact).substr(0, 10);
}

bool Wanted(const RunOptions& options, const HistoryEntry& entry) {
  if (options.historyUnit >= 0 &&
      (!entry.unitSerial || static_cast<long long>(*entry.unitSerial) != options.historyUnit))
    return false;
  return options.historySince.empty() || LocalDateOf(entry.time) >= options.historySince;
}

// The JSON object's parts around its list, which is written as it is read: what comes before
// the list, and (without its opening brace) what follows it once the count is known.
std::string JsonHead(const std::string& file, const std::string& folder) {
  const nlohmann::json head = {{"format", kJsonFormat}, {"command", "history"},
                               {"adapter", nullptr},    {"serial", nullptr},
                               {"history_file", file},  {"history_folder", folder}};
  std::string text = Dump(head);
  text.pop_back();
  return text + ",\"history\":[";
}

std::string JsonTail(const RunOptions& options, const std::string& message, size_t skipped,
                     int status) {
  const nlohmann::json tail = {{"skipped_lines", skipped},
                               {"status", StatusWord(*options.command, status)},
                               {"message", message}};
  return "]," + Dump(tail).substr(1) + "\n";
}

void SayWhatWasNotRead(const Catalogue& catalogue, const HistoryReading& reading,
                       std::ostream& err) {
  for (const auto& [file, why] : reading.unreadable)
    err << TerminalSafe(catalogue.FormatText(Text(catalogue, AddedText::kHistoryUnreadable),
                                             file.c_str(), SaveFailureText(catalogue, why).c_str()))
        << '\n';
  if (reading.skippedLines > 0)
    err << catalogue.FormatText(Text(catalogue, AddedText::kHistorySkippedLines),
                                static_cast<unsigned long>(reading.skippedLines))
        << '\n';
}

std::string NothingListedText(const RunOptions& options, const Catalogue& catalogue,
                              const HistoryLocation& history) {
  const bool filtered = options.historyUnit >= 0 || !options.historySince.empty();
  return filtered ? catalogue.FormatText(Text(catalogue, AddedText::kHistoryNoneMatches),
                                         history.folder.c_str())
                  : catalogue.FormatText(Text(catalogue, AddedText::kHistoryEmpty),
                                         history.machineFile().c_str());
}

}  // namespace

int RunHistory(const RunOptions& options, const Catalogue& catalogue, std::ostream& out,
               std::ostream& err) {
  const HistoryLocation history = HistoryLocationIn(options.dataFolder);
  if (options.json) out << JsonHead(history.machineFile(), history.folder);
  size_t listed = 0;
  const HistoryReading reading = ForEachChange(history, [&](const HistoryEntry& entry) {
    if (!Wanted(options, entry)) return;
    if (options.json)
      out << (listed == 0 ? "" : ",") << Dump(HistoryObject(entry));
    else
      out << TerminalSafe(LineOf(catalogue, entry));
    ++listed;
  });
  SayWhatWasNotRead(catalogue, reading, err);
  const int status = listed == 0 ? kExitFailure : kExitOk;
  const std::string message = listed == 0
                                  ? NothingListedText(options, catalogue, history)
                                  : catalogue.FormatText(Text(catalogue, AddedText::kHistoryCount),
                                                         static_cast<unsigned long>(listed));
  if (options.json)
    out << JsonTail(options, message, reading.skippedLines, status);
  else if (listed == 0)
    out << TerminalSafe(message) << '\n';
  return status;
}

}  // namespace qvr::cli
