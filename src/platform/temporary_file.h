#pragma once
// A new, empty file of the current user's in the system's temporary folder.
#include <string>

namespace qvr {

// Creates a file whose name ends in `suffix` that did not exist before; its UTF-8 path, or an
// empty string when none could be made.
std::string CreateTemporaryFile(const std::string& suffix);

}  // namespace qvr
