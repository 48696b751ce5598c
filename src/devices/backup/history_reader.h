#pragma once
// Reading the history: every computer's file and the older single file merged into one list
// in time order, each change's two lines made one record. Files are read a piece at a time, so
// that a history of any length takes the same memory.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "devices/backup/change_history.h"
#include "platform/file_save.h"

namespace qvr {

// How far a change's second line may come after its first (other changes that began in
// between); one further away is taken as none, so that a change killed once never holds back
// the rest of its file.
inline constexpr size_t kMaxOpenChanges = 4096;

struct HistoryReading {
  size_t skippedLines = 0;  // lines that are no record: cut short, half synchronised, foreign
  std::vector<std::pair<std::string, SaveResult>> unreadable;  // files not opened, and why
};

// A look at a raw line before it is parsed: false passes over it (it cannot matter to the
// reader). Second lines of changes already read are parsed whatever it says.
using HistoryLineFilter = std::function<bool(std::string_view line)>;

// Calls `each` for every change the history holds, oldest first.
HistoryReading ForEachChange(const HistoryLocation& history,
                             const std::function<void(const HistoryEntry&)>& each,
                             const HistoryLineFilter& mayMatter = nullptr);

// Every change, oldest first (a short history: the tests').
std::vector<HistoryEntry> ReadHistory(const HistoryLocation& history,
                                      HistoryReading* reading = nullptr);

}  // namespace qvr
