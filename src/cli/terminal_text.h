#pragma once
// Text for a terminal: names and values from files and adapters may hold escape sequences that
// would retitle the window, clear the screen or overwrite a line.
#include <string>
#include <string_view>

namespace qvr::cli {

// `text` with every control character but tab and line feed (C0, DEL, C1, a carriage return
// not ending a line) and every byte that is not UTF-8 replaced by '?'.
std::string TerminalSafe(std::string_view text);

}  // namespace qvr::cli
