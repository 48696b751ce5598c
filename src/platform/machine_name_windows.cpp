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

std::string SystemMachineId() {
  wchar_t guid[64] = {};
  DWORD size = sizeof guid;
  // The 64-bit view: a 32-bit build would otherwise read a redirected key without the value.
  if (::RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Cryptography", L"MachineGuid",
                     RRF_RT_REG_SZ | RRF_SUBKEY_WOW6464KEY, nullptr, guid, &size) == ERROR_SUCCESS)
    return Utf8FromWide(guid);
  return {};
}

}  // namespace qvr
