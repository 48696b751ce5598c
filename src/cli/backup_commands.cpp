// backups and restore, and the backup every change to a unit makes first.
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>

#include "cli/cli_texts.h"
#include "cli/command_table.h"
#include "cli/json_objects.h"
#include "cli/run_options.h"
#include "cli/session.h"
#include "cli/terminal_text.h"
#include "devices/backup/change_recorder.h"
#include "devices/backup/data_folder.h"
#include "devices/backup/device_backup.h"
#include "devices/backup/restore_source.h"
#include "i18n/added_texts.h"
#include "link/device_info.h"
#include "link/link_result.h"

namespace qvr::cli {

namespace {

std::string BackupFolderOf(const RunOptions& options) {
  return BackupFolderIn(options.dataFolder, options.simulator);
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
  BackupRequest request{BackupFolderOf(s.options), s.options.keepBackups,
                        HistoryLocationIn(s.options.dataFolder), s.options.simulator, s.restoring};
  const BackupResult backup =
      BackupDeviceConfiguration(s.link, s.host, s.catalogue, module, request);
  for (const std::string& remark : backup.remarks) s.host.Remark(remark);
  if (backup.ok()) {
    if (s.change) s.change->Identify(backup.image.serial);
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

namespace {

std::vector<std::string> MarkWords(const BackupEntry& entry) {
  std::vector<std::string> marks;
  if (entry.first) marks.push_back("first");
  if (entry.afterFailedChange) marks.push_back("after_failed_change");
  return marks;
}

std::string MarksText(const Catalogue& catalogue, const BackupEntry& entry) {
  std::string text;
  if (entry.first) text += std::string("  ") + Text(catalogue, AddedText::kBackupMarkFirst);
  if (entry.afterFailedChange)
    text += std::string("  ") + Text(catalogue, AddedText::kBackupMarkAfterFailedChange);
  return text;
}

// The unit connected now, by its serial number; none after saying why it could not be read.
std::optional<uint32_t> ConnectedSerial(Session& s, const DeviceModule& module) {
  DeviceInfo info;
  const LinkResult r = ReadInfoBlock(s.link, module.deviceAddress, info);
  if (r == LinkOk) return info.serialNumber();
  s.host.Error(DeviceFailureText(s.catalogue, MessageId::kDeviceReadFailed, module.name, r));
  return std::nullopt;
}

// The unit's newest sound backup, said which it is; null after saying there is none.
std::unique_ptr<BackupEntry> ChooseLatest(Session& s, const DeviceModule& module, uint32_t serial) {
  const std::string folder = BackupFolderOf(s.options);
  std::vector<std::string> skipped;
  const std::vector<BackupEntry> entries = ListUnitBackups(folder, module.name, serial, &skipped);
  for (const std::string& passed : skipped)
    s.host.Remark(
        s.catalogue.FormatText(Text(s.catalogue, AddedText::kBackupPassedOver), passed.c_str()));
  const BackupEntry* latest = LatestSoundBackup(entries);
  if (latest == nullptr) {
    const auto number = static_cast<unsigned long>(serial);
    s.host.Error(entries.empty()
                     ? s.catalogue.FormatText(Text(s.catalogue, AddedText::kNoBackupOfUnit),
                                              module.name, number, folder.c_str())
                     : s.catalogue.FormatText(Text(s.catalogue, AddedText::kNoSoundBackup),
                                              module.name, number));
    return nullptr;
  }
  s.host.Note(s.catalogue.FormatText(
      Text(s.catalogue, AddedText::kRestoreChosen), LocalTimeOfName(latest->timeName).c_str(),
      BackupNumberText(s.catalogue, *latest).c_str(), latest->path.c_str()));
  return std::make_unique<BackupEntry>(*latest);
}

// The raw image at `path`, read once: the bytes parsed are the bytes the history's digest is of.
std::optional<RawImage> ReadRawImageFor(Session& s, const std::string& path) {
  std::string bytes;
  std::optional<RawImage> raw = ReadRawImage(path, &bytes);
  if (raw && s.change) s.change->SetFile(path, bytes);
  return raw;
}

}  // namespace

int RunRestore(Session& s, const DeviceModule& module, const std::string& which) {
  s.host.fields()["file"] = nullptr;
  const std::optional<uint32_t> serial = ConnectedSerial(s, module);
  if (!serial) return kExitFailure;
  const bool latest = which.empty() || which == "latest";
  std::unique_ptr<BackupEntry> entry =
      latest ? ChooseLatest(s, module, *serial) : BackupAt(BackupFolderOf(s.options), which);
  if (latest && !entry) return kExitFailure;
  const std::string path = latest ? entry->path : which;
  s.host.fields()["file"] = path;
  if (entry) s.restoring = entry->folder;

  const std::string rawPath = RawImageBeside(path);
  std::optional<RawImage> raw;
  if (!rawPath.empty() && !(raw = ReadRawImageFor(s, rawPath))) {
    s.host.Error(
        s.catalogue.FormatText(Text(s.catalogue, AddedText::kRawImageDamaged), rawPath.c_str()));
    return kExitFailure;
  }
  if (raw && raw->device != module.name) {
    s.host.Error(s.catalogue.FormatText(Text(s.catalogue, AddedText::kFileOfOtherDevice),
                                        path.c_str(), raw->device.c_str(), module.name));
    return kExitFailure;
  }
  s.host.fields()["exact"] = raw.has_value();
  // The unit the backup was taken of: its raw image says, else the backup folder it lies in.
  const std::optional<uint32_t> backupSerial = raw     ? std::optional<uint32_t>(raw->serial)
                                               : entry ? std::optional<uint32_t>(entry->serial)
                                                       : std::nullopt;
  if (backupSerial && *backupSerial != *serial && !s.options.otherUnit) {
    s.host.Error(s.catalogue.FormatText(
        Text(s.catalogue, AddedText::kRestoreOtherUnit), path.c_str(), module.name,
        static_cast<unsigned long>(*backupSerial), static_cast<unsigned long>(*serial)));
    return kExitFailure;
  }
  if (raw) return RunRestoreRawImage(s, module, *raw, rawPath);
  const std::string lacks = FileLacksText(s.catalogue, module);
  s.host.Remark(s.catalogue.FormatText(Text(s.catalogue, AddedText::kPlainFileCannotGiveBack),
                                       path.c_str(), lacks.c_str()));
  return RunRestoreFile(s, module, path);
}

int RunBackups(const RunOptions& options, const Catalogue& catalogue, std::ostream& out,
               std::ostream&) {
  const std::string folder = BackupFolderOf(options);
  std::vector<std::string> skipped;
  const std::vector<BackupEntry> entries = ListBackups(folder, options.backupsDevice, &skipped);
  nlohmann::json listed = nlohmann::json::array();
  std::string lines;
  for (const BackupEntry& entry : entries) {
    const std::string time = ReadableTime(entry.timeName);
    const std::string local = LocalTimeOfName(entry.timeName);
    listed.push_back({{"device", entry.device},
                      {"serial", entry.serial},
                      {"time", time},
                      {"local_time", local},
                      {"sequence", entry.sequence},
                      {"name", entry.configName},
                      {"marks", MarkWords(entry)},
                      {"file", entry.path},
                      {"raw_image", entry.rawPath},
                      {"machine", entry.machine}});
    lines += catalogue.FormatText(Text(catalogue, AddedText::kBackupLine), entry.device.c_str(),
                                  static_cast<unsigned long>(entry.serial), local.c_str(),
                                  BackupNumberText(catalogue, entry).c_str(),
                                  MarksText(catalogue, entry).c_str(), entry.path.c_str()) +
             "\n";
  }
  if (entries.empty())
    lines = catalogue.FormatText(Text(catalogue, AddedText::kNoBackups), folder.c_str()) + "\n";
  for (const std::string& passed : skipped)
    lines +=
        catalogue.FormatText(Text(catalogue, AddedText::kBackupPassedOver), passed.c_str()) + "\n";
  return PrintListing(options, out, entries.empty(), std::move(lines),
                      {{"folder", folder}, {"backups", listed}, {"passed_over", skipped}});
}

}  // namespace qvr::cli
