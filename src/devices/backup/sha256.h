#pragma once
// SHA-256 of a byte string, for the history's record of which file went to a unit. Written
// here because the core builds for Windows with mingw-w64, where no packaged library has it.
#include <string>
#include <string_view>

namespace qvr {

// 64 lowercase hex digits.
std::string Sha256Hex(std::string_view bytes);

}  // namespace qvr
