// The conversions of the Windows console streams, kept apart from the console calls so that
// they can be tested without a console.
#include "platform/console_text_windows.h"

#include "platform/windows_text.h"

namespace qvr {

namespace {

constexpr wchar_t kConsoleEndOfInput = L'\x1A';  // Ctrl+Z at the start of a line

// The length a UTF-8 sequence announces by its lead byte; 1 for a byte that leads none (it is
// passed on and becomes U+FFFD).
size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  return 1;
}

}  // namespace

size_t WholeUtf8Length(std::string_view bytes) {
  // Only the last three bytes can begin an unfinished sequence.
  const size_t from = bytes.size() > 3 ? bytes.size() - 3 : 0;
  for (size_t i = bytes.size(); i > from; --i) {
    const auto byte = static_cast<unsigned char>(bytes[i - 1]);
    if ((byte & 0xC0) == 0x80) continue;  // a continuation byte: look further back
    return SequenceLength(byte) > bytes.size() - (i - 1) ? i - 1 : bytes.size();
  }
  return bytes.size();
}

bool ConsoleLineToUtf8(std::wstring_view typed, std::string& line) {
  if (!typed.empty() && typed.front() == kConsoleEndOfInput) return false;
  std::wstring kept;
  for (wchar_t c : typed)
    if (c != L'\r') kept += c;
  line = Utf8FromWide(kept);
  return true;
}

}  // namespace qvr
