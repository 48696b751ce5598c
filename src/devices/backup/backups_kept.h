#pragma once
// How many backups of each unit are kept: a setting of the window's settings file, which
// qvrctl reads too, so that both programs prune alike.
#include "devices/backup/backup_store.h"

namespace qvr {

class IniFile;

inline constexpr int kMaxBackupsKept = 100000;

// "BackupsKept" of "MainSettings"; kDefaultBackupsKept when it is missing or not in
// 1..kMaxBackupsKept.
int ReadBackupsKept(const IniFile& ini);
void WriteBackupsKept(IniFile& ini, int kept);

}  // namespace qvr
