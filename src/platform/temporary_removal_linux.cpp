// Temporary files on Linux: mkstemps in the temporary folder ($TMPDIR or /tmp), the name made
// right in a slot of the list of files to remove, so that a termination signal handled on any
// thread finds every file that exists; each is held open with a shared lock while in use, so
// that the sweep of another run tells a live file from one left by a killed run. The slots are
// fixed, so a signal handler can walk them without allocating.
#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "platform/temporary_file.h"
#include "platform/temporary_removal.h"

namespace qvr {

namespace {

constexpr int kSlots = 64;             // temporaries alive at once (a batch makes a few each)
constexpr std::time_t kStaleAge = 60;  // seconds untouched before another run's file goes

// kNaming: the name is being made and the file may already exist, so a signal removes it too.
enum SlotState : int { kFree, kClaimed, kNaming, kInUse };

struct Slot {
  std::atomic<int> state{kFree};
  int fd = -1;
  char path[PATH_MAX] = {};
};

Slot gSlots[kSlots];
std::atomic<bool> gSwept{false};

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Files of ours with the prefix that nobody holds and nobody touched for a while: a run that was
// killed (SIGKILL, a broken pipe) left them.
void RemoveStaleFiles(const std::string& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  const std::time_t now = std::time(nullptr);
  while (const dirent* entry = ::readdir(dir)) {
    if (std::strncmp(entry->d_name, kTemporaryFilePrefix, sizeof kTemporaryFilePrefix - 1) != 0)
      continue;
    const int fd =
        ::openat(::dirfd(dir), entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat info {};
    const bool ours = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
                      info.st_uid == ::geteuid() && now - info.st_mtime >= kStaleAge;
    if (ours && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
      (void)::unlinkat(::dirfd(dir), entry->d_name, 0);
    ::close(fd);
  }
  ::closedir(dir);
}

void SweepOnce(const std::string& path) {
  if (!gSwept.exchange(true)) RemoveStaleFiles(FolderOf(path));
}

Slot* ClaimSlot() {
  for (Slot& slot : gSlots) {
    int expected = kFree;
    if (slot.state.compare_exchange_strong(expected, kClaimed)) return &slot;
  }
  return nullptr;
}

// Marks the file in `slot` as in use and puts it on the list.
void HoldSlot(Slot& slot) {
  slot.fd = ::open(slot.path, O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (slot.fd >= 0) (void)::flock(slot.fd, LOCK_SH);
  slot.state.store(kInUse);
}

// Claims the slot in use that holds `path`: a slot is claimed before its name is compared, so
// that no other thread frees or renames it while it is read.
Slot* ClaimSlotOf(const std::string& path) {
  for (Slot& slot : gSlots) {
    int expected = kInUse;
    if (!slot.state.compare_exchange_strong(expected, kClaimed)) continue;
    if (path == slot.path) return &slot;
    slot.state.store(kInUse);
  }
  return nullptr;
}

void FreeSlot(Slot& slot) {
  if (slot.fd >= 0) ::close(slot.fd);
  slot.fd = -1;
  slot.path[0] = '\0';
  slot.state.store(kFree);
}

}  // namespace

std::string CreateTemporaryFile(const std::string& suffix) {
  std::error_code ec;
  const std::string pattern = (std::filesystem::temp_directory_path(ec) /
                               (kTemporaryFilePrefix + std::string("XXXXXX") + suffix))
                                  .string();
  if (pattern.size() >= PATH_MAX) return {};
  SweepOnce(pattern);
  Slot* slot = ClaimSlot();
  if (slot == nullptr) {  // no room on the list: the file is still made, and removed as usual
    std::string name = pattern;
    const int fd = ::mkstemps(name.data(), int(suffix.size()));
    if (fd < 0) return {};
    ::close(fd);
    return name;
  }
  std::memcpy(slot->path, pattern.c_str(), pattern.size() + 1);
  slot->state.store(kNaming);
  const int fd = ::mkstemps(slot->path, int(suffix.size()));
  if (fd < 0) {
    FreeSlot(*slot);
    return {};
  }
  ::close(fd);
  HoldSlot(*slot);
  return slot->path;
}

void TrackTemporaryFile(const std::string& path) {
  if (path.empty() || path.size() >= PATH_MAX) return;
  SweepOnce(path);
  if (Slot* known = ClaimSlotOf(path)) {
    known->state.store(kInUse);
    return;
  }
  Slot* slot = ClaimSlot();
  if (slot == nullptr) return;
  std::memcpy(slot->path, path.c_str(), path.size() + 1);
  HoldSlot(*slot);
}

void RemoveTemporaryFile(const std::string& path) {
  (void)::unlink(path.c_str());
  if (Slot* slot = ClaimSlotOf(path)) FreeSlot(*slot);
}

void RemoveTrackedFilesNow() {
  for (Slot& slot : gSlots) {
    const int state = slot.state.load();
    if (state == kInUse || state == kNaming) (void)::unlink(slot.path);
  }
}

}  // namespace qvr
