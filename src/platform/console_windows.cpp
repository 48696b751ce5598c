// Console matters on Windows.
// windows.h first: shellapi.h builds on its types.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>

#include "platform/console.h"
#include "platform/windows_text.h"

namespace qvr {

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (wide == nullptr || count != argc) {
    if (wide != nullptr) ::LocalFree(wide);
    return std::vector<std::string>(argv, argv + argc);
  }
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(Utf8FromWide(wide[i]));
  ::LocalFree(wide);
  return arguments;
}

void PrepareStandardStreams() {
  (void)::_setmode(::_fileno(stdin), _O_BINARY);
  (void)::_setmode(::_fileno(stdout), _O_BINARY);
  (void)::SetConsoleOutputCP(CP_UTF8);
}

bool StandardInputIsTerminal() {
  return ::_isatty(::_fileno(stdin)) != 0;
}

bool StandardErrorIsTerminal() {
  return ::_isatty(::_fileno(stderr)) != 0;
}

bool UserPrefersRussian() {
  const char* lang = std::getenv("LANG");
  if (lang != nullptr && *lang != '\0') return std::string(lang).starts_with("ru");
  return PRIMARYLANGID(::GetUserDefaultUILanguage()) == LANG_RUSSIAN;
}

const char* UserDataFolderHint() {
  return "%LOCALAPPDATA%";
}

const char* TerminationRequestHint() {
  return "Ctrl+C, Ctrl+Break or closing the console\n";
}

}  // namespace qvr
