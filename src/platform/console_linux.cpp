// Console matters on Linux: arguments are already the bytes of the file names.
#include <unistd.h>

#include <cstdlib>

#include "platform/console.h"

namespace qvr {

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

void PrepareStandardStreams() {}

bool StandardInputIsTerminal() {
  return ::isatty(STDIN_FILENO) == 1;
}

bool StandardErrorIsTerminal() {
  return ::isatty(STDERR_FILENO) == 1;
}

bool UserPrefersRussian() {
  const char* lang = std::getenv("LANG");
  return lang != nullptr && std::string(lang).starts_with("ru");
}

const char* UserDataFolderHint() {
  return "$XDG_DATA_HOME";
}

const char* TerminationRequestHint() {
  return "SIGINT, SIGTERM or SIGHUP ";
}

}  // namespace qvr
