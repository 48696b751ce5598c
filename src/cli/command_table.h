#pragma once
// qvrctl's commands, one entry each: the command line, its help, the dispatch, the JSON and
// history names and the shell completions are all built from this table. A new command is a
// new entry (its declaration, its run function and its texts).
#include <ostream>
#include <span>
#include <string_view>

namespace CLI {
class App;
}

namespace qvr {
class Catalogue;
struct DeviceModule;
}  // namespace qvr

namespace qvr::cli {

class CommandLine;
struct RunOptions;
struct Session;

struct Command {
  const char* name;  // as typed
  const char* help;
  // Declares the command's arguments and options on its subcommand `sub` of `line`.
  void (*declare)(CommandLine& line, CLI::App& sub) = nullptr;
  // Runs the command through the adapter's link on the device the command line named (with
  // usesAdapter false, on a file alone); one of run and runHere is set.
  int (*run)(Session& session, const DeviceModule& module) = nullptr;
  // Runs the command without choosing an adapter: listings and scripts of this computer.
  int (*runHere)(const RunOptions& options, const Catalogue& catalogue, std::ostream& out,
                 std::ostream& err) = nullptr;
  bool changesTheUnit = false;   // a change recorded in the history, after a backup
  bool listsDataFolder = false;  // lists the backups or the history of the data folder
  bool usesAdapter = true;       // false: run works on a file alone, no adapter is chosen
  bool identifies = false;       // says first when the controller it identifies is simulated
  bool fileIsOutput = false;     // FILE is written: "-" is standard output, not input
  bool exitsLikeDiff = false;    // 1 is the answer "different", 2 trouble
  const char* json = nullptr;    // its name in JSON and the history when not `name`

  const char* jsonName() const { return json ? json : name; }
};

// Every command, in the order the help lists them.
std::span<const Command> Commands();

// The command typed as `name`, or null.
const Command* CommandNamed(std::string_view name);

}  // namespace qvr::cli
