#include "cli/qvrctl.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "cli/adapters.h"
#include "cli/batch.h"
#include "cli/cli_texts.h"
#include "cli/json_objects.h"
#include "cli/run_options.h"
#include "cli/session.h"
#include "cli/terminal_text.h"
#include "devices/backup/change_history.h"
#include "devices/drivers/device_drivers.h"
#include "i18n/added_texts.h"
#include "link/clock.h"
#include "link/device_info.h"
#include "link/hid_transport.h"
#include "link/threaded_transport.h"
#include "platform/console.h"
#include "platform/transfer_signals.h"

namespace qvr::cli {

namespace {

// The device the command names; its name has passed the command line's check.
const DeviceModule& NamedModule(const RunOptions& options) {
  const DeviceDriver* driver = DriverNamed(options.device);
  return driver ? *driver->module : kControllerModule;
}

// The locale's language as the C library picks it for messages: the first of LC_ALL,
// LC_MESSAGES and LANG that is set decides; none set, the system's own (the user interface
// language on Windows).
Language DefaultLanguage() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return std::string_view(value).starts_with("ru") ? kRussian : kEnglish;
  }
  return UserPrefersRussian() ? kRussian : kEnglish;
}

Language LanguageOf(const std::string& language) {
  if (language.empty()) return DefaultLanguage();
  return language == "en" ? kEnglish : kRussian;
}

Language LanguageOf(const RunOptions& options) {
  return LanguageOf(options.language);
}

// --lang as typed, for a command line that could not be parsed ("" when absent or unknown).
std::string LanguageInArguments(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    std::string_view word = argv[i];
    if (word == "--lang" && i + 1 < argc)
      word = argv[i + 1];
    else if (word.starts_with("--lang="))
      word.remove_prefix(7);
    else
      continue;
    if (word == "ru" || word == "RU") return "ru";
    if (word == "en" || word == "EN") return "en";
  }
  return {};
}

// Windows ends a process about 5 s after its console is closed, whatever the process does.
#ifdef _WIN32
constexpr const char* kConsoleCloseNote =
    "\nThe console's close button is disabled meanwhile; a console closed all the same (signing\n"
    "out, a terminal tab) ends qvrctl within 5 s and can leave the unit half-written.";
#else
constexpr const char* kConsoleCloseNote = "";
#endif

std::string Footer() {
  return std::string(
             "Exit status: 0 done, 1 failed (the reason on stderr), 2 usage error, 3 declined\n"
             "(a question was answered No: nothing was changed). diff: 0 same, 1 different, 2 "
             "trouble.\n"
             "Questions are asked on a terminal; --yes answers the plain confirmation, and "
             "without\n"
             "a terminal a question is declined. Missing sections, an older or the same firmware\n"
             "need --allow-missing-sections, --allow-older, --allow-reinstall.\n"
             "--json: one object per adapter (format 1: command, adapter, serial, status,\n"
             "message and the command's fields), see the manual page.\n"
             "Before write, restore and default the device's configuration is saved to the "
             "backups\n"
             "folder (") +
         UserDataFolderHint() +
         "/qvr-service/backups, the simulator's apart in its simulated/ subfolder);\n"
         "--no-backup skips that. The newest 20 of each unit are kept (--keep-backups).\n" +
         TerminationRequestHint() +
         "during a transfer to a device: the transfer is completed first,\n"
         "then the command ends with its result." +
         kConsoleCloseNote;
}

void DeclareGlobal(CLI::App& app, RunOptions& options) {
  app.require_subcommand(1);
  app.fallthrough();
  app.footer(Footer());
  app.set_version_flag("--version", std::string("qvrctl ") + kProgramVersion);
  app.add_option("--simulator", options.simulatorDir,
                 "Use the simulated controller; with =DIR its devices keep their memory there")
      ->expected(0, 1);
  app.add_option("--simulated-latency", options.simulatedLatencyMs,
                 "With --simulator: every report takes this many milliseconds, like a slow adapter")
      ->check(CLI::Range(0, 10000));
  app.add_option("--simulated-adapters", options.simulatedAdapters,
                 "With --simulator: how many adapters are connected")
      ->check(CLI::Range(1, 16));
  app.add_option("--controller", options.controller,
                 "The adapter to use: its path, its serial number, or all (every one at once)");
  app.add_option("--wait", options.waitSeconds,
                 "When another program uses the adapter, wait this many seconds for it")
      ->check(CLI::Range(0, 3600));
  app.add_option("--lang", options.language,
                 "Language of the messages (default from LC_ALL, LC_MESSAGES or LANG)")
      ->check(CLI::IsMember({"ru", "en"}, CLI::ignore_case));
  app.add_flag("--log", options.packetLog, "Print every packet to stderr");
  app.add_flag("--json", options.json,
               "One JSON object per adapter on stdout, for every command and outcome (format 1)");
  app.add_flag("-q,--quiet", options.quiet, "No progress display");
  app.add_option("--keep-backups", options.keepBackups,
                 "How many backups of each unit are kept (default 20)")
      ->check(CLI::Range(1, 100000));
}

void DeclareCommands(CLI::App& app, RunOptions& options) {
  const auto deviceCheck = CLI::IsMember(CommandNames(false), CLI::ignore_case);
  auto command = [&](const char* name, const char* help, Command id) {
    CLI::App* sub = app.add_subcommand(name, help);
    sub->callback([&options, id] { options.command = id; });
    return sub;
  };
  // write and restore send a whole configuration, with the same safeguards.
  auto writeFlags = [&options](CLI::App* sub) {
    sub->add_flag("--yes,-y", options.yes, "Answer Yes to the question");
    sub->add_flag("--no-backup", options.noBackup, "Do not save the configuration first");
    sub->add_flag("--allow-missing-sections", options.allowMissingSections,
                  "Write a file that lacks sections (their defaults are sent; else asked on a "
                  "terminal)");
    sub->add_flag("--strict", options.strict,
                  "Refuse a file whose values the unit would hold otherwise (cut, not a number)");
    sub->add_flag("--no-verify", options.noVerify,
                  "Do not read the configuration back to compare it with what was sent");
  };
  auto device = [&](CLI::App* sub) {
    sub->add_option("DEVICE", options.device)->required()->check(deviceCheck);
  };
  command("list", "Every adapter connected, with its serial number and versions", Command::kList);
  command("info", "Identification of the controller or a device", Command::kInfo)
      ->add_option("DEVICE", options.device, "qvr-b (default), mux-410 or tpx-520")
      ->check(deviceCheck);
  device(command("reset", "Restart a device", Command::kReset));

  CLI::App* toDefault =
      command("default", "Reset a device's configuration to its defaults", Command::kDefault);
  device(toDefault);
  toDefault->add_flag("--yes,-y", options.yes, "Answer Yes to the question");
  toDefault->add_flag("--no-backup", options.noBackup, "Do not save the configuration first");

  CLI::App* read = command("read", "Read a device's configuration into a file", Command::kRead);
  device(read);
  read->add_option("FILE", options.file, "Configuration file (*.MUX), - for stdout")->required();

  CLI::App* write =
      command("write", "Check a configuration file and write it to the device", Command::kWrite);
  device(write);
  write->add_option("FILE", options.file, "Configuration file (*.MUX), - for stdin")->required();
  writeFlags(write);

  CLI::App* diff =
      command("diff", "What a write of the file would change on the device", Command::kDiff);
  device(diff);
  diff->add_option("FILE", options.file, "Configuration file (*.MUX), - for stdin")->required();
  diff->add_flag("--all", options.showAll,
                 "Also the configuration name and the descriptions, which no write compares");

  CLI::App* update =
      command("update", "Firmware update from a checked update file", Command::kUpdate);
  device(update);
  update->add_option("FILE", options.file, "Update file (*.LDR)")->required();
  update->add_flag("--yes,-y", options.yes, "Answer Yes to the question");
  update->add_flag("--allow-older", options.allowOlder,
                   "Install a version older than the device's (else asked on a terminal)");
  update->add_flag("--allow-reinstall", options.allowReinstall,
                   "Install the version the device has (else asked on a terminal)");

  CLI::App* check =
      command("check", "Which values of a configuration file the unit would hold otherwise",
              Command::kCheck);
  check->add_option("FILE", options.file, "Configuration file (*.MUX), - for stdin")->required();
  check
      ->add_option("--device", options.checkDevice,
                   "mux-410 or tpx-520 (default: told by the file's keys)")
      ->check(CLI::IsMember(CommandNames(true), CLI::ignore_case));

  command("history",
          "Every change made to a unit: time, serial numbers, command, file and its SHA-256, "
          "result",
          Command::kHistory);

  CLI::App* backups = command(
      "backups", "The backups made before changes: unit serial, time and file", Command::kBackups);
  backups->add_option("DEVICE", options.backupsDevice, "mux-410 or tpx-520 (default: both)")
      ->check(CLI::IsMember(CommandNames(true), CLI::ignore_case));

  CLI::App* restore =
      command("restore", "Write a backup back to the unit it came from", Command::kRestore);
  device(restore);
  restore->add_option("BACKUP", options.file,
                      "A backup file, or latest (the default): the "
                      "unit's newest backup");
  writeFlags(restore);
}

int Dispatch(Session& session, const RunOptions& options) {
  const DeviceModule& module = NamedModule(options);
  switch (options.command) {
    case Command::kInfo:
      return RunInfo(session, module);
    case Command::kReset:
      return RunReset(session, module);
    case Command::kDefault:
      return RunDefault(session, module);
    case Command::kRead:
      return RunReadConfig(session, module, options.file);
    case Command::kWrite:
      return RunWriteConfig(session, module, options.file);
    case Command::kDiff:
      return RunDiff(session, module, options.file);
    case Command::kUpdate:
      return RunUpdate(session, module, options.file);
    case Command::kRestore:
      return RunRestore(session, module, options.file);
    case Command::kCheck:
      return RunCheck(session, options.checkDevice, options.file);
    case Command::kHistory:
    case Command::kList:
    case Command::kBackups:
      break;
  }
  return kExitUsage;
}

// Several adapters and no choice is a mistake on the command line; an adapter that is not
// there is a failure like any missing controller (diff's failures are all "trouble").
int ChoiceFailureStatus(const RunOptions& options, const AdapterChoice& choice) {
  if (choice.ambiguous) return kExitUsage;
  return options.command == Command::kDiff ? kExitDiffTrouble : kExitFailure;
}

bool ChangesTheUnit(Command command) {
  return command == Command::kWrite || command == Command::kRestore ||
         command == Command::kDefault || command == Command::kUpdate || command == Command::kReset;
}

AdapterSource SourceOf(const RunOptions& options) {
  return {options.simulator, options.simulatorDir, options.simulatedLatencyMs,
          options.simulatedAdapters};
}

}  // namespace

int RunOnAdapter(const RunOptions& options, const Catalogue& catalogue, const Adapter* adapter,
                 std::ostream& out, std::ostream& err, const Terminal& terminal,
                 TransferSignals& signals) {
  std::istream& in = terminal.in ? *terminal.in : std::cin;
  Prompter prompter(options.yes, terminal.inputIsTerminal, in, err, catalogue);
  const bool stdoutIsData = options.command == Command::kRead && options.file == "-";
  ConsoleHost host(out, err, prompter, options.packetLog,
                   terminal.errorIsTerminal && !options.quiet, options.json, stdoutIsData);
  host.AttachSignals(&signals, Text(catalogue, AddedText::kStoppingAfterTransfer));
  host.ShowTimeLeftIn(catalogue);

  // The command keeps the adapter from its first report to its end: no other program's
  // reports come between, and it waits for another program only as long as it was told to.
  const AdapterSharing sharing{
      true, options.waitSeconds > 0 ? uint32_t(options.waitSeconds) * 1000 : kAdapterBusyWaitMs};
  std::unique_ptr<Transport> device =
      adapter ? adapter->open(sharing)
              : std::unique_ptr<Transport>(std::make_unique<HidTransport>(std::string(), sharing));
  SteadyClock clock;
  // A stuck report is abandoned at its deadline instead of holding the command.
  ThreadedTransport transport(std::move(device), host, clock);
  Link link(transport, host, clock);

  Session session{catalogue, host, link, prompter, in, options.noBackup, options.json, options};
  std::optional<uint32_t> serial;
  // check works on a file alone.
  if (options.json && options.command != Command::kCheck) {
    DeviceInfo controller;
    if (ReadInfoBlock(link, kControllerAddress, controller) == LinkOk)
      serial = controller.serialNumber();
  }
  host.fields()["target"] = NamedModule(options).name;
  if (!options.file.empty()) host.fields()["file"] = options.file;
  std::optional<ChangeRecorder> change;
  if (ChangesTheUnit(options.command))
    change.emplace(link, NamedModule(options), "qvrctl",
                   CommandName(options.command).get<std::string>(), options.simulator);
  const int status = Dispatch(session, options);
  if (change) {
    const nlohmann::json& file = host.fields()["file"];
    change->Finish(status == kExitOk, file.is_string() ? file.get<std::string>() : std::string(),
                   DefaultHistoryFile());
  }
  if (const AdapterHolder holder = link.BusyHolder(); holder.processId != 0) {
    err << catalogue.FormatText(Text(catalogue, AddedText::kAdapterBusyHolder),
                                holder.program.empty() ? "?" : TerminalSafe(holder.program).c_str(),
                                holder.processId)
        << '\n';
  }
  link.CloseController();
  host.ReportDeferredSignal();
  if (options.json) {
    const char* word = StatusWord(options.command, status);
    const bool succeeded = word == std::string("ok") || word == std::string("different");
    host.WriteStdout(
        Dump(ResultObject(CommandName(options.command), adapter ? adapter->path : std::string(),
                          serial, word, host.Message(succeeded), host.fields())) +
        "\n");
  }
  out.flush();
  err.flush();
  return status;
}

namespace {

// A command that does not run: the reason on the error stream (names in it made safe for a
// terminal), and in JSON mode one object.
int Refused(const RunOptions& options, const std::string& reason, int status, std::ostream& out,
            std::ostream& err) {
  err << TerminalSafe(reason) << '\n';
  if (options.json)
    out << Dump(ResultObject(CommandName(options.command), {}, std::nullopt,
                             StatusWord(options.command, status), reason))
        << '\n';
  return status;
}

int Run(const RunOptions& options, std::ostream& out, std::ostream& err, const Terminal& terminal) {
  Catalogue catalogue;
  catalogue.setLanguage(LanguageOf(options));
  // What identifies the controller also says when it is not a real one.
  const bool identifies = options.command == Command::kInfo || options.command == Command::kList;
  if (options.simulator && identifies)
    err << Text(catalogue, AddedText::kSimulatedController) << '\n';
  if (options.json && options.command == Command::kRead && options.file == "-")
    return Refused(options, Text(catalogue, AddedText::kJsonWithDataOnStdout), kExitUsage, out,
                   err);
  if (options.command == Command::kBackups) return RunBackups(options, catalogue, out);
  if (options.command == Command::kHistory) return RunHistory(options, catalogue, out);
  TransferSignals signals;
  // A file alone: no adapter is chosen or opened.
  if (options.command == Command::kCheck)
    return RunOnAdapter(options, catalogue, nullptr, out, err, terminal, signals);
  const std::vector<Adapter> adapters = FindAdapters(SourceOf(options));
  if (options.command == Command::kList) return RunList(catalogue, adapters, out, options.json);

  const AdapterChoice choice = ChooseAdapters(adapters, options.controller, catalogue);
  if (!choice.refusal.empty())
    return Refused(options, choice.refusal, ChoiceFailureStatus(options, choice), out, err);
  // Nothing runs when the adapters would share one output (or one standard input).
  if (const std::string refusal = BatchRefusal(options, catalogue, choice.chosen.size());
      !refusal.empty())
    return Refused(options, refusal, kExitUsage, out, err);
  if (options.controller == "all")
    return RunBatch(options, catalogue, choice.chosen, out, err, signals);
  if (choice.chosen.empty())
    return RunOnAdapter(options, catalogue, nullptr, out, err, terminal, signals);
  // One adapter: its placeholders are filled in as in a batch.
  RunOptions own = options;
  if (own.file.find('{') != std::string::npos)
    own.file = FileForAdapter(options.file, choice.chosen.front(),
                              IdentifyAdapter(choice.chosen.front()).info.serialNumber());
  return RunOnAdapter(own, catalogue, &choice.chosen.front(), out, err, terminal, signals);
}

// --json is honoured also when the rest of the command line is wrong.
bool WantsJson(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::string_view(argv[i]) == "--json") return true;
  return false;
}

// What a command printed and could not be written (a full disk, a closed pipe) is lost data:
// the command fails with the reason, whatever it did before.
int CheckedOutput(int status, const RunOptions& options, std::ostream& out, std::ostream& err) {
  errno = 0;
  out.flush();
  // A command that failed has said so already.
  if (out || (status != kExitOk && status != kExitDeclined)) return status;
  const int reason = errno;
  Catalogue catalogue;
  catalogue.setLanguage(LanguageOf(options));
  err << catalogue.FormatText(Text(catalogue, AddedText::kOutputFailed),
                              reason ? std::strerror(reason) : "I/O error")
      << '\n';
  err.flush();
  return status == kExitOk || status == kExitDeclined ? kExitFailure : status;
}

}  // namespace

Terminal ProcessTerminal() {
  return Terminal{&std::cin, StandardInputIsTerminal(), StandardErrorIsTerminal()};
}

int RunQvrctl(int argc, char** argv, std::ostream& out, std::ostream& err,
              const Terminal& terminal) {
  CLI::App app{
      "Command-line twin of qvr-service: device identification, resets, "
      "configurations and firmware updates through the QVR-B controller",
      "qvrctl"};
  RunOptions options;
  DeclareGlobal(app, options);
  DeclareCommands(app, options);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e, out, err) == 0 ? kExitOk : kExitUsage;
    // The reason in the user's language, CLI11's own words quoted after it.
    Catalogue catalogue;
    catalogue.setLanguage(LanguageOf(LanguageInArguments(argc, argv)));
    err << catalogue.FormatText(Text(catalogue, AddedText::kUsageError), e.what()) << '\n';
    if (WantsJson(argc, argv)) {
      const CLI::App* typed = app.get_subcommands().empty() ? nullptr : app.get_subcommands()[0];
      const nlohmann::json command = typed ? nlohmann::json(typed->get_name()) : nlohmann::json();
      out << Dump(ResultObject(command, {}, std::nullopt, "usage", e.what())) << '\n';
    }
    return kExitUsage;
  }
  options.simulator = app.get_option("--simulator")->count() > 0;
  for (char& c : options.device) c = char(std::tolower(static_cast<unsigned char>(c)));
  for (char& c : options.checkDevice) c = char(std::tolower(static_cast<unsigned char>(c)));
  for (char& c : options.backupsDevice) c = char(std::toupper(static_cast<unsigned char>(c)));
  for (char& c : options.language) c = char(std::tolower(static_cast<unsigned char>(c)));
  // The data and the questions cannot both come from standard input.
  Terminal effective = terminal;
  if (options.file == "-" && options.command != Command::kRead) effective.inputIsTerminal = false;
  const int status = Run(options, out, err, effective);
  return CheckedOutput(status, options, out, err);
}

}  // namespace qvr::cli

namespace qvr {

int RunQvrctl(int argc, char** argv, std::ostream& out, std::ostream& err) {
  return cli::RunQvrctl(argc, argv, out, err, cli::ProcessTerminal());
}

}  // namespace qvr
