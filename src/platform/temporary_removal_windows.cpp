// Temporary files on Windows: the list of files to remove; the console's end events reach
// RemoveTrackedFilesNow on a thread of their own, so a lock guards the list.
#include <windows.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/file_names.h"
#include "platform/temporary_removal.h"

namespace qvr {

namespace {

std::mutex gMutex;
std::vector<std::string> gTracked;

}  // namespace

void TrackTemporaryFile(const std::string& path) {
  if (path.empty()) return;
  const std::lock_guard lock(gMutex);
  gTracked.push_back(path);
}

void RemoveTemporaryFile(const std::string& path) {
  (void)::DeleteFileW(NativePath(path).c_str());
  const std::lock_guard lock(gMutex);
  std::erase(gTracked, path);
}

void RemoveTrackedFilesNow() {
  const std::lock_guard lock(gMutex);
  for (const std::string& path : gTracked) (void)::DeleteFileW(NativePath(path).c_str());
}

}  // namespace qvr
