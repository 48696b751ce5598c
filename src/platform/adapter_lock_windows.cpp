// Adapter locks on Windows. Windows lets every user open a HID device, and a device handle takes
// no lock, so every user is one of the adapter's users and the lock is a file per adapter in the
// machine's program-data folder (a simulated adapter's in its state folder), locked with
// LockFileEx. The file is opened for reading only, which the folder's inherited rights grant
// every user on a file another user made; it is never opened through a reparse point, never
// written, and no one may delete or rename it while one of our programs has it open. Any failure
// to take it stops the command. Windows keeps no record of a lock's holder that other users may
// read, and a process id anyone could write into the file would name no one for sure: the
// holder is not named.
#include <windows.h>

#include <shlobj.h>

#include "platform/adapter_lock.h"
#include "platform/windows_text.h"

namespace qvr {

namespace {

using Outcome = AdapterLockAttempt::Outcome;

std::string LockFileName(const std::string& adapterPath) {
  // Adapter paths hold characters a file name may not; a hash keeps them apart.
  uint32_t hash = 2166136261u;
  for (unsigned char c : adapterPath) hash = (hash ^ c) * 16777619u;
  return "qvr-b-" + std::to_string(hash) + ".lock";
}

// The folder every user of the machine shares, as the system knows it (not as a variable a
// program may have changed); "" when it has none, and then no lock is taken at all.
std::string LockFolder() {
  wchar_t* known = nullptr;
  const bool found =
      ::SHGetKnownFolderPath(FOLDERID_ProgramData, KF_FLAG_DONT_VERIFY, nullptr, &known) == S_OK;
  std::wstring folder = found && known != nullptr ? known : L"";
  ::CoTaskMemFree(known);
  if (folder.empty()) return {};
  folder += L"\\qvr-service";
  // Already there, or not to be made: the file's open then says why.
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return Utf8FromWide(folder);
}

HANDLE Handle(intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

// The file the lock is taken on: the adapter's own in the shared folder, or the lock file named.
std::string LockFileOf(const AdapterLock& lock) {
  if (lock.kind() == AdapterLock::Kind::kLockFile) return lock.path();
  const std::string folder = LockFolder();
  return folder.empty() ? std::string() : folder + "\\" + LockFileName(lock.path());
}

HANDLE OpenLockFile(const std::string& file, DWORD disposition) {
  // Without FILE_SHARE_DELETE: no one deletes or renames it under our programs.
  return CreateFileW(WideFromUtf8(file).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                     nullptr, disposition, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                     nullptr);
}

AdapterLockAttempt Failed(const std::string& file, AdapterLockFailure failure, DWORD error) {
  AdapterLockAttempt attempt;
  attempt.outcome = Outcome::kFailed;
  attempt.problem = {failure, int(error), file, false};
  return attempt;
}

bool SameFile(HANDLE a, HANDLE b) {
  BY_HANDLE_FILE_INFORMATION first{}, second{};
  return GetFileInformationByHandle(a, &first) && GetFileInformationByHandle(b, &second) &&
         first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
         first.nFileIndexHigh == second.nFileIndexHigh &&
         first.nFileIndexLow == second.nFileIndexLow;
}

}  // namespace

AdapterLock::AdapterLock(std::string path, Kind kind) : path_(std::move(path)), kind_(kind) {}

AdapterLock::~AdapterLock() {
  Release();
  Close();
}

void AdapterLock::Close() {
  if (handle_ != -1) CloseHandle(Handle(handle_));
  handle_ = -1;
}

AdapterLockAttempt AdapterLock::TryTake() {
  if (held_ && !StillAtPath()) Release();
  if (held_) return {Outcome::kTaken, {}, {}};
  for (int round = 0; round < 3; ++round) {
    AdapterLockAttempt attempt = TakeOnce();
    if (attempt.outcome != Outcome::kTaken || StillAtPath()) return attempt;
    Release();
  }
  return Failed(LockFileOf(*this), AdapterLockFailure::kNotLockable, 0);
}

AdapterLockAttempt AdapterLock::TakeOnce() {
  Close();
  const std::string file = LockFileOf(*this);
  if (file.empty()) return Failed(path_, AdapterLockFailure::kSystem, ERROR_PATH_NOT_FOUND);
  HANDLE opened = OpenLockFile(file, OPEN_ALWAYS);
  if (opened == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return Failed(
        file,
        error == ERROR_ACCESS_DENIED ? AdapterLockFailure::kNoAccess : AdapterLockFailure::kSystem,
        error);
  }
  handle_ = reinterpret_cast<intptr_t>(opened);
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(opened, &info)) {
    const DWORD error = GetLastError();
    Close();
    return Failed(file, AdapterLockFailure::kSystem, error);
  }
  if (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) {
    Close();
    return Failed(file, AdapterLockFailure::kNotLockable, 0);
  }
  OVERLAPPED at{};
  if (!LockFileEx(opened, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
    const DWORD error = GetLastError();
    Close();
    if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING)
      return {Outcome::kInUse, {}, {}};
    return Failed(file, AdapterLockFailure::kSystem, error);
  }
  held_ = true;
  return {Outcome::kTaken, {}, {}};
}

void AdapterLock::Release() {
  if (!held_) return;
  held_ = false;
  if (handle_ != -1) {
    OVERLAPPED at{};
    UnlockFileEx(Handle(handle_), 0, 1, 0, &at);
  }
  Close();
}

bool AdapterLock::StillAtPath() const {
  if (handle_ == -1) return false;
  HANDLE named = OpenLockFile(LockFileOf(*this), OPEN_EXISTING);
  if (named == INVALID_HANDLE_VALUE) return false;
  const bool same = SameFile(Handle(handle_), named);
  CloseHandle(named);
  return same;
}

}  // namespace qvr
