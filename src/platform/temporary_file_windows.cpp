// Temporary files on Windows: a new name in the user's temporary folder, created exclusively.
#include <windows.h>

#include "platform/temporary_file.h"
#include "platform/windows_text.h"

namespace qvr {

std::string CreateTemporaryFile(const std::string& suffix) {
  wchar_t folder[MAX_PATH + 1];
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
  if (length == 0 || length > MAX_PATH) return {};
  const std::wstring wideSuffix = WideFromUtf8(suffix);
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    const unsigned unique = ::GetCurrentProcessId() * 7919u + ::GetTickCount() + attempt;
    const std::wstring path =
        std::wstring(folder, length) + L"qvrctl-" + std::to_wstring(unique % 1000000u) + wideSuffix;
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      ::CloseHandle(file);
      return Utf8FromWide(path);
    }
    if (::GetLastError() != ERROR_FILE_EXISTS) return {};
  }
  return {};
}

}  // namespace qvr
