#pragma once
// What the tests need from the system on Linux and Windows alike: scratch folders and the
// process environment.
#include <stdlib.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>

namespace qvr::test {

// A new, empty folder under the system's temporary folder; empty when none could be made.
inline std::string MakeScratchFolder(const std::string& stem) {
  static std::atomic<unsigned> counter{0};
  const auto base = std::filesystem::temp_directory_path();
  const auto seed = unsigned(std::chrono::steady_clock::now().time_since_epoch().count());
  for (int attempt = 0; attempt < 100; ++attempt) {
    const auto folder = base / (stem + "-" + std::to_string((seed + counter++ * 7919u) % 1000000u));
    std::error_code ec;
    if (std::filesystem::create_directory(folder, ec)) return folder.string();
  }
  return {};
}

inline void SetEnvironment(const char* name, const std::string& value) {
#ifdef _WIN32
  ::_putenv_s(name, value.c_str());
#else
  ::setenv(name, value.c_str(), 1);
#endif
}

inline void UnsetEnvironment(const char* name) {
#ifdef _WIN32
  ::_putenv_s(name, "");
#else
  ::unsetenv(name);
#endif
}

// The system's error for a file name in a folder that does not exist.
#ifdef _WIN32
constexpr int kNoSuchFolderError = 3;  // ERROR_PATH_NOT_FOUND
#else
constexpr int kNoSuchFolderError = 2;  // ENOENT
#endif

// The variable that names the user's data folder (backups go below it).
#ifdef _WIN32
constexpr const char* kDataFolderVariable = "LOCALAPPDATA";
#else
constexpr const char* kDataFolderVariable = "XDG_DATA_HOME";
#endif

}  // namespace qvr::test
