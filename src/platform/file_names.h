#pragma once
// File names travel through the programs as UTF-8; the system takes them in its own form
// (UTF-16 on Windows), so that a Cyrillic folder or file name works on both.
#include <filesystem>
#include <string>

namespace qvr {

// The system's name for the UTF-8 `path`; bytes that are not UTF-8 never throw.
std::filesystem::path NativePath(const std::string& path);
// `path` as UTF-8.
std::string Utf8Path(const std::filesystem::path& path);
// Whether two device paths (an adapter's, as listed and as typed) name the same device: Windows
// ignores the case of its device paths, Linux does not.
bool SameDevicePath(const std::string& a, const std::string& b);
// Whether two file names are the same name: Windows ignores their case, Linux does not.
bool SameFileName(const std::string& a, const std::string& b);

}  // namespace qvr
