#pragma once
// The window is a Windows-subsystem program there: it has no console of its own, so that none
// opens beside it and a Ctrl+C or a closed console cannot end it mid-write. Only what it
// prints before any window shows (--help, --version, a mistyped option) needs one.
namespace qvr {

#ifdef _WIN32
// Makes stdout and stderr reach a console: left as they are when redirected to a file or pipe,
// otherwise the console of the program that started this one (cmd.exe, PowerShell), if any.
void UseStartingConsoleForText();
#else
inline void UseStartingConsoleForText() {}  // a terminal's streams are there already
#endif

}  // namespace qvr
