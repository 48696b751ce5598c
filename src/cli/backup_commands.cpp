// backups and restore, and the backup every change to a unit makes first.
#include <nlohmann/json.hpp>

#include "cli/cli_texts.h"
#include "cli/command_table.h"
#include "cli/json_objects.h"
#include "cli/run_options.h"
#include "cli/session.h"
#include "cli/terminal_text.h"
#include "devices/backup/change_history.h"
#include "devices/backup/device_backup.h"
#include "i18n/added_texts.h"
#include "link/device_info.h"
#include "link/link_result.h"

namespace qvr::cli {

namespace {

std::string BackupFolderOf(const RunOptions& options) {
  return DefaultBackupFolder(options.simulator);
}

// "20261207T103000Z" as "2026-12-07 10:30:00" (a "-2" of a second backup that second stays).
std::string ReadableTime(const std::string& name) {
  if (name.size() < 16 || name[8] != 'T') return name;
  return name.substr(0, 4) + "-" + name.substr(4, 2) + "-" + name.substr(6, 2) + " " +
         name.substr(9, 2) + ":" + name.substr(11, 2) + ":" + name.substr(13, 2) + name.substr(16);
}

// A listing's end: its lines on the terminal, or one JSON object carrying them and `fields`;
// exit 1 when there was nothing to list.
int PrintListing(const RunOptions& options, std::ostream& out, bool empty, std::string lines,
                 const nlohmann::json& fields) {
  const int status = empty ? kExitFailure : kExitOk;
  if (!options.json) {
    out << TerminalSafe(lines);
    return status;
  }
  lines.pop_back();
  const Command& command = *options.command;
  out << Dump(ResultObject(command.jsonName(), {}, std::nullopt, StatusWord(command, status), lines,
                           fields))
      << '\n';
  return status;
}

}  // namespace

int BackupBeforeChange(Session& s, const DeviceModule& module) {
  if (s.noBackup) return kExitOk;
  const BackupResult backup = BackupDeviceConfiguration(
      s.link, s.host, s.catalogue, module, BackupFolderOf(s.options), s.options.keepBackups);
  if (backup.ok()) {
    s.host.fields()["backup"] = backup.path;
    s.host.Note(
        s.catalogue.FormatText(Text(s.catalogue, AddedText::kBackupSaved), backup.path.c_str()));
    // A signal during the backup read asked the program to end: the change has not begun, so
    // it never begins.
    if (s.host.stopRequested()) {
      s.host.Error(Text(s.catalogue, AddedText::kStoppedBeforeChange));
      return kExitFailure;
    }
    return kExitOk;
  }
  const std::string reason =
      backup.link != LinkOk ? LinkResultText(s.catalogue, backup.link.code()) : backup.fileError;
  s.host.Error(WithTransferPlace(s.catalogue,
                                 s.catalogue.FormatText(Text(s.catalogue, CliText::kBackupFailed),
                                                        module.name, reason.c_str()),
                                 backup.link));
  return kExitFailure;
}

int RunRestore(Session& s, const DeviceModule& module, const std::string& which) {
  if (!which.empty() && which != "latest") return RunRestoreFile(s, module, which);
  s.host.fields()["file"] = nullptr;
  // The newest backup of the unit on the adapter now, known by its serial number.
  DeviceInfo info;
  const LinkResult r = ReadInfoBlock(s.link, module.deviceAddress, info);
  if (r != LinkOk) {
    s.host.Error(DeviceFailureText(s.catalogue, MessageId::kDeviceReadFailed, module.name, r));
    return kExitFailure;
  }
  const std::string folder = BackupFolderOf(s.options);
  std::string latest;
  for (const BackupEntry& entry : ListBackups(folder, module.name))
    if (entry.serial == info.serialNumber()) latest = entry.path;
  if (latest.empty()) {
    s.host.Error(s.catalogue.FormatText(Text(s.catalogue, AddedText::kNoBackupOfUnit), module.name,
                                        static_cast<unsigned long>(info.serialNumber()),
                                        folder.c_str()));
    return kExitFailure;
  }
  s.host.fields()["file"] = latest;
  return RunRestoreFile(s, module, latest);
}

int RunBackups(const RunOptions& options, const Catalogue& catalogue, std::ostream& out) {
  const std::string folder = BackupFolderOf(options);
  const std::vector<BackupEntry> entries = ListBackups(folder, options.backupsDevice);
  nlohmann::json listed = nlohmann::json::array();
  std::string lines;
  for (const BackupEntry& entry : entries) {
    const std::string time = ReadableTime(entry.time);
    listed.push_back(
        {{"device", entry.device}, {"serial", entry.serial}, {"time", time}, {"file", entry.path}});
    lines += catalogue.FormatText(Text(catalogue, AddedText::kBackupLine), entry.device.c_str(),
                                  static_cast<unsigned long>(entry.serial), time.c_str(),
                                  entry.path.c_str()) +
             "\n";
  }
  if (entries.empty())
    lines = catalogue.FormatText(Text(catalogue, AddedText::kNoBackups), folder.c_str()) + "\n";
  return PrintListing(options, out, entries.empty(), std::move(lines),
                      {{"folder", folder}, {"backups", listed}});
}

int RunHistory(const RunOptions& options, const Catalogue& catalogue, std::ostream& out) {
  const std::string file = DefaultHistoryFile();
  const std::vector<HistoryEntry> entries = ReadHistory(file);
  auto serial = [](const std::optional<uint32_t>& value) {
    return value ? std::to_string(*value) : std::string("?");
  };
  nlohmann::json listed = nlohmann::json::array();
  std::string lines;
  for (const HistoryEntry& e : entries) {
    listed.push_back(HistoryObject(e));
    lines += catalogue.FormatText(Text(catalogue, AddedText::kHistoryLine), e.time.c_str(),
                                  e.command.c_str(), e.device.c_str(), serial(e.unitSerial).c_str(),
                                  serial(e.adapterSerial).c_str(), e.program.c_str(),
                                  e.result.c_str(), e.file.c_str(), e.sha256.c_str());
    while (!lines.empty() && lines.back() == ' ') lines.pop_back();
    lines += '\n';
  }
  if (entries.empty())
    lines = catalogue.FormatText(Text(catalogue, AddedText::kHistoryEmpty), file.c_str()) + "\n";
  return PrintListing(options, out, entries.empty(), std::move(lines),
                      {{"history_file", file}, {"history", listed}});
}

}  // namespace qvr::cli
