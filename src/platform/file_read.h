#pragma once
// Reading a configuration or settings file whole, without ever blocking on what is not a file.
#include <cstddef>
#include <string>

namespace qvr {

// Reads the regular file at `path` (UTF-8) into `data`; false when it cannot be opened or
// read. Devices, pipes and folders are refused without blocking. A file above `maxSize` leaves
// `data` empty and sets `tooLarge`.
bool ReadRegularFile(const std::string& path, size_t maxSize, std::string& data, bool& tooLarge);

}  // namespace qvr
