#pragma once
// Text conversions of the field editors and the configuration files.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qvr {

// Seconds text to milliseconds: "," counts as ".", the longest leading decimal number is
// taken (none gives 0), times 1000, plus 0.5, truncated toward zero. "-0.2" gives -199.
int32_t ParseSeconds(std::string_view text);
// Milliseconds as seconds with three decimals: 125 -> "0.125".
std::string SecondsText(uint32_t milliseconds);
// A fixed-width field as text: the bytes up to the first zero, at most `width` of them.
std::string FixedText(const uint8_t* field, size_t width);
// Two upper-case hex digits per byte.
std::string HexEncode(const uint8_t* bytes, size_t count);
// Pairs of hex digits to bytes (a lone trailing digit is dropped, other characters count as
// 0); `out` gets at most `maxBytes`, the rest of those zero-filled. Returns the bytes decoded.
size_t HexDecode(std::string_view text, size_t maxBytes, uint8_t* out);
// The file name without folder and extension in Windows-1251 (what Windows-1251 cannot hold
// becomes '?'), or "Too long name..." from 32 characters on.
std::string ConfigNameFromPath(std::string_view path);
// The longest name the window gives a configuration: its 32 bytes keep room for a terminator.
inline constexpr size_t kLongestConfigName = 31;
// A name given as text (Windows-1251 bytes, as a file's NAME holds it) under the same rule:
// control bytes dropped, "Too long name..." from 32 bytes on.
std::string ConfigNameFromText(std::string_view bytes);

}  // namespace qvr
