#include "cli/qvrctl.h"

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <map>
#include <memory>
#include <string>

#include "cli/session.h"
#include "cli/transfer_signals.h"
#include "i18n/added_texts.h"
#include "link/clock.h"
#include "link/hid_transport.h"
#include "link/threaded_transport.h"
#include "sim/sim_controller.h"
#include "sim/sim_transport.h"

namespace qvr::cli {

namespace {

enum class Command { kInfo, kReset, kDefault, kRead, kWrite, kUpdate };

struct Options {
  bool simulator = false;
  std::string simulatorDir;
  int simulatedLatencyMs = 0;
  std::string language;
  bool packetLog = false;
  bool yes = false;
  Command command = Command::kInfo;
  std::string device = "qvr-b";
  std::string file;
};

const std::map<std::string, int> kDevicePages{
    {"qvr-b", kPageQvrb}, {"mux-410", kPageMux410}, {"tpx-520", kPageTpx520}};

Language DefaultLanguage() {
  const char* lang = std::getenv("LANG");
  return lang && std::string(lang).rfind("ru", 0) == 0 ? kRussian : kEnglish;
}

// Declares the command line; the parsed values land in `options`.
void Declare(CLI::App& app, Options& options) {
  app.require_subcommand(1);
  app.fallthrough();
  app.footer(
      "Exit status: 0 success, 1 failure (the reason on stderr), 2 usage error.\n"
      "Questions are asked on a terminal; --yes answers them, and without a terminal they\n"
      "are declined. A declined question is not a failure: nothing is sent and the status is 0.\n"
      "SIGINT, SIGTERM or SIGHUP during a transfer to a device: the transfer is completed first,\n"
      "then the command ends with its result.");
  app.add_option("--simulator", options.simulatorDir,
                 "Use the simulated controller; with =DIR its devices keep their memory there")
      ->expected(0, 1);
  app.add_option("--simulated-latency", options.simulatedLatencyMs,
                 "With --simulator: every report takes this many milliseconds, like a slow adapter")
      ->check(CLI::Range(0, 10000));
  app.add_option("--lang", options.language, "Language of the messages (default from LANG)")
      ->check(CLI::IsMember({"ru", "en"}, CLI::ignore_case));
  app.add_flag("--log", options.packetLog, "Print every packet to stderr");

  const auto deviceCheck = CLI::IsMember({"qvr-b", "mux-410", "tpx-520"}, CLI::ignore_case);
  auto command = [&](const char* name, const char* help, Command id) {
    CLI::App* sub = app.add_subcommand(name, help);
    sub->callback([&options, id] { options.command = id; });
    return sub;
  };
  command("info", "Identification of the controller or a device", Command::kInfo)
      ->add_option("DEVICE", options.device, "qvr-b (default), mux-410 or tpx-520")
      ->check(deviceCheck);
  CLI::App* reset = command("reset", "Restart a device", Command::kReset);
  reset->add_option("DEVICE", options.device)->required()->check(deviceCheck);

  CLI::App* toDefault =
      command("default", "Reset a device's configuration to its defaults", Command::kDefault);
  toDefault->add_option("DEVICE", options.device)->required()->check(deviceCheck);
  toDefault->add_flag("--yes,-y", options.yes, "Answer Yes to the question");

  CLI::App* read = command("read", "Read a device's configuration into a file", Command::kRead);
  read->add_option("DEVICE", options.device)->required()->check(deviceCheck);
  read->add_option("FILE", options.file, "Configuration file (*.MUX)")->required();

  CLI::App* write =
      command("write", "Check a configuration file and write it to the device", Command::kWrite);
  write->add_option("DEVICE", options.device)->required()->check(deviceCheck);
  write->add_option("FILE", options.file, "Configuration file (*.MUX)")->required();
  write->add_flag("--yes,-y", options.yes, "Answer Yes to the question");

  CLI::App* update =
      command("update", "Firmware update from a checked update file", Command::kUpdate);
  update->add_option("DEVICE", options.device)->required()->check(deviceCheck);
  update->add_option("FILE", options.file, "Update file (*.LDR)")->required();
  update->add_flag("--yes,-y", options.yes, "Answer Yes to the version questions");
}

int Dispatch(Session& session, const Options& options) {
  const DeviceModule& module = kDeviceModules[kDevicePages.at(options.device)];
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
    case Command::kUpdate:
      return RunUpdate(session, module, options.file);
  }
  return kExitUsage;
}

int Run(const Options& options, std::ostream& out, std::ostream& err, const Terminal& terminal) {
  Catalogue catalogue;
  catalogue.setLanguage(options.language.empty()   ? DefaultLanguage()
                        : options.language == "en" ? kEnglish
                                                   : kRussian);
  const Prompter::Mode mode = options.yes                ? Prompter::Mode::kAssumeYes
                              : terminal.inputIsTerminal ? Prompter::Mode::kAsk
                                                         : Prompter::Mode::kDecline;
  std::istream& in = terminal.in ? *terminal.in : std::cin;
  Prompter prompter(mode, in, err, catalogue);
  ConsoleHost host(out, err, prompter, options.packetLog, terminal.errorIsTerminal);
  TransferSignals signals;
  host.AttachSignals(&signals, Text(catalogue, AddedText::kStoppingAfterTransfer));

  std::unique_ptr<Transport> device;
  if (options.simulator) {
    auto controller = std::make_unique<sim::SimController>(options.simulatorDir);
    controller->SetLatency(std::chrono::milliseconds(options.simulatedLatencyMs));
    device = std::make_unique<sim::SimTransport>(std::move(controller));
  } else
    device = std::make_unique<HidTransport>();
  SteadyClock clock;
  // A stuck report is abandoned at its deadline instead of holding the command.
  ThreadedTransport transport(std::move(device), host, clock);
  Link link(transport, host, clock);
  host.AttachLink(&link);

  Session session{catalogue, host, link, prompter};
  const int status = Dispatch(session, options);
  link.CloseController();
  host.ReportDeferredSignal();
  out.flush();
  err.flush();
  return status;
}

}  // namespace

Terminal ProcessTerminal() {
  return Terminal{&std::cin, isatty(STDIN_FILENO) == 1, isatty(STDERR_FILENO) == 1};
}

int RunQvrctl(int argc, char** argv, std::ostream& out, std::ostream& err,
              const Terminal& terminal) {
  CLI::App app{
      "Command-line twin of qvr-service: device identification, resets, "
      "configurations and firmware updates through the QVR-B controller",
      "qvrctl"};
  app.set_version_flag("--version", std::string("qvrctl ") + kProgramVersion);
  Options options;
  Declare(app, options);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e, out, err) == 0 ? kExitOk : kExitUsage;
  }
  options.simulator = app.get_option("--simulator")->count() > 0;
  for (char& c : options.device) c = char(std::tolower(static_cast<unsigned char>(c)));
  for (char& c : options.language) c = char(std::tolower(static_cast<unsigned char>(c)));
  return Run(options, out, err, terminal);
}

}  // namespace qvr::cli

namespace qvr {

int RunQvrctl(int argc, char** argv, std::ostream& out, std::ostream& err) {
  return cli::RunQvrctl(argc, argv, out, err, cli::ProcessTerminal());
}

}  // namespace qvr
