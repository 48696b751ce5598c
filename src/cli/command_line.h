#pragma once
// qvrctl's command line: the global options and every command of the table declared on one
// CLI11 app, the values parsed into one RunOptions, and what a shell offers for each value.
#include <CLI/CLI.hpp>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "cli/run_options.h"
#include "devices/drivers/device_drivers.h"

namespace qvr::cli {

// What a shell offers as the value of an option or an argument.
struct ValueOffer {
  std::vector<std::string> words = {};  // fixed choices: device names, languages, "latest"
  std::string fileSuffix = {};          // "MUX": files with it, in either case, and folders
  bool folders = false;                 // a folder
  bool adapters = false;                // "all", and the paths and serial numbers connected now
};

class CommandLine {
 public:
  // Declares the global options and every command, naming the devices of `drivers`.
  explicit CommandLine(std::span<const DeviceDriver> drivers = DeviceDrivers());
  CommandLine(const CommandLine&) = delete;
  CommandLine& operator=(const CommandLine&) = delete;

  // Remembers what a shell offers as the value of `option`; returns `option`.
  CLI::Option* Offer(CLI::Option* option, ValueOffer offer);
  // What a shell offers for `option`'s value; null when nothing in particular.
  const ValueOffer* OfferFor(const CLI::Option& option) const;

  CLI::App app;
  RunOptions options;  // where parsing puts the values
  std::span<const DeviceDriver> drivers;

 private:
  std::map<const CLI::Option*, ValueOffer> offers_;
};

}  // namespace qvr::cli
