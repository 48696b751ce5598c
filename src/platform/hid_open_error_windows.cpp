// An adapter another program holds answers the open with a sharing violation (or, for a device
// opened exclusively, a denied access); one unplugged since the listing is not found at all.
// hidapi closes its handle and keeps the reason to itself, so the open is repeated here.
#include <windows.h>

#include "platform/hid_open_error.h"
#include "platform/windows_text.h"

namespace qvr {

HidOpenFailure ClassifyHidOpenFailure(const std::string& path, int& systemError) {
  systemError = 0;
  const HANDLE device = ::CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OVERLAPPED, nullptr);
  if (device != INVALID_HANDLE_VALUE) {
    ::CloseHandle(device);  // free again: whoever held it has let go
    return HidOpenFailure::kOther;
  }
  systemError = int(::GetLastError());
  switch (systemError) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_DEV_NOT_EXIST:
      return HidOpenFailure::kGone;
    case ERROR_SHARING_VIOLATION:
      return HidOpenFailure::kHeldElsewhere;
    case ERROR_ACCESS_DENIED:
      return HidOpenFailure::kAccessDenied;
    default:
      return HidOpenFailure::kOther;
  }
}

}  // namespace qvr
