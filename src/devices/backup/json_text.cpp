#include "devices/backup/json_text.h"

#include <cstdio>

namespace qvr {

namespace {

constexpr unsigned char kC1Lead = 0xC2;  // UTF-8 of U+0080..U+00BF: C2 80..C2 BF
constexpr unsigned char kC1Last = 0x9F;

}  // namespace

std::string JsonText(const nlohmann::json& object, int indent) {
  // The library escapes only C0 controls; C1 ones (CSI, OSC among them) would reach a terminal
  // as they stand. In valid UTF-8 a C2 byte only ever begins a character, and outside strings
  // JSON holds none, so every C2 80..C2 9F found is one such control inside a string.
  const std::string dumped =
      object.dump(indent, ' ', false, nlohmann::json::error_handler_t::replace);
  std::string text;
  text.reserve(dumped.size());
  for (size_t pos = 0; pos < dumped.size(); ++pos) {
    const auto c = static_cast<unsigned char>(dumped[pos]);
    const auto next = pos + 1 < dumped.size() ? static_cast<unsigned char>(dumped[pos + 1]) : 0;
    if (c != kC1Lead || next < 0x80 || next > kC1Last) {
      text += char(c);
      continue;
    }
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\u%04x", unsigned(next));
    text += escape;
    ++pos;
  }
  return text;
}

}  // namespace qvr
