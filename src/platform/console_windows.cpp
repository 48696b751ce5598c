// Console matters on Windows. A console takes and gives UTF-16 whatever its code pages are, so
// standard streams that are a console are written with WriteConsoleW and read with
// ReadConsoleW, and the console's code pages are never changed (the user's console stays as it
// was found). Streams redirected to a pipe or file carry the programs' bytes (UTF-8) unchanged.
// windows.h first: shellapi.h builds on its types.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <streambuf>

#include "platform/console.h"
#include "platform/console_text_windows.h"
#include "platform/windows_text.h"

namespace qvr {

namespace {

bool IsConsole(HANDLE handle) {
  DWORD mode = 0;
  return handle != nullptr && handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode);
}

// Text for a console screen: UTF-8 gathered until it ends on a whole character, then written
// as UTF-16 in one call.
class ConsoleOutputBuffer final : public std::streambuf {
 public:
  explicit ConsoleOutputBuffer(HANDLE console) : console_(console) {
    setp(buffer_, buffer_ + sizeof buffer_);
  }

 protected:
  int_type overflow(int_type c) override {
    if (!Drain()) return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
  }

  int sync() override { return Drain() ? 0 : -1; }

 private:
  // Writes what ends on a whole character and keeps the rest at the buffer's start.
  bool Drain() {
    const std::string_view pending(pbase(), size_t(pptr() - pbase()));
    const size_t sent = WholeUtf8Length(pending);
    bool ok = true;
    const std::wstring wide = WideFromUtf8(std::string(pending.substr(0, sent)));
    for (size_t at = 0; ok && at < wide.size();) {
      DWORD written = 0;
      const DWORD chunk = DWORD(std::min<size_t>(wide.size() - at, 8192));
      ok = ::WriteConsoleW(console_, wide.data() + at, chunk, &written, nullptr) && written != 0;
      at += written;
    }
    const std::string rest(pending.substr(sent));
    rest.copy(buffer_, rest.size());
    setp(buffer_, buffer_ + sizeof buffer_);
    pbump(int(rest.size()));
    return ok;
  }

  HANDLE console_;
  char buffer_[4096];
};

// Lines typed at a console, read as UTF-16 and handed on as UTF-8: "д" typed on a console
// whose input code page is 866 reaches the program as the UTF-8 the answers are compared with.
class ConsoleInputBuffer final : public std::streambuf {
 public:
  explicit ConsoleInputBuffer(HANDLE console) : console_(console) {}

 protected:
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    wchar_t typed[2048];
    DWORD count = 0;
    // Nothing read (Ctrl+C interrupts the read) or Ctrl+Z: the end of input.
    if (!::ReadConsoleW(console_, typed, DWORD(std::size(typed)), &count, nullptr) || count == 0)
      return traits_type::eof();
    if (!ConsoleLineToUtf8(std::wstring_view(typed, count), line_)) return traits_type::eof();
    if (line_.empty()) return underflow();
    setg(line_.data(), line_.data(), line_.data() + line_.size());
    return traits_type::to_int_type(*gptr());
  }

 private:
  HANDLE console_;
  std::string line_;
};

// The buffers live as long as the process: the standard streams are flushed at its very end.
void WriteToConsole(std::ostream& stream, DWORD which) {
  const HANDLE handle = ::GetStdHandle(which);
  if (IsConsole(handle)) stream.rdbuf(new ConsoleOutputBuffer(handle));
}

}  // namespace

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
  WriteToConsole(std::cout, STD_OUTPUT_HANDLE);
  WriteToConsole(std::cerr, STD_ERROR_HANDLE);
  const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
  if (IsConsole(input)) std::cin.rdbuf(new ConsoleInputBuffer(input));
}

// A console, not any character device: NUL is one too, and nobody answers there.
bool StandardInputIsTerminal() {
  return IsConsole(::GetStdHandle(STD_INPUT_HANDLE));
}

bool StandardErrorIsTerminal() {
  return IsConsole(::GetStdHandle(STD_ERROR_HANDLE));
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
  return "Ctrl+C or Ctrl+Break ";
}

}  // namespace qvr
