#include "devices/backup/change_history.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <nlohmann/json.hpp>

#include "devices/backup/backup_store.h"
#include "devices/backup/sha256.h"
#include "link/device_info.h"
#include "platform/file_names.h"
#include "platform/file_read.h"
#include "platform/file_save.h"
#include "platform/user_folders.h"

namespace qvr {

namespace {

// Threads of one batch append to one file: a line at a time.
std::mutex appendMutex;

nlohmann::json OrNull(const std::optional<uint32_t>& value) {
  return value ? nlohmann::json(*value) : nlohmann::json();
}

std::optional<uint32_t> SerialOf(Link& link, uint8_t address) {
  DeviceInfo info;
  if (ReadInfoBlock(link, address, info) != LinkOk) return std::nullopt;
  return info.serialNumber();
}

// Configurations and update files are far below this.
constexpr size_t kLargestHashedFile = 16 * 1024 * 1024;

std::string FileSha256(const std::string& path) {
  std::string bytes;
  bool tooLarge = false;
  if (!ReadRegularFile(path, kLargestHashedFile, bytes, tooLarge)) return {};
  return Sha256Hex(bytes);
}

// One line of the file as an entry; none for a line that is not one.
std::optional<HistoryEntry> ParseHistoryLine(const std::string& line) {
  const nlohmann::json object = nlohmann::json::parse(line, nullptr, false);
  if (!object.is_object()) return std::nullopt;
  auto text = [&object](const char* key) {
    return object.contains(key) && object[key].is_string() ? object[key].get<std::string>()
                                                           : std::string();
  };
  auto serial = [&object](const char* key) -> std::optional<uint32_t> {
    if (!object.contains(key) || !object[key].is_number_unsigned()) return std::nullopt;
    return object[key].get<uint32_t>();
  };
  return HistoryEntry{text("time"),
                      text("program"),
                      serial("adapter_serial"),
                      text("device"),
                      serial("unit_serial"),
                      text("command"),
                      text("file"),
                      text("sha256"),
                      text("result"),
                      object.contains("simulated") && object["simulated"].is_boolean() &&
                          object["simulated"].get<bool>()};
}

}  // namespace

std::string DefaultHistoryFile() {
  const std::string data = UserDataFolder();
  return data.empty() ? std::string() : data + "/qvr-service/history.jsonl";
}

nlohmann::json HistoryObject(const HistoryEntry& entry) {
  return {{"time", entry.time},
          {"program", entry.program},
          {"adapter_serial", OrNull(entry.adapterSerial)},
          {"device", entry.device},
          {"unit_serial", OrNull(entry.unitSerial)},
          {"command", entry.command},
          {"file", entry.file},
          {"sha256", entry.sha256},
          {"result", entry.result},
          {"simulated", entry.simulated}};
}

bool AppendHistory(const std::string& historyFile, const HistoryEntry& entry) {
  // Without a home a relative name would put the line wherever the program was run.
  if (historyFile.empty()) return false;
  const nlohmann::json line = HistoryObject(entry);
  const std::string text =
      line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
  const std::lock_guard lock(appendMutex);
  std::error_code ec;
  std::filesystem::create_directories(NativePath(historyFile).parent_path(), ec);
  return AppendToFile(historyFile, text);
}

std::vector<HistoryEntry> ReadHistory(const std::string& historyFile) {
  std::vector<HistoryEntry> entries;
  std::ifstream in(NativePath(historyFile), std::ios::binary);
  for (std::string line; std::getline(in, line);)
    if (auto entry = ParseHistoryLine(line)) entries.push_back(std::move(*entry));
  return entries;
}

bool LastChangeFailed(const std::string& historyFile, const std::string& device, uint32_t serial,
                      bool simulated) {
  bool failed = false;
  std::ifstream in(NativePath(historyFile), std::ios::binary);
  const std::string serialText = std::to_string(serial);
  for (std::string line; std::getline(in, line);) {
    // Only lines that can be the unit's are parsed.
    if (line.find(serialText) == std::string::npos || line.find(device) == std::string::npos)
      continue;
    const std::optional<HistoryEntry> entry = ParseHistoryLine(line);
    if (entry && entry->device == device && entry->unitSerial == serial &&
        entry->simulated == simulated)
      failed = entry->result == "failed";
  }
  return failed;
}

namespace {

// The one place a change's result word is chosen. An update whose unit has not answered since
// its last block comes here as failed too, until the history keeps it apart ("not confirmed").
const char* ResultWord(bool succeeded) {
  return succeeded ? "ok" : "failed";
}

}  // namespace

ChangeRecorder::ChangeRecorder(Link& link, const DeviceModule& module, std::string program,
                               std::string command, bool simulated)
    : link_(link), module_(module), acknowledgedAtStart_(link.acknowledgedWrites()) {
  entry_.program = std::move(program);
  entry_.command = std::move(command);
  entry_.device = module.name;
  entry_.simulated = simulated;
}

void ChangeRecorder::Finish(bool succeeded, const std::string& file,
                            const std::string& historyFile) {
  if (!succeeded && link_.acknowledgedWrites() == acknowledgedAtStart_) return;
  entry_.time = UtcTimeText(std::time(nullptr), false);
  // Asked after the change, so that nothing is sent before the command's own checks; a unit
  // that restarts (a reset, a controller's update) may not answer yet and stays unknown.
  entry_.adapterSerial = SerialOf(link_, kControllerAddress);
  entry_.unitSerial =
      module_.IsController() ? entry_.adapterSerial : SerialOf(link_, module_.deviceAddress);
  entry_.result = ResultWord(succeeded);
  if (!file.empty() && file != "-") {
    entry_.file = file;
    entry_.sha256 = FileSha256(file);
  } else {
    entry_.file = file;
  }
  (void)AppendHistory(historyFile, entry_);
}

}  // namespace qvr
