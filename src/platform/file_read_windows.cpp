// Reading whole files on Windows: only disk files are read (a pipe or console name is refused
// before any read could block), with sharing that lets other programs keep the file open.
#include <windows.h>

#include "platform/file_read.h"
#include "platform/windows_text.h"

namespace qvr {

bool ReadRegularFile(const std::string& path, size_t maxSize, std::string& data, bool& tooLarge) {
  tooLarge = false;
  const HANDLE file = ::CreateFileW(ExtendedPath(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool ok = ::GetFileType(file) == FILE_TYPE_DISK && ::GetFileSizeEx(file, &size) != 0;
  tooLarge = ok && uint64_t(size.QuadPart) > maxSize;
  if (ok && !tooLarge) {
    char buffer[65536];
    for (;;) {
      DWORD n = 0;
      if (!::ReadFile(file, buffer, sizeof buffer, &n, nullptr)) ok = false;
      if (!ok || n == 0) break;
      data.append(buffer, n);
      if (data.size() > maxSize) {  // grew while we read it
        tooLarge = true;
        break;
      }
    }
  }
  ::CloseHandle(file);
  if (tooLarge) data.clear();
  return ok;
}

}  // namespace qvr
