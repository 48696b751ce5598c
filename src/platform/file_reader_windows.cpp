// Reading a file piece by piece on Windows: only a disk file is read (a pipe or console name is
// refused before a read could block), shared so that the programs appending to it go on.
#include <windows.h>

#include "platform/file_reader.h"
#include "platform/windows_text.h"

namespace qvr {

FileReader::FileReader(const std::string& path) {
  const HANDLE file = ::CreateFileW(ExtendedPath(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    opened_ = {SaveRefusal::kSystem, int(::GetLastError())};
    return;
  }
  if (::GetFileType(file) != FILE_TYPE_DISK) {
    opened_ = {SaveRefusal::kNotRegularFile, 0};
    ::CloseHandle(file);
    return;
  }
  handle_ = reinterpret_cast<intptr_t>(file);
}

FileReader::~FileReader() {
  if (handle_ != -1) ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

long FileReader::Read(char* buffer, size_t capacity) {
  if (handle_ == -1) return -1;
  DWORD n = 0;
  const DWORD chunk = DWORD(capacity < (1u << 30) ? capacity : (1u << 30));
  if (!::ReadFile(reinterpret_cast<HANDLE>(handle_), buffer, chunk, &n, nullptr)) return -1;
  return long(n);
}

}  // namespace qvr
