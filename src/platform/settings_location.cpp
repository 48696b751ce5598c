#include "platform/settings_location.h"

#include <algorithm>
#include <filesystem>

#include "platform/file_names.h"
#include "platform/user_folders.h"

namespace qvr {

namespace {

// `path` absolute and without ".", ".." or doubled and trailing separators, '/' between names:
// a folder and a program folder compare as texts.
std::string CleanFolder(const std::string& path) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(NativePath(path), error);
  if (error) absolute = NativePath(path);
  std::string clean = Utf8Path(absolute.lexically_normal());
  std::replace(clean.begin(), clean.end(), '\\', '/');
  if (clean.size() > 1 && clean.back() == '/') clean.pop_back();
  return clean;
}

// Whether `folder` is one of `programFolders` or lies below one (Windows ignores case).
bool IsUnderFolders(const std::string& folder, const std::vector<std::string>& programFolders) {
  const std::string clean = CleanFolder(folder);
  for (const std::string& programFolder : programFolders) {
    const std::string root = CleanFolder(programFolder);
    if (SameFileName(clean, root)) return true;
    if (clean.size() > root.size() && clean[root.size()] == '/' &&
        SameFileName(clean.substr(0, root.size()), root))
      return true;
  }
  return false;
}

}  // namespace

std::string UserSettingsFolder() {
  return UserConfigFolder() + "/qvr-service";
}

std::string SettingsFileIn(const std::string& overridePath, const std::string& programFolder,
                           const std::string& fileName, const std::string& userFolder,
                           const std::vector<std::string>& programFolders) {
  if (!overridePath.empty()) return overridePath;
  // Root may write beside an installed program, but what it wrote there would belong to no
  // user and outlive the package.
  if (IsUnderFolders(programFolder, programFolders) || !FolderIsUsers(programFolder))
    return userFolder + "/" + fileName;
  return programFolder + "/" + fileName;
}

}  // namespace qvr
