#include <windows.h>

#include "platform/machine_name.h"
#include "platform/windows_text.h"

namespace qvr {

std::string MachineName() {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
  if (!::GetComputerNameW(name, &size)) return {};
  return Utf8FromWide(std::wstring(name, size));
}

}  // namespace qvr
