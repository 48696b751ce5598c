#include "cli/qvrctl.h"

#include <CLI/CLI.hpp>
#include <algorithm>
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
#include "cli/command_line.h"
#include "cli/command_table.h"
#include "cli/json_objects.h"
#include "cli/run_options.h"
#include "cli/session.h"
#include "cli/shared_settings.h"
#include "cli/terminal_text.h"
#include "devices/backup/change_recorder.h"
#include "devices/backup/data_folder.h"
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

// Several adapters and no choice is a mistake on the command line; an adapter that is not
// there is a failure like any missing controller (diff's failures are all "trouble").
int ChoiceFailureStatus(const RunOptions& options, const AdapterChoice& choice) {
  if (choice.ambiguous) return kExitUsage;
  return options.command->exitsLikeDiff ? kExitDiffTrouble : kExitFailure;
}

// How often a command that waits for another program's adapter tries it again.
constexpr uint32_t kAdapterRetryMs = 20;

// Takes the adapter before the command's first report. Another program's hold is waited out for
// `waitMs` in all, by the run's clock, between attempts: never inside a report's time-out. On a
// terminal one line says whom the command waits for while it waits, and goes when it ends.
LinkResult TakeAdapterFirst(Transport& transport, Clock& clock, uint32_t waitMs, ConsoleHost& host,
                            const Catalogue& catalogue) {
  const uint32_t start = clock.NowMs();
  bool waiting = false;
  for (;;) {
    const LinkResult result = transport.TakeAdapter();
    const uint32_t waited = clock.NowMs() - start;
    if (result != LinkAdapterBusy || waited >= waitMs) {
      host.EndWaiting();
      return result;
    }
    if (!waiting) {
      host.ShowWaiting(
          catalogue.FormatText(Text(catalogue, AddedText::kWaitingForAdapter),
                               AdapterHolderText(catalogue, transport.BusyHolder()).c_str()));
      waiting = true;
    }
    clock.SleepMs(std::min(kAdapterRetryMs, waitMs - waited));
  }
}

// Why the adapter could not be had: who holds it, or why its lock could not be taken.
std::string AdapterRefusal(const Catalogue& catalogue, LinkResult result, const Link& link) {
  if (result == LinkAdapterBusy) return AdapterBusyText(catalogue, link.BusyHolder());
  std::string text = LinkResultText(catalogue, result);
  const std::string reason = AdapterLockProblemText(catalogue, link.LockProblem());
  return reason.empty() ? text : text + "\n" + reason;
}

bool Failed(const Command& command, int status) {
  return command.exitsLikeDiff ? status == kExitDiffTrouble
                               : status != kExitOk && status != kExitDeclined;
}

}  // namespace

int RunOnAdapter(const RunOptions& options, const Catalogue& catalogue, const Adapter* adapter,
                 std::ostream& out, std::ostream& err, const Terminal& terminal,
                 TransferSignals& signals) {
  std::istream& in = terminal.in ? *terminal.in : std::cin;
  Prompter prompter(options.yes, terminal.inputIsTerminal, in, err, catalogue);
  const Command& command = *options.command;
  const bool stdoutIsData = command.fileIsOutput && options.file == "-";
  ConsoleHost host(out, err, prompter, options.packetLog,
                   terminal.errorIsTerminal && !options.quiet, options.json, stdoutIsData);
  host.AttachSignals(&signals, Text(catalogue, AddedText::kStoppingAfterTransfer));
  host.ShowTimeLeftIn(catalogue);

  // The command keeps the adapter from before its first report to its end: no other program's
  // reports come between. It waits for another program only before it starts, as long as it
  // was told to; a report waits no more than a poll's few milliseconds (a new node's lock).
  const AdapterSharing sharing{true};
  std::unique_ptr<Transport> device =
      adapter ? adapter->open(sharing)
              : std::unique_ptr<Transport>(std::make_unique<HidTransport>(std::string(), sharing));
  SteadyClock steady;
  Clock& clock = terminal.clock ? *terminal.clock : steady;
  // A stuck report is abandoned at its deadline instead of holding the command.
  ThreadedTransport transport(std::move(device), host, clock);
  Link link(transport, host, clock);

  // Nothing goes to the adapter before it is this program's.
  const uint32_t waitMs =
      options.waitSeconds > 0 ? uint32_t(options.waitSeconds) * 1000 : kAdapterBusyWaitMs;
  const LinkResult taken =
      command.usesAdapter ? TakeAdapterFirst(transport, clock, waitMs, host, catalogue) : LinkOk;
  const bool refused = taken == LinkAdapterBusy || taken == LinkAdapterNotReserved;
  std::optional<uint32_t> serial;
  host.fields()["target"] = NamedModule(options).name;
  if (!options.file.empty()) host.fields()["file"] = options.file;
  int status = command.exitsLikeDiff ? kExitDiffTrouble : kExitFailure;
  if (refused) {
    host.Error(AdapterRefusal(catalogue, taken, link));
  } else {
    Session session{catalogue,        host,         link,    prompter, in,
                    options.noBackup, options.json, options, {},       nullptr};
    if (options.json && command.usesAdapter) {
      DeviceInfo controller;
      if (ReadInfoBlock(link, kControllerAddress, controller) == LinkOk)
        serial = controller.serialNumber();
    }
    std::optional<ChangeRecorder> change;
    if (command.changesTheUnit) {
      change.emplace(link, NamedModule(options),
                     ChangeSetting{"qvrctl", command.jsonName(), options.simulator,
                                   HistoryLocationIn(options.dataFolder), &catalogue,
                                   [&host](const std::string& text) { host.Remark(text); }});
      session.change = &*change;
    }
    status = command.run(session, NamedModule(options));
    if (change) change->Finish(ResultOf(status == kExitOk, host.stopRequested()));
    // A command that lost the adapter on the way (a new node another program took first) says
    // who has it, or why its lock could not be taken; one that succeeded says nothing of it.
    if (Failed(command, status)) {
      if (const AdapterHolder holder = link.BusyHolder(); holder.processId != 0)
        host.Error(catalogue.FormatText(Text(catalogue, AddedText::kAdapterBusyHolder),
                                        AdapterHolderText(catalogue, holder).c_str()));
      if (const std::string reason = AdapterLockProblemText(catalogue, link.LockProblem());
          !reason.empty())
        host.Error(reason);
    }
  }
  link.CloseController();
  host.ReportDeferredSignal();
  if (options.json) {
    const char* word = StatusWord(command, status);
    const bool succeeded = word == std::string("ok") || word == std::string("different");
    host.WriteStdout(Dump(ResultObject(command.jsonName(), adapter ? adapter->path : std::string(),
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
    out << Dump(ResultObject(options.command->jsonName(), {}, std::nullopt,
                             StatusWord(*options.command, status), reason))
        << '\n';
  return status;
}

int Run(const RunOptions& options, std::ostream& out, std::ostream& err, const Terminal& terminal) {
  Catalogue catalogue;
  catalogue.setLanguage(LanguageOf(options));
  const Command& command = *options.command;
  // What identifies the controller also says when it is not a real one.
  if (options.simulator && command.identifies)
    err << Text(catalogue, AddedText::kSimulatedController) << '\n';
  if (options.json && command.fileIsOutput && options.file == "-")
    return Refused(options, Text(catalogue, AddedText::kJsonWithDataOnStdout), kExitUsage, out,
                   err);
  if (command.runHere) return command.runHere(options, catalogue, out, err);
  TransferSignals signals;
  // A file alone: no adapter is chosen or opened.
  if (!command.usesAdapter)
    return RunOnAdapter(options, catalogue, nullptr, out, err, terminal, signals);
  const std::vector<Adapter> adapters = FindAdapters(SourceOf(options));

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

// The settings the window shares, read only by a command that uses them and only where the
// command line has not said: a change backs its unit up (how many are kept) into the data
// folder, a listing reads the data folder.
void TakeSharedSettings(const CLI::App& app, RunOptions& options, std::ostream& err) {
  const Command& command = *options.command;
  const bool keeping =
      command.changesTheUnit && !options.noBackup && app.get_option("--keep-backups")->count() == 0;
  const bool locating = (command.changesTheUnit || command.listsDataFolder) &&
                        app.get_option("--data-folder")->count() == 0;
  if (keeping || locating) {
    const SharedSettings shared =
        ReadSharedSettings(options.settingsPath, keeping, LanguageOf(options), err);
    if (keeping) options.keepBackups = shared.backupsKept;
    if (locating) options.dataFolder = shared.dataFolder;
  }
  // Resolved once: the command's backups and history all take it as it is.
  if (command.changesTheUnit || command.listsDataFolder)
    options.dataFolder = DataFolderOf(options.dataFolder);
}

}  // namespace

Terminal ProcessTerminal() {
  return Terminal{&std::cin, StandardInputIsTerminal(), StandardErrorIsTerminal()};
}

int RunQvrctl(int argc, char** argv, std::ostream& out, std::ostream& err,
              const Terminal& terminal) {
  CommandLine line;
  CLI::App& app = line.app;
  RunOptions& options = line.options;
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e, out, err) == 0 ? kExitOk : kExitUsage;
    // The reason in the user's language, CLI11's own words quoted after it; they repeat the
    // arguments, which may hold anything.
    Catalogue catalogue;
    catalogue.setLanguage(LanguageOf(LanguageInArguments(argc, argv)));
    err << TerminalSafe(catalogue.FormatText(Text(catalogue, AddedText::kUsageError), e.what()))
        << '\n';
    if (WantsJson(argc, argv)) {
      const CLI::App* typed = app.get_subcommands().empty() ? nullptr : app.get_subcommands()[0];
      const Command* named = typed ? CommandNamed(typed->get_name()) : nullptr;
      const nlohmann::json command = named ? nlohmann::json(named->jsonName()) : nlohmann::json();
      out << Dump(ResultObject(command, {}, std::nullopt, "usage", e.what())) << '\n';
    }
    return kExitUsage;
  }
  options.simulator = app.get_option("--simulator")->count() > 0;
  for (char& c : options.device) c = char(std::tolower(static_cast<unsigned char>(c)));
  for (char& c : options.checkDevice) c = char(std::tolower(static_cast<unsigned char>(c)));
  for (char& c : options.backupsDevice) c = char(std::toupper(static_cast<unsigned char>(c)));
  for (char& c : options.language) c = char(std::tolower(static_cast<unsigned char>(c)));
  TakeSharedSettings(app, options, err);
  // The data and the questions cannot both come from standard input.
  Terminal effective = terminal;
  if (options.file == "-" && !options.command->fileIsOutput) effective.inputIsTerminal = false;
  const int status = Run(options, out, err, effective);
  return CheckedOutput(status, options, out, err);
}

}  // namespace qvr::cli

namespace qvr {

int RunQvrctl(int argc, char** argv, std::ostream& out, std::ostream& err) {
  return cli::RunQvrctl(argc, argv, out, err, cli::ProcessTerminal());
}

}  // namespace qvr
