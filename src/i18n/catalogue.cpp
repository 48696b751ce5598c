#include "i18n/catalogue.h"

#include <algorithm>

namespace qvr {
namespace {

constexpr size_t kMaxFormattedLength = 999;

size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;  // a stray byte stands for itself
}

// Skips what may stand between "%" and the conversion letter: flags, width, precision.
const char* SkipFlagsWidthPrecision(const char* p) {
  while (*p == '-' || *p == '+' || *p == ' ' || *p == '#' || *p == '0') ++p;
  while (*p >= '0' && *p <= '9') ++p;
  if (*p == '.') {
    ++p;
    while (*p >= '0' && *p <= '9') ++p;
  }
  return p;
}

}  // namespace

std::optional<std::vector<FormatArg>> FormatArgs(const char* format) {
  std::vector<FormatArg> args;
  for (const char* p = format; *p != 0; ++p) {
    if (*p != '%') continue;
    if (*++p == '%') continue;
    p = SkipFlagsWidthPrecision(p);
    int longs = 0;
    while (*p == 'l' && longs < 2) ++p, ++longs;
    if (*p == 's' && longs == 0) {
      args.push_back(FormatArg::kText);
    } else if (*p == 'd' || *p == 'i' || *p == 'u' || *p == 'x' || *p == 'X' || *p == 'c') {
      // "l" is the size of a long: 64 bits on Linux, 32 bits (an int's) on Windows.
      constexpr FormatArg kLongArg =
          sizeof(long) == sizeof(int) ? FormatArg::kInt : FormatArg::kLong;
      args.push_back(longs == 0 ? FormatArg::kInt : longs == 1 ? kLongArg : FormatArg::kLongLong);
    } else {
      return std::nullopt;  // '*' widths, pointers, floating point, a "%" at the end
    }
  }
  return args;
}

bool Catalogue::FormatFits(const char* format, std::initializer_list<FormatArg> args) {
  const std::optional<std::vector<FormatArg>> wanted = FormatArgs(format);
  return wanted && std::equal(wanted->begin(), wanted->end(), args.begin(), args.end());
}

const char* Catalogue::Text(MessageId id) const {
  return TextIn(language_, id);
}

std::string Catalogue::TrimToCharBoundary(const char* text, size_t length) {
  // A cut that lands inside a multi-byte character drops the whole character, so a formatted
  // Russian text never ends in half a letter. Only the bytes before the cut are looked at: the
  // byte at the cut may already be the terminator the formatter put there.
  if (length > kMaxFormattedLength) length = kMaxFormattedLength;
  if (length == 0) return std::string();
  size_t start = length - 1;
  for (int back = 0; back < 3 && start > 0; ++back) {
    if ((static_cast<unsigned char>(text[start]) & 0xC0) != 0x80) break;
    --start;
  }
  if (start + SequenceLength(static_cast<unsigned char>(text[start])) > length) length = start;
  return std::string(text, length);
}

}  // namespace qvr
