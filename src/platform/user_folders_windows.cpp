// The user's folders on Windows: the local application data folder, which stays on this PC.
#include <stdlib.h>

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

}  // namespace qvr
