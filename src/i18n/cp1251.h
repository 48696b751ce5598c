#pragma once
// Windows-1251, the 8-bit code page of the descriptions in device images and .MUX files.
#include <string>
#include <string_view>

namespace qvr {

std::string Cp1251ToUtf8(std::string_view bytes);
// Characters outside the code page become '?'.
std::string Utf8ToCp1251(std::string_view text);

}  // namespace qvr
