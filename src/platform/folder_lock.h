#pragma once
// A lock on a folder that serialises the processes working in it (the simulator's state
// folder): held from construction to destruction, released by the system when the process
// ends in any way, so a killed process never leaves the folder locked.
#include <cstdint>
#include <string>

namespace qvr {

class FolderLock {
 public:
  // Waits until no other process holds `folder`. An empty name, or a folder that cannot be
  // opened, gives a lock that is not held.
  explicit FolderLock(const std::string& folder);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  bool held() const { return handle_ >= 0; }

 private:
  intptr_t handle_ = -1;  // a descriptor on Linux, a HANDLE on Windows
};

}  // namespace qvr
