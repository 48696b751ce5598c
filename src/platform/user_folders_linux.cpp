// The user's folders on Linux, after the XDG base directory rules.
#include <cstdlib>

#include "platform/user_folders.h"

namespace qvr {

namespace {

// The rules take only absolute paths: a relative one would follow the working folder.
const char* AbsoluteVariable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && value[0] == '/' ? value : nullptr;
}

}  // namespace

std::string UserDataFolder() {
  if (const char* data = AbsoluteVariable("XDG_DATA_HOME")) return data;
  if (const char* home = AbsoluteVariable("HOME")) return std::string(home) + "/.local/share";
  return {};
}

}  // namespace qvr
