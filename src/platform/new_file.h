#pragma once
// A name taken for a new file, never an existing one: where a backup or another file that must
// not replace anything is about to be saved.
#include <string>

#include "platform/file_save.h"

namespace qvr {

// Creates the empty file `path` (UTF-8) only when nothing stands at that name, a link (even a
// dangling one) included, and follows no link in doing so. A taken name fails with EEXIST
// (Windows: ERROR_FILE_EXISTS); the caller then tries another name.
[[nodiscard]] SaveResult CreateNewFile(const std::string& path);

// Whether `result` failed because the name was already taken.
bool NameTaken(const SaveResult& result);

}  // namespace qvr
