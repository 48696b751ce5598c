#include "devices/backup/change_history.h"
#include "devices/backup/json_text.h"

#include <cerrno>
#include <filesystem>
#include <mutex>

#include "devices/backup/history_reader.h"
#include "platform/file_names.h"
#include "platform/machine_name.h"

namespace qvr {

namespace {

constexpr size_t kMaxMachineFileName = 64;

// Threads of one batch append to one file: a line at a time.
std::mutex appendMutex;

nlohmann::json OrNull(const std::optional<uint32_t>& value) {
  return value ? nlohmann::json(*value) : nlohmann::json();
}

std::string TextOf(const nlohmann::json& object, const char* key) {
  const auto found = object.find(key);
  return found != object.end() && found->is_string() ? found->get<std::string>() : std::string();
}

std::optional<uint32_t> SerialOf(const nlohmann::json& object, const char* key) {
  const auto found = object.find(key);
  if (found == object.end() || !found->is_number_unsigned()) return std::nullopt;
  const uint64_t value = found->get<uint64_t>();
  if (value > UINT32_MAX) return std::nullopt;
  return uint32_t(value);
}

bool FlagOf(const nlohmann::json& object, const char* key, bool otherwise) {
  const auto found = object.find(key);
  return found != object.end() && found->is_boolean() ? found->get<bool>() : otherwise;
}

std::string LineText(const nlohmann::json& line) {
  return JsonText(line) + "\n";
}

// A last change that may have left the unit holding only some of what was sent.
bool MayHaveLeftPart(const HistoryEntry& entry) {
  if (entry.result.empty()) return true;
  return (entry.result == kResultFailed || entry.result == kResultCut) && entry.unitChanged;
}

}  // namespace

std::string HistoryLocation::machineFile() const {
  if (folder.empty()) return {};
  return folder + "/" + MachineFileName(MachineId()) + ".jsonl";
}

HistoryLocation HistoryLocationIn(const std::string& serviceFolder) {
  if (serviceFolder.empty()) return {};
  return {serviceFolder + "/history", serviceFolder + "/history.jsonl"};
}

std::string MachineFileName(const std::string& machineId) {
  std::string name;
  for (const char c : machineId.substr(0, kMaxMachineFileName)) {
    const bool kept = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == '-' || c == '_';
    name += kept ? c : '_';
  }
  return name.empty() ? "unknown" : name;
}

nlohmann::json FirstLineObject(const HistoryEntry& entry) {
  return {{"id", entry.id},
          {"time", entry.time},
          {"program", entry.program},
          {"machine", entry.machine},
          {"adapter_serial", OrNull(entry.adapterSerial)},
          {"device", entry.device},
          {"unit_serial", OrNull(entry.unitSerial)},
          {"command", entry.command},
          {"file", entry.file},
          {"sha256", entry.sha256},
          {"simulated", entry.simulated}};
}

nlohmann::json ResultLineObject(const HistoryEntry& entry, const std::string& time) {
  return {{"id", entry.id},
          {"time", time},
          {"result", entry.result},
          {"unit_changed", entry.unitChanged}};
}

std::optional<HistoryEntry> ParseHistoryLine(const std::string& line, bool& isResult) {
  const nlohmann::json object = nlohmann::json::parse(line, nullptr, false);
  if (!object.is_object()) return std::nullopt;
  HistoryEntry entry;
  entry.id = TextOf(object, "id");
  entry.result = TextOf(object, "result");
  entry.unitChanged = FlagOf(object, "unit_changed", true);
  isResult = !object.contains("command");
  if (isResult) {
    if (entry.id.empty() || entry.result.empty()) return std::nullopt;
    return entry;
  }
  entry.time = TextOf(object, "time");
  entry.program = TextOf(object, "program");
  entry.machine = TextOf(object, "machine");
  entry.adapterSerial = SerialOf(object, "adapter_serial");
  entry.device = TextOf(object, "device");
  entry.unitSerial = SerialOf(object, "unit_serial");
  entry.command = TextOf(object, "command");
  entry.file = TextOf(object, "file");
  entry.sha256 = TextOf(object, "sha256");
  entry.simulated = FlagOf(object, "simulated", false);
  // A first line's result comes with its second line; a record of an earlier version is whole.
  if (!entry.id.empty()) entry.result.clear();
  if (entry.time.empty() || entry.command.empty()) return std::nullopt;
  return entry;
}

nlohmann::json HistoryObject(const HistoryEntry& entry) {
  nlohmann::json object = FirstLineObject(entry);
  object["result"] = entry.result.empty() ? nlohmann::json() : nlohmann::json(entry.result);
  return object;
}

SaveResult AppendHistoryLine(const std::string& file, const nlohmann::json& line) {
  // Without a home a relative name would put the line wherever the program was run.
  if (file.empty()) return ErrnoFailure(ENOENT);
  const std::lock_guard lock(appendMutex);
  std::error_code ec;
  std::filesystem::create_directories(NativePath(file).parent_path(), ec);
  return AppendLine(file, LineText(line));
}

bool LastChangeFailed(const HistoryLocation& history, const std::string& device, uint32_t serial,
                      bool simulated) {
  // Only lines that can be the unit's are parsed: a backup before every change reads it all.
  const std::string serialText = std::to_string(serial);
  const auto mayBeTheUnits = [&](std::string_view line) {
    return line.find(serialText) != std::string_view::npos &&
           line.find(device) != std::string_view::npos;
  };
  std::optional<HistoryEntry> last;
  (void)ForEachChange(
      history,
      [&](const HistoryEntry& entry) {
        if (entry.device == device && entry.unitSerial == serial && entry.simulated == simulated)
          last = entry;
      },
      mayBeTheUnits);
  return last && MayHaveLeftPart(*last);
}

}  // namespace qvr
