#include "editors/conversions.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <locale>
#include <sstream>

#include "i18n/cp1251.h"

namespace qvr {

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

size_t SkipDigits(std::string_view text, size_t i) {
  while (i < text.size() && IsDigit(text[i])) ++i;
  return i;
}

// The longest leading part of `text` (after blanks) that is a decimal number: sign, digits,
// point and fraction, exponent. Hex floats, "inf" and "nan" are not numbers here.
std::string_view LeadingDecimalNumber(std::string_view text) {
  size_t start = 0;
  while (start < text.size() && std::isspace(static_cast<unsigned char>(text[start]))) ++start;
  size_t i = start;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t intEnd = SkipDigits(text, i);
  bool digits = intEnd > i;
  i = intEnd;
  if (i < text.size() && text[i] == '.') {
    size_t fracEnd = SkipDigits(text, i + 1);
    if (digits || fracEnd > i + 1) {
      digits = true;
      i = fracEnd;
    }
  }
  if (!digits) return {};
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t e = i + 1;
    if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
    size_t expEnd = SkipDigits(text, e);
    if (expEnd > e) i = expEnd;
  }
  return text.substr(start, i - start);
}

// The process locale may use a decimal comma (the window system sets it from the user's
// environment); numbers here always use the point. A number too large for the type reads as
// its largest value.
long double ParseDecimal(const std::string& number) {
  std::istringstream in(number);
  in.imbue(std::locale::classic());
  long double value = 0;
  in >> value;
  return value;
}

}  // namespace

int32_t ParseSeconds(std::string_view text) {
  std::string copy(text);
  for (char& c : copy) {
    if (c == ',') c = '.';
  }
  std::string number(LeadingDecimalNumber(copy));
  if (number.empty()) return 0;
  long double seconds = ParseDecimal(number);
  long double ms = std::trunc(seconds * 1000.0L + 0.5L);
  if (ms >= static_cast<long double>(std::numeric_limits<int32_t>::max())) {
    return std::numeric_limits<int32_t>::max();
  }
  if (ms <= static_cast<long double>(std::numeric_limits<int32_t>::min())) {
    return std::numeric_limits<int32_t>::min();
  }
  return static_cast<int32_t>(ms);
}

std::string SecondsText(uint32_t milliseconds) {
  char buffer[32];
  long double seconds = static_cast<long double>(milliseconds) * 0.001L;
  std::snprintf(buffer, sizeof buffer, "%.3Lf", seconds);
  return buffer;
}

std::string FixedText(const uint8_t* field, size_t width) {
  if (field == nullptr) return {};
  if (width > 999) width = 999;
  size_t length = 0;
  while (length < width && field[length] != 0) ++length;
  return std::string(reinterpret_cast<const char*>(field), length);
}

std::string HexEncode(const uint8_t* bytes, size_t count) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(count * 2);
  for (size_t i = 0; i < count; ++i) {
    text.push_back(kDigits[bytes[i] >> 4]);
    text.push_back(kDigits[bytes[i] & 0x0F]);
  }
  return text;
}

namespace {

uint8_t HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return uint8_t(c - '0');
  if (c >= 'A' && c <= 'F') return uint8_t(c - 'A' + 10);
  if (c >= 'a' && c <= 'f') return uint8_t(c - 'a' + 10);
  return 0;
}

}  // namespace

size_t HexDecode(std::string_view text, size_t maxBytes, uint8_t* out) {
  // The text ends at its size or at an embedded zero, like the C string it once was.
  size_t end = text.find('\0');
  if (end == std::string_view::npos) end = text.size();
  size_t decoded = 0;
  while (decoded < maxBytes && 2 * decoded + 1 < end) {
    size_t i = 2 * decoded;
    out[decoded] = uint8_t(HexDigitValue(text[i]) * 16 + HexDigitValue(text[i + 1]));
    ++decoded;
  }
  for (size_t i = decoded; i < maxBytes; ++i) out[i] = 0;
  return decoded;
}

std::string ConfigNameFromPath(std::string_view path) {
  size_t separator = path.find_last_of("\\/:");
  std::string_view file = separator == std::string_view::npos ? path : path.substr(separator + 1);
  size_t dot = file.rfind('.');
  // One byte a character once in Windows-1251, so the limit counts characters.
  std::string name = FileNameToCp1251(dot == std::string_view::npos ? file : file.substr(0, dot));
  if (name.size() >= kLongestConfigName + 1) return "Too long name...";
  return name;
}

std::string ConfigNameFromText(std::string_view bytes) {
  std::string name;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte != 0x7F) name += c;
  }
  if (name.size() >= kLongestConfigName + 1) return "Too long name...";
  return name;
}

}  // namespace qvr
