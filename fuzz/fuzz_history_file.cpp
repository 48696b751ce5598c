// Reads arbitrary bytes as a computer's history file: the reader must neither crash nor hang,
// every change it lists has a time and a command, and a change appended after whatever the file
// held (a line cut short, a half-synchronised tail, bytes of another kind) is listed whole, last.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "devices/backup/change_history.h"
#include "devices/backup/history_reader.h"
#include "fuzz_scratch.h"

namespace {

// An id no input holds by chance.
constexpr const char* kAppendedId = "5f0c1a2b3c4d5e6f708192a3b4c5d6e7";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const qvr::HistoryLocation history = qvr::HistoryLocationIn(qvr::fuzz::Scratch().File("data"));
  std::filesystem::create_directories(history.folder);
  const std::string file = history.folder + "/pc.jsonl";
  (void)qvr::fuzz::Scratch().Write("data/history/pc.jsonl", data, size);
  for (const qvr::HistoryEntry& entry : qvr::ReadHistory(history))
    if (entry.time.empty() || entry.command.empty()) std::abort();
  (void)qvr::LastChangeFailed(history, "MUX-410", 41000123, false);

  qvr::HistoryEntry appended{.id = kAppendedId,
                             .time = "9999-12-31T23:59:59Z",
                             .program = "qvrctl",
                             .device = "MUX-410",
                             .command = "write",
                             .result = "ok"};
  if (!qvr::AppendHistoryLine(file, qvr::FirstLineObject(appended)).ok() ||
      !qvr::AppendHistoryLine(file, qvr::ResultLineObject(appended, appended.time)).ok())
    std::abort();
  const std::vector<qvr::HistoryEntry> entries = qvr::ReadHistory(history);
  if (entries.empty() || entries.back().id != kAppendedId || entries.back().result != "ok")
    std::abort();
  return 0;
}
