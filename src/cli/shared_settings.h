#pragma once
// What qvrctl takes from the window's settings file: the settings the two programs share. The
// file is the window's; qvrctl only reads it.
#include <ostream>
#include <string>

#include "i18n/catalogue.h"

namespace qvr::cli {

// The window's settings file: `givenPath` (--settings) when given, else the one of a window
// beside qvrctl, by the window's own rules.
std::string WindowSettingsFile(const std::string& givenPath);

struct SharedSettings {
  int backupsKept;         // the backups of each unit to keep
  std::string dataFolder;  // absolute; "" when the settings name none
};

// The settings the window shares with qvrctl, from its settings file (see WindowSettingsFile). A
// missing file gives the defaults; one that is there but cannot be read gives them with a line on
// `err` naming what then counts (`forKeeping`: the number kept, else the data folder).
SharedSettings ReadSharedSettings(const std::string& givenPath, bool forKeeping, Language language,
                                  std::ostream& err);

}  // namespace qvr::cli
