// The user's folders on Windows: the local application data folder, which stays on this PC.
#include <windows.h>

#include <shlobj.h>
#include <stdlib.h>

#include <algorithm>

#include "platform/user_folders.h"
#include "platform/windows_text.h"

namespace qvr {

std::string UserDataFolder() {
  const wchar_t* local = ::_wgetenv(L"LOCALAPPDATA");
  if (local != nullptr && *local != L'\0') return Utf8FromWide(local);
  const wchar_t* profile = ::_wgetenv(L"USERPROFILE");
  if (profile != nullptr && *profile != L'\0') return Utf8FromWide(profile) + "\\AppData\\Local";
  return ".";
}

std::string UserConfigFolder() {
  // Qt asks for the known folder, not the variable, and does not make it.
  wchar_t* known = nullptr;
  const bool found =
      ::SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DONT_VERIFY, nullptr, &known) == S_OK;
  std::wstring folder = found && known != nullptr ? known : L"";
  ::CoTaskMemFree(known);
  if (folder.empty()) return UserDataFolder();
  std::replace(folder.begin(), folder.end(), L'\\', L'/');
  return Utf8FromWide(folder);
}

}  // namespace qvr
