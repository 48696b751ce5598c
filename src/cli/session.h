#pragma once
// What every qvrctl command works with: the texts, the console, the link and the prompter.
#include "cli/console_host.h"
#include "cli/prompter.h"
#include "i18n/catalogue.h"
#include "link/device_module.h"
#include "link/link.h"

namespace qvr::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

struct Session {
  const Catalogue& catalogue;
  ConsoleHost& host;
  Link& link;
  Prompter& prompter;
};

// Each command returns the process exit status; its failure has been printed.
int RunInfo(Session& session, const DeviceModule& module);
int RunReset(Session& session, const DeviceModule& module);
// A question answered No is not a failure: the default, write and update commands then exit
// with 0 and a note that nothing was sent.
int RunDefault(Session& session, const DeviceModule& module);
int RunReadConfig(Session& session, const DeviceModule& module, const std::string& path);
int RunWriteConfig(Session& session, const DeviceModule& module, const std::string& path);
int RunUpdate(Session& session, const DeviceModule& module, const std::string& path);
// Nothing was done because the user (or the lack of a terminal) said No: a note, status 0.
int Declined(Session& session);

}  // namespace qvr::cli
