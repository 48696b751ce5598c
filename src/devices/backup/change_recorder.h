#pragma once
// Records one change to a unit in the history: its first line just before the first write goes
// out (whichever command writes), its second line when the change ends.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "devices/backup/change_history.h"
#include "link/device_module.h"
#include "link/link.h"

namespace qvr {

class Catalogue;

enum class ChangeResult {
  kOk,
  kFailed,
  kCut,           // a termination signal or a stop ended it
  kNotConfirmed,  // sent, but the unit could not be seen to hold it
};

// Who records a change, where, and how a line that could not be written is told.
struct ChangeSetting {
  std::string program;  // "qvrctl" or "qvr-service"
  std::string command;  // the history's name of the change
  bool simulated = false;
  HistoryLocation history;
  const Catalogue* catalogue = nullptr;         // the language of what `say` gets
  std::function<void(const std::string&)> say;  // stderr, the window's log
};

class ChangeRecorder {
 public:
  // Nothing is sent or written yet: a change declined or refused before its first write is none.
  ChangeRecorder(Link& link, const DeviceModule& module, ChangeSetting setting);
  ~ChangeRecorder();
  ChangeRecorder(const ChangeRecorder&) = delete;
  ChangeRecorder& operator=(const ChangeRecorder&) = delete;

  // The file the change sends, as the program read it once: recorded by its absolute path and
  // the SHA-256 of `bytes`. "-" is standard input, whose bytes they are.
  void SetFile(const std::string& path, std::string_view bytes);
  // Reads the adapter's serial number now, and the unit's unless `unitSerial` (the backup's
  // read) gives it: asked while the unit is surely there, they are on record even when it is
  // pulled later. Done before the first write at the latest.
  void Identify(std::optional<uint32_t> unitSerial = std::nullopt);
  // The first line was written (or tried): the unit may have changed.
  bool begun() const { return begun_; }
  // Appends the result line of a change that began (a change that never began has none). The
  // first call counts: a command that knows more than its exit status (an update that could
  // not be confirmed) finishes with that itself, and its caller's later call changes nothing.
  void Finish(ChangeResult result);

 private:
  void Begin();
  void Append(const nlohmann::json& line);

  Link& link_;
  const DeviceModule& module_;
  ChangeSetting setting_;
  uint64_t acknowledgedAtStart_;
  HistoryEntry entry_;
  bool identified_ = false;
  bool begun_ = false;
  bool finished_ = false;
};

// The result of a change that ended with `succeeded`, cut short when a stop was asked for.
ChangeResult ResultOf(bool succeeded, bool stopRequested);

}  // namespace qvr
