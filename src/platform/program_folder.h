#pragma once
// The program's own folder, and whether a portable copy may keep its settings there instead of
// in the user's folder.
#include <string>
#include <vector>

namespace qvr {

// The folder of the running executable (UTF-8, '/' between names); empty when the system does
// not tell.
std::string ExecutableFolder();

// The folders the system installs programs under: /usr, /opt and the like on Linux, the
// Program Files folders on Windows ('/' between names).
std::vector<std::string> SystemProgramFolders();

// True when `folder` (UTF-8) is a folder the user may write in; on Windows never one under the
// system's program folders, and only where a file can really be made.
bool FolderIsUsers(const std::string& folder);

}  // namespace qvr
