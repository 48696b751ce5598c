#pragma once
// The history of changes to units: every write, default, restore, update and reset that
// reached a unit, by qvrctl or the window, one JSON object a line in the user's data folder.
#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "link/device_module.h"
#include "link/link.h"

namespace qvr {

struct HistoryEntry {
  std::string time;     // UTC, "2026-12-07T10:30:00Z"
  std::string program;  // "qvrctl" or "qvr-service"
  std::optional<uint32_t> adapterSerial;
  std::string device;  // the module's name
  std::optional<uint32_t> unitSerial;
  std::string command;  // "write", "default", "restore", "update", "reset"
  std::string file;     // what was written ("" when none)
  std::string sha256;   // of the file's bytes ("" when none could be read)
  std::string result;   // "ok" or "failed"
  bool simulated = false;
};

// $XDG_DATA_HOME/qvr-service/history.jsonl (the user's data folder on every system); empty for
// a user without a data folder (no home).
std::string DefaultHistoryFile();

// Appends one line; false when the file could not be written or is "" (the change itself
// stands).
bool AppendHistory(const std::string& historyFile, const HistoryEntry& entry);
// The entry as the history file and `qvrctl history --json` carry it (unknown serials: null).
nlohmann::json HistoryObject(const HistoryEntry& entry);
// Every entry the file holds, oldest first; lines that are not entries are skipped.
std::vector<HistoryEntry> ReadHistory(const std::string& historyFile);
// Whether the last change the history holds for the unit (`simulated` or real) failed, which
// leaves the unit holding part of what was sent.
bool LastChangeFailed(const std::string& historyFile, const std::string& device, uint32_t serial,
                      bool simulated);

// Records one change, made between construction and Finish: Finish appends the line when the
// unit was changed at all (the command succeeded, or a write to the unit was acknowledged
// before it failed), with the adapter's and the unit's serial numbers read then.
class ChangeRecorder {
 public:
  ChangeRecorder(Link& link, const DeviceModule& module, std::string program, std::string command,
                 bool simulated);
  // `file` "" or "-": no file (or standard input, whose bytes are gone); else its SHA-256.
  void Finish(bool succeeded, const std::string& file, const std::string& historyFile);

 private:
  Link& link_;
  const DeviceModule& module_;
  uint64_t acknowledgedAtStart_;
  HistoryEntry entry_;
};

}  // namespace qvr
