#include "cli/command_line.h"

#include <string>

#include "cli/command_table.h"
#include "devices/backup/backups_kept.h"
#include "i18n/catalogue.h"
#include "platform/console.h"

namespace qvr::cli {

namespace {

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
         "--no-backup skips that. The newest 20 of each unit are kept, or as many as BackupsKept "
         "in\n[MainSettings] of the window's settings file says (--settings); --keep-backups for "
         "one run.\n" +
         TerminationRequestHint() +
         "during a transfer to a device: the transfer is completed first,\n"
         "then the command ends with its result." +
         kConsoleCloseNote;
}

void DeclareGlobal(CommandLine& line) {
  CLI::App& app = line.app;
  RunOptions& options = line.options;
  app.require_subcommand(1);
  app.fallthrough();
  app.footer(Footer());
  app.set_version_flag("--version", std::string("qvrctl ") + kProgramVersion);
  line.Offer(app.add_option("--simulator", options.simulatorDir,
                            "Use the simulated controller; with =DIR its devices keep their "
                            "memory there")
                 ->expected(0, 1),
             {.folders = true});
  app.add_option("--simulated-latency", options.simulatedLatencyMs,
                 "With --simulator: every report takes this many milliseconds, like a slow adapter")
      ->check(CLI::Range(0, 10000));
  app.add_option("--simulated-adapters", options.simulatedAdapters,
                 "With --simulator: how many adapters are connected")
      ->check(CLI::Range(1, 16));
  line.Offer(app.add_option("--controller", options.controller,
                            "The adapter to use: its path, its serial number, or all (every one "
                            "at once)"),
             {.adapters = true});
  app.add_option("--wait", options.waitSeconds,
                 "When another program uses the adapter, wait this many seconds for it")
      ->check(CLI::Range(0, 3600));
  line.Offer(app.add_option("--lang", options.language,
                            "Language of the messages (default from LC_ALL, LC_MESSAGES or LANG)")
                 ->check(CLI::IsMember({"ru", "en"}, CLI::ignore_case)),
             {.words = {"ru", "en"}});
  app.add_flag("--log", options.packetLog, "Print every packet to stderr");
  app.add_flag("--json", options.json,
               "One JSON object per adapter on stdout, for every command and outcome (format 1)");
  app.add_flag("-q,--quiet", options.quiet, "No progress display");
  line.Offer(app.add_option("--settings", options.settingsPath,
                            "The window's settings file to take BackupsKept and DataFolder from "
                            "(default: the one the window uses)"),
             {.fileSuffix = "INI"});
  line.Offer(app.add_option("--data-folder", options.dataFolder,
                            "The folder of the backups and the history, one several computers "
                            "may share (default: DataFolder of the settings, else the user's)"),
             {.folders = true});
  app.add_option("--keep-backups", options.keepBackups,
                 "How many backups of each unit are kept (default: BackupsKept of the settings, "
                 "else 20)")
      ->check(CLI::Range(1, kMaxBackupsKept));
}

}  // namespace

CommandLine::CommandLine(std::span<const DeviceDriver> deviceDrivers)
    : app("Command-line twin of qvr-service: device identification, resets, "
          "configurations and firmware updates through the QVR-B controller",
          "qvrctl"),
      drivers(deviceDrivers) {
  DeclareGlobal(*this);
  for (const Command& command : Commands()) {
    CLI::App* sub = app.add_subcommand(command.name, command.help);
    sub->callback([this, &command] { options.command = &command; });
    if (command.declare) command.declare(*this, *sub);
  }
}

CLI::Option* CommandLine::Offer(CLI::Option* option, ValueOffer offer) {
  offers_[option] = std::move(offer);
  return option;
}

const ValueOffer* CommandLine::OfferFor(const CLI::Option& option) const {
  const auto found = offers_.find(&option);
  return found == offers_.end() ? nullptr : &found->second;
}

}  // namespace qvr::cli
