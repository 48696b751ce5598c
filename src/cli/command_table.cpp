#include "cli/command_table.h"

#include <algorithm>
#include <string>

#include "cli/command_line.h"
#include "cli/run_options.h"
#include "cli/session.h"
#include "cli/shell_completion.h"
#include "devices/drivers/device_drivers.h"

namespace qvr::cli {

namespace {

// Configuration files and update files, as shells offer them.
const ValueOffer kConfigurationFiles{.fileSuffix = "MUX"};
const ValueOffer kUpdateFiles{.fileSuffix = "LDR"};

// Every device kind is accepted; a shell offers those with a configuration alone when the
// command only works on a configuration.
void DeclareDevice(CommandLine& line, CLI::App& sub, bool configurationOnly) {
  line.Offer(sub.add_option("DEVICE", line.options.device)
                 ->required()
                 ->check(CLI::IsMember(CommandNames(false, line.drivers), CLI::ignore_case)),
             {.words = CommandNames(configurationOnly, line.drivers)});
}

void DeclareFile(CommandLine& line, CLI::App& sub, const char* help, const ValueOffer& offer) {
  line.Offer(sub.add_option("FILE", line.options.file, help)->required(), offer);
}

void DeclareYes(CommandLine& line, CLI::App& sub) {
  sub.add_flag("--yes,-y", line.options.yes, "Answer Yes to the question");
}

void DeclareNoBackup(CommandLine& line, CLI::App& sub) {
  sub.add_flag("--no-backup", line.options.noBackup, "Do not save the configuration first");
}

// write and restore send a whole configuration, with the same safeguards.
void DeclareWriteFlags(CommandLine& line, CLI::App& sub) {
  RunOptions& options = line.options;
  DeclareYes(line, sub);
  DeclareNoBackup(line, sub);
  sub.add_flag("--allow-missing-sections", options.allowMissingSections,
               "Write a file that lacks sections (their defaults are sent; else asked on a "
               "terminal)");
  sub.add_flag("--strict", options.strict,
               "Refuse a file whose values the unit would hold otherwise (cut, not a number)");
  sub.add_flag("--no-verify", options.noVerify,
               "Do not read the configuration back to compare it with what was sent");
}

void DeclareInfo(CommandLine& line, CLI::App& sub) {
  const std::string help = std::string(ControllerDriver(line.drivers).commandName) +
                           " (default), " + CommandNameList(true, line.drivers);
  line.Offer(sub.add_option("DEVICE", line.options.device, help)
                 ->check(CLI::IsMember(CommandNames(false, line.drivers), CLI::ignore_case)),
             {.words = CommandNames(false, line.drivers)});
}

void DeclareReset(CommandLine& line, CLI::App& sub) {
  DeclareDevice(line, sub, false);
}

void DeclareDefault(CommandLine& line, CLI::App& sub) {
  DeclareDevice(line, sub, true);
  DeclareYes(line, sub);
  DeclareNoBackup(line, sub);
}

void DeclareRead(CommandLine& line, CLI::App& sub) {
  DeclareDevice(line, sub, true);
  DeclareFile(line, sub, "Configuration file (*.MUX), - for stdout", kConfigurationFiles);
}

void DeclareWrite(CommandLine& line, CLI::App& sub) {
  DeclareDevice(line, sub, true);
  DeclareFile(line, sub, "Configuration file (*.MUX), - for stdin", kConfigurationFiles);
  DeclareWriteFlags(line, sub);
}

void DeclareDiff(CommandLine& line, CLI::App& sub) {
  DeclareDevice(line, sub, true);
  DeclareFile(line, sub, "Configuration file (*.MUX), - for stdin", kConfigurationFiles);
  sub.add_flag("--all", line.options.showAll,
               "Also the configuration name and the descriptions, which no write compares");
}

void DeclareUpdate(CommandLine& line, CLI::App& sub) {
  RunOptions& options = line.options;
  DeclareDevice(line, sub, false);
  DeclareFile(line, sub, "Update file (*.LDR)", kUpdateFiles);
  DeclareYes(line, sub);
  sub.add_flag("--allow-older", options.allowOlder,
               "Install a version older than the device's (else asked on a terminal)");
  sub.add_flag("--allow-reinstall", options.allowReinstall,
               "Install the version the device has (else asked on a terminal)");
}

void DeclareCheck(CommandLine& line, CLI::App& sub) {
  DeclareFile(line, sub, "Configuration file (*.MUX), - for stdin", kConfigurationFiles);
  line.Offer(
      sub.add_option("--device", line.options.checkDevice,
                     CommandNameList(true, line.drivers) + " (default: told by the file's keys)")
          ->check(CLI::IsMember(CommandNames(true, line.drivers), CLI::ignore_case)),
      {.words = CommandNames(true, line.drivers)});
}

void DeclareBackups(CommandLine& line, CLI::App& sub) {
  const std::vector<std::string> names = CommandNames(true, line.drivers);
  const std::string help = CommandNameList(true, line.drivers) +
                           (names.size() == 2 ? " (default: both)" : " (default: all)");
  line.Offer(sub.add_option("DEVICE", line.options.backupsDevice, help)
                 ->check(CLI::IsMember(names, CLI::ignore_case)),
             {.words = names});
}

// A calendar date as --since takes it; CLI11 says the rest.
std::string NotADate(const std::string& text) {
  const bool shaped = text.size() == 10 && text[4] == '-' && text[7] == '-' &&
                      std::all_of(text.begin(), text.end(),
                                  [](char c) { return c == '-' || (c >= '0' && c <= '9'); });
  return shaped ? std::string() : "a date YYYY-MM-DD is expected, not " + text;
}

void DeclareHistory(CommandLine& line, CLI::App& sub) {
  sub.add_option("--unit", line.options.historyUnit, "Only the changes of the unit of this serial")
      ->check(CLI::Range(0LL, 4294967295LL));
  sub.add_option("--since", line.options.historySince,
                 "Only the changes from this local date (YYYY-MM-DD) on")
      ->check(CLI::Validator(NotADate, "DATE"));
}

void DeclareRestore(CommandLine& line, CLI::App& sub) {
  DeclareDevice(line, sub, true);
  line.Offer(sub.add_option("BACKUP", line.options.file,
                            "A backup file, or latest (the default): the unit's newest backup "
                            "not taken after a failed change"),
             {.words = {"latest"}, .fileSuffix = "MUX"});
  DeclareWriteFlags(line, sub);
  sub.add_flag("--other-unit", line.options.otherUnit,
               "Put another unit's backup onto this one (a replacement unit)");
}

void DeclareCompletion(CommandLine& line, CLI::App& sub) {
  const std::vector<std::string> shells = CompletionShells();
  line.Offer(sub.add_option("SHELL", line.options.shell, "bash, zsh or fish")
                 ->required()
                 ->check(CLI::IsMember(shells)),
             {.words = shells});
}

// The commands that work on FILE (or BACKUP) as the command line gave it.
int Read(Session& s, const DeviceModule& module) {
  return RunReadConfig(s, module, s.options.file);
}
int Write(Session& s, const DeviceModule& module) {
  return RunWriteConfig(s, module, s.options.file);
}
int Diff(Session& s, const DeviceModule& module) {
  return RunDiff(s, module, s.options.file);
}
int Update(Session& s, const DeviceModule& module) {
  return RunUpdate(s, module, s.options.file);
}
int Check(Session& s, const DeviceModule&) {
  return RunCheck(s, s.options.checkDevice, s.options.file);
}
int Restore(Session& s, const DeviceModule& module) {
  return RunRestore(s, module, s.options.file);
}

const Command kCommands[] = {
    {
        .name = "list",
        .help = "Every adapter connected, with its serial number and versions",
        .runHere = RunList,
        .identifies = true,
    },
    {
        .name = "info",
        .help = "Identification of the controller or a device",
        .declare = DeclareInfo,
        .run = RunInfo,
        .identifies = true,
    },
    {
        .name = "reset",
        .help = "Restart a device",
        .declare = DeclareReset,
        .run = RunReset,
        .changesTheUnit = true,
    },
    {
        .name = "default",
        .help = "Reset a device's configuration to its defaults",
        .declare = DeclareDefault,
        .run = RunDefault,
        .changesTheUnit = true,
    },
    {
        .name = "read",
        .help = "Read a device's configuration into a file",
        .declare = DeclareRead,
        .run = Read,
        .fileIsOutput = true,
    },
    {
        .name = "write",
        .help = "Check a configuration file and write it to the device",
        .declare = DeclareWrite,
        .run = Write,
        .changesTheUnit = true,
    },
    {
        .name = "diff",
        .help = "What a write of the file would change on the device",
        .declare = DeclareDiff,
        .run = Diff,
        .exitsLikeDiff = true,
    },
    {
        .name = "update",
        .help = "Firmware update from a checked update file",
        .declare = DeclareUpdate,
        .run = Update,
        .changesTheUnit = true,
    },
    {
        .name = "check",
        .help = "Which values of a configuration file the unit would hold otherwise",
        .declare = DeclareCheck,
        .run = Check,
        .usesAdapter = false,
        .exitsLikeDiff = true,
    },
    {
        .name = "history",
        .help = "Every change made to a unit: time, serial numbers, command, file and its "
                "SHA-256, result",
        .declare = DeclareHistory,
        .runHere = RunHistory,
        .listsDataFolder = true,
    },
    {
        .name = "backups",
        .help = "The backups made before changes: unit serial, time and file",
        .declare = DeclareBackups,
        .runHere = RunBackups,
        .listsDataFolder = true,
    },
    {
        .name = "restore",
        .help = "Write a backup back to the unit it came from",
        .declare = DeclareRestore,
        .run = Restore,
        .changesTheUnit = true,
    },
    {
        .name = "completion",
        .help = "Print the completion script of qvrctl for a shell",
        .declare = DeclareCompletion,
        .runHere = RunCompletion,
    },
};

}  // namespace

std::span<const Command> Commands() {
  return kCommands;
}

const Command* CommandNamed(std::string_view name) {
  for (const Command& command : kCommands)
    if (name == command.name) return &command;
  return nullptr;
}

}  // namespace qvr::cli
