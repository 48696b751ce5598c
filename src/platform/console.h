#pragma once
// What a console program needs from the system: its arguments as UTF-8, standard streams that
// carry bytes as they are, whether a person sits at the terminal, and the user's language.
#include <string>
#include <vector>

namespace qvr {

// The command line's arguments as UTF-8 (Windows passes `argv` in its ANSI code page, which
// cannot hold every file name; the UTF-16 command line can).
std::vector<std::string> Utf8Arguments(int argc, char** argv);
// Standard input and output carry bytes unchanged (no CR LF translation on Windows), and a
// console shows UTF-8.
void PrepareStandardStreams();
bool StandardInputIsTerminal();
bool StandardErrorIsTerminal();
// True when the user's language is Russian ($LANG; on Windows also the user interface language).
bool UserPrefersRussian();
// Where the user's data lives, as a person would write it in a help text.
const char* UserDataFolderHint();
// What asks a console program to end, as a help text names it (ends in a space or a line break).
const char* TerminationRequestHint();

}  // namespace qvr
