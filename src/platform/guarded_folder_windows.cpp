// Guarded folders on Windows: paths, with every step below the base checked for a reparse
// point (a symbolic link or a junction) before it is entered, made or removed. Windows keeps
// a user's data folder to that user, so ownership is not asked.
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "platform/file_names.h"
#include "platform/guarded_folder.h"
#include "platform/windows_text.h"

namespace qvr {

struct GuardedFolder::Handle {};

namespace {

DWORD Attributes(const std::string& path) {
  return ::GetFileAttributesW(ExtendedPath(path).c_str());
}

bool IsLink(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool IsRealFolder(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
         !IsLink(attributes);
}

template <typename Visit>
void ForEachEntry(const std::string& folder, Visit visit) {
  WIN32_FIND_DATAW found;
  const HANDLE find = ::FindFirstFileW(ExtendedPath(folder + "\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = Utf8FromWide(found.cFileName);
    if (name != "." && name != "..") visit(name, found.dwFileAttributes);
  } while (::FindNextFileW(find, &found));
  ::FindClose(find);
}

}  // namespace

GuardedFolder::GuardedFolder(std::string path, std::unique_ptr<Handle> handle)
    : path_(std::move(path)), handle_(std::move(handle)) {}

GuardedFolder::~GuardedFolder() = default;

GuardedFolder::Opened GuardedFolder::Open(const std::string& base,
                                          std::span<const std::string> below, bool make) {
  Opened opened;
  if (make) {
    std::error_code ignored;
    std::filesystem::create_directories(NativePath(base), ignored);
  }
  const DWORD baseAttributes = Attributes(base);
  if (baseAttributes == INVALID_FILE_ATTRIBUTES || !(baseAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    opened.problem = baseAttributes == INVALID_FILE_ATTRIBUTES ? FolderProblem::kMissing
                                                               : FolderProblem::kNotFolder;
    opened.at = base;
    return opened;
  }
  std::string path = base;
  for (const std::string& name : below) {
    path += "/" + name;
    DWORD attributes = Attributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES && make &&
        ::CreateDirectoryW(ExtendedPath(path).c_str(), nullptr))
      attributes = Attributes(path);
    if (IsRealFolder(attributes)) continue;
    opened.problem = attributes == INVALID_FILE_ATTRIBUTES ? FolderProblem::kMissing
                     : IsLink(attributes)                  ? FolderProblem::kLink
                                                           : FolderProblem::kNotFolder;
    opened.at = path;
    return opened;
  }
  opened.folder.reset(new GuardedFolder(path, std::make_unique<Handle>()));
  return opened;
}

std::string GuardedFolder::accessPath() const {
  return path_;
}

bool GuardedFolder::ownedByUser() const {
  return true;
}

std::vector<std::string> GuardedFolder::Subfolders() const {
  std::vector<std::string> names;
  ForEachEntry(path_, [&](const std::string& name, DWORD attributes) {
    if (IsRealFolder(attributes)) names.push_back(name);
  });
  std::sort(names.begin(), names.end());
  return names;
}

GuardedFolder::Contents GuardedFolder::ListSubfolder(const std::string& name) const {
  Contents contents;
  const std::string folder = path_ + "/" + name;
  if (!IsRealFolder(Attributes(folder))) return contents;
  contents.real = true;
  contents.ownedByUser = true;
  ForEachEntry(folder, [&](const std::string& entry, DWORD attributes) {
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) {
      contents.othersThere = true;
    } else {
      contents.files.push_back(entry);
    }
  });
  std::sort(contents.files.begin(), contents.files.end());
  return contents;
}

int GuardedFolder::MakeSubfolder(const std::string& name) const {
  if (::CreateDirectoryW(ExtendedPath(path_ + "/" + name).c_str(), nullptr)) return 0;
  return ::GetLastError() == ERROR_ALREADY_EXISTS ? EEXIST : EACCES;
}

bool GuardedFolder::RemoveSubfolder(const std::string& name,
                                    std::span<const std::string> files) const {
  const std::string folder = path_ + "/" + name;
  if (!IsRealFolder(Attributes(folder))) return false;
  bool removed = true;
  for (const std::string& file : files)
    removed = (::DeleteFileW(ExtendedPath(folder + "/" + file).c_str()) ||
               ::GetLastError() == ERROR_FILE_NOT_FOUND) &&
              removed;
  return removed && ::RemoveDirectoryW(ExtendedPath(folder).c_str());
}

}  // namespace qvr
