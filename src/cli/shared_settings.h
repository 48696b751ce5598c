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

// The backups of each unit to keep, from the settings file (see WindowSettingsFile). A missing
// file gives the default; one that is there but cannot be read gives it with a line on `err`.
int BackupsKeptSetting(const std::string& givenPath, Language language, std::ostream& err);

}  // namespace qvr::cli
