#pragma once
// What the console streams of the Windows build convert (Windows only): the programs speak
// UTF-8, a console takes and gives UTF-16 whatever its code pages are.
#include <cstddef>
#include <string>
#include <string_view>

namespace qvr {

// How many leading bytes of `bytes` end on a whole UTF-8 sequence: a sequence cut by the end of
// a buffer waits for its last bytes instead of reaching the console as two "?".
size_t WholeUtf8Length(std::string_view bytes);

// What ReadConsoleW gave (a typed line, "\r\n" included) as UTF-8 with "\n" line ends; false
// when it starts with Ctrl+Z, the console's end of input.
bool ConsoleLineToUtf8(std::wstring_view typed, std::string& line);

}  // namespace qvr
