// The user's folders on Linux, after the XDG base directory rules.
#include <cstdlib>

#include "platform/user_folders.h"

namespace qvr {

std::string UserDataFolder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data != nullptr && *data != '\0') return data;
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr && *home != '\0' ? home : ".") + "/.local/share";
}

}  // namespace qvr
