#pragma once
// Where the window keeps its settings on Windows: beside the executable for a portable copy,
// in the user's folder for an installed one (Windows only; on Linux the settings code decides).
#include <string>

namespace qvr {

#ifdef _WIN32
// True when `folder` (the executable's, UTF-8) is the user's to write in: not under the
// system's program folders, and a file can really be made there. Qt's writability check
// reads the permission bits only, which say nothing of NTFS's access lists, so "C:\Program
// Files\..." passed it and every save of the settings then failed.
bool FolderIsUsers(const std::string& folder);
#endif

}  // namespace qvr
