#pragma once
// Why the controller's device path could not be opened, as far as the system says (Windows
// only: on Linux the device node's permissions say it). hidapi's open reports no reason.
#include <string>

namespace qvr {

enum class HidOpenFailure {
  kGone,           // the device is no longer there (unplugged between listing and open)
  kHeldElsewhere,  // another program has it open and shares it with nobody
  kAccessDenied,   // the system refuses this user the device
  kOther,          // any other reason: the system's error code goes with it
};

#ifdef _WIN32
// Opens `path` (UTF-8, as hidapi lists it) the way hidapi does and, when that fails, says why;
// `systemError` receives GetLastError. Call it right after hid_open_path failed.
HidOpenFailure ClassifyHidOpenFailure(const std::string& path, int& systemError);
#endif

}  // namespace qvr
