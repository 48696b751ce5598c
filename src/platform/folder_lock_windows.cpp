// The folder lock on Windows: folders cannot be locked there, so a lock file inside the folder
// (".qvr-lock") is; the system releases its lock when the process ends in any way.
#include <windows.h>

#include "platform/folder_lock.h"
#include "platform/windows_text.h"

namespace qvr {

FolderLock::FolderLock(const std::string& folder) {
  if (folder.empty()) return;
  const HANDLE file = ::CreateFileW(WideFromUtf8(folder + "\\.qvr-lock").c_str(),
                                    GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  OVERLAPPED whole{};
  if (!::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole)) {
    ::CloseHandle(file);
    return;
  }
  handle_ = reinterpret_cast<intptr_t>(file);
}

FolderLock::~FolderLock() {
  if (handle_ >= 0) ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

}  // namespace qvr
