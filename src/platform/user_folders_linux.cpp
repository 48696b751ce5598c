// The user's folders on Linux, after the XDG base directory rules.
#include <cstdlib>
#include <filesystem>

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

std::string UserConfigFolder() {
  // Qt takes a relative value too, and no home as the root; it cleans $HOME of "." and ".."
  // and of doubled or trailing slashes.
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && *config != '\0') return config;
  const char* home = std::getenv("HOME");
  std::string clean = std::filesystem::path(home != nullptr && *home != '\0' ? home : "/")
                          .lexically_normal()
                          .string();
  if (clean.size() > 1 && clean.back() == '/') clean.pop_back();
  return clean + "/.config";
}

}  // namespace qvr
