// Guarded folders on Linux: a descriptor per folder, each step below the base opened with
// O_NOFOLLOW|O_DIRECTORY through openat(), entries judged by fstatat() without following
// links, and files reached through /proc/self/fd so that a renamed or replaced name on the way
// cannot redirect them.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "platform/guarded_folder.h"

namespace qvr {

struct GuardedFolder::Handle {
  explicit Handle(int descriptor) : fd(descriptor) {}
  ~Handle() { ::close(fd); }
  int fd;
};

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// What stands at `name` in `parent`, for a step that could not be opened.
FolderProblem ProblemAt(int parent, const std::string& name, int error) {
  struct stat st {};
  if (::fstatat(parent, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
    return errno == ENOENT ? FolderProblem::kMissing : FolderProblem::kSystem;
  if (S_ISLNK(st.st_mode)) return FolderProblem::kLink;
  if (!S_ISDIR(st.st_mode)) return FolderProblem::kNotFolder;
  return error == ELOOP ? FolderProblem::kLink : FolderProblem::kSystem;
}

// A step below `parent`: opened, made first when asked and missing. -1 with errno on failure.
int OpenStep(int parent, const std::string& name, bool make) {
  const int fd = ::openat(parent, name.c_str(), kFolderFlags);
  if (fd >= 0 || errno != ENOENT || !make) return fd;
  if (::mkdirat(parent, name.c_str(), 0777) != 0 && errno != EEXIST) return -1;
  return ::openat(parent, name.c_str(), kFolderFlags);
}

bool OwnedByUser(int fd) {
  struct stat st {};
  return ::fstat(fd, &st) == 0 && st.st_uid == ::geteuid();
}

// The entries of the folder `fd` refers to, without "." and "..".
template <typename Visit>
void ForEachEntry(int fd, Visit visit) {
  const int listing = ::dup(fd);
  if (listing < 0) return;
  DIR* dir = ::fdopendir(listing);
  if (dir == nullptr) {
    ::close(listing);
    return;
  }
  ::rewinddir(dir);
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") visit(name);
  }
  ::closedir(dir);
}

}  // namespace

GuardedFolder::GuardedFolder(std::string path, std::unique_ptr<Handle> handle)
    : path_(std::move(path)), handle_(std::move(handle)) {}

GuardedFolder::~GuardedFolder() = default;

GuardedFolder::Opened GuardedFolder::Open(const std::string& base,
                                          std::span<const std::string> below, bool make) {
  Opened opened;
  // The base is the user's own choice of place: a link there is followed.
  if (make) {
    std::error_code ignored;
    std::filesystem::create_directories(base, ignored);
  }
  int fd = ::open(base.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    opened.problem = errno == ENOENT ? FolderProblem::kMissing : FolderProblem::kSystem;
    opened.at = base;
    opened.systemError = errno;
    return opened;
  }
  std::string path = base;
  for (const std::string& name : below) {
    path += "/" + name;
    const int next = OpenStep(fd, name, make);
    if (next < 0) {
      const int error = errno;
      opened.problem = ProblemAt(fd, name, error);
      opened.at = path;
      opened.systemError = error;
      ::close(fd);
      return opened;
    }
    ::close(fd);
    fd = next;
  }
  opened.folder.reset(new GuardedFolder(path, std::make_unique<Handle>(fd)));
  return opened;
}

std::string GuardedFolder::accessPath() const {
  return "/proc/self/fd/" + std::to_string(handle_->fd);
}

bool GuardedFolder::ownedByUser() const {
  return OwnedByUser(handle_->fd);
}

std::vector<std::string> GuardedFolder::Subfolders() const {
  std::vector<std::string> names;
  ForEachEntry(handle_->fd, [&](const std::string& name) {
    struct stat st {};
    if (::fstatat(handle_->fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode))
      names.push_back(name);
  });
  std::sort(names.begin(), names.end());
  return names;
}

GuardedFolder::Contents GuardedFolder::ListSubfolder(const std::string& name) const {
  Contents contents;
  const int fd = ::openat(handle_->fd, name.c_str(), kFolderFlags);
  if (fd < 0) return contents;
  contents.real = true;
  contents.ownedByUser = OwnedByUser(fd);
  ForEachEntry(fd, [&](const std::string& entry) {
    struct stat st {};
    if (::fstatat(fd, entry.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)) {
      contents.files.push_back(entry);
    } else {
      contents.othersThere = true;
    }
  });
  ::close(fd);
  std::sort(contents.files.begin(), contents.files.end());
  return contents;
}

int GuardedFolder::MakeSubfolder(const std::string& name) const {
  return ::mkdirat(handle_->fd, name.c_str(), 0777) == 0 ? 0 : errno;
}

bool GuardedFolder::RemoveSubfolder(const std::string& name,
                                    std::span<const std::string> files) const {
  const int fd = ::openat(handle_->fd, name.c_str(), kFolderFlags);
  if (fd < 0) return false;
  bool removed = true;
  // unlinkat() removes the name itself, a link's too, never what a link points to.
  for (const std::string& file : files)
    removed = (::unlinkat(fd, file.c_str(), 0) == 0 || errno == ENOENT) && removed;
  ::close(fd);
  return removed && ::unlinkat(handle_->fd, name.c_str(), AT_REMOVEDIR) == 0;
}

}  // namespace qvr
