#pragma once
// The bilingual message catalogue: 87 texts fetched by id in the current language. Texts are
// UTF-8 in memory; printf-style formats are filled into at most 999 bytes.
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "i18n/message_id.h"

namespace qvr {

enum Language : int32_t { kRussian = 0, kEnglish = 1 };

// What a printf conversion takes: a text, or an integer of the size its length modifier says.
enum class FormatArg : uint8_t { kText, kInt, kLong, kLongLong };

// The arguments a format takes, in order; nothing for a format with a conversion the texts never
// use (so it is never handed to the formatter).
std::optional<std::vector<FormatArg>> FormatArgs(const char* format);

// What an argument of type T is to the formatter (texts and integers are all the texts take).
template <typename T, typename U = std::decay_t<T>>
inline constexpr FormatArg kFormatArgOf = std::is_same_v<U, const char*> || std::is_same_v<U, char*>
                                              ? FormatArg::kText
                                          : sizeof(U) <= sizeof(int)  ? FormatArg::kInt
                                          : sizeof(U) == sizeof(long) ? FormatArg::kLong
                                                                      : FormatArg::kLongLong;
template <typename T, typename U = std::decay_t<T>>
inline constexpr bool kFormattable = std::is_same_v<U, const char*> || std::is_same_v<U, char*> ||
                                     std::is_integral_v<U> || std::is_enum_v<U>;

inline constexpr int kMessageCount = 87;
static_assert(int(MessageId::kSelectOption) == kMessageCount - 1, "one name for every text");
inline constexpr const char* kProgramVersion = "1.14";

class Catalogue {
 public:
  Language language() const { return language_; }
  // Any value but kEnglish selects Russian.
  void setLanguage(int value) { language_ = value == kEnglish ? kEnglish : kRussian; }

  // The text of `id` in the current language; "(null)" for an id outside 0..86.
  const char* Text(MessageId id) const;
  // The same text in a given language.
  static const char* TextIn(Language language, MessageId id);

  // Formats message `id` printf-style, cut to 999 bytes like the original 1000-byte buffer
  // (never inside a UTF-8 sequence). The texts are not literals the compiler could check, so
  // the arguments are checked against the text's conversions: a text that does not fit them
  // comes back unformatted instead of reading what was never passed.
  template <typename... Args>
  std::string Format(MessageId id, Args... args) const {
    return FormatText(Text(id), args...);
  }

  template <typename... Args>
  static std::string FormatText(const char* format, Args... args) {
    static_assert((kFormattable<Args> && ...), "texts take texts and integers");
    if (!FormatFits(format, {kFormatArgOf<Args>...})) return format;
    char buffer[1000];
    const int n = Print(buffer, sizeof buffer, format, args...);
    if (n < 0) return std::string();
    return TrimToCharBoundary(buffer, n < int(sizeof buffer) ? size_t(n) : sizeof buffer - 1);
  }

 private:
  static bool FormatFits(const char* format, std::initializer_list<FormatArg> args);
  // The checked text is not a literal the compiler could look at.
  template <typename... Args>
  static int Print(char* buffer, size_t size, const char* format, Args... args) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-security"
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    return std::snprintf(buffer, size, format, args...);
#pragma GCC diagnostic pop
  }

  static std::string TrimToCharBoundary(const char* text, size_t length);
  Language language_ = kRussian;
};

}  // namespace qvr
