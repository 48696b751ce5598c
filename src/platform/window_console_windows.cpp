// Attaching the window's process to its starter's console, for its few lines of text. The
// console is taken only for them: attached for the whole run, the console's Ctrl+C and close
// would reach the window too.
#include <windows.h>

#include <cstdio>

#include "platform/window_console.h"

namespace qvr {

namespace {

bool Redirected(DWORD which) {
  const HANDLE handle = ::GetStdHandle(which);
  return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
         ::GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

}  // namespace

void UseStartingConsoleForText() {
  const bool out = Redirected(STD_OUTPUT_HANDLE);
  const bool err = Redirected(STD_ERROR_HANDLE);
  if (out && err) return;
  if (!::AttachConsole(ATTACH_PARENT_PROCESS)) return;  // started from Explorer: nowhere to say it
  FILE* ignored = nullptr;
  if (!out) (void)::freopen_s(&ignored, "CONOUT$", "w", stdout);
  if (!err) (void)::freopen_s(&ignored, "CONOUT$", "w", stderr);
}

}  // namespace qvr
