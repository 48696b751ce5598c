#pragma once
// The bilingual message catalogue: 87 texts fetched by id in the current language. Texts are
// UTF-8 in memory; printf-style formats are filled into at most 999 bytes.
#include <cstdint>
#include <cstdio>
#include <string>

namespace qvr {

enum Language : int32_t { kRussian = 0, kEnglish = 1 };

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
  // (never inside a UTF-8 sequence).
  template <typename... Args>
  std::string Format(int id, Args... args) const {
    return FormatText(Text(id), args...);
  }

  template <typename... Args>
  static std::string FormatText(const char* format, Args... args) {
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
