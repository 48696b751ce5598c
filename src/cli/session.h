#pragma once
// What every qvrctl command works with: the texts, the console, the link and the prompter.
#include <istream>

#include "cli/console_host.h"
#include "cli/prompter.h"
#include "cli/run_options.h"
#include "devices/backup/raw_image.h"
#include "i18n/catalogue.h"
#include "link/device_module.h"
#include "link/link.h"

namespace qvr {
class ChangeRecorder;
}

namespace qvr::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitDeclined = 3;     // a question was answered No: nothing was changed
inline constexpr int kExitDiffTrouble = 2;  // diff: either side could not be read

struct Session {
  const Catalogue& catalogue;
  ConsoleHost& host;
  Link& link;
  Prompter& prompter;
  std::istream& in;       // a configuration given as "-"
  bool noBackup = false;  // write and default go on without saving the device's configuration
  bool json = false;      // results as JSON objects on standard output
  const RunOptions& options;
  std::string restoring;  // the folder name of the backup being restored: never pruned now
  ChangeRecorder* change = nullptr;  // a command that changes the unit: its record in the history
};

// Each command returns the process exit status; its failure has been printed.
int RunInfo(Session& session, const DeviceModule& module);
int RunReset(Session& session, const DeviceModule& module);
// A question answered No (or declined without a terminal) ends the default, write and update
// commands with kExitDeclined and a note that nothing was sent, so a script never counts the
// unit as done.
int RunDefault(Session& session, const DeviceModule& module);
int RunReadConfig(Session& session, const DeviceModule& module, const std::string& path);
int RunWriteConfig(Session& session, const DeviceModule& module, const std::string& path);
int RunUpdate(Session& session, const DeviceModule& module, const std::string& path);
// Each section/key whose value differs between the device and the file: 0 same, 1 different,
// 2 when either could not be read.
int RunDiff(Session& session, const DeviceModule& module, const std::string& path);
// Writes a backup file back as `write` does, the unit's name taken from the file's NAME.
int RunRestoreFile(Session& session, const DeviceModule& module, const std::string& path);
// Writes a backup's raw image back byte for byte, every block (the ones no file carries
// included), with write's question, backup and read-back.
int RunRestoreRawImage(Session& session, const DeviceModule& module, const RawImage& image,
                       const std::string& shownPath);
// restore: the backup at `which` (a file), or the unit's newest one ("latest" or empty).
int RunRestore(Session& session, const DeviceModule& module, const std::string& which);
// check: the values of a configuration file the unit would hold otherwise, without a device
// (`device` "" tells the kind by the file's keys); 0 none, 1 any or the file refused.
int RunCheck(Session& session, const std::string& device, const std::string& path);
// Saves the device's configuration to the backups folder before a change; kExitOk to go on.
int BackupBeforeChange(Session& session, const DeviceModule& module);
// Nothing was done because the user (or the lack of a terminal) said No: a note, status 3.
int Declined(Session& session);

}  // namespace qvr::cli
