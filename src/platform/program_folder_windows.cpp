// The executable's folder, and whether it is the user's: the answer of the file system itself (a
// file is made and removed at once), and never for the system's program folders, where an
// installer put the program and a write may only seem to work (virtualised into the user's
// VirtualStore for programs without a manifest).
#include <windows.h>

#include <shlobj.h>
#include <stdlib.h>

#include <algorithm>

#include "platform/program_folder.h"
#include "platform/windows_text.h"

namespace qvr {

namespace {

std::wstring Lowered(std::wstring text) {
  if (!text.empty()) ::CharLowerBuffW(text.data(), DWORD(text.size()));
  return text;
}

bool Under(const std::wstring& path, REFKNOWNFOLDERID id) {
  wchar_t* known = nullptr;
  if (::SHGetKnownFolderPath(id, 0, nullptr, &known) != S_OK) {
    ::CoTaskMemFree(known);
    return false;
  }
  std::wstring prefix = Lowered(known);
  ::CoTaskMemFree(known);
  if (prefix.empty()) return false;
  if (prefix.back() != L'\\') prefix += L'\\';
  return Lowered(path + L"\\").starts_with(prefix);
}

bool FileCanBeMadeIn(const std::wstring& folder) {
  const std::wstring probe =
      folder + L"\\.qvr-write-check-" + std::to_wstring(::GetCurrentProcessId());
  const HANDLE file = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  ::CloseHandle(file);
  return true;
}

// '/' between names, as Qt gives paths to the window; the extended form's prefix, which takes
// no '/', goes first.
std::string WithForwardSlashes(std::wstring path) {
  if (path.starts_with(L"\\\\?\\UNC\\"))
    path.replace(0, 8, L"\\\\");
  else if (path.starts_with(L"\\\\?\\"))
    path.erase(0, 4);
  std::replace(path.begin(), path.end(), L'\\', L'/');
  return Utf8FromWide(path);
}

}  // namespace

std::string ExecutableFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);  // cut short: the path is longer than the buffer
  }
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::string() : WithForwardSlashes(path.substr(0, slash));
}

std::vector<std::string> SystemProgramFolders() {
  std::vector<std::string> folders;
  for (const wchar_t* name : {L"ProgramFiles", L"ProgramFiles(x86)", L"ProgramW6432"}) {
    const wchar_t* folder = ::_wgetenv(name);
    if (folder != nullptr && *folder != L'\0') folders.push_back(WithForwardSlashes(folder));
  }
  return folders;
}

// Qt's writability check reads the permission bits only, which say nothing of NTFS's access
// lists, so "C:\Program Files\..." passed it and every save of the settings then failed.
bool FolderIsUsers(const std::string& folder) {
  // No name would probe the current drive's root.
  if (folder.empty()) return false;
  std::wstring full = ExtendedPath(folder);
  if (full.starts_with(L"\\\\?\\") && !full.starts_with(L"\\\\?\\UNC\\")) full.erase(0, 4);
  while (!full.empty() && full.back() == L'\\') full.pop_back();
  if (Under(full, FOLDERID_ProgramFiles) || Under(full, FOLDERID_ProgramFilesX86) ||
      Under(full, FOLDERID_Windows))
    return false;
  return FileCanBeMadeIn(ExtendedPath(folder));
}

}  // namespace qvr
