#pragma once
// Windows-1251, the 8-bit code page of the descriptions in device images and .MUX files.
#include <string>
#include <string_view>

namespace qvr {

std::string Cp1251ToUtf8(std::string_view bytes);
// Characters outside the code page become '?'.
std::string Utf8ToCp1251(std::string_view text);
// A file name as Windows-1251: UTF-8 is converted; bytes that are not UTF-8 (a name copied
// from a Windows disk as it stood) are taken as Windows-1251 already.
std::string FileNameToCp1251(std::string_view name);

}  // namespace qvr
