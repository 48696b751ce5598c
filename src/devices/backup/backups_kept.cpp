#include "devices/backup/backups_kept.h"

#include "devices/common/ini_file.h"

namespace qvr {

namespace {

// The window's own section, where it keeps what it shows and switches.
constexpr const char* kSection = "MainSettings";
constexpr const char* kKey = "BackupsKept";

}  // namespace

int ReadBackupsKept(const IniFile& ini) {
  const int64_t kept = ini.GetInt(kSection, kKey, kDefaultBackupsKept);
  return kept < 1 || kept > kMaxBackupsKept ? kDefaultBackupsKept : int(kept);
}

void WriteBackupsKept(IniFile& ini, int kept) {
  ini.SetInt(kSection, kKey, kept);
}

}  // namespace qvr
