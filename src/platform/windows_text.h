#pragma once
// Conversions between the programs' UTF-8 and the UTF-16 of the Windows API (Windows only).
#include <string>

namespace qvr {

// Bytes that are not UTF-8 become U+FFFD; nothing throws.
std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const std::wstring& text);

// `path` made absolute in the extended form ("\\?\C:\...", "\\?\UNC\server\...") that the
// file functions accept beyond MAX_PATH characters whatever the system's long-path setting.
// Device names ("NUL", "\\.\COM1") and paths already in that form are left as they are. The
// form takes names literally, so a caller first refuses names Windows would have trimmed.
std::wstring ExtendedPath(const std::string& path);
// True when Windows would silently drop the end of the name at the end of `path` (a trailing
// dot or blank): what is saved would not be what was asked for.
bool NameEndsInTrimmedCharacter(const std::string& path);

}  // namespace qvr
