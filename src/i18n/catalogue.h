#pragma once
// The bilingual message catalogue: 87 texts fetched by id in the current language. Texts are
// UTF-8 in memory; printf-style formats are filled into at most 999 bytes.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

namespace qvr {

enum Language : int32_t { kRussian = 0, kEnglish = 1 };

// What a printf conversion takes: a text, or an integer of the size its length modifier says.
enum class FormatArg : uint8_t { kText, kInt, kLong, kLongLong };

// The arguments a format takes, in order; nothing for a format with a conversion the texts never
// use (so it is never handed to the formatter).
std::optional<std::vector<FormatArg>> FormatArgs(const char* format);

template <typename T>
constexpr FormatArg FormatArgOf() {
  using U = std::decay_t<T>;
  if constexpr (std::is_same_v<U, const char*> || std::is_same_v<U, char*>) {
    return FormatArg::kText;
  } else {
    static_assert(std::is_integral_v<U> || std::is_enum_v<U>, "texts take texts and integers");
    if constexpr (sizeof(U) <= sizeof(int)) return FormatArg::kInt;
    if constexpr (sizeof(U) == sizeof(long)) return FormatArg::kLong;
    return FormatArg::kLongLong;
  }
}

inline constexpr int kMessageCount = 87;
inline constexpr const char* kProgramVersion = "1.14";

class Catalogue {
 public:
  Language language() const { return language_; }
  // Any value but kEnglish selects Russian.
  void setLanguage(int value) { language_ = value == kEnglish ? kEnglish : kRussian; }

  // The text of `id` in the current language; "(null)" for an id outside 0..86.
  const char* Text(int id) const;
  // The same text in a given language.
  static const char* TextIn(Language language, int id);

  // Formats message `id` printf-style, cut to 999 bytes like the original 1000-byte buffer
  // (never inside a UTF-8 sequence). The texts are not literals the compiler could check, so
  // the arguments are checked against the text's conversions: a text that does not fit them
  // comes back unformatted instead of reading what was never passed.
  template <typename... Args>
  std::string Format(int id, Args... args) const {
    return FormatText(Text(id), args...);
  }

  template <typename... Args>
  static std::string FormatText(const char* format, Args... args) {
    if (FormatArgs(format) != std::vector<FormatArg>{FormatArgOf<Args>()...}) return format;
    char buffer[1000];
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-security"
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    int n = std::snprintf(buffer, sizeof buffer, format, args...);
#pragma GCC diagnostic pop
    if (n < 0) return std::string();
    return TrimToCharBoundary(buffer, n < int(sizeof buffer) ? size_t(n) : sizeof buffer - 1);
  }

 private:
  static std::string TrimToCharBoundary(const char* text, size_t length);
  Language language_ = kRussian;
};

}  // namespace qvr
