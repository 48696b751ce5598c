#pragma once
// Conversions between the programs' UTF-8 and the UTF-16 of the Windows API (Windows only).
#include <string>

namespace qvr {

// Bytes that are not UTF-8 become U+FFFD; nothing throws.
std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const std::wstring& text);

}  // namespace qvr
