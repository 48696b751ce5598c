// The folder lock on Windows, where a folder itself cannot be locked: a named mutex per folder
// (named for a hash of its full, lower-cased path), so no lock file is left in the folder. A
// holder that dies leaves the mutex abandoned, and the next waiter takes it. The lock is
// released on the thread that took it, as the scoped use of FolderLock does.
#include <windows.h>

#include <cstdio>

#include "platform/folder_lock.h"
#include "platform/windows_text.h"

namespace qvr {

namespace {

std::wstring MutexName(const std::string& folder) {
  const std::wstring given = WideFromUtf8(folder);
  std::wstring full(MAX_PATH, L'\0');
  DWORD n = ::GetFullPathNameW(given.c_str(), DWORD(full.size()), full.data(), nullptr);
  if (n >= full.size()) {
    full.resize(n);
    n = ::GetFullPathNameW(given.c_str(), DWORD(full.size()), full.data(), nullptr);
  }
  full.resize(n < full.size() ? n : 0);
  if (full.empty()) full = given;
  while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/')) full.pop_back();
  uint64_t hash = 14695981039346656037ull;  // FNV-1a over the lower-cased UTF-16 units
  for (wchar_t c : full) {
    const wchar_t lower = wchar_t(uintptr_t(::CharLowerW(reinterpret_cast<LPWSTR>(uintptr_t(c)))));
    hash = (hash ^ uint16_t(lower == L'/' ? L'\\' : lower)) * 1099511628211ull;
  }
  wchar_t name[64];
  std::swprintf(name, 64, L"Local\\qvr-folder-lock-%016llx", static_cast<unsigned long long>(hash));
  return name;
}

}  // namespace

FolderLock::FolderLock(const std::string& folder) {
  if (folder.empty()) return;
  const DWORD attributes = ::GetFileAttributesW(ExtendedPath(folder).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return;
  const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, MutexName(folder).c_str());
  if (mutex == nullptr) return;
  const DWORD waited = ::WaitForSingleObject(mutex, INFINITE);
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
    ::CloseHandle(mutex);
    return;
  }
  handle_ = reinterpret_cast<intptr_t>(mutex);
}

FolderLock::~FolderLock() {
  if (handle_ < 0) return;
  ::ReleaseMutex(reinterpret_cast<HANDLE>(handle_));
  ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

}  // namespace qvr
