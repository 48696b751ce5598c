// The program's folder on Linux: the executable as the kernel links it, and the write
// permission as access() answers it, which is what Qt asks for the window too.
#include <unistd.h>

#include <filesystem>

#include "platform/program_folder.h"

namespace qvr {

std::string ExecutableFolder() {
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : executable.parent_path().string();
}

std::vector<std::string> SystemProgramFolders() {
  return {"/usr", "/opt", "/bin", "/sbin", "/snap"};
}

bool FolderIsUsers(const std::string& folder) {
  std::error_code error;
  return std::filesystem::is_directory(folder, error) && ::access(folder.c_str(), W_OK) == 0;
}

}  // namespace qvr
