// New files on Windows: CREATE_NEW fails on any existing name, and a reparse point at the name
// is opened as itself, never followed.
#include <windows.h>

#include "platform/file_names.h"
#include "platform/new_file.h"

namespace qvr {

SaveResult CreateNewFile(const std::string& path) {
  const HANDLE file = ::CreateFileW(NativePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {SaveRefusal::kSystem, int(::GetLastError())};
  ::CloseHandle(file);
  return {};
}

bool NameTaken(const SaveResult& result) {
  return result.refusal == SaveRefusal::kSystem &&
         (result.systemError == ERROR_FILE_EXISTS || result.systemError == ERROR_ALREADY_EXISTS);
}

}  // namespace qvr
