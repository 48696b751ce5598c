#include "cli/terminal_text.h"

namespace qvr::cli {

namespace {

constexpr char kReplacement = '?';

// The length of the well-formed UTF-8 character at `pos` (no overlong forms, surrogates or
// code points above U+10FFFF), 0 when there is none.
size_t Utf8Length(std::string_view text, size_t pos) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[pos + i]); };
  const unsigned char lead = byte(0);
  size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  }
  if (length == 0 || pos + length > text.size()) return 0;
  if (byte(1) < low || byte(1) > high) return 0;
  for (size_t i = 2; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
  }
  return length;
}

}  // namespace

std::string TerminalSafe(std::string_view text) {
  std::string safe;
  safe.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) {
    const auto c = static_cast<unsigned char>(text[pos]);
    if (c < 0x80) {
      const bool lineEnd = c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n';
      const bool allowed = c == '\t' || c == '\n' || lineEnd || (c >= 0x20 && c != 0x7F);
      safe += allowed ? char(c) : kReplacement;
      ++pos;
      continue;
    }
    const size_t length = Utf8Length(text, pos);
    // U+0080..U+009F (C2 80..C2 9F) are the 8-bit controls, CSI among them.
    const bool control =
        length == 2 && c == 0xC2 && static_cast<unsigned char>(text[pos + 1]) < 0xA0;
    if (length == 0 || control) {
      safe += kReplacement;
      pos += length == 0 ? 1 : length;
      continue;
    }
    safe.append(text, pos, length);
    pos += length;
  }
  return safe;
}

}  // namespace qvr::cli
