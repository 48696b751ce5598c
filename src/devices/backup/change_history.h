#pragma once
// The history of changes to units: every write, default, restore, update and reset that qvrctl
// or the window began on a unit. A change is two JSON lines with one id: the first, written
// before anything is sent, says what is about to change (time, program, computer, serial
// numbers, command, file and the SHA-256 of its bytes); the second says how it ended. A change
// without its second line was cut off (the program was killed) or still runs elsewhere. Each
// computer appends to a file of its own, so that computers sharing a synchronised data folder
// never write one file; readers merge the files in time order.
#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "platform/file_save.h"

namespace qvr {

// The result words of a change's second line.
inline constexpr const char* kResultOk = "ok";
inline constexpr const char* kResultFailed = "failed";
inline constexpr const char* kResultCut = "cut";  // a termination signal or a stop ended it
inline constexpr const char* kResultNotConfirmed = "not confirmed";

struct HistoryEntry {
  std::string id;       // one per change ("" in the one-line records of earlier versions)
  std::string time;     // UTC when the change began, "2026-12-07T10:30:00Z"
  std::string program;  // "qvrctl" or "qvr-service"
  std::string machine;  // the computer's name ("" in earlier records)
  std::optional<uint32_t> adapterSerial;
  std::string device;  // the module's name
  std::optional<uint32_t> unitSerial;
  std::string command;  // "write", "default", "restore", "update", "reset"
  std::string file;     // absolute path of what was sent; "-" standard input; "" none
  std::string sha256;   // of the file's bytes as the program read them ("" when none)
  std::string result;   // one of the result words; "" when no result was recorded
  bool simulated = false;
  bool unitChanged = true;  // false: it failed before any write reached the unit
};

// Where the history is kept.
struct HistoryLocation {
  std::string folder;     // every computer's file
  std::string olderFile;  // the one file of earlier versions, still read
  // This computer's file: `folder`/<machine id>.jsonl ("" without a folder).
  std::string machineFile() const;
};

// The history kept in the data folder `serviceFolder` (see DataFolderOf): its "history" folder
// and its "history.jsonl"; empty names for none.
HistoryLocation HistoryLocationIn(const std::string& serviceFolder);
// A computer's id as a file name: letters, digits, '-' and '_' kept, anything else '_', at most
// 64 characters; "unknown" for "".
std::string MachineFileName(const std::string& machineId);

// A change's first line, and its second line (`entry`'s id, the time now, its result).
nlohmann::json FirstLineObject(const HistoryEntry& entry);
nlohmann::json ResultLineObject(const HistoryEntry& entry, const std::string& time);
// A line of the file as a change's record; `isResult` tells a second line (which then holds
// only id, result and unitChanged). None for a line that is neither.
std::optional<HistoryEntry> ParseHistoryLine(const std::string& line, bool& isResult);

// The change as `qvrctl history --json` lists it: the keys of its first line (time, program,
// machine, adapter_serial, device, unit_serial, command, file, sha256, simulated, id) and
// `result`, null when no result was recorded. Unknown serial numbers are null.
nlohmann::json HistoryObject(const HistoryEntry& entry);

// Appends `line` to `file`, its folder made when missing (the change itself stands whatever
// this returns). An empty name (no home) is refused as kSystem ENOENT.
[[nodiscard]] SaveResult AppendHistoryLine(const std::string& file, const nlohmann::json& line);

// Whether the unit's last change in the history (`simulated` or real) may have left it holding
// only some of what was sent: it failed or was cut after a write reached the unit, or it has no
// result recorded.
bool LastChangeFailed(const HistoryLocation& history, const std::string& device, uint32_t serial,
                      bool simulated);

}  // namespace qvr
