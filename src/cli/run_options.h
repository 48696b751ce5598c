#pragma once
// What the command line of qvrctl asked for, and the run of one command on one adapter.
#include <ostream>
#include <string>

#include "cli/qvrctl.h"
#include "devices/backup/backup_store.h"

namespace qvr {
class Catalogue;
}

namespace qvr {
class TransferSignals;
}

namespace qvr::cli {

struct Adapter;
struct AdapterSource;
struct Command;

struct RunOptions {
  bool simulator = false;
  std::string simulatorDir;
  int simulatedLatencyMs = 0;
  int simulatedAdapters = 1;
  std::string controller;
  int waitSeconds = 0;  // how long to wait for an adapter another program uses
  std::string language;
  std::string settingsPath;  // the window's settings file, when --settings names one
  bool packetLog = false;
  bool json = false;
  bool quiet = false;
  bool yes = false;
  bool noBackup = false;
  // Backups kept per unit: --keep-backups, else the window's settings file's.
  int keepBackups = kDefaultBackupsKept;
  // The folder of the backups and the history: --data-folder, else the settings file's
  // DataFolder, else the user's own; absolute (see DataFolderOf) for the commands that use it.
  std::string dataFolder;
  bool noVerify = false;              // write: no read-back after the write
  bool showAll = false;               // diff: names and descriptions too
  bool allowMissingSections = false;  // a file lacking sections may be written
  bool allowOlder = false;            // update: an older version may be installed
  bool allowReinstall = false;        // update: the device's own version may be installed
  bool strict = false;                // write: refuse values the unit would hold otherwise
  bool otherUnit = false;             // restore: another unit's backup may be written
  const Command* command = nullptr;   // set by the parse: one is always required
  std::string device = "qvr-b";
  std::string file;
  std::string checkDevice;     // check: a configured kind's command name, or "" to tell by the file
  std::string backupsDevice;   // backups: one device kind's, or "" for all
  long long historyUnit = -1;  // history: one unit's changes (its serial number), or -1 for all
  std::string historySince;    // history: changes from this local date on (YYYY-MM-DD), or ""
  std::string shell;           // completion: "bash", "zsh" or "fish"
};

// The adapters the options ask for: simulated ones, or those on the USB bus.
AdapterSource SourceOf(const RunOptions& options);

// Runs the command of `options` through `adapter` (none: the first controller found) and
// returns its exit status; what it says goes to `out` and `err`.
int RunOnAdapter(const RunOptions& options, const Catalogue& catalogue, const Adapter* adapter,
                 std::ostream& out, std::ostream& err, const Terminal& terminal,
                 TransferSignals& signals);

// `backups`: the backups of `device` ("" every device kind) in the simulated or the real
// backups folder, a line (or a JSON object) each, oldest first; 0, or 1 when there is none.
int RunBackups(const RunOptions& options, const Catalogue& catalogue, std::ostream& out,
               std::ostream& err);

// `history`: the changes made to units (--unit, --since: those that match), a line each (JSON:
// one object listing them), oldest first, written as they are read; lines passed over and
// files that could not be read are said on `err`. 0, or 1 when none is listed.
int RunHistory(const RunOptions& options, const Catalogue& catalogue, std::ostream& out,
               std::ostream& err);

// `list`: a line (or a JSON object) per adapter present; 0, or 1 when none can be used.
int RunList(const RunOptions& options, const Catalogue& catalogue, std::ostream& out,
            std::ostream& err);

// `completion`: the completion script of the shell named (JSON: one object holding it); 0.
int RunCompletion(const RunOptions& options, const Catalogue& catalogue, std::ostream& out,
                  std::ostream& err);

}  // namespace qvr::cli
