#pragma once
// Folders below the user's data folder, handled as untrusted: the data folder itself may be a
// link of the user's own (people move it to another disk), but every step below it is opened
// without following a link, so a link planted there (by another user, when root's data folder
// lies in their home) can neither redirect a backup nor make a removal reach elsewhere.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace qvr {

enum class FolderProblem : uint8_t {
  kNone,
  kMissing,    // nothing at the name (and it was not to be made)
  kLink,       // a link stands at the name
  kNotFolder,  // a file or anything else that is no folder
  kSystem,     // the system refused; `systemError` says why
};

class GuardedFolder {
 public:
  struct Opened;
  // Opens `base`, then each of `below` inside the one before without following links; `make`
  // makes the missing ones. On failure `at` is the path that stood in the way.
  static Opened Open(const std::string& base, std::span<const std::string> below, bool make);

  GuardedFolder(const GuardedFolder&) = delete;
  GuardedFolder& operator=(const GuardedFolder&) = delete;
  ~GuardedFolder();

  // The folder as the user knows it (for messages and listings).
  const std::string& path() const { return path_; }
  // A path that reaches this very folder even if a name on the way was replaced since it was
  // opened (Linux: through its descriptor); files inside are made and read through it.
  std::string accessPath() const;
  // Whether the folder belongs to the user the program runs as (always on Windows).
  bool ownedByUser() const;

  // Its real subfolders by name, sorted; links and other entries are left out.
  std::vector<std::string> Subfolders() const;

  struct Contents {
    bool real = false;               // a real folder (no link) could be opened at the name
    bool ownedByUser = false;        // and it is the user's
    std::vector<std::string> files;  // its regular files (no links)
    bool othersThere = false;        // anything else: a link, a folder, a device
  };
  Contents ListSubfolder(const std::string& name) const;
  // Makes the subfolder `name` where nothing stands: 0, else the errno value (EEXIST: taken).
  int MakeSubfolder(const std::string& name) const;
  // Removes `files` from the real subfolder `name`, then the subfolder; false when any step
  // failed (what could not be removed stays).
  bool RemoveSubfolder(const std::string& name, std::span<const std::string> files) const;

 private:
  struct Handle;
  GuardedFolder(std::string path, std::unique_ptr<Handle> handle);
  std::string path_;
  std::unique_ptr<Handle> handle_;
};

struct GuardedFolder::Opened {
  std::unique_ptr<GuardedFolder> folder;  // null on failure
  FolderProblem problem = FolderProblem::kNone;
  std::string at;  // the path that stood in the way
  int systemError = 0;
};

}  // namespace qvr
