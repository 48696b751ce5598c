// Whether the executable's folder is the user's: the answer of the file system itself (a file
// is made and removed at once), and never for the system's program folders, where an
// installer put the program and a write may only seem to work (virtualised into the user's
// VirtualStore for programs without a manifest).
#include <windows.h>

#include <shlobj.h>

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

}  // namespace

bool FolderIsUsers(const std::string& folder) {
  std::wstring full = ExtendedPath(folder);
  if (full.starts_with(L"\\\\?\\") && !full.starts_with(L"\\\\?\\UNC\\")) full.erase(0, 4);
  while (!full.empty() && full.back() == L'\\') full.pop_back();
  if (Under(full, FOLDERID_ProgramFiles) || Under(full, FOLDERID_ProgramFilesX86) ||
      Under(full, FOLDERID_Windows))
    return false;
  return FileCanBeMadeIn(ExtendedPath(folder));
}

}  // namespace qvr
